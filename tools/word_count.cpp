#include "tools/word_count.h"

#include <memory>
#include <string_view>

#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "host/text.h"
#include "tools/efficiency_tools.h"
#include "tools/selected_shapes.h"

namespace plorin {

namespace {

constexpr std::u32string_view kPunctuation = U",.-_:;!\u00a7$%&/()=?\\}][{";
constexpr int kEscape = 27;

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\r' || c == U'\n' || c == U'\t' || c == U'\v' || c == U'\f' || c == 0 || c == 8;
}

}  // namespace

void addTextCounts(const host::TextRange& text, TextCounts& counts) {
    // Read in place: a copy of every frame's text was most of the count's time.
    text.readPieces([&](std::u32string_view piece) {
        for (char32_t c : piece) ++(isBlank(c) ? counts.blanks : counts.characters);
        host::splitWords(piece, [&](std::u32string_view word) {
            // The host's words carry their trailing blanks: "- " is as much a dash as "-".
            while (!word.empty() && (word.back() == U' ' || word.back() == U'\t')) word.remove_suffix(1);
            if (kPunctuation.find(word) == std::u32string_view::npos) ++counts.words;
        });
    });
}

WordCount::WordCount() : platform::Form("WordCount") {
    Caption = kProductName;
    Label5.Caption = "Text statistics";
    Label4.Caption = "Characters (incl. blanks)";
    Label3.Caption = "Characters (no blanks)";
    Label2.Caption = "Words";
    btnClose.Caption = "&Close";
    btnClose.Cancel = true;
    btnClose.onClick = [this] { btnClose_Click(); };
}

void WordCount::show(const TextCounts& counts) {
    charCount.Caption = std::to_string(counts.characters + counts.blanks);
    charCountNoBlanks.Caption = std::to_string(counts.characters);
    wordCount.Caption = std::to_string(counts.words);
    Show(false);
}

void WordCount::btnClose_Click() {
    trap("WordCount, btnClose_Click", [&] { Unload(); });
}

void WordCount::Form_KeyDown(int keyCode) {
    trap("WordCount, Form_KeyDown", [&] {
        if (keyCode == kEscape) Unload();
    });
}

WordCount& wordCountWindow() { return state().feature<WordCount>(); }

void EfficiencyTools::countWords() {
    trap("EfficiencyTools, countWords", [&] {
        TextCounts counts;
        const host::ShapeRange shapes = selectedShapeRange();
        for (const auto& shape : shapes.all())
            if (shape->HasTextFrame() != host::msoFalse) addTextCounts(shape->TextFrame().TextRange(), counts);
        wordCountWindow().show(counts);
    });
}

}  // namespace plorin
