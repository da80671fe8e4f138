// Picture files (the ribbon's pictures, thumbnails, icons) read by the add-in's picture layer:
// whatever the bytes, reading gives exactly what cairo's own reading gives (sides, pixels),
// or nothing where cairo refuses the file. The first byte is the harness's: when odd, every
// chunk's checksum is made right, so that changes inside chunks reach the reader.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/picture.h"
#include "tests/support/png_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::string bytes(fuzz::bytesOf(data + 1, size - 1));
    if (data[0] & 1) bytes = testing_support::withChunkChecksums(bytes);
    // cairo sets aside the whole picture before reading a row: large sides are left out, as
    // they would only measure the allocator.
    if (bytes.size() >= 24) {
        auto side = [&bytes](std::size_t at) {
            std::uint64_t v = 0;
            for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
            return v;
        };
        if (side(16) * side(20) > (1u << 20)) return 0;
    }
    const std::string path = fuzz::scratch().put("picture.png", bytes);
    const auto want = testing_support::cairoPng(path);
    const auto got = platform::loadPng(path);
    if ((got != nullptr) != want.has_value())
        fuzz::fail(got ? "read a file cairo refuses" : "refused a file cairo reads");
    if (got && (got->width != want->width || got->height != want->height)) fuzz::fail("the sides differ from cairo's");
    if (got && got->pixels != want->pixels) fuzz::fail("the pixels differ from cairo's");
    return 0;
}
