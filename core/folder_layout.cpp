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

}  // namespace plorin
