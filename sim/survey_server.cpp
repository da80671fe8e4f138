#include "sim/survey_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace sim {
namespace {

constexpr int kReadLimitMs = 2000;  // a client that stalls is dropped after this

// The Content-Length of a request head, 0 when it has none.
std::size_t contentLength(const std::string& head) {
    std::string lower = head;
    for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos) return 0;
    return static_cast<std::size_t>(std::strtoul(lower.c_str() + at + 17, nullptr, 10));
}

}  // namespace

SurveyServer::SurveyServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int fds[2];
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe(fds) != 0) {
        if (listener_ >= 0) ::close(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    thread_ = std::thread([this] { run(); });
}

SurveyServer::~SurveyServer() {
    stopping_ = true;
    const char byte = 0;
    [[maybe_unused]] const auto written = ::write(wakeWrite_, &byte, 1);
    thread_.join();
    ::close(listener_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

std::string SurveyServer::hostPort() const { return "127.0.0.1:" + std::to_string(port_); }

void SurveyServer::setReply(const std::string& reply) {
    std::lock_guard lock(mutex_);
    reply_ = reply;
}

std::vector<std::string> SurveyServer::takeRequests() {
    std::lock_guard lock(mutex_);
    return std::exchange(requests_, {});
}

void SurveyServer::run() {
    while (!stopping_) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) break;
        if (fds[0].revents & POLLIN) {
            const int connection = ::accept(listener_, nullptr, nullptr);
            if (connection >= 0) {
                serve(connection);
                ::close(connection);
            }
        }
    }
}

void SurveyServer::serve(int connection) {
    std::string data;
    std::size_t headEnd = std::string::npos;
    char buffer[4096];
    while (!stopping_) {
        if (headEnd != std::string::npos && data.size() >= headEnd + 4 + contentLength(data.substr(0, headEnd + 2)))
            break;
        pollfd fd{connection, POLLIN, 0};
        if (::poll(&fd, 1, kReadLimitMs) <= 0) return;
        const auto got = ::read(connection, buffer, sizeof buffer);
        if (got <= 0) return;
        data.append(buffer, static_cast<std::size_t>(got));
        if (headEnd == std::string::npos) headEnd = data.find("\r\n\r\n");
    }
    if (headEnd == std::string::npos) return;
    const std::string requestLine = data.substr(0, data.find("\r\n"));
    const std::string body = data.substr(headEnd + 4);
    std::string reply;
    {
        std::lock_guard lock(mutex_);
        reply = body == "&ping=1" ? "ping" : reply_;
        requests_.push_back(requestLine.substr(0, requestLine.rfind(' ')) + " " + body);
    }
    const std::string answer =
        "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(reply.size()) +
        "\r\nConnection: close\r\n\r\n" + reply;
    for (std::size_t sent = 0; sent < answer.size();) {
        const auto n = ::send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

}  // namespace sim
