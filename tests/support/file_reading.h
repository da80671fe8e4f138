// Reading a whole file in a test: what a writer left on the disk, byte for byte.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace test_support {

// The file's bytes, unchanged (no line-end conversion); empty when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every entry below a folder by its path relative to it: a file with its bytes, a folder
// ("name/") and a symbolic link ("-> link") with nothing to read.
inline std::map<std::string, std::string> readFolder(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = fs::relative(it->path(), folder).generic_string();
        if (it->is_symlink()) entries[name] = "-> link";
        else if (it->is_directory()) entries[name + "/"] = "";
        else entries[name] = readFile(it->path());
    }
    return entries;
}

}  // namespace test_support
