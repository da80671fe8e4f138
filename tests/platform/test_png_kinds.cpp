// Every kind of PNG reads to the same pixels whichever decoder takes it: files with their
// pixels stored (as the installation's are) are decoded by copying, everything else through
// cairo. The reference here is cairo's own reading, straightened the way a picture keeps its
// pixels; damaged stored files must be refused or read exactly as cairo does.
#include <cairo.h>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "tests/support/png_files.h"

namespace {

struct Kind {
    const char* name;
    int colour;
    int depth;
    int interlace = PNG_INTERLACE_NONE;
    bool transparentColour = false;  // a tRNS chunk
    bool oddChunk = false;           // a chunk libpng warns about: a gamma of zero
    bool stored = false;             // pixels stored, rows unfiltered
    bool smallChunks = false;        // the image data split over many chunks
    bool filtered = false;           // every row filtered (with stored pixels: filtered, then stored)
};

// libpng jumps back here on failure.
bool writeRows(png_structp png, png_infop info, FILE* file, const Kind& kind, int width, int height,
               std::vector<std::vector<unsigned char>>& rows, std::vector<png_color>& palette) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    if (kind.stored) {
        png_set_compression_level(png, 0);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    }
    if (kind.smallChunks) png_set_compression_buffer_size(png, 300);
    if (kind.filtered) png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), kind.depth, kind.colour,
                 kind.interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (kind.colour == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 transparent{};
    png_byte alphas[4] = {0, 64, 128, 200};
    if (kind.transparentColour) {
        transparent.red = transparent.green = transparent.blue = transparent.gray = 3;
        png_set_tRNS(png, info, kind.colour == PNG_COLOR_TYPE_PALETTE ? alphas : nullptr,
                     kind.colour == PNG_COLOR_TYPE_PALETTE ? 4 : 0, &transparent);
    }
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (auto& row : rows) pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    return true;
}

