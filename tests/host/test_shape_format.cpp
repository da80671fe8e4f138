// A shape's fill and line: the values the host refuses, and what the presentation file keeps
// (older files give a new shape's defaults).
#include <cmath>
#include <fstream>

#include "host_test_support.h"

using namespace host;

namespace {

struct ShapeFormat : ::testing::Test {
    host_test::ScratchDir dir;
    Application app{"12.0"};
    std::shared_ptr<Presentation> pres = app.Presentations().Add(false);
    std::shared_ptr<Slide> slide = pres->Slides().Add(1, 12);
};

}  // namespace

TEST_F(ShapeFormat, ChangesMarkThePresentationAndBadValuesAreRefused) {
    auto s = slide->Shapes().AddShape(msoShapeRectangle, 0, 0, 10, 10);
    pres->setSaved(true);
    s->Fill().ForeColor().setRGB(0x123456);
    EXPECT_FALSE(pres->Saved());
    s->Fill().setVisible(msoCTrue);
    EXPECT_EQ(s->Fill().Visible(), msoTrue);

    EXPECT_THROW(s->Fill().ForeColor().setRGB(0x1000000), HostError);
    EXPECT_THROW(s->Fill().setVisible(msoTriStateMixed), HostError);
    EXPECT_THROW(s->Line().setWeight(-1), HostError);
    EXPECT_THROW(s->Line().setWeight(NAN), HostError);
    EXPECT_EQ(s->Fill().ForeColor().RGB(), 0x123456u);

    s->Delete();
    EXPECT_THROW(s->Line().ForeColor().setRGB(0), HostError);
    EXPECT_THROW(s->Line().setVisible(msoFalse), HostError);
}

TEST_F(ShapeFormat, FileKeepsFillAndLine) {
    auto s = slide->Shapes().AddShape(msoShapeRectangle, 0, 0, 10, 10);
    s->Fill().ForeColor().setRGB(0x0000FF);
    s->Fill().setVisible(msoFalse);
    s->Line().ForeColor().setRGB(0xFFFFFF);
    s->Line().setWeight(2.25f);
    auto box = slide->Shapes().AddTextbox(1, 0, 0, 10, 10);
    box->Line().setVisible(msoTrue);
    pres->SaveAs(dir.file("deck.pptx"));

    auto back = app.Presentations().Open(dir.file("deck.pptx"), false, false, false);
    auto r = back->Slides().Item(1)->Shapes().Item(1);
    EXPECT_EQ(r->Fill().ForeColor().RGB(), 0x0000FFu);
    EXPECT_EQ(r->Fill().Visible(), msoFalse);
    EXPECT_EQ(r->Line().ForeColor().RGB(), 0xFFFFFFu);
    EXPECT_EQ(r->Line().Weight(), 2.25f);
    EXPECT_EQ(back->Slides().Item(1)->Shapes().Item(2)->Line().Visible(), msoTrue);
}

TEST_F(ShapeFormat, OlderFilesGetTheDefaultsAndBadValuesAreRejected) {
    auto write = [&](const std::string& shapeAttributes) {
        std::ofstream(dir.file("old.pptx"))
            << R"(<presentation version="1"><slide id="256" layout="12">)"
            << "<shape id=\"2\" type=\"1\" autoShapeType=\"1\" " << shapeAttributes << "/></slide></presentation>";
        return dir.file("old.pptx");
    };
    auto old = app.Presentations().Open(write(""), false, false, false);
    auto s = old->Slides().Item(1)->Shapes().Item(1);
    EXPECT_EQ(s->Fill().Visible(), msoTrue);
    EXPECT_EQ(s->Line().Visible(), msoTrue);

    for (const char* bad : {R"(fillColor="16777216")", R"(lineColor="-1")", R"(lineWeight="-2")", R"(lineWeight="x")"})
        EXPECT_THROW(app.Presentations().Open(write(bad), false, false, false), HostError) << bad;
}
