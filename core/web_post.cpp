#include "core/web_post.h"

#include "platform/text.h"

#include <atomic>
#include <cctype>
#include <string_view>

#include "core/errors.h"

namespace plorin {

std::string ByteArrayToString(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string ByteArrayToString(const std::string& bytes) { return bytes; }

namespace {

constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";
// The replies posted forms get (the error report, the survey, the update check) are a few
// words; anything longer is not the maker's server answering.
constexpr std::size_t kReplyLimit = 64 * 1024;

// The header lines every post carries. The agent goes out as User-Agent; Accept-Encoding is
// left to the client, which advertises only the codings it decodes.
constexpr const char* kHeaders[] = {
    ("Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
     "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*"),
    "Accept-Language: de",
    "Content-Type: application/x-www-form-urlencoded",
    "UA-CPU: x86",
    "Connection: Keep-Alive",
};

std::atomic<long> connectTimeoutMs{HttpTimeouts{}.connectMs};
std::atomic<long> totalTimeoutMs{HttpTimeouts{}.totalMs};
std::atomic<long> lowSpeedSeconds{HttpTimeouts{}.lowSpeedSeconds};

// The header's name, or empty when the line has none.
std::string_view headerName(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return {};
    return platform::trimmed(line.substr(0, colon));
}

std::string base64(std::string_view bytes) {
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned n = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += {digits[n >> 18], digits[(n >> 12) & 63], digits[(n >> 6) & 63], digits[n & 63]};
    }
    if (i + 1 == bytes.size()) {
        const unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
        out += {digits[n >> 18], digits[(n >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const unsigned n = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += {digits[n >> 18], digits[(n >> 12) & 63], digits[(n >> 6) & 63], '='};
    }
    return out;
}

}  // namespace

HttpTimeouts httpTimeouts() { return {connectTimeoutMs.load(), totalTimeoutMs.load(), lowSpeedSeconds.load()}; }

HttpTimeouts setHttpTimeouts(HttpTimeouts timeouts) {
    const HttpTimeouts defaults;
    const HttpTimeouts old = httpTimeouts();
    connectTimeoutMs = timeouts.connectMs > 0 ? timeouts.connectMs : defaults.connectMs;
    totalTimeoutMs = timeouts.totalMs > 0 ? timeouts.totalMs : defaults.totalMs;
    lowSpeedSeconds = timeouts.lowSpeedSeconds > 0 ? timeouts.lowSpeedSeconds : defaults.lowSpeedSeconds;
    return old;
}

platform::HttpRequest httpPostRequest(const std::string& url, const std::string& body, std::int32_t accessType,
                                      std::uint16_t port, const std::string& user, const std::string& password) {
    (void)accessType;  // the system's proxy settings are the only kind there is
    std::string_view rest = platform::trimmed(url, " ");
    platform::HttpRequest request;
    if (rest.size() >= 7 && platform::equalsNoCase(rest.substr(0, 7), "http://")) {
        rest.remove_prefix(7);
    } else if (rest.size() >= 8 && platform::equalsNoCase(rest.substr(0, 8), "https://")) {
        rest.remove_prefix(8);
        request.https = true;
    }
    const auto slash = rest.find('/');

    request.host = std::string(rest.substr(0, slash));
    request.path = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));
    // Port 80 is the plain web's; a secure address given without a port means the secure one.
    request.port = port == 0 || (request.https && port == 80) ? (request.https ? 443 : 80) : port;
    request.method = "POST";
    request.body = body;
    request.userAgent = kAgent;
    const HttpTimeouts timeouts = httpTimeouts();
    request.connectTimeoutMs = timeouts.connectMs;
    request.totalTimeoutMs = timeouts.totalMs;
    request.decodeContent = true;
    request.maxReplyBytes = kReplyLimit;
    for (const char* line : kHeaders) addHttpHeader(request, line);
    if (!user.empty()) addHttpHeader(request, "Authorization: Basic " + base64(user + ":" + password));
    return request;
}

HttpBytes HttpPost(const std::string& url, const std::string& body, std::int32_t accessType, std::uint16_t port,
                   const std::string& user, const std::string& password) {
    HttpBytes reply;
    trap("Wininet, HttpPost", [&] {
        const platform::HttpRequest request = httpPostRequest(url, body, accessType, port, user, password);
        // The status is not looked at: an error page is a reply like any other, and a request
        // that never got an answer is simply an empty one.
        const platform::HttpResponse response = platform::httpClient().send(request);
        if (response.ok) reply.assign(response.body.begin(), response.body.end());
    });
    return reply;
}

HttpReply HttpPostReply(const std::string& url, const std::string& body, const PostLimits& limits) {
    HttpReply reply;
    trap("Wininet, HttpPost", [&] {
        platform::HttpRequest request = httpPostRequest(url, body, 0, 80, "", "");
        if (limits.maxReplyBytes > 0) request.maxReplyBytes = limits.maxReplyBytes;
        if (limits.connectMs > 0 && limits.connectMs < request.connectTimeoutMs)
            request.connectTimeoutMs = limits.connectMs;
        if (limits.totalMs > 0 && limits.totalMs < request.totalTimeoutMs) request.totalTimeoutMs = limits.totalMs;
        const platform::HttpResponse response = platform::httpClient().send(request);
        reply.answered = response.ok;
        reply.unconfirmed = response.sentButNotAnswered;
        reply.status = response.status;
        if (response.ok) reply.body.assign(response.body.begin(), response.body.end());
    });
    return reply;
}

DownloadOutcome HttpDownload(const std::string& url, std::uint64_t maxBytes, const DownloadProgress& progress,
                             const std::function<bool(const char*, std::size_t)>& sink) {
    DownloadOutcome outcome = DownloadOutcome::failed;
    trap("Wininet, HttpDownload", [&] {
        platform::HttpRequest request = httpPostRequest(url, "", 0, 80, "", "");
        request.decodeContent = false;  // the package's bytes as the server holds them
        request.totalTimeoutMs = 0;     // a large package may take long, but never stall
        request.lowSpeedBytes = 1;
        request.lowSpeedSeconds = lowSpeedSeconds.load();
        bool started = false, cancelled = false;
        std::uint64_t length = 0, received = 0;
        // Also asked while nothing arrives, so that the caller can call a stalled transfer off.
        if (progress) request.keepGoing = [&] { return progress(received, length) || !(cancelled = true); };
        platform::HttpResponse info;
        const bool whole = platform::httpClient().download(
            request,
            [&](const char* data, std::size_t size) {
                if (!started) {
                    // The announced length decides; nothing beyond what was offered.
                    if (info.status != 200 || info.contentLength <= 0 ||
                        static_cast<std::uint64_t>(info.contentLength) > maxBytes)
                        return false;
                    length = static_cast<std::uint64_t>(info.contentLength);
                    started = true;
                    if (progress && !progress(0, length)) return !(cancelled = true);
                }
                if (size > length - received) return false;  // more than announced
                if (!sink(data, size)) return false;
                received += size;
                if (progress && !progress(received, length)) return !(cancelled = true);
                return true;
            },
            info);
        if (cancelled) outcome = DownloadOutcome::cancelled;
        else if (whole && started && info.status == 200 && received == length) outcome = DownloadOutcome::complete;
    });
    return outcome;
}

DownloadOutcome HttpDownload(const std::string& url, std::uint64_t maxBytes, const DownloadProgress& progress,
                             std::string& into) {
    into.clear();
    // The announced length (checked against maxBytes first) decides the buffer.
    const DownloadProgress reserving = [&](std::uint64_t received, std::uint64_t length) {
        if (length > into.capacity()) into.reserve(static_cast<std::size_t>(length));
        return !progress || progress(received, length);
    };
    const DownloadOutcome outcome = HttpDownload(url, maxBytes, reserving, [&](const char* data, std::size_t size) {
        into.append(data, size);
        return true;
    });
    if (outcome != DownloadOutcome::complete) {
        into.clear();
        into.shrink_to_fit();
    }
    return outcome;
}

void addHttpHeader(platform::HttpRequest& request, const std::string& header) {
    std::string_view rest = header;
    while (!rest.empty()) {
        const auto end = rest.find_first_of("\r\n");
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::string_view name = headerName(line);
        if (name.empty()) continue;
        trap("Wininet, addHttpHeader", [&] {
            for (auto& existing : request.headers) {
                if (platform::equalsNoCase(headerName(existing), name)) {
                    existing = std::string(line);
                    return;
                }
            }
            request.headers.emplace_back(line);
        });
    }
}

std::string URLEncode(const std::string& text) {
    std::string encoded;
    const bool ok = trap("Wininet, URLEncode", [&] {
        static constexpr char hex[] = "0123456789ABCDEF";
        encoded.reserve(text.size() * 3);
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')) {
                encoded += c;
            } else {
                encoded += {'%', hex[byte >> 4], hex[byte & 15]};
            }
        }
    });
    return ok ? encoded : std::string();
}

}  // namespace plorin
