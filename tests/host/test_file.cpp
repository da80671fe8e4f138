// Saving and opening the stand-in's presentation files.
#include <sys/stat.h>
#include <cfloat>
#include <clocale>
#include <locale>

#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;

namespace {

struct FileTest : ::testing::Test {
    host_test::ScratchDir dir;
    Application app{"16.0"};
};

const char* const kAwkwardText = "say \"hi\" & <bye> 'now'\nline 2\r\n\ttabbed äöü € 日本";

}  // namespace

TEST_F(FileTest, EverythingSurvivesSaveAndOpen) {
    auto pres = app.Presentations().Add(false);
    pres->Tags().Add("deck", kAwkwardText);
    auto s1 = pres->Slides().Add(1, 12);
    auto s2 = pres->Slides().Add(2, 1);
    s2->Tags().Add("slideTag", "&amp; stays literal");
    auto a = s1->Shapes().AddShape(msoShapeChevron, 0.1f, 1e-7f, 123456.789f, FLT_MAX);
    a->setRotation(359.99997f);
    a->Flip(0);
    a->setName(kAwkwardText);
    a->Tags().Add("empty", "");
    auto b = s2->Shapes().addOfType(msoPicture, 0, -FLT_MIN / 4, 1.0f / 3, -0.0f, 7);
    b->Flip(1);

    const auto file = dir.file("deck.pptx");
    pres->SaveAs(file);
    auto back = app.Presentations().Open(file, false, false, false);

    EXPECT_EQ(back->Tags().Item("DECK"), kAwkwardText);
    ASSERT_EQ(back->Slides().Count(), 2);
    auto r1 = back->Slides().Item(1), r2 = back->Slides().Item(2);
    EXPECT_EQ(r1->SlideID(), s1->SlideID());
    EXPECT_EQ(r2->SlideID(), s2->SlideID());
    EXPECT_EQ(r1->Layout(), 12);
    EXPECT_EQ(r2->Tags().Item("slidetag"), "&amp; stays literal");
    EXPECT_EQ(back->SlideWidth(), 720);

    auto ra = r1->Shapes().Item(1), rb = r2->Shapes().Item(1);
    EXPECT_EQ(ra->Id(), a->Id());
    EXPECT_EQ(ra->AutoShapeType(), msoShapeChevron);
    EXPECT_EQ(ra->Name(), kAwkwardText);
    EXPECT_EQ(ra->Left(), 0.1f);
    EXPECT_EQ(ra->Top(), 1e-7f);
    EXPECT_EQ(ra->Width(), 123456.789f);
    EXPECT_EQ(ra->Height(), FLT_MAX);
    EXPECT_EQ(ra->Rotation(), 359.99997f);
    EXPECT_EQ(ra->HorizontalFlip(), msoTrue);
    EXPECT_EQ(ra->Tags().Count(), 1);
    EXPECT_EQ(ra->Tags().Item("EMPTY"), "");
    EXPECT_EQ(rb->Type(), msoPicture);
    EXPECT_EQ(rb->Left(), -FLT_MIN / 4);
    EXPECT_EQ(rb->Top(), 1.0f / 3);
    EXPECT_EQ(rb->VerticalFlip(), msoTrue);
    EXPECT_EQ(rb->HorizontalFlip(), msoFalse);
}

namespace {

struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

}  // namespace

TEST_F(FileTest, NumbersAreTheSameWhateverTheLocale) {
    const auto previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    // The C library's numbers too, where such a locale is installed.
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    auto pres = app.Presentations().Add(false);
    pres->Slides().Add(1, 1)->Shapes().AddShape(1, 1234.5f, 0, 0, 0);
    pres->SaveAs(dir.file("a.ppt"));
    const float left = app.Presentations().Open(dir.file("a.ppt"))->Slides().Item(1)->Shapes().Item(1)->Left();
    std::locale::global(previous);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_NE(test_support::readFile(dir.file("a.ppt")).find("left=\"1234.5\""), std::string::npos);
    EXPECT_EQ(left, 1234.5f);
}

