// Selections of text, groups and tables; text frames over several shapes; panes and views;
// and what the presentation file keeps of text and groups.
#include "host/text.h"
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;
using Events = std::vector<std::string>;

namespace {

struct SelectionTest : ::testing::Test {
    Application app{"11.0"};
    host_test::EventLog log;
    std::shared_ptr<Presentation> pres = app.Presentations().Add();
    std::shared_ptr<Slide> s1 = pres->Slides().Add(1, 1);
    std::shared_ptr<Slide> s2 = pres->Slides().Add(2, 1);
    SelectionTest() { app.advise(&log); }
    DocumentWindow& window() { return *app.ActiveWindow(); }
    std::shared_ptr<Shape> placeholder(const std::string& text) {
        auto p = s2->Shapes().addOfType(msoPlaceholder, msoShapeRectangle, 0, 0, 600, 80);
        p->TextFrame().TextRange().setText(text);
        return p;
    }
    host_test::ScratchDir scratch;
};

}  // namespace

TEST_F(SelectionTest, SelectingTextGivesTheTextItsShapeAndItsSlide) {
    auto title = placeholder("Grüße aus Köln");
    window().selectText(title, 7, 3);
    Selection& sel = window().Selection();
    EXPECT_EQ(sel.Type(), ppSelectionText);
    EXPECT_EQ(sel.TextRange().Text(), "aus");  // characters, not bytes
    EXPECT_EQ(sel.ShapeRange().Item(1), title);
    EXPECT_EQ(sel.SlideRange().Item(1), s2);
    EXPECT_EQ(window().currentSlide(), s2);

    window().selectText(title, 11, 50);  // clamped into the text
    EXPECT_EQ(sel.TextRange().Text(), "Köln");
    window().selectText(title, 0, -1);
    EXPECT_EQ(sel.TextRange().Start(), 1);
    EXPECT_EQ(sel.TextRange().Length(), 0);

    window().selectShapes({title});
    EXPECT_EQ(hostErrorOf([&] { sel.TextRange(); }), PP_E_INVALIDREQUEST);
    EXPECT_EQ(log.events, (Events{"WindowSelectionChange:3", "WindowSelectionChange:3", "WindowSelectionChange:3",
                                  "WindowSelectionChange:2"}));
}

