#include "core/folder_layout.h"

#include <dlfcn.h>

#include <filesystem>

#include "platform/services.h"

namespace plorin {
namespace {
std::string& addInFolderOverride() {
    static std::string folder;
    return folder;
}
}  // namespace

FolderLayout computeFolderLayout(const std::string& addInFolder) {
    std::string folder = addInFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    FolderLayout l;
    std::size_t slash = folder.rfind('/');
    l.root = slash == std::string::npos ? std::string("./") : folder.substr(0, slash + 1);
    l.user = l.root + "user/";
    l.myElements = l.user + "myelements/";
    l.customization = platform::fileSystem().fileExists(l.user + "menu.xml") ? l.user : l.root + "customization/";
    l.icons = l.customization + "icons/";
    l.styles = l.customization + "styles/";
    l.thumbs = l.styles + "thumbs/";
    l.program = l.root + "program/";
    l.ui = l.program + "ui/";
    return l;
}

std::string addInFolder() {
    if (!addInFolderOverride().empty()) return addInFolderOverride();
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&computeFolderLayout), &info) && info.dli_fname) {
        std::error_code ec;
        std::string path = std::filesystem::absolute(info.dli_fname, ec).lexically_normal().string();
        std::size_t slash = path.rfind('/');
        if (slash != std::string::npos) return path.substr(0, slash + 1);
    }
    return "./";
}

void setAddInFolder(const std::string& folder) {
    std::string f = folder;
    if (!f.empty() && f.back() != '/') f += '/';
    addInFolderOverride() = f;
}

bool staysInside(const std::string& relativePath) {
    if (relativePath.empty() || relativePath.front() == '/') return false;
    std::size_t start = 0;
    while (start <= relativePath.size()) {
        std::size_t end = relativePath.find('/', start);
        if (end == std::string::npos) end = relativePath.size();
        const std::string part = relativePath.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    for (char c : relativePath)
        if (c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    return true;
}

}  // namespace plorin
