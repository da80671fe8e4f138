// The word count: characters with and without blanks, words without lone punctuation, sums
// over shapes, long texts, and the window's Close and Esc.
#include "text_fixture.h"
#include "tools/word_count.h"

namespace {

class WordCounting : public testing_tools::TextFixture {
protected:
    void TearDown() override {
        plorin::wordCountWindow().Unload();
        TextFixture::TearDown();
    }
    // The window's three numbers after counting the shapes: incl. blanks, no blanks, words.
    std::vector<std::string> count(const std::vector<std::shared_ptr<host::Shape>>& shapes) {
        select(shapes);
        tools.countWords();
        const auto& w = plorin::wordCountWindow();
        EXPECT_TRUE(w.Visible());
        return {w.charCount.Caption, w.charCountNoBlanks.Caption, w.wordCount.Caption};
    }
    using Numbers = std::vector<std::string>;
};

TEST_F(WordCounting, CountsCharactersBlanksAndWordsOfOneText) {
    struct Case {
        const char* text;
        Numbers numbers;
    } cases[] = {
        {"Hello world", {"11", "10", "2"}},    {"-", {"1", "1", "0"}}, {".", {"1", "1", "0"}},
        {"e.g. ()", {"7", "6", "1"}},          // the abbreviation counts, the parentheses do not
        {"Hello - world", {"13", "11", "2"}},  // a dash between blanks is no word
        {"a\rb\vc\td", {"7", "4", "4"}},       // breaks and tabs are blanks
        {"\u00a7 \u00fcber", {"6", "5", "1"}}, {"", {"0", "0", "0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(count({textBox(c.text)}), c.numbers);
    }
}

TEST_F(WordCounting, SumsTheSelectedShapesAndPassesOverThoseWithoutText) {
    auto a = textBox("Hello world"), b = textBox("one two three");
    auto picture = slide->Shapes().addOfType(host::msoPicture, 1, 0, 0, 10, 10);
    EXPECT_EQ(count({a, b, picture}), (Numbers{"24", "21", "5"}));
    auto group = host::ShapeRange({a, b}).Group();
    EXPECT_EQ(count({group}), (Numbers{"0", "0", "0"}));
}

TEST_F(WordCounting, ALongTextCountsPast16Bits) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "ab ";
    EXPECT_EQ(count({textBox(text)}), (Numbers{"60000", "40000", "20000"}));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(WordCounting, CloseAndEscCloseTheWindowOtherKeysDoNot) {
    auto a = textBox("Hello");
    count({a});
    auto& w = plorin::wordCountWindow();
    w.Form_KeyDown(13);
    EXPECT_TRUE(w.Visible());
    w.Form_KeyDown(27);
    EXPECT_FALSE(w.loaded());
    count({a});
    EXPECT_TRUE(platform::driver::click(w, "btnClose"));
    EXPECT_FALSE(w.loaded());
}

TEST_F(WordCounting, WithoutShapesTheFailureIsReportedAndNoWindowShows) {
    textBox("Hello");
    window().selectNone();
    tools.countWords();
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, countWords"});
    EXPECT_FALSE(plorin::wordCountWindow().Visible());
}

}  // namespace