// A file of the kind whose samples cycle through every value the depth allows, so that every
// alpha meets several colours.
bool writeKind(const std::string& path, const Kind& kind, int width, int height) {
    const int channels = kind.colour == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                         : kind.colour == PNG_COLOR_TYPE_RGB     ? 3
                         : kind.colour == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                    : 1;
    const int bytesPerSample = kind.depth == 16 ? 2 : 1;
    const unsigned levels = kind.colour == PNG_COLOR_TYPE_PALETTE ? 16u : (1u << std::min(kind.depth, 8));
    std::vector<png_color> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back({static_cast<png_byte>(i * 17), static_cast<png_byte>(255 - i * 13), static_cast<png_byte>(i * 5)});
    std::vector<std::vector<unsigned char>> rows(static_cast<std::size_t>(height));
    unsigned counter = 0;
    for (auto& row : rows) {
        const int samples = width * channels;
        if (kind.depth < 8) {
            row.assign(static_cast<std::size_t>((samples * kind.depth + 7) / 8), 0);
            for (int s = 0; s < samples; ++s) {
                const unsigned value = (counter++ * 7u) % levels;
                const int bit = s * kind.depth;
                row[static_cast<std::size_t>(bit / 8)] |= static_cast<unsigned char>(value << (8 - kind.depth - bit % 8));
            }
        } else {
            for (int s = 0; s < samples; ++s) {
                // Channels move at different rates, so alpha meets every colour value.
                const unsigned value = (counter++ * (s % channels == channels - 1 ? 1u : 37u)) % levels;
                row.push_back(static_cast<unsigned char>(value));
                if (bytesPerSample == 2) row.push_back(static_cast<unsigned char>(value * 3));
            }
        }
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && writeRows(png, info, file, kind, width, height, rows, palette);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0 || !ok) return false;
    if (kind.oddChunk) {  // libpng writes no such chunk, so it goes in after the header by hand
        std::string bytes;
        {
            std::ifstream in(path, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        std::string chunk("\0\0\0\4gAMA\0\0\0\0", 12);
        const auto crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const unsigned char*>(chunk.data() + 4), 8));
        for (int i = 0; i < 4; ++i) chunk.push_back(static_cast<char>(crc >> (24 - 8 * i)));
        bytes.insert(33, chunk);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    return true;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// loadPng gives what cairo gives, or nothing where cairo refuses the file.
void readsAsCairo(const std::string& file) {
    const auto want = testing_support::cairoPng(file);
    const auto got = platform::loadPng(file);
    ASSERT_EQ(got != nullptr, want.has_value());
    if (!got) return;
    EXPECT_EQ(got->width, want->width);
    EXPECT_EQ(got->height, want->height);
    EXPECT_EQ(got->pixels, want->pixels);
}

class PngKinds : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("varnotel-png-kinds-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

}  // namespace

TEST_F(PngKinds, EveryKindReadsAsCairoReadsIt) {
    const Kind kinds[] = {
        {"rgba", PNG_COLOR_TYPE_RGB_ALPHA, 8},
        {"rgb", PNG_COLOR_TYPE_RGB, 8},
        {"rgba-stored", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true},
        {"rgb-stored", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_NONE, false, false, true},
        {"rgba-stored-in-pieces", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true, true},
        {"rgba-stored-odd-chunk", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, true, true},
        {"rgba-stored-filtered", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true, false, true},
        {"rgb-stored-transparent-colour", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_NONE, true, false, true},
        {"rgba-stored-interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_ADAM7, false, false, true},
        {"rgba-16-stored", PNG_COLOR_TYPE_RGB_ALPHA, 16, PNG_INTERLACE_NONE, false, false, true},
        {"grey-stored", PNG_COLOR_TYPE_GRAY, 8, PNG_INTERLACE_NONE, false, false, true},
        {"rgb-transparent-colour", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_NONE, true},
        {"rgba-interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_ADAM7},
        {"rgba-16", PNG_COLOR_TYPE_RGB_ALPHA, 16},
        {"rgb-16", PNG_COLOR_TYPE_RGB, 16},
        {"grey", PNG_COLOR_TYPE_GRAY, 8},
        {"grey-2", PNG_COLOR_TYPE_GRAY, 2},
        {"grey-alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8},
        {"palette", PNG_COLOR_TYPE_PALETTE, 4},
        {"palette-transparent", PNG_COLOR_TYPE_PALETTE, 8, PNG_INTERLACE_NONE, true},
        {"rgba-odd-chunk", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, true},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::string file = path(std::string(kind.name) + ".png");
        // 4,087 pixels: every alpha with many colours. 300 pixels a side makes more than one
        // stored block.
        ASSERT_TRUE(writeKind(file, kind, 61, 67));
        ASSERT_EQ(platform::loadPng(file)->pixels.size(), 61u * 67u);
        readsAsCairo(file);
        ASSERT_TRUE(writeKind(file, kind, 300, 2));
        ASSERT_EQ(platform::loadPng(file)->pixels.size(), 300u * 2u);
        readsAsCairo(file);
    }
}

TEST_F(PngKinds, DamagedStoredFilesAreRefusedOrReadAsCairoReadsThem) {
    for (const Kind& kind : {Kind{"whole", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true},
                             Kind{"pieces", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true, true}}) {
        SCOPED_TRACE(kind.name);
        // 3 rows of 40 pixels: the pieces version splits the rows over two data chunks.
        ASSERT_TRUE(writeKind(path("whole.png"), kind, 40, 3));
        const std::string bytes = contents(path("whole.png"));
        const std::string file = path("damaged.png");
        // Every byte changed in turn (the header, lengths, block headers, row filters, pixels,
        // checksums), once as it falls and once with the chunk checksums made right...
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            SCOPED_TRACE(at);
            for (unsigned char flip : {0x01, 0x80}) {
                std::string changed = bytes;
                changed[at] = static_cast<char>(changed[at] ^ flip);
                for (const std::string& damaged : {changed, testing_support::withChunkChecksums(changed)}) {
                    std::ofstream(file, std::ios::binary | std::ios::trunc) << damaged;
                    readsAsCairo(file);
                }
            }
        }
        // ...and the file cut at every length, and with bytes after its end.
        for (std::size_t size = 0; size <= bytes.size(); size += 7) {
            SCOPED_TRACE(size);
            std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes.substr(0, size);
            readsAsCairo(file);
        }
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes << "more";
        readsAsCairo(file);
    }
}
TEST_F(PngKinds, SidesCairoCannotHoldAreRefusedWithoutDecoding) {
    // A header claiming 40,000 pixels a side over a few bytes of data.
    const Kind rgba{"rgba", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true};
    ASSERT_TRUE(writeKind(path("small.png"), rgba, 2, 2));
    std::string bytes = contents(path("small.png"));
    const auto put32 = [&bytes](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
    };
    put32(16, 40000);  // width and height in the header chunk
    put32(20, 40000);
    put32(29, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const unsigned char*>(bytes.data() + 12), 17)));
    std::ofstream(path("huge.png"), std::ios::binary) << bytes;
    EXPECT_EQ(platform::loadPng(path("huge.png")), nullptr);
}
