// A loopback HTTP server for tests: listens on 127.0.0.1 on a free port in its own thread,
// keeps every request as the bytes that arrived and answers each with a scripted reply,
// HTTP/1.0 style (one request per connection, closed after the reply).
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace loopback {

class HttpTestServer {
public:
    struct Reply {
        int status = 200;
        std::string body;
        bool gzip = false;                      // send the body gzip-compressed with Content-Encoding: gzip
        int delayMs = 0;                        // wait this long before answering (cut short by stop)
        bool closeWithoutReply = false;         // read the request, then hang up without a word
        std::vector<std::string> extraHeaders;  // whole lines "Name: value"
        std::string raw;                        // when not empty: sent verbatim instead of a built reply
        long long announcedLength = -1;         // Content-Length to announce instead of the body's
        std::size_t trickleBytes = 0;           // send the body in pieces of this size ...
        int trickleDelayMs = 0;                 // ... with this pause before each

        static Reply text(std::string body, int status = 200) {
            Reply r;
            r.status = status;
            r.body = std::move(body);
            return r;
        }
        static Reply gzipped(std::string body) {
            Reply r = text(std::move(body));
            r.gzip = true;
            return r;
        }
        static Reply slow(int delayMs, std::string body = {}) {
            Reply r = text(std::move(body));
            r.delayMs = delayMs;
            return r;
        }
        static Reply hangUp() {
            Reply r;
            r.closeWithoutReply = true;
            return r;
        }
        static Reply verbatim(std::string bytes) {
            Reply r;
            r.raw = std::move(bytes);
            return r;
        }
        Reply& withHeader(std::string line) {
            extraHeaders.push_back(std::move(line));
            return *this;
        }
    };

    struct Request {
        std::string raw;          // every byte received: request line, headers and body
        std::string requestLine;  // without its CR LF
        std::string method, target, version;
        std::vector<std::pair<std::string, std::string>> headers;  // in order, values trimmed
        std::string body;                                          // as many bytes as Content-Length said
        // The first value of that header (name case-insensitive), empty when missing.
        std::string header(const std::string& name) const;
        // How many lines carry that header name.
        std::size_t headerCount(const std::string& name) const;
    };

    // Starts listening at once; throws std::runtime_error when no socket can be had.
    HttpTestServer();
    // Stops the thread (cutting any delay short) and closes every socket.
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int port() const { return port_; }
    std::string hostPort() const;  // "127.0.0.1:NNNN"

    // Replies are used in order of queueing, one per request; then the handler's answer when
    // it gives one; then the default (200, empty body).
    void queue(Reply reply);
    void setDefault(Reply reply);
    using Handler = std::function<std::optional<Reply>(const Request&)>;
    void setHandler(Handler handler);

    // The requests so far, oldest first (a copy, safe while the server runs).
    std::vector<Request> requests() const;

    // A port on 127.0.0.1 on which nothing listens (just bound and released), for "refused".
    static int unusedPort();

    // The gzip form of bytes, as the server sends it.
    static std::string gzip(const std::string& bytes);

private:
    void run();
    void serve(int connection);
    bool waitForStop(int ms);  // true when stop was asked for within ms
    Reply nextReply(const Request& request);

    int listener_ = -1;
    int wakeRead_ = -1, wakeWrite_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::deque<Reply> queued_;
    Reply default_;
    Handler handler_;
    std::vector<Request> requests_;
    std::thread thread_;
};

}  // namespace loopback