TEST_F(FileTest, SlideIdsAreNeverReusedAcrossSaveAndOpen) {
    auto pres = app.Presentations().Add(false);
    pres->Slides().Add(1, 1);
    const long deletedId = pres->Slides().Add(2, 1)->SlideID();
    auto shape = pres->Slides().Item(1)->Shapes().AddShape(1, 0, 0, 1, 1);
    const long deletedShape = shape->Id();
    pres->Slides().Item(2)->Delete();
    shape->Delete();
    pres->SaveAs(dir.file("ids.ppt"));

    auto back = app.Presentations().Open(dir.file("ids.ppt"), false, false, false);
    EXPECT_GT(back->Slides().Add(2, 1)->SlideID(), deletedId);
    EXPECT_GT(back->Slides().Item(1)->Shapes().AddShape(1, 0, 0, 1, 1)->Id(), deletedShape);
}

TEST_F(FileTest, SavingThroughALinkChangesTheFileItPointsToAndKeepsTheLink) {
    auto pres = app.Presentations().Add(false);
    pres->SaveAs(dir.file("target.ppt"));
    std::filesystem::create_symlink("target.ppt", dir.file("link.ppt"));
    auto linked = app.Presentations().Open(dir.file("link.ppt"), false, false, false);
    linked->Slides().Add(1, 1);
    linked->Save();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.ppt")));
    EXPECT_EQ(app.Presentations().Open(dir.file("target.ppt"), false, false, false)->Slides().Count(), 1);
}

