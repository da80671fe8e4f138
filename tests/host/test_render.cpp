// Pictures of slides and copied shapes: what lands on which pixel, and the clipboard that
// holds copies of shapes and offers them as a bitmap.
#include <gtest/gtest.h>

#include "host/autoshape.h"
#include "host/clipboard.h"
#include "host/host.h"
#include "host/render.h"
#include "host/text.h"

using namespace host;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
constexpr std::uint32_t kRgbRed = 0x0000FF, kRgbBlue = 0xFF0000;  // as the host keeps them

std::uint32_t at(const platform::Picture& p, double x, double y) {
    return p.pixels[static_cast<std::size_t>(static_cast<int>(y) * p.width + static_cast<int>(x))];
}

class Rendering : public ::testing::Test {
protected:
    void SetUp() override {
        clipboard().clear();
        slide = app.Presentations().Add(false)->Slides().Add(1, 12);
    }
    void TearDown() override { clipboard().clear(); }

    // A red shape without outline.
    std::shared_ptr<Shape> redShape(int autoShapeType, float left, float top, float width, float height) {
        auto s = slide->Shapes().AddShape(autoShapeType, left, top, width, height);
        s->Fill().ForeColor().setRGB(kRgbRed);
        s->Line().setVisible(msoFalse);
        return s;
    }
    platform::Picture render() const { return renderSlide(*slide, 1.0); }

    Application app{"12.0"};
    std::shared_ptr<Slide> slide;
};

}  // namespace

TEST_F(Rendering, RectangleIsFilledInsideAndTheSlideWhiteOutside) {
    redShape(msoShapeRectangle, 100, 100, 200, 100);
    const auto pic = render();
    EXPECT_EQ(pic.width, 720);
    EXPECT_EQ(pic.height, 540);
    EXPECT_EQ(at(pic, 200, 150), kRed);
    EXPECT_EQ(at(pic, 101, 101), kRed);
    EXPECT_EQ(at(pic, 298, 198), kRed);
    for (auto [x, y] : {std::pair{99, 150}, {301, 150}, {200, 99}, {200, 201}, {0, 0}})
        EXPECT_EQ(at(pic, x, y), kWhite) << x << "," << y;

    const auto big = renderSlide(*slide, 2.0);
    EXPECT_EQ(big.width, 1440);
    EXPECT_EQ(at(big, 400, 300), kRed);
    EXPECT_EQ(at(big, 190, 300), kWhite);
}

TEST_F(Rendering, RotationAndFlipsMoveThePixels) {
    auto bar = redShape(msoShapeRectangle, 160, 250, 400, 40);  // centre (360, 270)
    EXPECT_EQ(at(render(), 510, 270), kRed);
    EXPECT_EQ(at(render(), 360, 420), kWhite);
    bar->setRotation(90);
    EXPECT_EQ(at(render(), 510, 270), kWhite);
    EXPECT_EQ(at(render(), 360, 420), kRed);
    bar->setRotation(45);
    EXPECT_EQ(at(render(), 360 + 100, 270 + 100), kRed);
    EXPECT_EQ(at(render(), 360 + 100, 270 - 100), kWhite);

    // A right arrow points left once flipped.
    auto arrow = redShape(msoShapeRightArrow, 100, 400, 200, 100);
    bar->Delete();
    const double tipY = 450, nearRight = 295, nearLeft = 105;
    EXPECT_EQ(at(render(), nearRight, tipY), kRed);
    EXPECT_EQ(at(render(), nearLeft, 405), kWhite);  // beside the shaft
    arrow->Flip(0);
    EXPECT_EQ(at(render(), nearLeft, tipY), kRed);
    EXPECT_EQ(at(render(), nearRight, 405), kWhite);
}

