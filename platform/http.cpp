// The libcurl client behind platform/http.h, and the switch that lets tests replace it.
#include "platform/http.h"

#include "platform/text.h"

#include <curl/curl.h>
#include <zlib.h>

#include <atomic>
#include <cctype>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string_view>

namespace platform {
namespace {

// What a non-2xx reply to a download may leave in info.body: enough for an error page.
constexpr std::size_t kErrorBodyLimit = 64 * 1024;

void initCurlOnce() {
    // curl_global_init is not safe to race with itself; a function-local static runs it once.
    static const CURLcode rc = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)rc;  // on failure curl_easy_init returns null and the request fails there
}

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using HeaderList = std::unique_ptr<curl_slist, ListCleanup>;

bool allDigits(std::string_view s) {
    if (s.empty() || s.size() > 5) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// One caller's header line as libcurl should get it, or nothing when it is not to be sent.
// A CR or LF inside would end the header block early on the wire, so they go. libcurl takes
// "Name:" as "drop this header", so an empty value is written "Name;", its way of sending one.
std::optional<std::string> curlHeaderLine(const std::string& line) {
    std::string clean;
    clean.reserve(line.size());
    for (char c : line) {
        if (c != '\r' && c != '\n') clean += c;
    }
    const auto colon = clean.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const std::string_view name = platform::trimmed(std::string_view(clean).substr(0, colon));
    if (name.empty()) return std::nullopt;
    // The body's real length is what goes out; a stale copy from the caller would break framing.
    if (platform::equalsNoCase(name, "Content-Length")) return std::nullopt;
    const std::string_view value = std::string_view(clean).substr(colon + 1);
    if (platform::trimmed(value).empty()) return std::string(name) + ";";
    return std::string(name) + ":" + std::string(value);
}

struct Target {
    std::string url;
    std::string hostName;  // without port or brackets
};

// "http://host:port/path" from the request, or nothing (with the reason) when the host is unusable.
std::optional<Target> makeTarget(const HttpRequest& request, std::string& error) {
    const std::string_view host = platform::trimmed(request.host);
    if (host.empty()) {
        error = "no host given";
        return std::nullopt;
    }
    for (char c : host) {
        if (std::string_view("/?#@\\ \t\r\n").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 0x20) {
            error = "invalid host: " + std::string(host);
            return std::nullopt;
        }
    }
    std::string name;
    std::string portText;
    if (host.front() == '[') {  // bracketed IPv6 literal, maybe with a port
        const auto close = host.find(']');
        if (close == std::string_view::npos) {
            error = "invalid host: " + std::string(host);
            return std::nullopt;
        }
        name = std::string(host.substr(1, close - 1));
        const std::string_view rest = host.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                error = "invalid host: " + std::string(host);
                return std::nullopt;
            }
            portText = std::string(rest.substr(1));
        }
    } else if (const auto colon = host.find(':'); colon == std::string_view::npos) {
        name = std::string(host);
    } else if (host.find(':', colon + 1) != std::string_view::npos) {
        name = std::string(host);  // bare IPv6 literal: it carries no port
    } else {
        name = std::string(host.substr(0, colon));
        portText = std::string(host.substr(colon + 1));
    }
    int port = request.port;
    if (!portText.empty() || host.back() == ':') {
        port = allDigits(portText) ? std::stoi(portText) : 0;
    }
    if (name.empty() || port < 1 || port > 65535) {
        error = "invalid host or port: " + std::string(host);
        return std::nullopt;
    }
    const bool ipv6 = name.find(':') != std::string::npos;
    std::string path = request.path.empty() ? "/" : request.path;
    if (path.front() != '/') path.insert(path.begin(), '/');
    Target target;
    target.url = std::string(request.https ? "https://" : "http://") + (ipv6 ? "[" + name + "]" : name) + ":" +
                 std::to_string(port) + path;
    target.hostName = std::move(name);
    return target;
}

bool isLoopback(const std::string& hostName) {
    return platform::equalsNoCase(hostName, "localhost") || hostName.rfind("127.", 0) == 0 || hostName == "::1";
}

// Undoes a gzip or deflate coding piece by piece, so that neither a small reply that decodes
// to a huge one nor a cut-off one gets past the receiver.
class Decoder {
public:
    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder() {
        if (started_) inflateEnd(&stream_);
    }

    // windowBits 15 + 32 reads both the gzip and the zlib wrapping ("deflate" as sent).
    bool start() {
        started_ = inflateInit2(&stream_, 15 + 32) == Z_OK;
        return started_;
    }

