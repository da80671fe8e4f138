// Talking to the maker's web server: one synchronous HTTP request, the reply body as bytes.
// The system's own web routines (error reports, survey, update check) go through this seam;
// the real client is libcurl, tests install their own or point it at a loopback server.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct HttpRequest {
    std::string host;                  // "example.org", "127.0.0.1:8080" or "[::1]:8080"
    int port = 80;                     // used when host carries no port
    bool https = false;                // TLS with the server's certificate and name verified
    std::string path = "/";            // with its query; a missing leading "/" is added
    std::string method = "POST";       // as written on the request line; empty means GET
    std::vector<std::string> headers;  // whole lines "Name: value"; CR and LF inside are dropped
    std::string body;                  // sent as is, any bytes, with its exact length
    std::string userAgent;             // empty: no User-Agent line
    long connectTimeoutMs = 5000;      // 0 or less: libcurl's default
    long totalTimeoutMs = 30000;       // 0 or less: no limit
    bool decodeContent = true;         // advertise gzip/deflate; the body handed back is decoded
    // A transfer slower than lowSpeedBytes per second for lowSpeedSeconds ends as failed;
    // 0 in either: no such limit.
    long lowSpeedBytes = 0;
    long lowSpeedSeconds = 0;
    // send: the most body bytes (after decoding) taken; a longer reply fails as it arrives.
    // 0: no limit. download leaves the limit to its sink.
    std::size_t maxReplyBytes = kDefaultMaxReplyBytes;
    static constexpr std::size_t kDefaultMaxReplyBytes = 1024 * 1024;
    // Asked while the transfer runs, whether data arrives or not (at least about once a
    // second while it stalls); false ends it as failed. Empty: never asked.
    std::function<bool()> keepGoing;
};

// What the real client holds to for every request: a redirect is handed back as the reply
// it is, never followed (the request would go where the reply says, unchecked), and a
// secure request checks the server's certificate and that it was issued for the host.
struct TransportRules {
    bool followRedirects = false;
    bool verifyPeer = true;
    bool verifyHost = true;
};
TransportRules transportRules(const HttpRequest& request);

struct HttpResponse {
    bool ok = false;               // a reply came back (whatever its status)
    long status = 0;               // the reply's status code; 0 whenever ok is false
    std::string body;              // the reply body; empty whenever ok is false
    std::string error;             // why it failed; empty when ok
    long long contentLength = -1;  // the reply's Content-Length as sent, -1 when it has none
    // The whole request, body included, went out, then the time ran out before the reply
    // came: unlike any other failure, the server may well have acted on it.
    bool sentButNotAnswered = false;
};

class HttpClient {
public:
    HttpClient() = default;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;
    virtual ~HttpClient() = default;

    // Sends one HTTP/1.0 request and waits for the whole reply. Never throws: an unreachable
    // or refusing server, a time-out, a broken reply, a body over maxReplyBytes or an encoded
    // body that is damaged or cut short gives ok=false, an empty body and the reason in error. A reply of any status (a
    // 500 too) gives ok=true with its body. Besides the caller's headers only Host, Content-Length, Accept, User-Agent,
    // Accept-Encoding and, for a body without a Content-Type of its own, the form Content-Type are added; a caller's
    // header of the same name takes the place of the added one (Content-Length excepted: it always tells the real body
    // length). Redirects are not followed. Safe to call from several threads at once.
    virtual HttpResponse send(const HttpRequest& request) = 0;

    // Like send, but hands a 2xx reply's body to sink piece by piece as it arrives instead of
    // collecting it. True only when the whole body went to sink. A sink returning false stops the
    // transfer (false, error says so). A reply of another status reaches info (ok, status and its
    // body, cut at 64 KiB) but never sink. info.body stays empty for a 2xx reply. Before the
    // first call of sink, info.status and info.contentLength already hold the reply's.
    virtual bool download(const HttpRequest& request,
                          const std::function<bool(const char* data, std::size_t size)>& sink, HttpResponse& info) = 0;
};

// The client in use: libcurl's unless replaced. The pointer is not owned; nullptr restores libcurl.
HttpClient& httpClient();
HttpClient* useHttpClient(HttpClient* client);  // returns the client installed before

// A new libcurl client, owned by the caller. It keeps no state between requests.
std::unique_ptr<HttpClient> makeCurlHttpClient();

}  // namespace platform
