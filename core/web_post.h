// The system's one way to talk to the maker's web server: a synchronous
// HTTP/1.0 POST of a form body, the reply as bytes, over the platform's HTTP seam. Shared by
// the presentation add-in (error report, survey) and the update add-in (update check).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/http.h"

namespace plorin {

// A reply exactly as received (after content decoding); empty when nothing came back.
using HttpBytes = std::vector<std::uint8_t>;

// A reply's bytes as text, decoded in the platform's code page (UTF-8 here: the bytes are
// the text), and a reply's length.
std::string ByteArrayToString(const std::vector<std::uint8_t>& bytes);
std::string ByteArrayToString(const std::string& bytes);
template <class T>
long arrayLength(const std::vector<T>& a) {
    return static_cast<long>(a.size());
}

// Posts the form-encoded body to url and returns the reply body, whatever its status. Blanks
// around the url and a leading "http://" (any case) are dropped; a leading "https://" is
// dropped too and the request goes over TLS with the certificate verified (port 80 then
// means 443); the host is the text up to
// the first "/" and may carry ":port", which then wins over `port` (0 means 80). The rest,
// from that "/", is the path ("/" when there is none). accessType 0 is the system's proxy
// settings (libcurl's environment; a server on this machine is always reached directly) and
// is the only kind this client knows. A user name, when given, is sent as Basic
// authorization. Blocks until the reply is read or a time-out (httpTimeouts) ends the call.
// Never throws: an unreachable server, a time-out or a broken reply gives an empty reply
// with no report; an unexpected failure is reported as "Wininet, HttpPost" and gives an
// empty reply too.
HttpBytes HttpPost(const std::string& url, const std::string& body, std::int32_t accessType, std::uint16_t port,
                   const std::string& user, const std::string& password);

// Like HttpPost, with the reply's status: `answered` is false when no reply came back.
struct HttpReply {
    bool answered = false;
    bool unconfirmed = false;  // sent whole, then no reply in time: the server may have it
    long status = 0;
    HttpBytes body;
};
// What a caller may narrow or widen for one post; 0 keeps the usual value (the form
// reply's 64 KiB, httpTimeouts). Shorter waits than httpTimeouts are kept, longer ones not.
struct PostLimits {
    std::size_t maxReplyBytes = 0;
    long connectMs = 0;
    long totalMs = 0;
};
HttpReply HttpPostReply(const std::string& url, const std::string& body, const PostLimits& limits = {});

// A large reply streamed piece by piece: HttpDownload posts the empty body to url and hands
// the reply on only when it is complete and sound.
enum class DownloadOutcome {
    complete,   // status 200, a Content-Length above 0 and at most maxBytes, exactly that many bytes
    failed,     // no reply, another status, no or a bad length, too large, cut short, too slow
    cancelled,  // progress returned false
};
// Calls progress(received, length) after every piece (the first time with 0 received), and
// about once a second while the transfer stalls (length 0 while it is not known yet); stops
// when it returns false. The body is sent undecoded, as the server has it. Waits
// httpTimeouts().connectMs for the connection and ends a transfer slower than one byte a
// second for lowSpeedSeconds. Never throws: an unexpected failure is reported as
// "Wininet, HttpDownload" and fails.
using DownloadProgress = std::function<bool(std::uint64_t received, std::uint64_t length)>;
// Into memory: `into` holds the reply when complete, else nothing.
DownloadOutcome HttpDownload(const std::string& url, std::uint64_t maxBytes, const DownloadProgress& progress,
                             std::string& into);
// Piece by piece into `sink` (which may stop it by returning false: failed); the caller
// keeps what the sink took only when the outcome is complete.
DownloadOutcome HttpDownload(const std::string& url, std::uint64_t maxBytes, const DownloadProgress& progress,
                             const std::function<bool(const char* data, std::size_t size)>& sink);

// The request that HttpPost sends for these arguments (method, version, path, headers, body,
// agent, time-outs), for a caller that hands it to the seam's streaming download instead.
// May throw on exhaustion only.
platform::HttpRequest httpPostRequest(const std::string& url, const std::string& body, std::int32_t accessType,
                                      std::uint16_t port, const std::string& user, const std::string& password);

// Adds header lines to the request, replacing a line of the same name (case-insensitive).
// `header` may hold several lines separated by CR LF; empty lines and lines without a
// "Name:" are not headers and are dropped. Never throws: a failure is reported as
// "Wininet, addHttpHeader" and leaves the request as it was before that line.
void addHttpHeader(platform::HttpRequest& request, const std::string& header);

// The percent-encoding of every value of a form body: the text's bytes (UTF-8 stands for the
// system's code page), letters A-Z a-z and digits kept, every other byte "%" and two
// upper-case hexadecimal digits (a blank is "%20", never "+"). Never throws: a failure is
// reported as "Wininet, URLEncode" and gives the empty text.
std::string URLEncode(const std::string& text);

// How long HttpPost waits, in milliseconds: for the connection, and for the whole exchange.
struct HttpTimeouts {
    long connectMs = 5000;
    long totalMs = 30000;
    long lowSpeedSeconds = 30;  // HttpDownload: how long a transfer may stall
};
HttpTimeouts httpTimeouts();
// Replaces the time-outs (values of 0 or less are taken as the defaults) and returns the old
// ones. For tests and for a caller that knows its reply is large.
HttpTimeouts setHttpTimeouts(HttpTimeouts timeouts);

}  // namespace plorin
