#include "core/folders.h"

#include <filesystem>

#include "core/errors.h"
#include "platform/services.h"

namespace plorin {

namespace {

// Creates `path` after its parents. Stops at the filesystem root or an empty parent: a
// folder whose parents can never exist is not retried forever.
void createFolderChain(const std::string& requested) {
    std::string path = requested;
    if (!path.empty() && path.back() == '/') path.pop_back();
    if (path.empty()) raiseError(errPathFileAccess, "Path/File access error: cannot create folder '" + requested + "'");
    auto& fs = platform::fileSystem();
    std::size_t slash = path.rfind('/');
    std::string parent = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    if (!parent.empty() && parent != "/" && !fs.folderExists(parent)) createFolderChain(parent);
    if (!fs.folderExists(path) && !fs.createFolder(path))
        raiseError(errPathFileAccess, "Path/File access error: cannot create folder '" + path + "/'");
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool usablePrefix(const std::string& folder) { return !folder.empty() && folder != "/"; }

}  // namespace

void createFolder(const std::string& path) {
    trap("Globals, createFolder", [&] { createFolderChain(path); });
}

std::string getTmpPath() {
    std::string result = "/tmp/";
    trap("ApiHelpers, getTmpPath", [&] {
        std::string t = platform::shell().tempFolder();
        if (!usablePrefix(withSlash(t))) return;
        std::error_code ec;
        auto longForm = std::filesystem::weakly_canonical(std::filesystem::path(t), ec);
        std::string full = withSlash(ec ? t : longForm.string());
        if (usablePrefix(full)) result = full;
    });
    return result;
}

std::string getInternetCachePath() {
    std::string result;
    trap("ApiHelpers, getInternetCachePath", [&] { result = withSlash(platform::shell().internetCacheFolder()); });
    // Without a cache folder of its own, a folder below the temporary folder stands in.
    if (!usablePrefix(result)) result = getTmpPath() + "varnotel-cache/";
    return result;
}

}  // namespace plorin
