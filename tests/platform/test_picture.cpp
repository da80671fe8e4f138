// Pictures: PNG files in and out, the encoder list, and the canvas that thumbnails and the
// slide renderer draw on.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/picture.h"

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
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("varnotel-pic-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        useImageEncoders(std::nullopt);
        std::filesystem::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

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

TEST_F(PictureFiles, UnreadableFilesGiveNoPicture) {
    std::ofstream(path("text.png")) << "not a png";
    std::ofstream(path("empty.png"));
    ASSERT_TRUE(savePng(solid(4, 4, kRed), path("whole.png")));
    const auto whole = std::filesystem::file_size(path("whole.png"));
    std::filesystem::copy_file(path("whole.png"), path("cut.png"));
    std::filesystem::resize_file(path("cut.png"), whole / 2);

    for (const char* name : {"missing.png", "text.png", "empty.png", "cut.png"})
        EXPECT_EQ(loadPng(path(name)), nullptr) << name;
    EXPECT_EQ(loadPng(dir_.string()), nullptr);  // a folder
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
