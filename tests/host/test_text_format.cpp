// What text and shapes hold beyond sizes and levels: font names, bold, italic and colours
// per character, paragraph alignment and bullets, tab stops, the vertical anchor, measured
// widths, stacking order, title placeholders and moving slides; and what the file keeps.
#include "host/text.h"
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;

namespace {

struct TextFormat : ::testing::Test {
    std::unique_ptr<Application> app = std::make_unique<Application>("14.0");
    std::shared_ptr<Presentation> pres = app->Presentations().Add();
    std::shared_ptr<Slide> slide = pres->Slides().Add(1, 12);

    std::shared_ptr<Shape> rect(const std::string& text = "") {
        auto s = slide->Shapes().AddShape(msoShapeRectangle, 10, 10, 300, 40);
        if (!text.empty()) s->TextFrame().TextRange().setText(text);
        return s;
    }
    void TearDown() override { setTextMeasurer({}); }
};

TEST_F(TextFormat, AppendedRunsKeepTheirOwnFormatAndReadMixedTogether) {
    auto s = rect();
    TextRange all = s->TextFrame().TextRange();
    TextRange first = all.InsertAfter("Item");
    first.Font().setBold(msoTrue);
    TextRange second = s->TextFrame().TextRange().InsertAfter("\tSales");
    EXPECT_EQ(second.Text(), "\tSales");
    EXPECT_EQ(second.Font().Bold(), msoTrue);  // typed after bold text: bold too
    second.Font().setBold(msoFalse);
    second.Font().setItalic(msoTrue);
    EXPECT_EQ(s->TextFrame().TextRange().Text(), "Item\tSales");
    EXPECT_EQ(s->TextFrame().TextRange().Font().Bold(), kMixed);
    EXPECT_EQ(first.Font().Italic(), msoFalse);

    all = s->TextFrame().TextRange();
    all.Font().setName("Georgia");
    all.Font().Color().setRGB(0x123456);
    EXPECT_EQ(all.Font().Name(), "Georgia");
    EXPECT_EQ(first.Font().Color().RGB(), 0x123456u);
    all.Font().Color().setSchemeColor(2);
    EXPECT_EQ(all.Font().Color().SchemeColor(), 2);
    EXPECT_EQ(hostErrorOf([&] { all.Font().Color().setSchemeColor(9); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { all.Font().setName(""); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { all.Font().setBold(5); }), E_FAIL);

    // Formats change for exactly the characters asked, within and across runs of equal ones;
    // a character typed in the middle takes the format of the one before it.
    auto runs = rect("abcdefgh");
    TextRange letters = runs->TextFrame().TextRange();
    letters.Characters(3, 3).Font().setItalic(msoTrue);
    letters.Characters(5, 3).Font().setBold(msoTrue);
    EXPECT_EQ(letters.Characters(5, 1).InsertAfter("X").Text(), "X");
    letters = runs->TextFrame().TextRange();
    std::string italics, bolds;
    for (int i = 1; i <= letters.Length(); ++i) {
        italics += letters.Characters(i, 1).Font().Italic() == msoTrue ? 'i' : '.';
        bolds += letters.Characters(i, 1).Font().Bold() == msoTrue ? 'b' : '.';
    }
    EXPECT_EQ(letters.Text() + " " + italics + " " + bolds, "abcdeXfgh ..iiii... ....bbbb.");
    letters.Font().setItalic(msoFalse);
    EXPECT_EQ(letters.Font().Italic(), msoFalse);
    EXPECT_EQ(letters.Characters(4, 4).Font().Bold(), kMixed);

    all.ParagraphFormat().setAlignment(ppAlignCenter);
    all.ParagraphFormat().Bullet().setVisible(msoTrue);
    EXPECT_EQ(all.ParagraphFormat().Alignment(), ppAlignCenter);
    EXPECT_EQ(all.ParagraphFormat().Bullet().Visible(), msoTrue);
    EXPECT_EQ(hostErrorOf([&] { all.ParagraphFormat().setAlignment(0); }), E_FAIL);
}

TEST_F(TextFormat, BoundWidthIsTheWidestLineWithEachRunInItsOwnFont) {
    setTextMeasurer([](const std::string& text, const std::string& font, double size, bool bold, bool) {
        return static_cast<double>(text.size()) * size * (bold ? 1.0 : 0.5) * (font == "Wide" ? 2 : 1);
    });
    auto s = rect("abcd\vab\rabcdef");
    TextRange all = s->TextFrame().TextRange();
    all.Font().setSize(10);
    EXPECT_FLOAT_EQ(all.BoundWidth(), 30);  // "abcdef" at 5 points a character
    all.Characters(1, 2).Font().setBold(msoTrue);
    EXPECT_FLOAT_EQ(all.Characters(1, 4).BoundWidth(), 30);  // 2 x 10 + 2 x 5
    all.Characters(1, 4).Font().setName("Wide");
    EXPECT_FLOAT_EQ(all.Paragraphs(1).BoundWidth(), 60);
    EXPECT_FLOAT_EQ(rect()->TextFrame().TextRange().BoundWidth(), 0);
}

TEST(TextMeasure, CairoMeasuresWiderForBoldAndLargerAndStillMeasuresAMissingFont) {
    setTextMeasurer({});
    const double regular = measureText("Agenda item", "Arial", 18, false, false);
    EXPECT_GT(regular, 40);
    EXPECT_GT(measureText("Agenda item", "Arial", 36, false, false), regular * 1.5);
    EXPECT_GE(measureText("Agenda item", "Arial", 18, true, false), regular);
    EXPECT_GT(measureText("Agenda item", "No Such Font Anywhere", 18, false, false), 0);
    EXPECT_EQ(measureText("", "Arial", 18, false, false), 0);
}

TEST_F(TextFormat, TabStopsStayInOrderAndAreClearedOneByOne) {
    auto s = rect("a\tb");
    TabStops stops = s->TextFrame().Ruler().TabStops();
    stops.Add(ppTabStopRight, 200);
    stops.Add(ppTabStopLeft, 50);
    stops.Add(ppTabStopCenter, 200);  // same place: replaced
    ASSERT_EQ(stops.Count(), 2);
    EXPECT_EQ(stops.Item(1).Position(), 50);
    EXPECT_EQ(stops.Item(2).Type(), ppTabStopCenter);
    EXPECT_EQ(hostErrorOf([&] { stops.Add(7, 10); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { stops.Item(3); }), E_FAIL);
    stops.Item(1).Clear();
    EXPECT_EQ(stops.Count(), 1);
    EXPECT_EQ(stops.Item(1).Position(), 200);

    s->TextFrame().setVerticalAnchor(msoAnchorMiddle);
    EXPECT_EQ(s->TextFrame().VerticalAnchor(), msoAnchorMiddle);
    EXPECT_EQ(hostErrorOf([&] { s->TextFrame().setVerticalAnchor(9); }), E_FAIL);
}

TEST_F(TextFormat, ZOrderMovesAShapeInTheStackingOrder) {
    auto a = rect(), b = rect(), c = rect();
    c->ZOrder(msoSendToBack);
    EXPECT_EQ(slide->Shapes().all(), (std::vector<std::shared_ptr<Shape>>{c, a, b}));
    c->ZOrder(msoBringForward);
    EXPECT_EQ(slide->Shapes().all(), (std::vector<std::shared_ptr<Shape>>{a, c, b}));
    a->ZOrder(msoBringToFront);
    a->ZOrder(msoBringForward);  // already in front: stays
    EXPECT_EQ(slide->Shapes().all(), (std::vector<std::shared_ptr<Shape>>{c, b, a}));
    b->ZOrder(msoSendBackward);
    EXPECT_EQ(slide->Shapes().all(), (std::vector<std::shared_ptr<Shape>>{b, c, a}));
    b->Delete();
    EXPECT_EQ(hostErrorOf([&] { b->ZOrder(msoSendToBack); }), E_FAIL);
}

TEST_F(TextFormat, ASlideHasOneTitleAndMovingASlideKeepsItsId) {
    rect();
    auto title = slide->Shapes().AddTitle();
    EXPECT_EQ(title->PlaceholderType(), ppPlaceholderTitle);
    EXPECT_EQ(slide->Shapes().Placeholders(1), title);
    EXPECT_EQ(hostErrorOf([&] { slide->Shapes().AddTitle(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { slide->Shapes().Placeholders(2); }), E_FAIL);
    title->Delete();
    EXPECT_NE(slide->Shapes().AddTitle(), nullptr);  // gone: it can come back

    auto second = pres->Slides().Add(2, 12), third = pres->Slides().Add(3, 12);
    const long id = third->SlideID();
    third->MoveTo(1);
    EXPECT_EQ(pres->Slides().Item(1), third);
    EXPECT_EQ(third->SlideID(), id);
    EXPECT_EQ(second->SlideIndex(), 3);
    EXPECT_EQ(hostErrorOf([&] { third->MoveTo(4); }), E_FAIL);
}

TEST_F(TextFormat, TheFileAndTheClipboardKeepEverythingNew) {
    host_test::ScratchDir scratch;
    auto s = rect("Bold\tplain");
    TextRange all = s->TextFrame().TextRange();
    all.Characters(1, 4).Font().setBold(msoTrue);
    all.Characters(6, 5).Font().setItalic(msoTrue);
    all.Font().setName("Georgia");
    all.Characters(6, 5).Font().Color().setSchemeColor(6);
    all.ParagraphFormat().setAlignment(ppAlignRight);
    all.ParagraphFormat().Bullet().setVisible(msoTrue);
    s->TextFrame().setVerticalAnchor(msoAnchorMiddle);
    s->TextFrame().Ruler().TabStops().Add(ppTabStopRight, 120.5f);
    s->Fill().ForeColor().setSchemeColor(5);
    slide->Shapes().AddTitle()->TextFrame().TextRange().setText("Title");
    const std::string file = scratch.file("format.ppt");
    pres->SaveAs(file);
    pres->Close();

    auto again = app->Presentations().Open(file);
    const auto& shapes = again->Slides().Item(1)->Shapes();
    auto t = shapes.Placeholders(1);
    EXPECT_EQ(t->PlaceholderType(), ppPlaceholderTitle);
    auto r = shapes.Item(2);
    TextRange text = r->TextFrame().TextRange();
    EXPECT_EQ(text.Characters(1, 4).Font().Bold(), msoTrue);
    EXPECT_EQ(text.Characters(6, 5).Font().Italic(), msoTrue);
    EXPECT_EQ(text.Characters(6, 5).Font().Color().SchemeColor(), 6);
    EXPECT_EQ(text.Font().Name(), "Georgia");
    EXPECT_EQ(text.ParagraphFormat().Alignment(), ppAlignRight);
    EXPECT_EQ(text.ParagraphFormat().Bullet().Visible(), msoTrue);
    EXPECT_EQ(r->TextFrame().VerticalAnchor(), msoAnchorMiddle);
    ASSERT_EQ(r->TextFrame().Ruler().TabStops().Count(), 1);
    EXPECT_EQ(r->TextFrame().Ruler().TabStops().Item(1).Position(), 120.5f);
    EXPECT_EQ(r->Fill().ForeColor().SchemeColor(), 5);
}

}  // namespace
