// Designs with slide and title masters, hidden shapes and black-and-white modes.
#include "host/clipboard.h"
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;

namespace {

struct Designs : ::testing::Test {
    host_test::ScratchDir dir;
    Application app{"11.0"};
};

TEST_F(Designs, MastersHoldShapesThatSurviveSaveAndOpen) {
    auto p = app.Presentations().Add(false);
    ASSERT_EQ(p->Designs().Count(), 1);
    EXPECT_EQ(p->Designs().Item(1)->Name(), "Office Theme");
    EXPECT_EQ(p->Designs().Item(1)->HasTitleMaster(), msoFalse);
    EXPECT_EQ(hostErrorOf([&] { p->Designs().Item(1)->TitleMaster(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { p->Designs().Item(3); }), E_FAIL);

    auto second = p->Designs().Add("Second");
    auto title = second->AddTitleMaster();
    EXPECT_EQ(second->AddTitleMaster(), title) << "one title master per design";
    auto logo = p->Designs().Item(1)->SlideMaster()->Shapes().AddShape(msoShapeOval, 1, 2, 3, 4);
    logo->setName("Logo");
    logo->Tags().Add("mark", "1");
    title->Shapes().AddTextbox(1, 5, 6, 7, 8);
    auto slideShape = p->Slides().Add(1, 12)->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
    EXPECT_NE(slideShape->Id(), logo->Id()) << "masters take ids from the presentation";
    p->SaveAs(dir.file("designs.ppt"));
    p->Close();

    auto again = app.Presentations().Open(dir.file("designs.ppt"), true, false, false);
    ASSERT_EQ(again->Designs().Count(), 2);
    EXPECT_EQ(again->Designs().Item(2)->Name(), "Second");
    EXPECT_EQ(again->Designs().Item(1)->HasTitleMaster(), msoFalse);
    ASSERT_EQ(again->Designs().Item(1)->SlideMaster()->Shapes().Count(), 1);
    EXPECT_EQ(again->Designs().Item(1)->SlideMaster()->Shapes().Item(1)->Tags().Item("mark"), "1");
    EXPECT_EQ(again->Designs().Item(2)->TitleMaster()->Shapes().Count(), 1);
    // A new shape gets an id no master shape has.
    auto added = again->Slides().Item(1)->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
    EXPECT_GT(added->Id(), again->Designs().Item(2)->TitleMaster()->Shapes().Item(1)->Id());
}

TEST_F(Designs, PastingOntoAMasterAndDeletingFromItMarkTheChange) {
    auto p = app.Presentations().Add(false);
    auto source = p->Slides().Add(1, 12)->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
    source->Tags().Add("plorin_copyright", "1");
    ShapeRange({source}).Copy();
    p->setSaved(true);
    auto master = p->Designs().Item(1)->SlideMaster();
    const ShapeRange pasted = master->Shapes().Paste();
    ASSERT_EQ(pasted.Count(), 1);
    EXPECT_EQ(pasted.Item(1)->Tags().Item("plorin_copyright"), "1");
    EXPECT_EQ(pasted.Item(1)->Parent(), master.get());
    EXPECT_FALSE(p->Saved());
    p->setSaved(true);
    pasted.Item(1)->Delete();
    EXPECT_EQ(master->Shapes().Count(), 0);
    EXPECT_FALSE(p->Saved());
    clipboard().clear();
}

TEST_F(Designs, VisibilityAndBlackWhiteModesAreCheckedCopiedAndSaved) {
    auto p = app.Presentations().Add(false);
    auto slide = p->Slides().Add(1, 12);
    auto shape = slide->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
    EXPECT_EQ(shape->Visible(), msoTrue);
    EXPECT_EQ(shape->BlackWhiteMode(), msoBlackWhiteAutomatic);
    EXPECT_EQ(slide->Background().BlackWhiteMode(), msoBlackWhiteAutomatic);
    for (int bad : {0, 11, -1}) {
        EXPECT_EQ(hostErrorOf([&] { shape->setBlackWhiteMode(bad); }), E_FAIL) << bad;
        EXPECT_EQ(hostErrorOf([&] { slide->Background().setBlackWhiteMode(bad); }), E_FAIL) << bad;
    }
    EXPECT_EQ(hostErrorOf([&] { shape->setVisible(2); }), E_FAIL);
    shape->setVisible(msoCTrue);
    EXPECT_EQ(shape->Visible(), msoTrue);
    p->setSaved(true);
    shape->setVisible(msoFalse);
    EXPECT_FALSE(p->Saved());
    shape->setBlackWhiteMode(msoBlackWhiteDontShow);
    slide->Background().setBlackWhiteMode(msoBlackWhiteWhite);

    ShapeRange({shape}).Copy();
    const ShapeRange copy = slide->Shapes().Paste();
    EXPECT_EQ(copy.Item(1)->Visible(), msoFalse);
    EXPECT_EQ(copy.Item(1)->BlackWhiteMode(), msoBlackWhiteDontShow);
    clipboard().clear();

    p->SaveAs(dir.file("modes.ppt"));
    auto again = app.Presentations().Open(dir.file("modes.ppt"), true, false, false);
    EXPECT_EQ(again->Slides().Item(1)->Shapes().Item(1)->Visible(), msoFalse);
    EXPECT_EQ(again->Slides().Item(1)->Shapes().Item(1)->BlackWhiteMode(), msoBlackWhiteDontShow);
    EXPECT_EQ(again->Slides().Item(1)->Background().BlackWhiteMode(), msoBlackWhiteWhite);

    // A damaged mode in a file is refused.
    std::string text = test_support::readFile(dir.file("modes.ppt"));
    text.replace(text.find("blackWhiteMode=\"10\""), 19, "blackWhiteMode=\"12\"");
    host_test::writeAll(dir.file("bad.ppt"), text);
    EXPECT_EQ(hostErrorOf([&] { app.Presentations().Open(dir.file("bad.ppt")); }), E_FAIL);

    shape->Delete();
    EXPECT_EQ(hostErrorOf([&] { shape->setVisible(msoTrue); }), E_FAIL);
}

}  // namespace
