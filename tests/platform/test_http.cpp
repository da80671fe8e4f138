// The libcurl client against the loopback test server: what goes on the wire, what comes back.
#include "loopback/http_server.h"
#include "platform/http.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

namespace {

using loopback::HttpTestServer;
using platform::HttpRequest;
using platform::HttpResponse;
using Reply = HttpTestServer::Reply;

class HttpClientTest : public ::testing::Test {
protected:
    HttpRequest post(std::string path = "/", std::string body = {}) {
        HttpRequest request;
        request.host = server.hostPort();
        request.path = std::move(path);
        request.body = std::move(body);
        request.connectTimeoutMs = 2000;
        request.totalTimeoutMs = 5000;
        return request;
    }
    HttpTestServer::Request onlyRequest() {
        const auto all = server.requests();
        EXPECT_EQ(all.size(), 1u);
        return all.empty() ? HttpTestServer::Request{} : all.front();
    }

    HttpTestServer server;
    std::unique_ptr<platform::HttpClient> client = platform::makeCurlHttpClient();
};

// --- what goes out -------------------------------------------------------------------------

TEST_F(HttpClientTest, PostGoesOutAsHttp10WithPathAndQuery) {
    ASSERT_TRUE(client->send(post("/cgi/report.php?lang=de", "a=1")).ok);
    const auto sent = onlyRequest();
    EXPECT_EQ(sent.requestLine, "POST /cgi/report.php?lang=de HTTP/1.0");
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.version, "HTTP/1.0");
}

TEST_F(HttpClientTest, PathWithoutLeadingSlashAndHostWithoutPortStillReachTheServer) {
    HttpRequest request = post("update.php");
    request.host = "127.0.0.1";
    request.port = server.port();
    ASSERT_TRUE(client->send(request).ok);
    EXPECT_EQ(onlyRequest().target, "/update.php");
}

TEST_F(HttpClientTest, EveryHeaderGoesOutOnceWithANameAndTheUserAgentIsSent) {
    HttpRequest request = post("/", "x=1");
    request.userAgent = "Varnotel/1.0 (Linux)";
    request.headers = {"Content-Type: application/x-www-form-urlencoded",
                       "X-Product: Varnotel",
                       "X-Empty:",
                       "",
                       ": no name",
                       "no colon at all"};
    ASSERT_TRUE(client->send(request).ok);
    const auto sent = onlyRequest();
    for (const auto& [name, value] : sent.headers) {
        EXPECT_FALSE(name.empty()) << "value " << value;
        EXPECT_EQ(sent.headerCount(name), 1u) << name;
    }
    EXPECT_EQ(sent.header("User-Agent"), "Varnotel/1.0 (Linux)");
    EXPECT_EQ(sent.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(sent.header("X-Product"), "Varnotel");
    EXPECT_EQ(sent.headerCount("X-Empty"), 1u);
    EXPECT_EQ(sent.header("X-Empty"), "");
    EXPECT_EQ(sent.header("Host"), server.hostPort());
    EXPECT_EQ(sent.raw.find("no name"), std::string::npos);
    EXPECT_EQ(sent.raw.find("no colon"), std::string::npos);
}

TEST_F(HttpClientTest, NoUserAgentLineWhenNoneIsGiven) {
    ASSERT_TRUE(client->send(post()).ok);
    EXPECT_EQ(onlyRequest().headerCount("User-Agent"), 0u);
}

TEST_F(HttpClientTest, CrAndLfInsideAHeaderLineAreDroppedSoNothingIsInjected) {
    HttpRequest request = post("/", "body");
    request.headers = {"X-Note: first\r\nInjected: yes", "Content-Type: text/plain\r\n"};
    ASSERT_TRUE(client->send(request).ok);
    const auto sent = onlyRequest();
    EXPECT_EQ(sent.header("X-Note"), "firstInjected: yes");
    EXPECT_EQ(sent.headerCount("Injected"), 0u);
    EXPECT_EQ(sent.header("Content-Type"), "text/plain");
    EXPECT_EQ(sent.body, "body");  // the header block did not end early
}

TEST_F(HttpClientTest, BodyBytesAndContentLengthAreExact) {
    const std::string bodies[] = {
        std::string(),
        "name=J%C3%BCrgen&text=a+b",
        std::string("raw \xc3\xa4\xe2\x82\xac \x00\x01\xff\r\n\r\nend", 19),
        std::string(200000, 'z'),
    };
    for (const auto& body : bodies) {
        SCOPED_TRACE(body.size());
        HttpRequest request = post("/", body);
        request.headers = {"Content-Length: 3"};  // stale: the real length wins
        ASSERT_TRUE(client->send(request).ok);
        const auto sent = server.requests().back();
        EXPECT_EQ(sent.body, body);
        EXPECT_EQ(sent.headerCount("Content-Length"), 1u);
        EXPECT_EQ(sent.header("Content-Length"), std::to_string(body.size()));
    }
}

TEST_F(HttpClientTest, OtherMethodsAreWrittenAsGiven) {
    HttpRequest get = post("/check?v=1");
    get.method = "GET";
    ASSERT_TRUE(client->send(get).ok);
    HttpRequest put = post("/up", "data");
    put.method = "PUT";
    ASSERT_TRUE(client->send(put).ok);
    const auto sent = server.requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].requestLine, "GET /check?v=1 HTTP/1.0");
    EXPECT_EQ(sent[0].headerCount("Content-Length"), 0u);
    EXPECT_EQ(sent[1].requestLine, "PUT /up HTTP/1.0");
    EXPECT_EQ(sent[1].body, "data");
}

