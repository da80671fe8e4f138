// Pasting shapes: Shapes.Paste onto a slide of any presentation, View.Paste into what a window
// shows, and what each refuses; the outline view's panes; saving under a file type.
#include "host/clipboard.h"
#include "host/text.h"
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;

namespace {

struct PasteTest : ::testing::Test {
    Application app{"14.0"};
    host_test::EventLog log;
    // The library: a slide with a group of two and a text box.
    std::shared_ptr<Presentation> source = app.Presentations().Add(false);
    std::shared_ptr<Slide> from = source->Slides().Add(1, 12);
    // The user's deck in a window, showing its second slide.
    std::shared_ptr<Presentation> deck = app.Presentations().Add(true);
    std::shared_ptr<Slide> d1 = deck->Slides().Add(1, 12);
    std::shared_ptr<Slide> d2 = deck->Slides().Add(2, 12);

    PasteTest() {
        auto a = from->Shapes().AddShape(msoShapeOval, 10, 20, 30, 40);
        auto b = from->Shapes().AddShape(msoShapeRectangle, 100, 120, 50, 60);
        ShapeRange({a, b}).Group();
        from->Shapes().AddTextbox(1, 200, 210, 220, 230)->TextFrame().TextRange().setText("Hello");
        d2->Shapes().AddShape(msoShapeRectangle, 0, 0, 10, 10);
        window().showSlide(d2);
        ShapeRange(from->Shapes().all()).Copy();
        app.advise(&log);
    }
    ~PasteTest() override { clipboard().clear(); }
    DocumentWindow& window() { return *app.ActiveWindow(); }

    // Every id on the deck's slides, group members included.
    std::vector<long> deckIds() {
        std::vector<long> ids;
        std::function<void(const Shape&)> add = [&](const Shape& s) {
            ids.push_back(s.Id());
            if (s.Type() != msoGroup) return;
            const ShapeRange members = s.GroupItems();
            for (const auto& m : members.all()) add(*m);
        };
        for (const auto& slide : deck->Slides().all())
            for (const auto& s : slide->Shapes().all()) add(*s);
        return ids;
    }
};

}  // namespace

TEST_F(PasteTest, ShapesPasteKeepsEverythingButTheIds) {
    const ShapeRange pasted = d1->Shapes().Paste();
    ASSERT_EQ(pasted.Count(), 2);
    ASSERT_EQ(d1->Shapes().Count(), 2);
    const auto group = d1->Shapes().Item(1);
    EXPECT_EQ(group->Type(), msoGroup);
    ASSERT_EQ(group->GroupItems().Count(), 2);
    EXPECT_EQ(group->GroupItems().Item(2)->Left(), 100);
    EXPECT_EQ(group->GroupItems().Item(2)->Parent(), d1.get());
    const auto text = d1->Shapes().Item(2);
    EXPECT_EQ((std::vector<float>{text->Left(), text->Top(), text->Width(), text->Height()}),
              (std::vector<float>{200, 210, 220, 230}));
    EXPECT_EQ(text->TextFrame().TextRange().Text(), "Hello");
    auto ids = deckIds();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "ids are the deck's own";
    EXPECT_FALSE(deck->Saved());
    EXPECT_EQ(d1->Shapes().Paste().Count(), 2) << "the clipboard keeps its shapes";
}

TEST_F(PasteTest, ShapesPasteRefusesPlaceholdersAndAnEmptyClipboard) {
    auto holder = from->Shapes().addOfType(msoPlaceholder, 1, 0, 0, 600, 80);
    ShapeRange({from->Shapes().Item(2), holder}).Copy();
    EXPECT_EQ(hostErrorOf([&] { d1->Shapes().Paste(); }), PP_E_INVALIDREQUEST);
    EXPECT_EQ(d1->Shapes().Count(), 0);
    clipboard().clear();
    EXPECT_EQ(hostErrorOf([&] { d1->Shapes().Paste(); }), PP_E_INVALIDREQUEST);
    d1->Delete();
    EXPECT_EQ(hostErrorOf([&] { d1->Shapes().Paste(); }), E_FAIL);
}

TEST_F(PasteTest, ViewPasteLandsOnTheShownSlideAndSelectsWhatItPasted) {
    window().View().Paste();
    EXPECT_EQ(d1->Shapes().Count(), 0);
    EXPECT_EQ(d2->Shapes().Count(), 3);
    EXPECT_EQ(window().Selection().ShapeRange().Count(), 2);
    EXPECT_EQ(window().Selection().ShapeRange().Item(1), d2->Shapes().Item(2));
    EXPECT_EQ(log.events.back(), "WindowSelectionChange:2");
}

TEST_F(PasteTest, ViewPasteNeedsAPaneThatShowsASlide) {
    for (int view : {ppViewSlideSorter, ppViewNotesPage, ppViewOutline}) {
        window().setViewType(view);
        EXPECT_EQ(hostErrorOf([&] { window().View().Paste(); }), PP_E_INVALIDREQUEST) << view;
    }
    window().setViewType(ppViewNormal);
    window().Panes().Item(1).Activate();
    EXPECT_EQ(hostErrorOf([&] { window().View().Paste(); }), PP_E_INVALIDREQUEST) << "the thumbnails";
    EXPECT_EQ(d2->Shapes().Count(), 1);
    window().setViewType(ppViewSlideMaster);
    window().View().Paste();
    EXPECT_EQ(d2->Shapes().Count(), 3) << "without masters, the slide shown takes them";
}

TEST_F(PasteTest, OutlineViewIsNormalViewWithTheOutlineFocused) {
    window().setViewType(ppViewOutline);
    ASSERT_EQ(window().Panes().Count(), 3);
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewOutline);
    window().Panes().Item(2).Activate();
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewSlide);
    window().View().Paste();
    EXPECT_EQ(d2->Shapes().Count(), 3);
}

TEST_F(PasteTest, SavingAsTheDefaultTypeKeepsTheSlideIds) {
    host_test::ScratchDir scratch;
    source->SaveAs(scratch.file("library.ppt"));
    source->SaveAs(scratch.file("library.pptx"), ppSaveAsDefault);
    EXPECT_EQ(hostErrorOf([&] { source->SaveAs(scratch.file("library.pdf"), 32); }), E_FAIL);
    auto reopened = app.Presentations().Open(scratch.file("library.pptx"), false, false, false);
    EXPECT_EQ(reopened->Slides().Item(1)->SlideID(), from->SlideID());
    EXPECT_NE(reopened.get(), source.get()) << "an open path opens again as a separate instance";
}
