// The indent commands and their two operations: the staircase ruler and moving paragraphs
// one outline level in or out.
#include "core/errors.h"
#include "core/numbers.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "host/text.h"
#include "tools/efficiency_tools.h"
#include "tools/text_beautifier.h"
#include "tools/text_walker.h"

namespace plorin {

namespace {

bool isCommandBarHost(const std::string& version) { return version == "9.0" || version == "10.0" || version == "11.0"; }
bool isRibbonHost(const std::string& version) { return version == "12.0" || version == "14.0"; }

// The level a paragraph moves to, or its own when it is at the limit.
int shifted(int level, std::int16_t step, int deepest) {
    if (step == 1 && level < deepest) return level + 1;
    if (step == -1 && level > 1) return level - 1;
    return level;
}

template <class Format>
void shift(Format&& format, std::int16_t step, int deepest) {
    const int level = format.IndentLevel();
    const int target = shifted(level, step, deepest);
    if (target != level) format.setIndentLevel(target);
}

}  // namespace

void EfficiencyTools::iterate(const TextWalkObject& object, const std::string& operation, const Variant& value) {
    walkTextFrames(object, operation, [&](const host::TextFrame& frame) {
        if (operation == "beautifyIndents") beautify(frame);
        else if (operation == "addIndent") indentLevel(frame, 1);
        else if (operation == "removeIndent") indentLevel(frame, -1);
        else if (operation == "setMargins") margins(frame);
        else if (operation == "setLanguage") setLang(frame, value);
    });
}

void beautifyIndentStaircase(const host::TextFrame& frame) {
    trap("EfficiencyTools, beautify", [&] {
        const std::string& version = hostApplication().Version();
        const int levels = isCommandBarHost(version) ? 5 : isRibbonHost(version) ? 9 : 0;
        const double step = frame.TextRange().Characters(1, 1).Font().Size();
        const host::Ruler ruler = frame.Ruler();
        ruler.Levels(1).setFirstMargin(0);
        ruler.Levels(1).setLeftMargin(0);
        for (int n = 2; n <= levels; ++n) {
            ruler.Levels(n).setFirstMargin(toSingle((n - 2) * step));
            ruler.Levels(n).setLeftMargin(toSingle((n - 1) * step));
        }
    });
}

void EfficiencyTools::beautify(const host::TextFrame& frame) { beautifyIndentStaircase(frame); }

void EfficiencyTools::indentLevel(const host::TextFrame& frame, std::int16_t step) {
    trap("EfficiencyTools, indentLevel", [&] {
        host::Application& app = hostApplication();
        const std::string& version = app.Version();
        if (isCommandBarHost(version)) {
            host::Selection& selection = app.ActiveWindow()->Selection();
            host::TextRange range =
                selection.Type() == host::ppSelectionText ? selection.TextRange() : frame.TextRange();
            const int count = range.Paragraphs().Count();
            if (count == 0) shift(range, step, 5);
            for (int i = 1; i <= count; ++i) shift(range.Paragraphs(i), step, 5);
        } else if (isRibbonHost(version)) {
            const host::TextFrame2 frame2 = frame.Parent()->TextFrame2();
            host::Selection& selection = app.ActiveWindow()->Selection();
            host::TextRange2 range = frame2.TextRange();
            if (selection.Type() == host::ppSelectionText) {
                const host::TextRange selected = selection.TextRange();
                range = range.Characters(selected.Start(), selected.Length());
            }
            const int count = range.Paragraphs().Count();
            if (count == 0) shift(range.ParagraphFormat(), step, 9);
            for (int i = 1; i <= count; ++i) shift(range.Paragraphs(i).ParagraphFormat(), step, 9);
            beautify(frame);
        }
    });
}

void EfficiencyTools::beautifyIndents() {
    trap("EfficiencyTools, beautifyIndents", [&] { iterate(&activeSelection(), "beautifyIndents"); });
}

void EfficiencyTools::addIndent() {
    trap("EfficiencyTools, addIndent", [&] { iterate(&activeSelection(), "addIndent"); });
}

void EfficiencyTools::removeIndent() {
    trap("EfficiencyTools, removeIndent", [&] { iterate(&activeSelection(), "removeIndent"); });
}

using E = EfficiencyTools;

const std::vector<EfficiencyTools::MethodEntry> kTextMethods = {
    {"beautifyIndents", &E::beautifyIndents, nullptr},
    {"addIndent", &E::addIndent, nullptr},
    {"removeIndent", &E::removeIndent, nullptr},
};

}  // namespace plorin
