// A temporary folder for a test: fresh, its own, and gone with everything in it afterwards.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace test_support {

// A new folder "<prefix>-XXXXXX" in `parent`, by default the system's temporary folder
// ($TMPDIR, else /tmp). mkdtemp picks the name, so tests running side by side in several
// processes never meet in one folder.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "varnotel-test", std::string parent = {}) {
        if (parent.empty()) {
            const char* temp = std::getenv("TMPDIR");
            parent = temp && *temp == '/' ? temp : "/tmp";
        }
        std::string pattern = parent + "/" + prefix + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder: " + pattern);
        path_ = pattern + "/";
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with "/".
    const std::string& path() const { return path_; }
    // The folder without the "/" at its end, as a program names it.
    std::string folder() const { return path_.substr(0, path_.size() - 1); }
    // A name inside it.
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

}  // namespace test_support