TEST_F(Rendering, GeometryOfTheCommonShapes) {
    // Each shape in a 200 x 100 frame at (100, 100): a point it covers and one of its frame
    // it leaves white.
    struct Case {
        const char* what;
        int type;
        std::pair<double, double> covered, white;
    } cases[] = {
        {"oval", msoShapeOval, {200, 150}, {103, 103}},
        {"rounded rectangle", msoShapeRoundedRectangle, {105, 150}, {101, 101}},
        {"right arrow", msoShapeRightArrow, {110, 150}, {110, 110}},
        {"left arrow", msoShapeLeftArrow, {290, 150}, {290, 110}},
        {"up arrow", msoShapeUpArrow, {200, 195}, {110, 195}},
        {"down arrow", msoShapeDownArrow, {200, 105}, {110, 105}},
        {"left-right arrow", msoShapeLeftRightArrow, {200, 150}, {103, 110}},
        {"up-down arrow", msoShapeUpDownArrow, {200, 150}, {110, 103}},
        {"notched arrow", msoShapeNotchedRightArrow, {130, 140}, {102, 150}},
        {"striped arrow", msoShapeStripedRightArrow, {101, 150}, {104, 150}},
        {"pentagon", msoShapePentagon, {105, 105}, {297, 103}},
        {"chevron", msoShapeChevron, {290, 150}, {105, 150}},
        {"any other shape: its frame", 120, {101, 101}, {99, 99}},
    };
    for (const auto& c : cases) {
        auto s = redShape(c.type, 100, 100, 200, 100);
        const auto pic = render();
        EXPECT_EQ(at(pic, c.covered.first, c.covered.second), kRed) << c.what;
        EXPECT_EQ(at(pic, c.white.first, c.white.second), kWhite) << c.what;
        s->Delete();
    }
}

// The same outline from each host family's values: a pixel its values put inside the shape
// and one they leave white, where the type's defaults would have coloured the other.
TEST_F(Rendering, AdjustmentValuesAndFreeformNodesShapeTheOutlineOnBothHostFamilies) {
    struct Case {
        const char* what;
        int type;
        float width, height;
        std::vector<float> older, later;  // the values on 11.0 and on 12.0
        std::pair<double, double> covered, white;
    } cases[] = {
        // Radius 2 points: the corner pixel is covered; radius 50: it is not.
        {"sharp corners", msoShapeRoundedRectangle, 200, 100, {0.02f}, {0.02f}, {103, 103}, {99, 99}},
        {"round corners", msoShapeRoundedRectangle, 200, 100, {0.5f}, {0.5f}, {150, 101}, {103, 103}},
        // Head 20 long, shaft 30 thick: wide at the head's start, white beside the shaft.
        {"arrow head", msoShapeRightArrow, 200, 100, {0.9f, 0.35f}, {0.3f, 0.2f}, {285, 115}, {270, 130}},
        {"left arrow head", msoShapeLeftArrow, 200, 100, {0.1f, 0.35f}, {0.3f, 0.2f}, {115, 115}, {130, 130}},
        {"up-down arrow", msoShapeUpDownArrow, 100, 200, {0.35f, 0.1f}, {0.3f, 0.2f}, {115, 115}, {130, 130}},
        // Tip 24 long.
        {"pentagon tip", msoShapePentagon, 300, 80, {0.92f}, {0.3f}, {370, 104}, {380, 104}},
        {"chevron notch", msoShapeChevron, 300, 80, {0.92f}, {0.3f}, {126, 140}, {120, 140}},
    };
    for (const char* version : {"11.0", "12.0"}) {
        Application host{version};
        auto page = host.Presentations().Add(false)->Slides().Add(1, 12);
        for (const auto& c : cases) {
            auto s = page->Shapes().AddShape(c.type, 100, 100, c.width, c.height);
            s->Fill().ForeColor().setRGB(kRgbRed);
            s->Line().setVisible(msoFalse);
            const auto& values = std::string(version) == "11.0" ? c.older : c.later;
            for (std::size_t i = 0; i < values.size(); ++i)
                s->Adjustments().setItem(static_cast<int>(i) + 1, values[i]);
            const auto pic = renderSlide(*page, 1.0);
            EXPECT_EQ(at(pic, c.covered.first, c.covered.second), kRed) << version << " " << c.what;
            EXPECT_EQ(at(pic, c.white.first, c.white.second), kWhite) << version << " " << c.what;
            s->Delete();
        }
        // A new arrow, with the family's own defaults, has a shaft beside its head.
        auto arrow = page->Shapes().AddShape(msoShapeRightArrow, 100, 100, 200, 100);
        arrow->Fill().ForeColor().setRGB(kRgbRed);
        EXPECT_EQ(at(renderSlide(*page, 1.0), 110, 150), kRed) << version;
        EXPECT_EQ(at(renderSlide(*page, 1.0), 110, 110), kWhite) << version;
    }

    // A freeform's slanted edge, not its frame.
    auto box = slide->Shapes().AddPolyline({{100, 100}, {300, 100}, {250, 200}, {100, 200}, {100, 100}});
    box->Fill().ForeColor().setRGB(kRgbRed);
    box->Line().setVisible(msoFalse);
    EXPECT_EQ(at(render(), 290, 110), kRed);
    EXPECT_EQ(at(render(), 280, 190), kWhite);
    box->Nodes().SetPosition(3, 300, 200);
    EXPECT_EQ(at(render(), 280, 190), kRed);
}

