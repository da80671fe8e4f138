// Proofing language, fit shape to text and word wrap.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/shared_state.h"
#include "core/variant.h"
#include "host/command_bars.h"
#include "host/host.h"
#include "host/text.h"
#include "tools/efficiency_tools.h"
#include "tools/selected_shapes.h"
#include "tools/text_walker.h"

namespace plorin {

namespace {

constexpr const char* kToolsBar = "Varnotel for presentations - Efficiency Tools";

// A language id as a 32-bit whole number: numbers round half to even, texts must be numbers.
std::int32_t languageNumber(const Variant& id) {
    if (id.isText()) return toInteger32(id.text());
    if (!id.isNumber() && !id.isEmpty()) raiseError(errTypeMismatch, "Type mismatch");
    const double v = id.isNumber() ? roundHalfEven(id.number()) : 0;
    if (!(v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()))
        raiseError(errOverflow, "Overflow");
    return static_cast<std::int32_t>(v);
}

}  // namespace

void EfficiencyTools::setLanguage(const Variant& languageId) {
    trap("EfficiencyTools, setLanguage", [&] {
        const Variant id = languageNumber(languageId);
        host::DocumentWindow& window = *hostApplication().ActiveWindow();
        host::Selection& selection = window.Selection();
        if (window.ActivePane().ViewType() != host::ppViewNotesPage) return iterate(&selection, "setLanguage", id);
        if (selection.Type() == host::ppSelectionText) {
            selection.TextRange().setLanguageID(static_cast<int>(id.number()));
        } else if (selection.Type() == host::ppSelectionNone) {
            const std::shared_ptr<host::Slide> notes = selection.SlideRange().Item(1)->NotesPage().Item(1);
            iterate(&notes->Shapes(), "setLanguage", id);
        }
    });
}

void EfficiencyTools::setLang(const host::TextFrame& frame, const Variant& languageId) {
    trap("EfficiencyTools, setLang", [&] {
        if (frame.HasText() != host::msoTrue) return;
        const int id = languageNumber(languageId);
        host::Selection& selection = activeSelection();
        if (selection.Type() == host::ppSelectionText) selection.TextRange().setLanguageID(id);
        else frame.TextRange().setLanguageID(id);
    });
}

void EfficiencyTools::adjustAutoShapeToText() { toggleTextFrame(false); }

void EfficiencyTools::wrapText() { toggleTextFrame(true); }

void EfficiencyTools::toggleTextFrame(bool wrap) {
    trap(wrap ? "EfficiencyTools, wrapText" : "EfficiencyTools, adjustAutoShapeToText", [&] {
        const auto control = hostApplication().CommandBars().Item(kToolsBar)->Controls().Item(
            wrap ? "Wrap text in AutoShape" : "Fit AutoShape to text");
        auto* button = dynamic_cast<host::CommandBarButton*>(control.get());
        if (!button) raiseError(errTypeMismatch, "Type mismatch");
        const host::ShapeRange shapes = selectedShapeRange();
        // An empty frame gets an empty text, so that the switch reaches it too.
        for (const auto& shape : shapes.all())
            if (shape->HasTextFrame() != host::msoFalse && shape->TextFrame().HasText() == host::msoFalse)
                shape->TextFrame().TextRange().setText("");
        host::TextFrame frame = shapes.TextFrame();
        const int on = wrap ? static_cast<int>(host::msoTrue) : static_cast<int>(host::ppAutoSizeShapeToFitText);
        const int now = wrap ? frame.WordWrap() : frame.AutoSize();
        int next;
        if (now == host::kMixed || now == 0) next = on;
        else if (now == on) next = 0;
        else return;
        if (wrap) frame.setWordWrap(next);
        else frame.setAutoSize(next);
        button->setState(next == on ? host::msoButtonDown : host::msoButtonUp);
    });
}

using E = EfficiencyTools;

const std::vector<EfficiencyTools::MethodEntry> kTextToolMethods = {
    {"setMargins", &E::setMargins, nullptr},
    {"setLanguage", nullptr, &E::setLanguageText},
    {"adjustAutoShapeToText", &E::adjustAutoShapeToText, nullptr},
    {"wrapText", &E::wrapText, nullptr},
    {"countWords", &E::countWords, nullptr},
};

}  // namespace plorin