// --- what comes back -----------------------------------------------------------------------

TEST_F(HttpClientTest, RepliesAreHandedBackWithTheirStatus) {
    struct Case {
        const char* name;
        HttpTestServer::Reply reply;
        bool ok;
        long status;
        std::string body;
    };
    const std::string binary("\x00\xff\x80 ok\r\n", 7);
    const Case cases[] = {
        {"plain 200", Reply::text("OK;version=2.1"), true, 200, "OK;version=2.1"},
        {"binary 200", Reply::text(binary), true, 200, binary},
        {"empty 200", Reply::text(""), true, 200, ""},
        {"500 keeps its body", Reply::text("database down", 500), true, 500, "database down"},
        {"404", Reply::text("missing", 404), true, 404, "missing"},
        {"gzip is decoded", Reply::gzipped(std::string(5000, 'q') + "tail"), true, 200,
         std::string(5000, 'q') + "tail"},
        {"redirect is not followed", Reply::text("", 302).withHeader("Location: /elsewhere"), true, 302, ""},
        {"HTTP/1.0 body ends at close", Reply::verbatim("HTTP/1.0 200 OK\r\n\r\nuntil close"), true, 200,
         "until close"},
        {"hang-up without reply", Reply::hangUp(), false, 0, ""},
        {"cut off mid-body", Reply::verbatim("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\npartial"), false, 0, ""},
        {"garbage reply", Reply::verbatim("this is not http\r\n\r\n"), false, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.queue(c.reply);
        const HttpResponse response = client->send(post("/", "q=1"));
        EXPECT_EQ(response.ok, c.ok);
        EXPECT_EQ(response.status, c.status);
        EXPECT_EQ(response.body, c.body);
        EXPECT_EQ(response.error.empty(), c.ok) << response.error;
    }
    EXPECT_EQ(server.requests().size(), std::size(cases));  // one each: no redirect, no retry
}

TEST_F(HttpClientTest, GzipIsAdvertisedWhenDecodingAndLeftAloneWhenNot) {
    server.setDefault(Reply::gzipped("compressed text"));
    ASSERT_EQ(client->send(post()).body, "compressed text");
    EXPECT_NE(server.requests().back().header("Accept-Encoding").find("gzip"), std::string::npos);

    HttpRequest raw = post();
    raw.decodeContent = false;
    const HttpResponse response = client->send(raw);
    ASSERT_TRUE(response.ok);
    EXPECT_EQ(response.body, HttpTestServer::gzip("compressed text"));
    EXPECT_EQ(server.requests().back().headerCount("Accept-Encoding"), 0u);
}

// --- failures ------------------------------------------------------------------------------

TEST_F(HttpClientTest, RepliesOverTheLimitFailWhileArriving) {
    HttpRequest small = post();
    small.maxReplyBytes = 1000;
    server.queue(Reply::text(std::string(1000, 'a')));
    EXPECT_EQ(client->send(small).body.size(), 1000u);
    server.queue(Reply::text(std::string(1001, 'a')));
    HttpResponse response = client->send(small);
    EXPECT_FALSE(response.ok);
    EXPECT_TRUE(response.body.empty());
    EXPECT_NE(response.error.find("larger than 1000 bytes"), std::string::npos) << response.error;

    // The default limit holds for a request that sets none; what counts is the decoded size.
    server.queue(Reply::text(std::string(HttpRequest::kDefaultMaxReplyBytes + 1, 'b')));
    EXPECT_FALSE(client->send(post()).ok);
    const std::string bomb = HttpTestServer::gzip(std::string(64u << 20, '\0'));
    ASSERT_LT(bomb.size(), 128u * 1024);
    server.queue(Reply::verbatim("HTTP/1.0 200 OK\r\nContent-Encoding: gzip\r\n\r\n" + bomb));
    response = client->send(post());
    EXPECT_FALSE(response.ok);
    EXPECT_NE(response.error.find("larger than"), std::string::npos) << response.error;
}

TEST_F(HttpClientTest, DamagedOrCutOffEncodedRepliesFail) {
    const std::string whole = HttpTestServer::gzip(std::string(20000, 'z') + "end");
    std::string damaged = whole;
    for (std::size_t i = 20; i < 40; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5a);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"cut in half", whole.substr(0, whole.size() / 2)},
        {"without its trailer", whole.substr(0, whole.size() - 4)},
        {"bytes damaged", damaged},
        {"not gzip at all", "plain text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.queue(Reply::verbatim("HTTP/1.0 200 OK\r\nContent-Encoding: gzip\r\n\r\n" + c.bytes));
        const HttpResponse response = client->send(post());
        EXPECT_FALSE(response.ok);
        EXPECT_TRUE(response.body.empty());
        EXPECT_FALSE(response.error.empty());
    }
    server.queue(Reply::verbatim("HTTP/1.0 200 OK\r\nContent-Encoding: gzip\r\n\r\n" + whole));
    EXPECT_EQ(client->send(post()).body, std::string(20000, 'z') + "end");
}