TEST_F(FileTest, FilesThatCannotBeOpenedFailWithEFail) {
    host_test::writeAll(dir.file("garbage.ppt"), "not xml at all <");
    host_test::writeAll(dir.file("other.xml"), "<?xml version=\"1.0\"?><deck/>");
    host_test::writeAll(dir.file("badnumber.ppt"), "<presentation version=\"1\"><slide id=\"x\"/></presentation>");
    host_test::writeAll(dir.file("twice.ppt"),
                        "<presentation version=\"1\"><slide id=\"300\"/><slide id=\"300\"/></presentation>");
    host_test::writeAll(dir.file("future.ppt"), "<presentation version=\"2\"/>");
    for (const char* name : {"missing.ppt", "garbage.ppt", "other.xml", "badnumber.ppt", "twice.ppt", "future.ppt"}) {
        try {
            app.Presentations().Open(dir.file(name));
            ADD_FAILURE() << name << " opened";
        } catch (const HostError& e) {
            EXPECT_EQ(e.number(), E_FAIL) << name;
            EXPECT_NE(std::string(e.what()).find("could not open file"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(app.Presentations().Count(), 0);
    EXPECT_EQ(app.Windows().Count(), 0);
}

TEST_F(FileTest, CountersBehindTheSlidesInTheFileAreCorrected) {
    host_test::writeAll(dir.file("old.ppt"),
                        "<presentation version=\"1\" nextSlideId=\"256\"><slide id=\"400\"/></presentation>");
    auto p = app.Presentations().Open(dir.file("old.ppt"), false, false, false);
    EXPECT_EQ(p->Slides().Add(2, 1)->SlideID(), 401);
}

TEST_F(FileTest, AFailedWriteLeavesTheOldFileAndNoLitter) {
    auto pres = app.Presentations().Add(false);
    EXPECT_EQ(hostErrorOf([&] { pres->SaveAs(dir.file("no/such/folder/x.ppt")); }), E_FAIL);
    EXPECT_EQ(pres->Name(), "Presentation1");

    const auto file = dir.file("keep.ppt");
    pres->SaveAs(file);
    const auto before = test_support::readFile(file);
    std::filesystem::permissions(dir.folder(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    pres->Slides().Add(1, 1);
    const long failure = hostErrorOf([&] { pres->Save(); });
    std::filesystem::permissions(dir.folder(), std::filesystem::perms::owner_all);
    if (::geteuid() != 0) {  // root writes anyway
        EXPECT_EQ(failure, E_FAIL);
    }
    if (failure) {
        EXPECT_EQ(test_support::readFile(file), before);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.folder()), std::filesystem::directory_iterator()),
              1);
}

TEST_F(FileTest, DamagedFilesWithHostileNestingOrIdsAreRefused) {
    // Groups nested 30,000 deep, as in a damaged template.
    std::string deep = "<presentation version=\"1\"><slide id=\"256\">";
    for (int i = 0; i < 30000; ++i) deep += "<shape id=\"" + std::to_string(i + 2) + "\" type=\"6\">";
    for (int i = 0; i < 30000; ++i) deep += "</shape>";
    host_test::writeAll(dir.file("deep.ppt"), deep + "</slide></presentation>");
    // Ids past the host's 32-bit range, and counters past the last id.
    host_test::writeAll(dir.file("bigslide.ppt"),
                        "<presentation version=\"1\"><slide id=\"9223372036854775807\"/></presentation>");
    host_test::writeAll(dir.file("zeroshape.ppt"),
                        "<presentation version=\"1\"><slide id=\"256\"><shape id=\"0\"/></slide></presentation>");
    host_test::writeAll(dir.file("bigcounter.ppt"), "<presentation version=\"1\" nextShapeId=\"2147483649\"/>");
    // Tables whose cells do not fill their grid: a few hundred bytes must not ask for a
    // million cells each.
    std::string grids = "<presentation version=\"1\"><slide id=\"256\">";
    for (int i = 0; i < 8; ++i)
        grids += "<shape id=\"" + std::to_string(i + 2) +
                 "\" type=\"19\" hasTable=\"1\"><table rows=\"1000\" columns=\"1000\"/></shape>";
    host_test::writeAll(dir.file("grids.ppt"), grids + "</slide></presentation>");
    host_test::writeAll(
        dir.file("shortgrid.ppt"),
        "<presentation version=\"1\"><slide id=\"256\"><shape id=\"2\" type=\"19\" "
        "hasTable=\"1\"><table rows=\"1\" columns=\"2\"><cell/></table></shape></slide></presentation>");
    ASSERT_EQ(::mkfifo(dir.file("fifo.ppt").c_str(), 0600), 0);  // opening it must not wait for a writer
    for (const char* name :
         {"deep.ppt", "bigslide.ppt", "zeroshape.ppt", "bigcounter.ppt", "grids.ppt", "shortgrid.ppt", "fifo.ppt"}) {
        try {
            app.Presentations().Open(dir.file(name));
            ADD_FAILURE() << name << " opened";
        } catch (const HostError& e) {
            EXPECT_NE(std::string(e.what()).find("could not open file"), std::string::npos) << e.what();
        }
    }
}

TEST_F(FileTest, IdsRunOutWithAnErrorInsteadOfOverflowing) {
    host_test::writeAll(dir.file("last.ppt"),
                        "<presentation version=\"1\" nextShapeId=\"2147483647\">"
                        "<slide id=\"2147483647\"/></presentation>");
    auto p = app.Presentations().Open(dir.file("last.ppt"), false, false, false);
    auto slide = p->Slides().Item(1);
    EXPECT_EQ(slide->Shapes().AddShape(1, 0, 0, 1, 1)->Id(), 2147483647);
    EXPECT_EQ(hostErrorOf([&] { slide->Shapes().AddShape(1, 0, 0, 1, 1); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { p->Slides().Add(2, 1); }), E_FAIL);
    EXPECT_EQ(slide->Shapes().Count(), 1);
    EXPECT_EQ(p->Slides().Count(), 1);
}

TEST_F(FileTest, GroupsNestOnlyAsDeepAsAFileCanHold) {
    auto pres = app.Presentations().Add(false);
    auto& shapes = pres->Slides().Add(1, 1)->Shapes();
    shapes.AddShape(1, 0, 0, 1, 1);
    for (int level = 1; level <= Shape::kMaxGroupNesting; ++level) {
        shapes.AddShape(1, 0, 0, 1, 1);
        ASSERT_EQ(ShapeRange(shapes.all()).Group()->groupNesting(), level);
    }
    shapes.AddShape(1, 0, 0, 1, 1);
    EXPECT_EQ(hostErrorOf([&] { ShapeRange(shapes.all()).Group(); }), E_FAIL);
    pres->SaveAs(dir.file("deepest.ppt"));
    auto back = app.Presentations().Open(dir.file("deepest.ppt"), false, false, false);
    EXPECT_EQ(back->Slides().Item(1)->Shapes().Item(1)->groupNesting(), Shape::kMaxGroupNesting);
}