    // Hands each decoded piece to out; false when the bytes are not a valid stream or out
    // refused. Bytes after the end of the stream are ignored.
    template <class Out>
    bool feed(const char* data, std::size_t size, Out&& out) {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        stream_.avail_in = static_cast<uInt>(size);
        while (stream_.avail_in > 0 && !ended_) {
            char piece[16384];
            stream_.next_out = reinterpret_cast<Bytef*>(piece);
            stream_.avail_out = sizeof piece;
            const int rc = inflate(&stream_, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END) return false;
            ended_ = rc == Z_STREAM_END;
            const std::size_t produced = sizeof piece - stream_.avail_out;
            if (produced > 0 && !out(piece, produced)) return false;
            if (rc == Z_OK && produced == 0 && stream_.avail_in > 0) return false;  // no progress
        }
        return true;
    }

    bool ended() const { return ended_; }

private:
    z_stream stream_{};
    bool started_ = false;
    bool ended_ = false;
};

// Where the reply body goes while libcurl reads it.
struct Receiver {
    CURL* easy = nullptr;
    HttpResponse* info = nullptr;  // gets status and length before the first piece goes to sink
    const std::function<bool(const char*, std::size_t)>* sink = nullptr;
    bool onlySuccess = false;  // give sink a 2xx body only; keep any other in otherBody
    std::size_t limit = 0;     // the most body bytes (decoded) taken; 0: no limit
    bool decode = false;       // undo the reply's content coding
    std::string encoding;      // the reply's Content-Encoding, lower case
    bool decided = false;
    bool toSink = true;
    std::unique_ptr<Decoder> decoder;
    std::size_t received = 0;
    std::string otherBody;
    bool sinkStopped = false;
    std::string failure;  // why the body was refused, as text
    const std::function<bool()>* keepGoing = nullptr;

    // One piece of the decoded body.
    bool take(const char* data, std::size_t length) {
        if (limit > 0 && length > limit - received) {
            failure = "the reply is larger than " + std::to_string(limit) + " bytes";
            return false;
        }
        received += length;
        if (!toSink) {
            const std::size_t room = kErrorBodyLimit - otherBody.size();
            otherBody.append(data, length < room ? length : room);
            return true;
        }
        if (!(*sink)(data, length)) {
            sinkStopped = true;
            return false;
        }
        return true;
    }
};

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* userData) {
    auto* receiver = static_cast<Receiver*>(userData);
    const std::size_t length = size * count;
    const std::string_view line(data, length);
    if (line.rfind("HTTP/", 0) == 0) {
        receiver->encoding.clear();  // a new reply (after an interim one) starts its own headers
    } else if (const auto colon = line.find(':');
               colon != std::string_view::npos && platform::equalsNoCase(line.substr(0, colon), "Content-Encoding")) {
        receiver->encoding.clear();
        for (char c : platform::trimmed(line.substr(colon + 1), " \t\r\n"))
            receiver->encoding += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return length;
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* userData) {
    auto* receiver = static_cast<Receiver*>(userData);
    const std::size_t length = size * count;
    try {
        if (!receiver->decided) {
            long status = 0;
            curl_easy_getinfo(receiver->easy, CURLINFO_RESPONSE_CODE, &status);
            receiver->toSink = !receiver->onlySuccess || (status >= 200 && status < 300);
            receiver->decided = true;
            if (receiver->info) {
                curl_off_t announced = -1;
                curl_easy_getinfo(receiver->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
                receiver->info->status = status;
                receiver->info->contentLength = announced;
            }
            const std::string& coding = receiver->encoding;
            if (receiver->decode && !coding.empty() && coding != "identity") {
                if (coding != "gzip" && coding != "x-gzip" && coding != "deflate") {
                    receiver->failure = "the reply's content encoding " + coding + " is not known";
                    return 0;
                }
                receiver->decoder = std::make_unique<Decoder>();
                if (!receiver->decoder->start()) throw std::bad_alloc();
            }
        }
        if (!receiver->decoder) return receiver->take(data, length) ? length : 0;
        const bool fed = receiver->decoder->feed(
            data, length, [receiver](const char* piece, std::size_t n) { return receiver->take(piece, n); });
        if (fed) return length;
        if (receiver->failure.empty() && !receiver->sinkStopped) receiver->failure = "the encoded reply is damaged";
    } catch (const std::exception& e) {
        receiver->failure = std::string("the receiver failed: ") + e.what();
    } catch (...) {
        receiver->failure = "the receiver failed: unknown exception";
    }
    return 0;
}

int onProgress(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* receiver = static_cast<Receiver*>(userData);
    try {
        if ((*receiver->keepGoing)()) return 0;
        receiver->failure = "the transfer was called off";
    } catch (...) {
        receiver->failure = "the transfer's check failed";
    }
    return 1;
}

// Runs one request; the body goes to receiver. Fills info.ok, status and error (never body).
void perform(const HttpRequest& request, Receiver& receiver, HttpResponse& info) {
    info = HttpResponse{};
    std::string error;
    const auto target = makeTarget(request, error);
    if (!target) {
        info.error = error;
        return;
    }
    initCurlOnce();
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        info.error = "libcurl could not start a transfer";
        return;
    }
    CURL* h = easy.get();
    receiver.easy = h;

    HeaderList headers;
    for (const auto& line : request.headers) {
        const auto curlLine = curlHeaderLine(line);
        if (!curlLine) continue;
        curl_slist* grown = curl_slist_append(headers.get(), curlLine->c_str());
        if (!grown) {
            info.error = "out of memory building the headers";
            return;
        }
        (void)headers.release();  // the list now lives on in grown
        headers.reset(grown);
    }

    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_URL, target->url.c_str());
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    const TransportRules rules = transportRules(request);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, rules.followRedirects ? 1L : 0L);
    // The system's proxy (libcurl reads it from the environment) is for the outside world; a
    // server on this machine is always reached directly.
    if (isLoopback(target->hostName)) curl_easy_setopt(h, CURLOPT_PROXY, "");
    if (request.connectTimeoutMs > 0) curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
    if (request.totalTimeoutMs > 0) curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, request.totalTimeoutMs);
    if (request.lowSpeedBytes > 0 && request.lowSpeedSeconds > 0) {
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, request.lowSpeedBytes);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, request.lowSpeedSeconds);
    }
    if (request.https) {
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, rules.verifyPeer ? 1L : 0L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, rules.verifyHost ? 2L : 0L);
    }
    if (request.keepGoing) {
        // libcurl calls this often while data flows and about once a second while it stalls.
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &onProgress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, &receiver);
        receiver.keepGoing = &request.keepGoing;
    }
    if (!request.userAgent.empty()) curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str());
    // The receiver decodes, so that what a coding decodes to is counted against the limit and
    // a stream cut short is noticed; libcurl only advertises the codings.
    curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    if (request.decodeContent) curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    receiver.decode = request.decodeContent;

    const std::string method = request.method.empty() ? "GET" : request.method;
    if (method == "GET" && request.body.empty()) {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD" && request.body.empty()) {
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    } else {
        if (method != "POST") curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
        if (method == "POST" || !request.body.empty()) {
            curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
            curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
        }
    }
    if (headers) curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &receiver);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &receiver);

    const CURLcode rc = curl_easy_perform(h);
    curl_off_t uploaded = 0;
    curl_off_t started = 0;  // microseconds until the request began to go out; 0 when it never did
    curl_easy_getinfo(h, CURLINFO_SIZE_UPLOAD_T, &uploaded);
    curl_easy_getinfo(h, CURLINFO_PRETRANSFER_TIME_T, &started);
    info.sentButNotAnswered =
        rc == CURLE_OPERATION_TIMEDOUT && started > 0 && uploaded >= static_cast<curl_off_t>(request.body.size());
    if (rc == CURLE_OK && receiver.decoder && !receiver.decoder->ended()) {
        info.error = "the encoded reply was cut short";
        return;
    }
    if (rc == CURLE_OK) {
        info.ok = true;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &info.status);
        curl_off_t length = -1;
        curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        info.contentLength = length;
        return;
    }
    info.status = 0;
    info.contentLength = -1;
    if (receiver.sinkStopped) {
        info.error = "the receiver stopped the transfer";
    } else if (!receiver.failure.empty()) {
        info.error = receiver.failure;
    } else {
        info.error = errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc);
    }
}