TEST_F(Rendering, FillAndLineAsTheShapeSays) {
    auto s = slide->Shapes().AddShape(msoShapeRectangle, 100, 100, 200, 100);
    s->Fill().setVisible(msoFalse);
    s->Line().ForeColor().setRGB(kRgbBlue);
    s->Line().setWeight(10);
    auto pic = render();
    EXPECT_EQ(at(pic, 100, 150), kBlue);  // on the outline
    EXPECT_EQ(at(pic, 200, 150), kWhite);
    s->Line().setVisible(msoFalse);
    EXPECT_EQ(at(render(), 100, 150), kWhite);

    auto line = slide->Shapes().addOfType(msoLine, 0, 400, 400, 100, 100);
    line->Line().ForeColor().setRGB(kRgbRed);
    line->Line().setWeight(4);
    pic = render();
    EXPECT_EQ(at(pic, 450, 450), kRed);  // on the diagonal
    EXPECT_EQ(at(pic, 480, 420), kWhite);
}

TEST_F(Rendering, TextIsDrawnInDarkInk) {
    auto box = slide->Shapes().AddTextbox(1, 100, 100, 300, 60);
    auto countDark = [&] {
        const auto pic = render();
        int dark = 0;
        for (int y = 100; y < 160; ++y)
            for (int x = 100; x < 400; ++x)
                if ((at(pic, x, y) & 0xFF) < 0x80) ++dark;
        return dark;
    };
    EXPECT_EQ(countDark(), 0);  // an empty text box shows nothing
    box->TextFrame().TextRange().setText("Hello\rWorld");
    EXPECT_GT(countDark(), 50);
}

