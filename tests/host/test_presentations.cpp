// Presentations: names, saving with its events, opening, closing, and their windows.
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;
using Events = std::vector<std::string>;

namespace {

struct PresentationsTest : ::testing::Test {
    host_test::ScratchDir dir;
    Application app{"16.0"};
    host_test::EventLog log;
    PresentationsTest() { app.advise(&log); }

    // A saved deck on disk, made by a separate Application so that no events reach the log.
    std::string deckOnDisk(const std::string& name) {
        Application other("16.0");
        auto p = other.Presentations().Add(false);
        p->Slides().Add(1, 1);
        p->SaveAs(dir.file(name));
        return dir.file(name);
    }
};

}  // namespace

TEST_F(PresentationsTest, NewPresentationsAreNumberedAndHaveNoPath) {
    auto p1 = app.Presentations().Add();
    auto p2 = app.Presentations().Add(false);
    EXPECT_EQ(p1->FullName(), "Presentation1");
    EXPECT_EQ(p1->Name(), "Presentation1");
    EXPECT_EQ(p1->Path(), "");
    EXPECT_EQ(p2->Name(), "Presentation2");
    EXPECT_TRUE(p1->Saved());
    EXPECT_EQ(Application("16.0").Presentations().Add(false)->Name(), "Presentation1");  // per Application
    EXPECT_EQ(log.events, (Events{"WindowActivate:Presentation1", "NewPresentation:Presentation1",
                                  "WindowSelectionChange:0", "NewPresentation:Presentation2"}));
}

TEST_F(PresentationsTest, SaveAsRenamesAndSaveWritesThere) {
    auto p = app.Presentations().Add(false);
    EXPECT_EQ(hostErrorOf([&] { p->Save(); }), E_FAIL);  // never saved: no name to save under
    p->Slides().Add(1, 1);
    p->SaveAs(dir.file("deck.pptx"));
    EXPECT_EQ(p->FullName(), dir.file("deck.pptx"));
    EXPECT_EQ(p->Name(), "deck.pptx");
    EXPECT_EQ(p->Path(), dir.folder());
    EXPECT_TRUE(p->Saved());

    p->Slides().Add(2, 1);
    EXPECT_FALSE(p->Saved());
    p->Save();
    EXPECT_TRUE(p->Saved());
    EXPECT_EQ(app.Presentations().Open(p->FullName(), false, false, false)->Slides().Count(), 2);
    EXPECT_EQ(log.events, (Events{"NewPresentation:Presentation1", "PresentationBeforeSave:Presentation1",
                                  "PresentationBeforeSave:deck.pptx", "PresentationOpen:deck.pptx"}));
}

TEST_F(PresentationsTest, CancelledSaveWritesNothing) {
    auto p = app.Presentations().Add(false);
    log.cancelSave = true;
    p->SaveAs(dir.file("never.ppt"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("never.ppt")));
    EXPECT_EQ(p->Name(), "Presentation1");

    const auto file = deckOnDisk("deck.ppt");
    const auto before = test_support::readFile(file);
    auto opened = app.Presentations().Open(file, false, false, false);
    opened->Slides().Add(1, 1);
    opened->Save();
    EXPECT_EQ(test_support::readFile(file), before);
    EXPECT_FALSE(opened->Saved());
}

TEST_F(PresentationsTest, SaveCopyAsKeepsNameAndSavedAndFiresNothing) {
    auto p = app.Presentations().Add(false);
    p->Slides().Add(1, 1);
    log.events.clear();
    p->SaveCopyAs(dir.file("copy.ppt"));
    EXPECT_EQ(p->Name(), "Presentation1");
    EXPECT_FALSE(p->Saved());
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(app.Presentations().Open(dir.file("copy.ppt"), false, false, false)->Slides().Count(), 1);
}

TEST_F(PresentationsTest, ReadOnlyRefusesSaveButNotSaveAs) {
    auto p = app.Presentations().Open(deckOnDisk("ro.ppt"), true, false, false);
    EXPECT_TRUE(p->ReadOnly());
    EXPECT_EQ(hostErrorOf([&] { p->Save(); }), E_FAIL);
    p->SaveAs(dir.file("rw.ppt"));
    EXPECT_FALSE(p->ReadOnly());
    EXPECT_EQ(p->Name(), "rw.ppt");
}

