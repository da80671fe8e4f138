// The update server's file list and the package it announces: the download checks the list
// (every path clean, every count a whole number, no path twice) and cuts the package into
// the listed files. The input is the list, a NUL, then the package.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "updater/update_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto nul = input.find('\0');
    const std::string_view listText = input.substr(0, nul);
    const std::string_view package = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);

    const auto list = plorinrenew::parseUpdateList(listText);
    if (!list) return 0;
    for (const auto& file : *list)
        if (!plorinrenew::isCleanRelativePath(file.path)) fuzz::fail("a path out of the installation");
    const auto pieces = plorinrenew::splitPackage(*list, package);
    if (!pieces) return 0;
    std::size_t total = 0;
    for (std::size_t i = 0; i < list->size(); ++i) {
        if ((*pieces)[i].size() != (*list)[i].bytes) fuzz::fail("a file cut to the wrong length");
        total += (*pieces)[i].size();
    }
    if (total != package.size()) fuzz::fail("the pieces do not add up to the package");
    return 0;
}