TEST_F(Rendering, TextTakesItsColourAlignmentAndTabStops) {
    auto box = slide->Shapes().AddTextbox(1, 0, 100, 600, 40);
    TextRange all = box->TextFrame().TextRange();
    all.setText("Left\tRight");
    all.Font().Color().setRGB(0x0000FF);  // red
    box->TextFrame().Ruler().TabStops().Add(ppTabStopRight, 580);
    // Ink of the text's red in the left fifth and, right-aligned at the stop, in the right one.
    const auto redIn = [&](int from, int to) {
        const auto pic = render();
        int red = 0;
        for (int y = 100; y < 140; ++y)
            for (int x = from; x < to; ++x) {
                const std::uint32_t p = at(pic, x, y);
                if (((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) < 0x60) ++red;
            }
        return red;
    };
    EXPECT_GT(redIn(0, 120), 20);
    EXPECT_EQ(redIn(200, 480), 0);
    EXPECT_GT(redIn(480, 600), 20);

    all.setText("Middle");
    all.ParagraphFormat().setAlignment(ppAlignCenter);
    EXPECT_EQ(redIn(0, 200), 0);
    EXPECT_GT(redIn(250, 350), 20);
}

TEST_F(Rendering, GroupsDrawTheirMembers) {
    auto a = redShape(msoShapeRectangle, 100, 100, 50, 50);
    auto b = redShape(msoShapeRectangle, 300, 100, 50, 50);
    ShapeRange({a, b}).Group();
    const auto pic = render();
    EXPECT_EQ(at(pic, 125, 125), kRed);
    EXPECT_EQ(at(pic, 325, 125), kRed);
    EXPECT_EQ(at(pic, 225, 125), kWhite);  // inside the group's frame, between its members
}

namespace {
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t grey(int level) { return 0xFF000000 | static_cast<std::uint32_t>(level) * 0x010101; }
}  // namespace

TEST_F(Rendering, TheBlackAndWhiteViewDrawsAShapeInEachModeAndTheColourViewIgnoresModes) {
    // A red fill (luminance 76) inside a thick blue outline (luminance 29).
    auto s = redShape(msoShapeRectangle, 100, 100, 200, 100);
    s->Line().setVisible(msoTrue);
    s->Line().ForeColor().setRGB(kRgbBlue);
    s->Line().setWeight(10);
    struct Expected {
        int mode;
        std::uint32_t fill, line;
    };
    const Expected modes[] = {
        {msoBlackWhiteAutomatic, grey(76), grey(29)},
        {msoBlackWhiteGrayScale, grey(76), grey(29)},
        {msoBlackWhiteLightGrayScale, grey(166), grey(142)},
        {msoBlackWhiteInverseGrayScale, grey(179), grey(226)},
        {msoBlackWhiteGrayOutline, kWhite, grey(29)},
        {msoBlackWhiteBlackTextAndLine, grey(76), kBlack},
        {msoBlackWhiteHighContrast, kWhite, kBlack},
        {msoBlackWhiteBlack, kBlack, kBlack},
        {msoBlackWhiteWhite, kWhite, kWhite},
        {msoBlackWhiteDontShow, kWhite, kWhite},
    };
    for (const auto& e : modes) {
        s->setBlackWhiteMode(e.mode);
        const auto pic = renderSlide(*slide, 1.0, ColorView::blackAndWhite);
        EXPECT_EQ(at(pic, 200, 150), e.fill) << "mode " << e.mode;
        EXPECT_EQ(at(pic, 100, 150), e.line) << "mode " << e.mode;
        EXPECT_EQ(at(pic, 50, 50), kWhite) << "mode " << e.mode;  // the background stays white
        const auto colour = render();
        EXPECT_EQ(at(colour, 200, 150), kRed) << "mode " << e.mode;
        EXPECT_EQ(at(colour, 100, 150), kBlue) << "mode " << e.mode;
    }
}

TEST_F(Rendering, TheBackgroundsModeColoursTheWholeSlideInTheBlackAndWhiteViewOnly) {
    redShape(msoShapeRectangle, 100, 100, 200, 100)->setBlackWhiteMode(msoBlackWhiteHighContrast);
    // The background is the scheme's white: only the modes that turn it over or blacken it show.
    const std::pair<int, std::uint32_t> modes[] = {
        {msoBlackWhiteAutomatic, kWhite},      {msoBlackWhiteGrayScale, kWhite},
        {msoBlackWhiteLightGrayScale, kWhite}, {msoBlackWhiteInverseGrayScale, kBlack},
        {msoBlackWhiteGrayOutline, kWhite},    {msoBlackWhiteBlackTextAndLine, kWhite},
        {msoBlackWhiteHighContrast, kWhite},   {msoBlackWhiteBlack, kBlack},
        {msoBlackWhiteWhite, kWhite},          {msoBlackWhiteDontShow, kWhite},
    };
    for (const auto& [mode, expected] : modes) {
        slide->Background().setBlackWhiteMode(mode);
        const auto pic = renderSlide(*slide, 1.0, ColorView::blackAndWhite);
        EXPECT_EQ(at(pic, 5, 5), expected) << "mode " << mode;
        EXPECT_EQ(at(pic, 719, 539), expected) << "mode " << mode;
        EXPECT_EQ(at(pic, 200, 150), kWhite) << "mode " << mode;  // the shape's own mode on top
        EXPECT_EQ(at(render(), 5, 5), kWhite) << "mode " << mode;
    }
}

TEST_F(Rendering, TextGroupsAndHiddenShapesInTheBlackAndWhiteView) {
    auto box = slide->Shapes().AddTextbox(1, 100, 300, 300, 60);
    TextRange text = box->TextFrame().TextRange();
    text.setText("Hello World");
    text.Font().Color().setRGB(kRgbRed);
    const auto ink = [&] {  // dark and coloured pixels of the text
        const auto pic = renderSlide(*slide, 1.0, ColorView::blackAndWhite);
        std::pair<int, int> count{0, 0};
        for (int y = 300; y < 360; ++y)
            for (int x = 100; x < 400; ++x) {
                const std::uint32_t p = at(pic, x, y);
                if ((p & 0xFF) < 0x80) ++count.first;
                if ((p & 0xFF) != ((p >> 16) & 0xFF)) ++count.second;
            }
        return count;
    };
    box->setBlackWhiteMode(msoBlackWhiteBlackTextAndLine);
    auto [dark, coloured] = ink();
    EXPECT_GT(dark, 50);
    EXPECT_EQ(coloured, 0);
    box->setBlackWhiteMode(msoBlackWhiteWhite);
    EXPECT_EQ(ink().first, 0);
    box->setBlackWhiteMode(msoBlackWhiteDontShow);
    EXPECT_EQ(ink().first, 0);

    // A group's own mode stands for its members'; automatic leaves each member its own.
    auto a = redShape(msoShapeRectangle, 100, 100, 50, 50);
    auto b = redShape(msoShapeRectangle, 300, 100, 50, 50);
    b->setBlackWhiteMode(msoBlackWhiteBlack);
    auto group = ShapeRange({a, b}).Group();
    auto pic = renderSlide(*slide, 1.0, ColorView::blackAndWhite);
    EXPECT_EQ(at(pic, 125, 125), grey(76));
    EXPECT_EQ(at(pic, 325, 125), kBlack);
    group->setBlackWhiteMode(msoBlackWhiteDontShow);
    pic = renderSlide(*slide, 1.0, ColorView::blackAndWhite);
    EXPECT_EQ(at(pic, 125, 125), kWhite);
    EXPECT_EQ(at(pic, 325, 125), kWhite);
    group->setBlackWhiteMode(msoBlackWhiteInverseGrayScale);
    EXPECT_EQ(at(renderSlide(*slide, 1.0, ColorView::blackAndWhite), 325, 125), grey(179));

    // A hidden shape stays hidden whatever its mode.
    group->setVisible(msoFalse);
    EXPECT_EQ(at(renderSlide(*slide, 1.0, ColorView::blackAndWhite), 325, 125), kWhite);
}

TEST_F(Rendering, ClipboardBitmapCoversTheCopiedShapesAt96Dpi) {
    auto a = redShape(msoShapeRectangle, 36, 36, 72, 36);
    auto b = redShape(msoShapeRectangle, 180, 108, 72, 36);
    ShapeRange({a, b}).Copy();
    ASSERT_TRUE(clipboard().hasBitmap());
    auto pic = clipboard().bitmap();
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->width, 288);           // 216 points
    EXPECT_EQ(pic->height, 144);          // 108 points
    EXPECT_EQ(at(*pic, 2, 2), kRed);      // a's corner is the box's corner
    EXPECT_EQ(at(*pic, 285, 141), kRed);  // b's far corner
    EXPECT_EQ(at(*pic, 285, 2), kWhite);

    // A rotated shape is measured by the box it covers.
    a->setRotation(90);
    ShapeRange({a}).Copy();
    pic = clipboard().bitmap();
    EXPECT_EQ(pic->width, 48);
    EXPECT_EQ(pic->height, 96);
}

