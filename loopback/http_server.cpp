// The loopback HTTP server for tests, on plain POSIX sockets so that the request bytes
// are seen exactly as they came off the wire.
#include "loopback/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <stdexcept>
#include <string_view>

namespace loopback {
namespace {

// No single request may hold the server longer than this while it arrives.
constexpr int kReadLimitMs = 3000;
constexpr std::size_t kHeaderLimit = 1 << 20;
constexpr std::size_t kBodyLimit = 64u << 20;

std::string lower(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

int bindLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

const char* reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 204: return "No Content";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 400: return "Bad Request";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        case 503: return "Service Unavailable";
        default: return "Status";
    }
}

bool sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;  // the client gave up (a time-out test); nothing more to say
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

HttpTestServer::Request parse(std::string raw, std::size_t headerEnd) {
    HttpTestServer::Request request;
    std::string_view head = std::string_view(raw).substr(0, headerEnd);
    bool first = true;
    while (!head.empty()) {
        const auto newline = head.find('\n');
        std::string_view line = head.substr(0, newline);
        head = newline == std::string_view::npos ? std::string_view() : head.substr(newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first) {
            first = false;
            request.requestLine = std::string(line);
            const auto a = line.find(' ');
            const auto b = a == std::string_view::npos ? a : line.find(' ', a + 1);
            request.method = std::string(line.substr(0, a));
            if (a != std::string_view::npos) request.target = std::string(line.substr(a + 1, b - a - 1));
            if (b != std::string_view::npos) request.version = std::string(line.substr(b + 1));
            continue;
        }
        if (line.empty()) continue;
        const auto colon = line.find(':');
        request.headers.emplace_back(
            std::string(line.substr(0, colon)),
            colon == std::string_view::npos ? std::string() : std::string(trim(line.substr(colon + 1))));
    }
    request.raw = std::move(raw);
    return request;
}

}  // namespace

std::string HttpTestServer::Request::header(const std::string& name) const {
    const std::string wanted = lower(name);
    for (const auto& [key, value] : headers) {
        if (lower(key) == wanted) return value;
    }
    return {};
}

std::size_t HttpTestServer::Request::headerCount(const std::string& name) const {
    const std::string wanted = lower(name);
    std::size_t count = 0;
    for (const auto& header : headers) count += lower(header.first) == wanted ? 1 : 0;
    return count;
}

HttpTestServer::HttpTestServer() {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("HttpTestServer: no pipe");
    wakeRead_ = pipeEnds[0];
    wakeWrite_ = pipeEnds[1];
    listener_ = bindLoopback(port_);
    if (listener_ < 0 || ::listen(listener_, 16) != 0) {
        if (listener_ >= 0) ::close(listener_);
        ::close(wakeRead_);
        ::close(wakeWrite_);
        throw std::runtime_error("HttpTestServer: cannot listen on 127.0.0.1");
    }
    thread_ = std::thread([this] { run(); });
}

HttpTestServer::~HttpTestServer() {
    stopping_ = true;
    const char wake = 1;
    [[maybe_unused]] const auto written = ::write(wakeWrite_, &wake, 1);
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

std::string HttpTestServer::hostPort() const { return "127.0.0.1:" + std::to_string(port_); }

void HttpTestServer::queue(Reply reply) {
    std::lock_guard lock(mutex_);
    queued_.push_back(std::move(reply));
}

void HttpTestServer::setDefault(Reply reply) {
    std::lock_guard lock(mutex_);
    default_ = std::move(reply);
}

std::vector<HttpTestServer::Request> HttpTestServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int HttpTestServer::unusedPort() {
    int port = 0;
    const int fd = bindLoopback(port);
    if (fd < 0) throw std::runtime_error("HttpTestServer: cannot bind a probe socket");
    ::close(fd);
    return port;
}

std::string HttpTestServer::gzip(const std::string& bytes) {
    z_stream stream{};
    // 15 + 16: the largest window, wrapped as gzip rather than zlib.
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("HttpTestServer: deflateInit2 failed");
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (rc != Z_STREAM_END) throw std::runtime_error("HttpTestServer: deflate failed");
    out.resize(stream.total_out);
    return out;
}

bool HttpTestServer::waitForStop(int ms) {
    if (stopping_) return true;
    pollfd wake{wakeRead_, POLLIN, 0};
    return ::poll(&wake, 1, ms) > 0 || stopping_;
}

void HttpTestServer::setHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

HttpTestServer::Reply HttpTestServer::nextReply(const Request& request) {
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        if (!queued_.empty()) {
            Reply reply = std::move(queued_.front());
            queued_.pop_front();
            return reply;
        }
        handler = handler_;
    }
    if (handler) {
        if (auto reply = handler(request)) return std::move(*reply);
    }
    std::lock_guard lock(mutex_);
    return default_;
}

