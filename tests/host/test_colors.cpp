// The presentation's extra colours and the slides' colour scheme.
#include "host_test_support.h"

#include <regex>

using namespace host;
using host_test::hostErrorOf;

namespace {

struct ExtraColorsTest : ::testing::Test {
    Application app{"14.0"};
    std::shared_ptr<Presentation> deck = app.Presentations().Add(true);
};

TEST_F(ExtraColorsTest, TheHostKeepsTheNewestEightAndRefusesWhatIsNoColour) {
    ExtraColors& extra = deck->ExtraColors();
    EXPECT_EQ(extra.Count(), 0);
    deck->setSaved(true);
    for (std::uint32_t c = 1; c <= 9; ++c) extra.Add(c * 0x10101);
    EXPECT_FALSE(deck->Saved());
    ASSERT_EQ(extra.Count(), 8);
    EXPECT_EQ(extra.Item(1), 2u * 0x10101) << "the oldest went";
    EXPECT_EQ(extra.Item(8), 9u * 0x10101);
    extra.Add(0x090909);  // a colour already there is added again
    EXPECT_EQ(extra.Item(8), 0x090909u);
    EXPECT_EQ(extra.Item(7), 0x090909u);
    EXPECT_EQ(hostErrorOf([&] { extra.Add(0x1000000); }), E_INVALIDARG);
    EXPECT_EQ(hostErrorOf([&] { (void)extra.Item(0); }), E_INVALIDARG);
    EXPECT_EQ(hostErrorOf([&] { (void)extra.Item(9); }), E_INVALIDARG);
    EXPECT_EQ(extra.Count(), 8);
    deck->setSaved(true);
    extra.Clear();
    EXPECT_EQ(extra.Count(), 0);
    EXPECT_FALSE(deck->Saved());
}

TEST_F(ExtraColorsTest, TheFileKeepsTheColoursAndAFileWithMoreKeepsTheNewestEight) {
    host_test::ScratchDir dir;
    deck->ExtraColors().Add(0x0000FF);
    deck->ExtraColors().Add(0xFFFFFF);
    deck->SaveAs(dir.file("colours.ppt"));
    auto back = app.Presentations().Open(dir.file("colours.ppt"));
    EXPECT_EQ(back->ExtraColors().all(), (std::vector<std::uint32_t>{0x0000FF, 0xFFFFFF}));

    // Ten written by hand: the last eight stay; a value beyond RGB is a damaged file.
    std::string text = test_support::readFile(dir.file("colours.ppt"));
    std::string ten;
    for (int i = 1; i <= 10; ++i) ten += "<extraColor rgb=\"" + std::to_string(i) + "\"/>";
    const std::string many = std::regex_replace(text, std::regex("<extraColor[^>]*/>\\s*"), "");
    host_test::writeAll(dir.file("ten.ppt"), std::regex_replace(many, std::regex("<design"), ten + "<design"));
    auto ten8 = app.Presentations().Open(dir.file("ten.ppt"));
    EXPECT_EQ(ten8->ExtraColors().all(), (std::vector<std::uint32_t>{3, 4, 5, 6, 7, 8, 9, 10}));
    host_test::writeAll(dir.file("bad.ppt"),
                        std::regex_replace(many, std::regex("<design"), "<extraColor rgb=\"16777216\"/><design"));
    EXPECT_EQ(hostErrorOf([&] { app.Presentations().Open(dir.file("bad.ppt")); }), E_FAIL);
}

TEST_F(ExtraColorsTest, TheColourSchemeOfSlidesHasEightColours) {
    auto slide = deck->Slides().Add(1, 12);
    const ColorScheme scheme = SlideRange({slide}).ColorScheme();
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(scheme.Colors(i).RGB(), schemeColorRGB(i));
    EXPECT_EQ(hostErrorOf([&] { (void)scheme.Colors(9); }), E_INVALIDARG);
    EXPECT_EQ(hostErrorOf([&] { (void)SlideRange().ColorScheme(); }), PP_E_INVALIDREQUEST);
}

}  // namespace