TEST_F(Rendering, CopiesAreDeepAndCanBePutBack) {
    auto a = redShape(msoShapeRectangle, 0, 0, 72, 72);
    a->Tags().Add("plorin_id", "1");
    a->TextFrame().TextRange().setText("x");
    ShapeRange({a}).Copy();
    const auto before = clipboard().bitmap()->pixels;

    a->Fill().ForeColor().setRGB(kRgbBlue);
    a->setWidth(144);
    a->setName("Changed");
    a->Tags().Add("plorin_id", "2");
    a->TextFrame().TextRange().setText("changed");
    a->Delete();
    ASSERT_EQ(clipboard().shapes().size(), 1u);
    const auto& copy = *clipboard().shapes().front();
    EXPECT_EQ(copy.Width(), 72);
    EXPECT_EQ(copy.Fill().ForeColor().RGB(), kRgbRed);
    EXPECT_NE(copy.Name(), "Changed");
    EXPECT_EQ(const_cast<Shape&>(copy).Tags().Item("plorin_id"), "1");
    EXPECT_EQ(clipboard().bitmap()->pixels, before);

    // What the user had copied survives a run that uses the clipboard for itself.
    const auto kept = clipboard().contents();
    clipboard().setBitmap(platform::Picture{});
    clipboard().clear();
    clipboard().setContents(kept);
    EXPECT_EQ(clipboard().bitmap()->pixels, before);
}

TEST_F(Rendering, RefusedCopiesLeaveTheClipboardAlone) {
    auto a = redShape(msoShapeRectangle, 0, 0, 72, 72);
    auto gone = redShape(msoShapeOval, 0, 0, 72, 72);
    ShapeRange({a}).Copy();
    gone->Delete();
    EXPECT_THROW(ShapeRange({a, gone}).Copy(), HostError);
    EXPECT_THROW(ShapeRange().Copy(), HostError);
    ASSERT_EQ(clipboard().shapes().size(), 1u);
    EXPECT_EQ(clipboard().shapes().front()->Id(), a->Id());

    slide->Delete();
    EXPECT_THROW(renderSlide(*slide, 1.0), HostError);
    EXPECT_THROW(renderShapes(clipboard().shapes(), 0), HostError);
    EXPECT_THROW(renderShapes(clipboard().shapes(), 1e9), HostError);
}