class CurlHttpClient final : public HttpClient {
public:
    HttpResponse send(const HttpRequest& request) override {
        HttpResponse response;
        try {
            std::string body;
            const std::function<bool(const char*, std::size_t)> collect = [&body](const char* data, std::size_t size) {
                body.append(data, size);
                return true;
            };
            Receiver receiver;
            receiver.sink = &collect;
            receiver.limit = request.maxReplyBytes;
            perform(request, receiver, response);
            if (response.ok) response.body = std::move(body);
        } catch (const std::exception& e) {
            response = HttpResponse{};
            response.error = e.what();
        }
        return response;
    }

    bool download(const HttpRequest& request, const std::function<bool(const char*, std::size_t)>& sink,
                  HttpResponse& info) override {
        try {
            Receiver receiver;
            receiver.sink = &sink;
            receiver.onlySuccess = true;
            receiver.info = &info;
            perform(request, receiver, info);
            if (!info.ok) return false;
            if (info.status >= 200 && info.status < 300) return true;
            info.body = std::move(receiver.otherBody);
            return false;
        } catch (const std::exception& e) {
            info = HttpResponse{};
            info.error = e.what();
            return false;
        }
    }
};

std::atomic<HttpClient*> installedClient{nullptr};

}  // namespace

std::unique_ptr<HttpClient> makeCurlHttpClient() { return std::make_unique<CurlHttpClient>(); }

TransportRules transportRules(const HttpRequest&) { return TransportRules{}; }

HttpClient& httpClient() {
    if (HttpClient* client = installedClient.load()) return *client;
    static CurlHttpClient curlClient;
    return curlClient;
}

HttpClient* useHttpClient(HttpClient* client) { return installedClient.exchange(client); }

}  // namespace platform