TEST_F(HttpClientTest, RefusedConnectionFailsWithAnEmptyBody) {
    HttpRequest request = post();
    request.host = "127.0.0.1:" + std::to_string(HttpTestServer::unusedPort());
    const HttpResponse response = client->send(request);
    EXPECT_FALSE(response.ok);
    EXPECT_EQ(response.status, 0);
    EXPECT_TRUE(response.body.empty());
    EXPECT_FALSE(response.error.empty());
}

TEST_F(HttpClientTest, SlowServerPastTheTimeLimitFailsWithAnEmptyBody) {
    server.queue(Reply::slow(10000, "too late"));
    HttpRequest request = post();
    request.totalTimeoutMs = 300;
    const auto started = std::chrono::steady_clock::now();
    const HttpResponse response = client->send(request);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(response.ok);
    EXPECT_TRUE(response.body.empty());
    EXPECT_FALSE(response.error.empty());
}

TEST_F(HttpClientTest, UnusableHostsFailWithoutThrowing) {
    for (const char* host : {"", "bad host", "127.0.0.1:99999", "127.0.0.1:", "user@127.0.0.1", "[::1"}) {
        SCOPED_TRACE(host);
        HttpRequest request = post();
        request.host = host;
        const HttpResponse response = client->send(request);
        EXPECT_FALSE(response.ok);
        EXPECT_FALSE(response.error.empty());
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpClientTest, ProxyFromTheEnvironmentIsNotUsedForThisMachine) {
    const std::string deadProxy = "http://127.0.0.1:" + std::to_string(HttpTestServer::unusedPort());
    const char* saved = std::getenv("http_proxy");
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;
    setenv("http_proxy", deadProxy.c_str(), 1);
    const HttpResponse response = client->send(post());
    if (previous) setenv("http_proxy", previous->c_str(), 1);
    else unsetenv("http_proxy");
    EXPECT_TRUE(response.ok) << response.error;
    EXPECT_EQ(server.requests().size(), 1u);
}

// --- downloads -----------------------------------------------------------------------------

TEST_F(HttpClientTest, DownloadStreamsA200BodyToTheSink) {
    const std::string file(300000, 'd');
    server.queue(Reply::text(file));
    std::string received;
    HttpResponse info;
    EXPECT_TRUE(client->download(
        post("/file.zip"),
        [&](const char* data, std::size_t size) {
            received.append(data, size);
            return true;
        },
        info));
    EXPECT_EQ(received, file);
    EXPECT_TRUE(info.ok);
    EXPECT_EQ(info.status, 200);
    EXPECT_TRUE(info.body.empty());
}

TEST_F(HttpClientTest, DownloadOfAnErrorPageNeverReachesTheSink) {
    server.queue(Reply::text("no such file", 404));
    bool called = false;
    HttpResponse info;
    EXPECT_FALSE(client->download(
        post("/missing.zip"),
        [&](const char*, std::size_t) {
            called = true;
            return true;
        },
        info));
    EXPECT_FALSE(called);
    EXPECT_TRUE(info.ok);
    EXPECT_EQ(info.status, 404);
    EXPECT_EQ(info.body, "no such file");
}

TEST_F(HttpClientTest, DownloadStopsWhenTheSinkRefuses) {
    server.queue(Reply::text(std::string(300000, 'd')));
    HttpResponse info;
    EXPECT_FALSE(client->download(
        post(), [](const char*, std::size_t) { return false; }, info));
    EXPECT_FALSE(info.ok);
    EXPECT_FALSE(info.error.empty());
}

TEST_F(HttpClientTest, ARedirectIsHandedBackAsItIsAndSecureRequestsCheckTheCertificate) {
    // A redirect elsewhere on the same server: following it would show as a second request.
    Reply moved = Reply::text("moved", 302);
    moved.withHeader("Location: http://" + server.hostPort() + "/elsewhere");
    server.queue(moved);
    server.queue(moved);
    const HttpResponse sent = client->send(post("/autoupdate.php"));
    EXPECT_TRUE(sent.ok);
    EXPECT_EQ(sent.status, 302);
    EXPECT_EQ(sent.body, "moved");
    HttpResponse info;
    bool sunk = false;
    EXPECT_FALSE(client->download(
        post("/package"), [&](const char*, std::size_t) { return sunk = true; }, info));
    EXPECT_EQ(info.status, 302);
    EXPECT_FALSE(sunk);
    EXPECT_EQ(server.requests().size(), 2u) << "no redirect was followed";

    HttpRequest secure = post();
    secure.https = true;
    const platform::TransportRules rules = platform::transportRules(secure);
    EXPECT_FALSE(rules.followRedirects);
    EXPECT_TRUE(rules.verifyPeer);
    EXPECT_TRUE(rules.verifyHost);
}

TEST_F(HttpClientTest, AStalledTransferEndsSoonAfterItsCallerCallsItOff) {
    Reply stalled = Reply::text(std::string(1000, 'd'));
    stalled.trickleBytes = 10;
    stalled.trickleDelayMs = 20000;
    server.queue(stalled);
    HttpRequest request = post();
    request.totalTimeoutMs = 0;
    const auto start = std::chrono::steady_clock::now();
    request.keepGoing = [&] { return std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300); };
    HttpResponse info;
    EXPECT_FALSE(client->download(
        request, [](const char*, std::size_t) { return true; }, info));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
    EXPECT_EQ(info.error, "the transfer was called off");
}

// --- the installed client ------------------------------------------------------------------

TEST(HttpClientSwitch, AnInstalledClientIsUsedUntilRemoved) {
    struct Canned : platform::HttpClient {
        HttpResponse send(const HttpRequest&) override { return {true, 200, "canned", {}}; }
        bool download(const HttpRequest&, const std::function<bool(const char*, std::size_t)>&,
                      HttpResponse&) override {
            return false;
        }
    } canned;
    platform::useHttpClient(&canned);
    EXPECT_EQ(&platform::httpClient(), &canned);
    platform::useHttpClient(nullptr);
    EXPECT_NE(&platform::httpClient(), &canned);
}

}  // namespace
