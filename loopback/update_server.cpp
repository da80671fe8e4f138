#include "loopback/update_server.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/sha256.h"

namespace loopback {

UpdateServer::UpdateServer() {
    server_.setHandler([this](const HttpTestServer::Request& request) { return answer(request); });
}

void UpdateServer::setVersionReply(std::string reply) {
    std::lock_guard lock(mutex_);
    versionReply_ = std::move(reply);
}

void UpdateServer::setFiles(std::vector<File> files) {
    std::lock_guard lock(mutex_);
    files_ = std::move(files);
}

bool UpdateServer::serveFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<File> files;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file()) continue;
        std::ifstream in(it->path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files.push_back({fs::relative(it->path(), folder).generic_string(), bytes.str()});
    }
    if (ec) return false;
    std::sort(files.begin(), files.end(), [](const File& a, const File& b) { return a.path < b.path; });
    setFiles(std::move(files));
    return true;
}

void UpdateServer::overrideList(std::optional<Reply> reply) {
    std::lock_guard lock(mutex_);
    list_ = std::move(reply);
}

void UpdateServer::overrideDownload(std::optional<Reply> reply) {
    std::lock_guard lock(mutex_);
    download_ = std::move(reply);
}

void UpdateServer::setChecksums(bool listed) {
    std::lock_guard lock(mutex_);
    checksums_ = listed;
}

void UpdateServer::tamper(const std::string& path) {
    std::lock_guard lock(mutex_);
    tampered_.push_back(path);
}

std::string UpdateServer::listOf(const std::vector<File>& files, bool checksums) {
    std::string list;
    for (const auto& f : files) {
        list += f.path + "\t" + std::to_string(f.bytes.size());
        if (checksums) list += "\t" + plorin::sha256Hex(f.bytes);
        list += "\r\n";
    }
    return list;
}

std::string UpdateServer::packageOf(const std::vector<File>& files) {
    std::string package;
    for (const auto& f : files) package += f.bytes;
    return package;
}

std::string UpdateServer::versionReplyOf(const std::string& program, unsigned long long programBytes,
                                         unsigned long long customization, unsigned long long customizationBytes) {
    return "programVersion:" + program + ";" + std::to_string(programBytes) +
           ";customizationVersion:" + std::to_string(customization) + ";" + std::to_string(customizationBytes) + ";";
}

std::string UpdateServer::versionReply() const {
    std::lock_guard lock(mutex_);
    return versionReply_;
}

std::vector<UpdateServer::File> UpdateServer::files() const {
    std::lock_guard lock(mutex_);
    return files_;
}

std::optional<UpdateServer::Reply> UpdateServer::answer(const HttpTestServer::Request& request) {
    const std::string& target = request.target;
    if (target.rfind("/autoupdate.php?", 0) != 0) return Reply::text("not found", 404);
    const std::string query = target.substr(target.find('?') + 1);
    std::lock_guard lock(mutex_);
    if (query == "action=check") return Reply::text(versionReply_);
    if (query.rfind("action=list&", 0) == 0) return list_ ? *list_ : Reply::text(listOf(files_, checksums_));
    if (query.rfind("action=download&", 0) == 0) {
        if (download_) return *download_;
        std::vector<File> served = files_;
        for (auto& f : served)
            if (!f.bytes.empty() && std::find(tampered_.begin(), tampered_.end(), f.path) != tampered_.end())
                f.bytes[0] = static_cast<char>(f.bytes[0] ^ 1);
        return Reply::text(packageOf(served));
    }
    return Reply::text("unknown action", 400);
}

}  // namespace loopback
