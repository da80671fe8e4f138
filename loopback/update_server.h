// The update server on the loopback interface: answers "autoupdate.php" with a version
// reply, a file list and a package made from a set of files, and misbehaves on request.
// Used by the update add-in's tests and by the simulator's update scenario.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "loopback/http_server.h"

namespace loopback {

class UpdateServer {
public:
    using Reply = HttpTestServer::Reply;
    struct File {
        std::string path;  // relative, "/" between folders, as the list names it
        std::string bytes;
    };

    UpdateServer();

    // "127.0.0.1:NNNN", for the setting "webHost".
    std::string hostPort() const { return server_.hostPort(); }
    std::vector<HttpTestServer::Request> requests() const { return server_.requests(); }
    HttpTestServer& http() { return server_; }

    // The reply to "action=check".
    void setVersionReply(std::string reply);
    // The files of the update; the list and the package follow from them.
    void setFiles(std::vector<File> files);
    // Every file below a folder, sorted by path; false when the folder cannot be read.
    bool serveFolder(const std::string& folder);
    // Whether the built list carries each file's SHA-256 (it does unless told otherwise).
    void setChecksums(bool listed);
    // The package carries this file with its first byte altered; the list still names the
    // checksum of the file as published (a file changed on the way).
    void tamper(const std::string& path);
    // Replaces the built reply to "list" or "download" (nothing: back to the built one).
    void overrideList(std::optional<Reply> reply);
    void overrideDownload(std::optional<Reply> reply);

    // "path<TAB>count<TAB>SHA-256<CR LF>" per file (without the checksum when told so), and
    // the files' bytes one after another.
    static std::string listOf(const std::vector<File>& files, bool checksums = true);
    static std::string packageOf(const std::vector<File>& files);
    // A version reply for these values.
    static std::string versionReplyOf(const std::string& program, unsigned long long programBytes,
                                      unsigned long long customization, unsigned long long customizationBytes);

    // What the three requests were answered with so far.
    std::string versionReply() const;
    std::vector<File> files() const;

private:
    std::optional<Reply> answer(const HttpTestServer::Request& request);
    mutable std::mutex mutex_;
    std::string versionReply_;
    std::vector<File> files_;
    std::optional<Reply> list_, download_;
    bool checksums_ = true;
    std::vector<std::string> tampered_;
    HttpTestServer server_;  // last: its thread stops before the rest goes
};

}  // namespace loopback