TEST_F(PresentationsTest, OpeningTwiceGivesTwoInstances) {
    const auto file = deckOnDisk("twice.ppt");
    auto a = app.Presentations().Open(file);
    auto b = app.Presentations().Open(file);
    EXPECT_NE(a, b);
    EXPECT_EQ(app.Presentations().Count(), 2);
    EXPECT_EQ(app.Windows().Count(), 2);
    EXPECT_EQ(app.ActivePresentation(), b);
    EXPECT_EQ(a->FullName(), file);
}

TEST_F(PresentationsTest, OpenFiresWindowActivateThenPresentationOpen) {
    const auto file = deckOnDisk("events.ppt");
    log.onAnyEvent = [&] { log.events.back() += " windows=" + std::to_string(app.Windows().Count()); };
    app.Presentations().Open(file);
    app.Presentations().Open(file, false, false, false);
    EXPECT_EQ(log.events, (Events{"WindowActivate:events.ppt windows=1", "PresentationOpen:events.ppt windows=1",
                                  "WindowSelectionChange:0 windows=1", "PresentationOpen:events.ppt windows=1"}));
}

TEST_F(PresentationsTest, WindowlessPresentationCountsButHasNoWindow) {
    auto p = app.Presentations().Open(deckOnDisk("hidden.ppt"), false, false, false);
    EXPECT_EQ(app.Presentations().Count(), 1);
    EXPECT_EQ(app.Windows().Count(), 0);
    EXPECT_EQ(hostErrorOf([&] { app.ActiveWindow(); }), PP_E_INVALIDREQUEST);
    EXPECT_EQ(hostErrorOf([&] { app.ActivePresentation(); }), PP_E_INVALIDREQUEST);
}

TEST_F(PresentationsTest, UntitledOpenGetsANewNameAndNoPath) {
    app.Presentations().Add(false);
    auto p = app.Presentations().Open(deckOnDisk("template.ppt"), false, true, false);
    EXPECT_EQ(p->FullName(), "Presentation2");
    EXPECT_EQ(p->Path(), "");
    EXPECT_EQ(p->Slides().Count(), 1);
    EXPECT_EQ(hostErrorOf([&] { p->Save(); }), E_FAIL);
}

TEST_F(PresentationsTest, CloseFiresWhileStillCountedThenRemovesItAndItsWindows) {
    auto first = app.Presentations().Add();
    auto second = app.Presentations().Add();
    auto third = app.Presentations().Add();
    auto firstWindow = app.Windows().Item(1);
    third->Close();  // the active one
    EXPECT_EQ(log.events.back(), "PresentationClose:Presentation3 counted=3");
    EXPECT_EQ(app.Presentations().Count(), 2);
    EXPECT_EQ(app.Windows().Count(), 2);
    EXPECT_EQ(app.ActivePresentation(), second);  // the last remaining window

    firstWindow->Activate();
    log.onAnyEvent = [&] { second->Close(); };  // a handler closing it again changes nothing
    second->Close();                            // not the active one
    log.onAnyEvent = nullptr;
    EXPECT_EQ(log.events.back(), "PresentationClose:Presentation2 counted=2");
    EXPECT_EQ(app.ActivePresentation(), first);
    first->Close();
    EXPECT_EQ(app.Windows().Count(), 0);
    EXPECT_EQ(hostErrorOf([&] { app.ActiveWindow(); }), PP_E_INVALIDREQUEST);
    EXPECT_TRUE(first->closed());
    EXPECT_EQ(hostErrorOf([&] { first->Close(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { firstWindow->Activate(); }), E_FAIL);
}

TEST_F(PresentationsTest, PresentationsOutliveTheirApplicationSafely) {
    std::shared_ptr<Presentation> p;
    std::shared_ptr<Slide> slide;
    {
        Application gone("16.0");
        p = gone.Presentations().Add();
        slide = p->Slides().Add(1, 1);
    }
    EXPECT_TRUE(p->closed());
    EXPECT_EQ(slide->Parent(), p.get());
    EXPECT_EQ(hostErrorOf([&] { p->SaveAs(dir.file("late.ppt")); }), E_FAIL);
}
