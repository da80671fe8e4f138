// Gallery pictures: where a picture lands in its box, PNG thumbnails of what was copied to
// the clipboard, and the failures a thumbnail build sees.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <type_traits>

#include "core/images.h"
#include "host/clipboard.h"
#include "host/host.h"
#include "host/text.h"
#include "platform/filesystem.h"
#include "platform/picture.h"
#include "platform/services.h"
#include "tests/support/fault_fs.h"
#include "tests/support/temp_folder.h"

using plorin::FitRect;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000, kOpaqueWhite = 0xFFFFFFFF, kClearWhite = 0x00FFFFFF;

platform::Picture solid(int w, int h, std::uint32_t argb) {
    platform::Picture p;
    p.width = w;
    p.height = h;
    p.pixels.assign(static_cast<std::size_t>(w * h), argb);
    return p;
}

std::uint32_t at(const platform::Picture& p, int x, int y) {
    return p.pixels[static_cast<std::size_t>(y * p.width + x)];
}

class Thumbnails : public ::testing::Test {
protected:
    void SetUp() override { host::clipboard().clear(); }
    void TearDown() override {
        platform::useImageEncoders(std::nullopt);
        host::clipboard().clear();
    }
    std::string path(const std::string& name) const { return dir_.file(name); }
    test_support::TempFolder dir_{"varnotel-thumbs"};
};

}  // namespace

TEST(FitRectangle, PlacesThePictureInTheBox) {
    struct Case {
        const char* what;
        int w, h, boxW, boxH;
        bool enlarge;
        FitRect want;
    } cases[] = {
        {"twice the box fills it exactly", 320, 240, 160, 120, false, {0, 0, 160, 120}},
        {"wide picture: bands above and below", 400, 100, 160, 120, false, {0, 40, 160, 40}},
        {"tall picture: bands left and right", 100, 400, 160, 120, false, {65, 0, 30, 120}},
        {"small picture is not enlarged", 100, 50, 160, 120, false, {30, 35, 100, 50}},
        {"small picture enlarged on request", 100, 50, 160, 120, true, {0, 20, 160, 80}},
        {"a very thin picture keeps one pixel", 1000, 1, 160, 120, false, {0, 59, 160, 1}},
        {"an odd margin leaves its spare pixel right", 100, 50, 161, 120, false, {30, 35, 100, 50}},
        // 0.5 * 45 = 22.5 and 0.5 * 47 = 23.5: ties go to the even neighbour.
        {"a tie rounds to even (down)", 45, 240, 160, 120, false, {69, 0, 22, 120}},
        {"a tie rounds to even (up)", 47, 240, 160, 120, false, {68, 0, 24, 120}},
    };
    for (const auto& c : cases) EXPECT_EQ(plorin::fitRectangle(c.w, c.h, c.boxW, c.boxH, c.enlarge), c.want) << c.what;
}

TEST(EncoderLookup, FindsMimeTypesWhateverTheirCase) {
    EXPECT_GE(plorin::getEncoderClsid("image/png"), 1);
    EXPECT_EQ(plorin::getEncoderClsid("IMAGE/PNG"), plorin::getEncoderClsid("image/png"));
    EXPECT_EQ(plorin::getEncoderClsid("image/x-unknown"), -1);
    platform::useImageEncoders(std::vector<std::string>{"image/bmp", "image/png"});
    EXPECT_EQ(plorin::getEncoderClsid("Image/Png"), 2);
    platform::useImageEncoders(std::nullopt);
}

TEST_F(Thumbnails, CopiedBitmapIsCentredWithOpaqueMargins) {
    host::clipboard().setBitmap(solid(400, 100, kRed));
    ASSERT_EQ(plorin::saveClipboardAsPng(160, 120, kOpaqueWhite, path("t.png")), 0);
    const auto t = platform::loadPng(path("t.png"));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->width, 160);
    EXPECT_EQ(t->height, 120);
    EXPECT_EQ(at(*t, 80, 60), kRed);  // the picture: rows 40 to 79
    EXPECT_EQ(at(*t, 0, 40), kRed);
    EXPECT_EQ(at(*t, 159, 79), kRed);
    EXPECT_EQ(at(*t, 80, 39), kOpaqueWhite);  // margins
    EXPECT_EQ(at(*t, 80, 80), kOpaqueWhite);
    EXPECT_EQ(at(*t, 0, 0), kOpaqueWhite);
    EXPECT_TRUE(host::clipboard().empty());  // read and emptied
}

