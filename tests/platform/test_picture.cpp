// Pictures: PNG files in and out, the encoder list, and the canvas that thumbnails and the
// slide renderer draw on.
//
// Every kind of PNG reads to the same pixels whichever decoder takes it: files with their
// pixels stored (as the installation's are) are decoded by copying, everything else through
// cairo. The reference is cairo's own reading, straightened the way a picture keeps its
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
#include "tests/support/file_reading.h"
#include "tests/support/png_files.h"
#include "tests/support/temp_folder.h"

using namespace platform;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kClear = 0x00000000;

Picture solid(int w, int h, std::uint32_t argb) {
    Picture p;
    p.width = w;
    p.height = h;
    p.pixels.assign(static_cast<std::size_t>(w * h), argb);
    return p;
}

std::uint32_t at(const Picture& p, int x, int y) { return p.pixels[static_cast<std::size_t>(y * p.width + x)]; }

class PictureFiles : public ::testing::Test {
protected:
    void TearDown() override { useImageEncoders(std::nullopt); }
    std::string path(const std::string& name) const { return dir_.file(name); }
    test_support::TempFolder dir_{"varnotel-pic"};
};

// The PNG reading tests share the scratch folder.
class PngKinds : public PictureFiles {};

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
    bool mostlyOpaque = false;       // opaque but for one pixel in two of three rows, placed anywhere
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
    if (kind.colour == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
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
    const int channels = kind.colour == PNG_COLOR_TYPE_RGB_ALPHA    ? 4
                         : kind.colour == PNG_COLOR_TYPE_RGB        ? 3
                         : kind.colour == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                    : 1;
    const int bytesPerSample = kind.depth == 16 ? 2 : 1;
    const unsigned levels = kind.colour == PNG_COLOR_TYPE_PALETTE ? 16u : (1u << std::min(kind.depth, 8));
    std::vector<png_color> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back(
            {static_cast<png_byte>(i * 17), static_cast<png_byte>(255 - i * 13), static_cast<png_byte>(i * 5)});
    std::vector<std::vector<unsigned char>> rows(static_cast<std::size_t>(height));
    unsigned counter = 0;
    for (auto& row : rows) {
        const int samples = width * channels;
        if (kind.depth < 8) {
            row.assign(static_cast<std::size_t>((samples * kind.depth + 7) / 8), 0);
            for (int s = 0; s < samples; ++s) {
                const unsigned value = (counter++ * 7u) % levels;
                const int bit = s * kind.depth;
                row[static_cast<std::size_t>(bit / 8)] |=
                    static_cast<unsigned char>(value << (8 - kind.depth - bit % 8));
            }
        } else {
            const int line = static_cast<int>(&row - rows.data());
            for (int s = 0; s < samples; ++s) {
                // Channels move at different rates, so alpha meets every colour value.
                unsigned value = (counter++ * (s % channels == channels - 1 ? 1u : 37u)) % levels;
                if (kind.mostlyOpaque && s % channels == channels - 1)
                    value = line % 3 != 0 && s / channels == line * 7 % width ? 2 : 255;
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
        std::string bytes = test_support::readFile(path);
        std::string chunk("\0\0\0\4gAMA\0\0\0\0", 12);
        const auto crc =
            static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const unsigned char*>(chunk.data() + 4), 8));
        for (int i = 0; i < 4; ++i) chunk.push_back(static_cast<char>(crc >> (24 - 8 * i)));
        bytes.insert(33, chunk);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    return true;
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

}  // namespace

TEST_F(PictureFiles, PngKeepsPixelsAndTransparency) {
    Picture p = solid(3, 2, kRed);
    p.pixels[1] = kBlue;
    p.pixels[2] = kClear;
    p.pixels[3] = 0x80336699;  // half transparent
    ASSERT_TRUE(savePng(p, path("p.png")));

    const auto back = loadPng(path("p.png"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 3);
    EXPECT_EQ(back->height, 2);
    EXPECT_EQ(back->source, path("p.png"));
    EXPECT_EQ(at(*back, 0, 0), kRed);
    EXPECT_EQ(at(*back, 1, 0), kBlue);
    EXPECT_EQ(at(*back, 2, 0), kClear);
    const std::uint32_t half = at(*back, 0, 1);
    EXPECT_EQ(half >> 24, 0x80u);
    for (int shift : {16, 8, 0}) {  // premultiplying on the way loses at most a step
        const int want = (0x336699 >> shift) & 0xFF, got = static_cast<int>((half >> shift) & 0xFF);
        EXPECT_NEAR(got, want, 2) << shift;
    }
}

// Thumbnails are written stored: the file must read back with the pixels the compressed
// one gives, over several stored blocks and with every kind of alpha.
TEST_F(PictureFiles, AStoredPngReadsBackAsTheCompressedOneAndAsCairoReadsIt) {
    Picture p = solid(160, 120, kRed);  // rows of 641 bytes: two stored blocks
    for (std::size_t i = 0; i < p.pixels.size(); ++i)
        p.pixels[i] =
            (static_cast<std::uint32_t>(i * 7 % 256) << 24) | static_cast<std::uint32_t>(i * 2654435761u & 0xFFFFFF);
    Picture asRead;
    ASSERT_TRUE(saveStoredPng(p, path("stored.png"), Durability::cached, &asRead));
    ASSERT_TRUE(savePng(p, path("compressed.png")));
    EXPECT_GE(std::filesystem::file_size(path("stored.png")), p.pixels.size() * 4);
    const auto stored = loadPng(path("stored.png")), compressed = loadPng(path("compressed.png"));
    ASSERT_TRUE(stored && compressed);
    EXPECT_EQ(stored->pixels, compressed->pixels);
    readsAsCairo(path("stored.png"));
    // What the writer says the file holds is what reading it gives.
    EXPECT_EQ(asRead.pixels, stored->pixels);
    EXPECT_EQ(asRead.width, 160);
    EXPECT_EQ(asRead.source, path("stored.png"));

    EXPECT_FALSE(saveStoredPng(Picture{}, path("empty.png"), Durability::cached, &asRead));
    EXPECT_FALSE(std::filesystem::exists(path("empty.png")));
}

TEST_F(PictureFiles, UnreadableFilesGiveNoPicture) {
    std::ofstream(path("text.png")) << "not a png";
    std::ofstream(path("empty.png"));
    ASSERT_TRUE(savePng(solid(4, 4, kRed), path("whole.png")));
    const auto whole = std::filesystem::file_size(path("whole.png"));
    std::filesystem::copy_file(path("whole.png"), path("cut.png"));
    std::filesystem::resize_file(path("cut.png"), whole / 2);

    for (const char* name : {"missing.png", "text.png", "empty.png", "cut.png"})
        EXPECT_EQ(loadPng(path(name)), nullptr) << name;
    EXPECT_EQ(loadPng(dir_.folder()), nullptr);  // a folder
}

TEST_F(PictureFiles, SavingFailsWithoutWritingAFile) {
    Picture ragged = solid(2, 2, kRed);
    ragged.pixels.pop_back();
    EXPECT_FALSE(savePng(Picture{}, path("a.png")));
    EXPECT_FALSE(savePng(ragged, path("b.png")));
    EXPECT_FALSE(savePng(solid(2, 2, kRed), path("no-folder/c.png")));

    useImageEncoders(std::vector<std::string>{"image/bmp", "image/jpeg"});
    EXPECT_FALSE(savePng(solid(2, 2, kRed), path("d.png")));
    useImageEncoders(std::vector<std::string>{"IMAGE/PNG"});  // MIME types ignore case
    EXPECT_TRUE(savePng(solid(2, 2, kRed), path("e.png")));

    for (const char* name : {"a.png", "b.png", "d.png"}) EXPECT_FALSE(std::filesystem::exists(path(name))) << name;
}

TEST(Canvas, StartsTransparentAndFillsLikeABrush) {
    Canvas c(4, 3);
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(at(c.toPicture(), 2, 1), kClear);
    c.fillRect(1, 0, 2, 3, kRed);
    c.fillRect(0, 0, 4, 3, kClear);  // a transparent brush changes nothing
    const Picture p = c.toPicture();
    EXPECT_EQ(at(p, 0, 1), kClear);
    EXPECT_EQ(at(p, 1, 1), kRed);
    EXPECT_EQ(at(p, 2, 2), kRed);
    EXPECT_EQ(at(p, 3, 0), kClear);
    c.fill(kBlue);
    EXPECT_EQ(at(c.toPicture(), 0, 0), kBlue);
}

TEST(Canvas, DrawsPicturesScaledIntoTheirRectangleOnly) {
    // Left half red, right half blue, drawn at a fifth of its size.
    Picture src = solid(100, 50, kRed);
    for (int y = 0; y < 50; ++y)
        for (int x = 50; x < 100; ++x) src.pixels[static_cast<std::size_t>(y * 100 + x)] = kBlue;
    Canvas c(40, 30);
    c.drawPicture(src, 10, 10, 20, 10);
    const Picture p = c.toPicture();
    EXPECT_EQ(at(p, 11, 15), kRed);
    EXPECT_EQ(at(p, 28, 15), kBlue);
    EXPECT_EQ(at(p, 10, 10), kRed);  // the corners are full pixels: the edge stays sharp
    EXPECT_EQ(at(p, 29, 19), kBlue);
    for (auto [x, y] : {std::pair{9, 15}, {30, 15}, {15, 9}, {15, 20}}) EXPECT_EQ(at(p, x, y), kClear) << x << "," << y;

    // Enlarging a 2x1 picture keeps its colours apart in the middle of each half.
    Picture two = solid(2, 1, kRed);
    two.pixels[1] = kBlue;
    Canvas big(40, 20);
    big.drawPicture(two, 0, 0, 40, 20);
    EXPECT_EQ(at(big.toPicture(), 2, 10), kRed);
    EXPECT_EQ(at(big.toPicture(), 37, 10), kBlue);
}

TEST(Canvas, ImpossibleSizesGiveAnEmptyCanvas) {
    for (auto [w, h] : {std::pair{0, 10}, {10, -1}, {1 << 20, 1 << 20}}) {
        Canvas c(w, h);
        EXPECT_FALSE(c.ok());
        c.fill(kRed);  // does nothing
        EXPECT_EQ(c.toPicture().pixels.size(), 0u);
        EXPECT_EQ(c.context(), nullptr);
    }
}

TEST_F(PngKinds, EveryKindReadsAsCairoReadsIt) {
    const Kind kinds[] = {
        {"rgba", PNG_COLOR_TYPE_RGB_ALPHA, 8},
        {"rgb", PNG_COLOR_TYPE_RGB, 8},
        {"rgba-stored", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true},
        {"rgb-stored", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_NONE, false, false, true},
        {"rgba-stored-in-pieces", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true, true},
        {"rgba-stored-odd-chunk", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, true, true},
        {"rgba-stored-filtered", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true, false, true},
        {"rgba-stored-mostly-opaque", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true, false, false,
         true},
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
    for (const Kind& kind :
         {Kind{"whole", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true},
          Kind{"pieces", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false, true, true}}) {
        SCOPED_TRACE(kind.name);
        // 3 rows of 40 pixels: the pieces version splits the rows over two data chunks.
        ASSERT_TRUE(writeKind(path("whole.png"), kind, 40, 3));
        const std::string bytes = test_support::readFile(path("whole.png"));
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
    std::string bytes = test_support::readFile(path("small.png"));
    const auto put32 = [&bytes](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
    };
    put32(16, 40000);  // width and height in the header chunk
    put32(20, 40000);
    put32(29, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const unsigned char*>(bytes.data() + 12), 17)));
    std::ofstream(path("huge.png"), std::ios::binary) << bytes;
    EXPECT_EQ(platform::loadPng(path("huge.png")), nullptr);
}
