// The update package as it streams in from the server, cut by the file list into staged
// files. The input is the list, a NUL, then the package (taken in pieces whose sizes the
// package's own bytes choose). Whatever both hold, a stream that finishes has written
// exactly the listed files with their listed sizes and checksums, and nothing else.
#include <filesystem>
#include <string>

#include "core/sha256.h"
#include "fuzz_support.h"
#include "updater/update_files.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    const auto nul = input.find('\0');
    if (nul == std::string_view::npos) return 0;
    const auto list = plorinrenew::parseUpdateList(input.substr(0, nul));
    if (!list) return 0;
    const std::string_view package = input.substr(nul + 1);

    const fs::path folder = fs::path(fuzz::scratch().path()) / "staged";
    fs::remove_all(folder);
    fs::create_directories(folder);
    bool finished = false;
    {
        plorinrenew::PackageStream stream(folder.string() + "/", *list);
        bool ok = true;
        for (std::size_t at = 0; ok && at < package.size();) {
            const std::size_t piece =
                std::min<std::size_t>(1 + static_cast<unsigned char>(package[at]) % 64, package.size() - at);
            ok = stream.write(package.data() + at, piece);
            at += piece;
        }
        finished = ok && stream.finish();
    }
    if (!finished) return 0;
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) ++files;
    if (files != list->size()) fuzz::fail("the staged files are not the listed ones");
    for (const auto& file : *list) {
        const std::string bytes = fuzz::readFile((folder / file.path).string());
        if (bytes.size() != file.bytes) fuzz::fail("a staged file has another size than listed");
        if (!file.sha256.empty() && plorin::sha256Hex(bytes) != file.sha256)
            fuzz::fail("a staged file does not match its checksum");
    }
    return 0;
}