TEST_F(Thumbnails, MarginsWithoutAlphaStayTransparent) {
    host::clipboard().setBitmap(solid(50, 100, kRed));  // small: not enlarged, centred at (55, 10)
    ASSERT_EQ(plorin::saveClipboardAsPng(160, 120, kClearWhite, path("t.png")), 0);
    const auto t = platform::loadPng(path("t.png"));
    ASSERT_TRUE(t);
    EXPECT_EQ(at(*t, 80, 60), kRed);
    for (auto [x, y] : {std::pair{54, 60}, {105, 60}, {80, 9}, {80, 110}, {0, 0}})
        EXPECT_EQ(at(*t, x, y) >> 24, 0u) << x << "," << y;
}

TEST_F(Thumbnails, CopiedShapesBecomeAThumbnail) {
    host::Application app("12.0");
    auto p = app.Presentations().Add(false);
    auto slide = p->Slides().Add(1, 12);
    auto a = slide->Shapes().AddShape(host::msoShapeRectangle, 0, 0, 144, 72);
    a->Fill().ForeColor().setRGB(0x0000FF);  // red
    a->Line().setVisible(host::msoFalse);
    host::ShapeRange({a}).Copy();
    ASSERT_EQ(plorin::saveClipboardAsPng(100, 100, kOpaqueWhite, path("shapes.png")), 0);
    const auto t = platform::loadPng(path("shapes.png"));
    ASSERT_TRUE(t);
    EXPECT_EQ(at(*t, 50, 50), kRed);  // 192 x 96 pixels scaled to 100 x 50 at (0, 25)
    EXPECT_EQ(at(*t, 50, 10), kOpaqueWhite);

    // The gallery shows a thumbnail just written without reading it back, and the same.
    test_support::FaultyFileSystem unreadable(test_support::failCall(test_support::FsCall::readAll, 1, true));
    platform::useFileSystem(&unreadable);
    host::ShapeRange({a}).Copy();
    ASSERT_EQ(plorin::saveClipboardAsPng(100, 100, kOpaqueWhite, path("again.png")), 0);
    const auto shown = plorin::loadPictureGdiPlus(path("again.png"));
    platform::useFileSystem(nullptr);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->pixels, t->pixels);
    EXPECT_EQ(shown->source, path("again.png"));
}

TEST_F(Thumbnails, FailedStepsWriteNothing) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::int16_t w, h;
        std::string file;
        int want;
    } cases[] = {
        {"empty clipboard", [] {}, 160, 120, "a.png", plorin::thumbnailNoBitmap},
        {"bitmap without pixels", [] { host::clipboard().setBitmap(platform::Picture{}); }, 160, 120, "b.png",
         plorin::thumbnailBadBitmap},
        {"no size", [] { host::clipboard().setBitmap(solid(4, 4, kRed)); }, 0, 120, "c.png", plorin::thumbnailNoCanvas},
        {"no PNG encoder",
         [] {
             host::clipboard().setBitmap(solid(4, 4, kRed));
             platform::useImageEncoders(std::vector<std::string>{"image/jpeg"});
         },
         160, 120, "d.png", plorin::thumbnailNoEncoder},
        {"folder missing", [] { host::clipboard().setBitmap(solid(4, 4, kRed)); }, 160, 120, "none/e.png",
         plorin::thumbnailNotSaved},
    };
    for (const auto& c : cases) {
        c.arrange();
        EXPECT_EQ(plorin::saveClipboardAsPng(c.w, c.h, kOpaqueWhite, path(c.file)), c.want) << c.what;
        EXPECT_FALSE(std::filesystem::exists(path(c.file))) << c.what;
        EXPECT_TRUE(host::clipboard().empty()) << c.what;
        platform::useImageEncoders(std::nullopt);
    }
}

TEST_F(Thumbnails, PictureFilesAreDecodedAgainOnceTheyChange) {
    const std::string file = path("icon.png");
    ASSERT_TRUE(platform::savePng(solid(4, 4, kRed), file));
    auto first = plorin::loadPictureGdiPlus(file);
    ASSERT_TRUE(first);
    EXPECT_EQ(at(*first, 1, 1), kRed);
    EXPECT_EQ(first->source, file);
    // Callers share the decoded picture, which none of them can change.
    static_assert(std::is_const_v<std::remove_reference_t<decltype(*first)>>);
    EXPECT_EQ(plorin::loadPictureGdiPlus(file), first);
    EXPECT_EQ(at(*plorin::loadPictureGdiPlus(file), 1, 1), kRed);

    // Replaced by another file of the same size.
    constexpr std::uint32_t kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;
    ASSERT_TRUE(platform::savePng(solid(4, 4, kBlue), file));
    EXPECT_EQ(at(*plorin::loadPictureGdiPlus(file), 1, 1), kBlue);

    // Rewritten where it stands, later.
    ASSERT_TRUE(platform::savePng(solid(4, 4, kGreen), path("green.png")));
    const auto green = platform::fileSystem().readAll(path("green.png"));
    ASSERT_TRUE(green);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << *green;
    }
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(10));
    EXPECT_EQ(at(*plorin::loadPictureGdiPlus(file), 1, 1), kGreen);

    // A file system that cannot read it gets no picture from what was read before.
    test_support::FaultyFileSystem unreadable(test_support::failCall(test_support::FsCall::readAll, 1, true));
    platform::useFileSystem(&unreadable);
    EXPECT_EQ(plorin::loadPictureGdiPlus(file), nullptr);
    platform::useFileSystem(nullptr);

    std::filesystem::remove(file);
    EXPECT_EQ(plorin::loadPictureGdiPlus(file), nullptr);
}

