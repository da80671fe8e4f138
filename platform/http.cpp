// The libcurl client behind platform/http.h, and the switch that lets tests replace it.
#include "platform/http.h"

#include "platform/text.h"

#include <curl/curl.h>

#include <atomic>
#include <cctype>
#include <exception>
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
    target.url = std::string(request.https ? "https://" : "http://") + (ipv6 ? "[" + name + "]" : name) + ":" + std::to_string(port) + path;
    target.hostName = std::move(name);
    return target;
}

bool isLoopback(const std::string& hostName) {
    return platform::equalsNoCase(hostName, "localhost") || hostName.rfind("127.", 0) == 0 || hostName == "::1";
}

// Where the reply body goes while libcurl reads it.
struct Receiver {
    CURL* easy = nullptr;
    HttpResponse* info = nullptr;  // gets status and length before the first piece goes to sink
    const std::function<bool(const char*, std::size_t)>* sink = nullptr;
    bool onlySuccess = false;   // give sink a 2xx body only; keep any other in otherBody
    bool decided = false;
    bool toSink = true;
    std::string otherBody;
    bool sinkStopped = false;
    std::string failure;        // an exception from sink or from memory, as text
};

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
                curl_off_t length = -1;
                curl_easy_getinfo(receiver->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
                receiver->info->status = status;
                receiver->info->contentLength = length;
            }
        }
        if (!receiver->toSink) {
            const std::size_t room = kErrorBodyLimit - receiver->otherBody.size();
            receiver->otherBody.append(data, length < room ? length : room);
            return length;
        }
        if (!(*receiver->sink)(data, length)) {
            receiver->sinkStopped = true;
            return 0;  // libcurl ends the transfer with CURLE_WRITE_ERROR
        }
        return length;
    } catch (const std::exception& e) {
        receiver->failure = e.what();
    } catch (...) {
        receiver->failure = "unknown exception";
    }
    return 0;
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
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
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
        // Never talk to a server whose certificate or name does not check out.
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    }
    if (!request.userAgent.empty()) curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str());
    if (request.decodeContent) {
        curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");  // every coding this libcurl decodes
    } else {
        curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    }

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

    const CURLcode rc = curl_easy_perform(h);
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
        info.error = "the receiver failed: " + receiver.failure;
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

HttpClient& httpClient() {
    if (HttpClient* client = installedClient.load()) return *client;
    static CurlHttpClient curlClient;
    return curlClient;
}

void useHttpClient(HttpClient* client) { installedClient.store(client); }

}  // namespace platform