TEST_F(SelectionTest, OnlyShapesThatHoldTextCanHaveTextSelected) {
    auto picture = s1->Shapes().addOfType(msoPicture, msoShapeRectangle, 0, 0, 10, 10);
    auto other = app.Presentations().Add(false)->Slides().Add(1, 1)->Shapes().AddTextbox(1, 0, 0, 9, 9);
    EXPECT_EQ(hostErrorOf([&] { window().selectText(picture, 1, 1); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { window().selectText(other, 1, 1); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { picture->TextFrame(); }), E_FAIL);
    auto table = s1->Shapes().AddTable(2, 2, 0, 0, 100, 50);
    window().selectText(table, 1, 5);  // a cell's text; the stand-in keeps no cells
    EXPECT_EQ(window().Selection().ShapeRange().HasTable(), msoTrue);
    EXPECT_EQ(window().Selection().TextRange().Text(), "");
    EXPECT_EQ(log.events.back(), "WindowSelectionChange:3");
}

TEST_F(SelectionTest, ARangeOfShapesReadsMixedWhereTheyDiffer) {
    auto box = s1->Shapes().AddTextbox(1, 0, 0, 100, 20);
    auto rect = s1->Shapes().AddShape(msoShapeRectangle, 0, 0, 100, 20);
    auto picture = s1->Shapes().addOfType(msoPicture, 1, 0, 0, 9, 9);

    ShapeRange both({box, rect});
    EXPECT_EQ(both.HasTextFrame(), msoTrue);
    EXPECT_EQ(both.TextFrame().AutoSize(), ppAutoSizeMixed);
    EXPECT_EQ(both.TextFrame().WordWrap(), msoTrue);
    EXPECT_EQ(both.Type(), msoTriStateMixed);
    rect->TextFrame().setWordWrap(msoFalse);
    EXPECT_EQ(both.TextFrame().WordWrap(), msoTriStateMixed);
    both.TextFrame().setAutoSize(ppAutoSizeNone);  // sets every shape
    EXPECT_EQ(box->TextFrame().AutoSize(), ppAutoSizeNone);
    EXPECT_EQ(hostErrorOf([&] { both.TextFrame().setAutoSize(ppAutoSizeMixed); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { both.TextFrame().setWordWrap(2); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { both.TextFrame().TextRange(); }), E_FAIL);

    ShapeRange withPicture({picture, box});
    EXPECT_EQ(withPicture.HasTextFrame(), msoTriStateMixed);
    EXPECT_EQ(withPicture.TextFrame().AutoSize(), ppAutoSizeNone);  // the frames there are
    EXPECT_EQ(ShapeRange({picture}).HasTextFrame(), msoFalse);
    EXPECT_EQ(hostErrorOf([&] { ShapeRange({picture}).TextFrame(); }), E_FAIL);
    EXPECT_EQ(ShapeRange({picture, s1->Shapes().AddTable(1, 1, 0, 0, 9, 9)}).HasTable(), msoTriStateMixed);
}

TEST_F(SelectionTest, ChangingTextMarksThePresentationUnsaved) {
    auto box = s1->Shapes().AddTextbox(1, 0, 0, 100, 20);
    pres->setSaved(true);
    box->TextFrame().TextRange().setText("Hello world");
    EXPECT_FALSE(pres->Saved());
    auto world = box->TextFrame().TextRange().Characters(7, 5);
    world.setText("there");
    EXPECT_EQ(box->TextFrame().TextRange().Text(), "Hello there");
    box->Delete();
    EXPECT_EQ(hostErrorOf([&] { world.setText("x"); }), E_FAIL);
}

TEST_F(SelectionTest, GroupingPutsTheMembersIntoOneShapeInTheirPlace) {
    auto a = s1->Shapes().AddShape(msoShapeRectangle, 10, 20, 100, 50);
    auto b = s1->Shapes().AddShape(msoShapeOval, 200, 5, 50, 50);
    auto c = s1->Shapes().AddShape(msoShapeRectangle, 0, 0, 5, 5);
    auto group = ShapeRange({c, a}).Group();
    EXPECT_EQ(group->Type(), msoGroup);
    EXPECT_EQ(group->HasTextFrame(), msoFalse);
    EXPECT_EQ(s1->Shapes().Count(), 2);
    EXPECT_EQ(s1->Shapes().Item(1), b);  // the group stands where its topmost member stood
    EXPECT_EQ(s1->Shapes().Item(2), group);
    EXPECT_EQ(group->GroupItems().Count(), 2);
    EXPECT_EQ(group->GroupItems().Item(1), a);  // members in stacking order
    EXPECT_EQ(group->Left(), 0);
    EXPECT_EQ(group->Width(), 110);
    EXPECT_EQ(group->Height(), 70);
    EXPECT_EQ(hostErrorOf([&] { a->GroupItems(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { ShapeRange({b}).Group(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { ShapeRange({b, a}).Group(); }), E_FAIL);  // a is a member now

    group->Delete();
    EXPECT_EQ(a->Parent(), nullptr);  // the members went with it
}

TEST_F(SelectionTest, ViewsHaveTheirPanes) {
    EXPECT_EQ(window().ViewType(), ppViewNormal);
    EXPECT_EQ(window().Panes().Count(), 3);
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewSlide);
    window().Panes().Item(1).Activate();
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewThumbnails);
    EXPECT_TRUE(window().Panes().Item(1).Active());
    window().setViewType(ppViewSlideSorter);
    EXPECT_EQ(window().Panes().Count(), 1);
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewSlideSorter);
    EXPECT_EQ(hostErrorOf([&] { window().setViewType(13); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { window().Panes().Item(2); }), E_FAIL);

    // Slide master view has its thumbnails beside the master.
    window().setViewType(ppViewSlideMaster);
    ASSERT_EQ(window().Panes().Count(), 2);
    EXPECT_EQ(window().Panes().Item(1).ViewType(), ppViewMasterThumbnails);
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewSlideMaster);
    // The thumbnail views are panes: writing one shows the view that holds it, focused there.
    window().setViewType(ppViewMasterThumbnails);
    EXPECT_EQ(window().ViewType(), ppViewSlideMaster);
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewMasterThumbnails);
    window().setViewType(ppViewThumbnails);
    EXPECT_EQ(window().ViewType(), ppViewNormal);
    EXPECT_EQ(window().Panes().Count(), 3);
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewThumbnails);
}

TEST_F(SelectionTest, TheFileKeepsTextTablesAndGroups) {
    auto title = placeholder("Line one\rLine two\twith a tab,  and blanks  ");
    title->TextFrame().setAutoSize(ppAutoSizeShapeToFitText);
    title->TextFrame().setWordWrap(msoFalse);
    auto holder = s2->Shapes().addOfType(msoPlaceholder, 1, 0, 0, 9, 9);
    holder->setHasTable(true);
    auto a = s1->Shapes().AddTextbox(1, 0, 0, 9, 9);
    a->TextFrame().TextRange().setText("member");
    ShapeRange({a, s1->Shapes().AddShape(msoShapeOval, 0, 0, 9, 9)}).Group();
    pres->SaveAs(scratch.file("deck.ppt"));

    auto copy = app.Presentations().Open(scratch.file("deck.ppt"));
    auto t = copy->Slides().Item(2)->Shapes().Item(1);
    EXPECT_EQ(t->TextFrame().TextRange().Text(), "Line one\rLine two\twith a tab,  and blanks  ");
    EXPECT_EQ(t->TextFrame().AutoSize(), ppAutoSizeShapeToFitText);
    EXPECT_EQ(t->TextFrame().WordWrap(), msoFalse);
    EXPECT_EQ(copy->Slides().Item(2)->Shapes().Item(2)->HasTable(), msoTrue);
    auto group = copy->Slides().Item(1)->Shapes().Item(1);
    ASSERT_EQ(group->Type(), msoGroup);
    ASSERT_EQ(group->GroupItems().Count(), 2);
    EXPECT_EQ(group->GroupItems().Item(1)->TextFrame().TextRange().Text(), "member");
    EXPECT_EQ(group->GroupItems().Item(2)->Id(), pres->Slides().Item(1)->Shapes().Item(1)->GroupItems().Item(2)->Id());

    // A new shape never reuses a member's id.
    auto added = copy->Slides().Item(1)->Shapes().AddShape(1, 0, 0, 1, 1);
    EXPECT_GT(added->Id(), group->Id());
}