TEST_F(Thumbnails, CopiedShapesLandWhereTheirBitmapWouldAndAtLeastAsSharp) {
    host::Application app("14.0");
    auto p = app.Presentations().Add(false);
    auto slide = p->Slides().Add(1, 12);
    auto title = slide->Shapes().AddTextbox(1, 36, 20, 648, 60);
    title->TextFrame().TextRange().setText("Quarterly figures");
    auto box = slide->Shapes().AddShape(host::msoShapeRoundedRectangle, 36, 120, 300, 200);
    box->Fill().ForeColor().setRGB(0x2060C0);
    auto arrow = slide->Shapes().AddShape(host::msoShapeRightArrow, 380, 150, 300, 120);
    arrow->setRotation(30);
    auto oval = slide->Shapes().AddShape(host::msoShapeOval, 100, 380, 500, 120);
    oval->Fill().ForeColor().setRGB(0x20A040);
    const std::vector<std::shared_ptr<host::Shape>> shapes = {title, box, arrow, oval};

    struct Case {
        std::int16_t w, h;
    };
    for (const Case c : {Case{160, 120}, Case{200, 150}, Case{96, 128}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        host::ShapeRange(shapes).Copy();
        ASSERT_EQ(plorin::saveClipboardAsPng(c.w, c.h, kOpaqueWhite, path("drawn.png")), 0);
        host::ShapeRange(shapes).Copy();
        host::clipboard().setBitmap(*host::clipboard().bitmap());  // the shapes' bitmap only
        ASSERT_EQ(plorin::saveClipboardAsPng(c.w, c.h, kOpaqueWhite, path("scaled.png")), 0);
        const auto drawn = platform::loadPng(path("drawn.png")), scaled = platform::loadPng(path("scaled.png"));
        ASSERT_TRUE(drawn && scaled);
        ASSERT_EQ(drawn->width, c.w);
        ASSERT_EQ(drawn->height, c.h);

        // The same picture: channels differ by little on average, nowhere by a whole shape.
        auto channel = [](std::uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); };
        double difference = 0;
        int far = 0;
        // Sharpness: how many pixels the blue box's left edge takes to rise from the white
        // around it to the box's colour, summed over the rows that cross it.
        auto edgeWidth = [&](const platform::Picture& pic) {
            int rows = 0, pixels = 0;
            for (int y = 0; y < pic.height; ++y) {
                int x = 0;
                while (x < pic.width / 2 && channel(at(pic, x, y), 8) >= 250) ++x;
                int rise = 0;
                while (x < pic.width / 2 && channel(at(pic, x, y), 8) > 112) ++x, ++rise;
                const std::uint32_t inside = at(pic, std::min(x + 1, pic.width - 1), y);
                if (x < pic.width / 2 && std::abs(channel(inside, 16) - 0xC0) < 24 &&
                    std::abs(channel(inside, 0) - 0x20) < 24) {
                    ++rows;
                    pixels += rise;
                }
            }
            return rows ? static_cast<double>(pixels) / rows : 99.0;
        };
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                EXPECT_EQ(at(*drawn, x, y) >> 24, 0xFFu);
                int most = 0;
                for (int shift : {0, 8, 16}) {
                    const int d = std::abs(channel(at(*drawn, x, y), shift) - channel(at(*scaled, x, y), shift));
                    difference += d;
                    most = std::max(most, d);
                }
                if (most > 128) ++far;
            }
        difference /= 3.0 * c.w * c.h;
        EXPECT_LT(difference, 6.0);
        EXPECT_LT(far, c.w * c.h / 100);  // only thin lines and letters may fall on other pixels
        // At most the one pixel the edge falls into, as in the scaled bitmap.
        EXPECT_LE(edgeWidth(*scaled), 1.0);
        EXPECT_LE(edgeWidth(*drawn), 1.0);
    }
}