void HttpTestServer::run() {
    while (!stopping_) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (stopping_ || (fds[1].revents & POLLIN)) return;
        if (!(fds[0].revents & POLLIN)) continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        serve(connection);
        ::close(connection);
    }
}

void HttpTestServer::serve(int connection) {
    timeval limit{kReadLimitMs / 1000, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);

    // Read the head, then as many body bytes as Content-Length says, all within kReadLimitMs.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadLimitMs);
    std::string raw;
    std::size_t headerEnd = std::string::npos;
    std::size_t wanted = 0;  // total bytes of the request once the head is known
    char buffer[16384];
    for (;;) {
        if (headerEnd == std::string::npos) {
            const auto crlf = raw.find("\r\n\r\n");
            const auto lf = raw.find("\n\n");
            if (crlf != std::string::npos && (lf == std::string::npos || crlf < lf)) {
                headerEnd = crlf + 4;
            } else if (lf != std::string::npos) {
                headerEnd = lf + 2;
            }
            if (headerEnd != std::string::npos) {
                const Request head = parse(raw.substr(0, headerEnd), headerEnd);
                std::size_t length = 0;
                try {
                    length = std::stoul(head.header("Content-Length").empty() ? "0" : head.header("Content-Length"));
                } catch (const std::exception&) {
                    length = 0;
                }
                wanted = headerEnd + std::min(length, kBodyLimit);
            } else if (raw.size() > kHeaderLimit) {
                break;
            }
        }
        if (headerEnd != std::string::npos && raw.size() >= wanted) break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd fds[2] = {{connection, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left.count())) <= 0 || stopping_ || (fds[1].revents & POLLIN)) break;
        const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        raw.append(buffer, static_cast<std::size_t>(n));
    }
    if (raw.empty()) return;

    Request request = parse(raw, headerEnd == std::string::npos ? raw.size() : headerEnd);
    if (headerEnd != std::string::npos) request.body = raw.substr(headerEnd, wanted - headerEnd);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }

    const Reply reply = nextReply(request);
    if (reply.closeWithoutReply) return;
    if (reply.delayMs > 0 && waitForStop(reply.delayMs)) return;
    if (!reply.raw.empty()) {
        sendAll(connection, reply.raw);
    } else {
        const std::string body = reply.gzip ? gzip(reply.body) : reply.body;
        std::string out = "HTTP/1.0 " + std::to_string(reply.status) + " " + reason(reply.status) + "\r\n";
        out += "Content-Type: text/plain\r\n";
        out += "Content-Length: " +
               std::to_string(reply.announcedLength >= 0 ? static_cast<unsigned long long>(reply.announcedLength)
                                                         : static_cast<unsigned long long>(body.size())) +
               "\r\n";
        if (reply.gzip) out += "Content-Encoding: gzip\r\n";
        for (const auto& line : reply.extraHeaders) out += line + "\r\n";
        out += "\r\n";
        if (reply.trickleBytes == 0) {
            out += body;
            sendAll(connection, out);
        } else {
            sendAll(connection, out);
            for (std::size_t at = 0; at < body.size(); at += reply.trickleBytes) {
                if (waitForStop(reply.trickleDelayMs)) return;
                if (!sendAll(connection, body.substr(at, reply.trickleBytes))) return;
            }
        }
    }
    ::shutdown(connection, SHUT_WR);
}

}  // namespace loopback
