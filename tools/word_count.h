// The word count: characters with and without blanks and the words of the selected shapes,
// shown in the small window "WordCount", which stays open beside the presentation.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui_forms.h"

namespace host {
class TextRange;
}

namespace plorin {

// What countWords sums over the shapes. Wide counters: a long text never overflows them.
struct TextCounts {
    std::int64_t characters = 0;  // other than blanks
    std::int64_t blanks = 0;      // space, CR, LF, tab, VT (line break), FF, NUL, backspace
    std::int64_t words = 0;       // the host's words, punctuation on its own left out
};

// Adds the counts of one text to `counts`. A word counts unless its text without its
// trailing blanks occurs inside ",.-_:;!§$%&/()=?\}][{" (a lone hyphen, "()").
void addTextCounts(const host::TextRange& text, TextCounts& counts);

class WordCount : public platform::Form {
public:
    WordCount();

    void show(const TextCounts& counts);  // fills the three values and shows the window, modeless
    void btnClose_Click();
    // Esc (27) closes the window; other keys do nothing.
    void Form_KeyDown(int keyCode);

    platform::PictureBox Picture1{*this, "Picture1"};
    platform::Label Label5{*this, "Label5"};
    platform::Label Label4{*this, "Label4"};
    platform::Label charCount{*this, "charCount"};
    platform::Label Label3{*this, "Label3"};
    platform::Label charCountNoBlanks{*this, "charCountNoBlanks"};
    platform::Label Label2{*this, "Label2"};
    platform::Label wordCount{*this, "wordCount"};
    platform::CommandButton btnClose{*this, "btnClose"};
};

// The window, made on first use and kept, like a form's default instance.
WordCount& wordCountWindow();

}  // namespace plorin
