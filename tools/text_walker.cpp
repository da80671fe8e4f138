// The text walker: from a selection down to the text frames it reaches.
#include "tools/text_walker.h"

#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/table.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

constexpr const char* kLocation = "EfficiencyTools, iterate";

using FrameAction = std::function<void(const host::TextFrame&)>;

void walk(const TextWalkObject& object, const std::string& operation, const FrameAction& atFrame);

void walkShapesOf(host::Slide& slide, const std::string& operation, const FrameAction& atFrame) {
    host::Shapes& shapes = slide.Shapes();
    for (int i = 1; i <= shapes.Count(); ++i) walk(shapes.Item(i), operation, atFrame);
}

// The first slide of the selection, or nullptr. With nothing selected and no slide in view
// the host refuses the slide range itself: that too means there is none.
std::shared_ptr<host::Slide> firstSelectedSlide(host::Selection& selection) {
    try {
        const host::SlideRange slides = selection.SlideRange();
        return slides.Count() > 0 ? slides.Item(1) : nullptr;
    } catch (const host::HostError& e) {
        if (e.number() != host::PP_E_INVALIDREQUEST) throw;
        return nullptr;
    }
}

void walkSelection(host::Selection& selection, const std::string& operation, const FrameAction& atFrame) {
    switch (selection.Type()) {
        case host::ppSelectionSlides: {
            const host::SlideRange slides = selection.SlideRange();
            for (int i = 1; i <= slides.Count(); ++i) {
                const std::shared_ptr<host::Slide> slide = slides.Item(i);
                walkShapesOf(*slide, operation, atFrame);
                if (operation == "setLanguage") walkShapesOf(*slide->NotesPage().Item(1), operation, atFrame);
            }
            break;
        }
        case host::ppSelectionShapes: {
            const host::ShapeRange shapes = selection.ShapeRange();
            for (int i = 1; i <= shapes.Count(); ++i) walk(shapes.Item(i), operation, atFrame);
            break;
        }
        case host::ppSelectionText: walk(selection.TextRange().Parent(), operation, atFrame); break;
        case host::ppSelectionNone: {
            const std::shared_ptr<host::Slide> slide = firstSelectedSlide(selection);
            if (slide && operation == "setLanguage") {
                walkShapesOf(*slide, operation, atFrame);
            } else {
                platform::MsgBox("Please select one or more slides or shapes first.", platform::vbInformation,
                                 kProductName);
            }
            break;
        }
        default: break;
    }
}

// Selected cells only, unless none is selected: then every cell.
void walkTable(host::Shape& shape, const std::string& operation, const FrameAction& atFrame) {
    const host::Table table = shape.Table();
    const int rows = table.Rows().Count(), columns = table.Columns().Count();
    int selected = 0;
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c)
            if (table.Cell(r, c).Selected()) {
                walk(table.Cell(r, c).Shape(), operation, atFrame);
                ++selected;
            }
    if (selected > 0) return;
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c) walk(table.Cell(r, c).Shape(), operation, atFrame);
}

void walkShape(const std::shared_ptr<host::Shape>& shape, const std::string& operation, const FrameAction& atFrame) {
    switch (shape->Type()) {
        case host::msoGroup: {
            const host::ShapeRange members = shape->GroupItems();
            for (int i = 1; i <= members.Count(); ++i) walk(members.Item(i), operation, atFrame);
            break;
        }
        case host::msoTable: walkTable(*shape, operation, atFrame); break;
        default:
            if (shape->HasTextFrame() != host::msoFalse) walk(shape->TextFrame(), operation, atFrame);
            break;
    }
}

void walk(const TextWalkObject& object, const std::string& operation, const FrameAction& atFrame) {
    trap(kLocation, [&] {
        std::visit(
            [&](const auto& o) {
                using T = std::decay_t<decltype(o)>;
                if constexpr (!std::is_same_v<T, std::monostate> && !std::is_same_v<T, host::TextFrame>) {
                    if (!o) return;  // a missing object reaches nothing
                }
                if constexpr (std::is_same_v<T, host::Selection*>) {
                    walkSelection(*o, operation, atFrame);
                } else if constexpr (std::is_same_v<T, host::Shapes*>) {
                    for (int i = 1; i <= o->Count(); ++i) walk(o->Item(i), operation, atFrame);
                } else if constexpr (std::is_same_v<T, std::shared_ptr<host::Shape>>) {
                    walkShape(o, operation, atFrame);
                } else if constexpr (std::is_same_v<T, host::TextFrame>) {
                    atFrame(o);
                }
            },
            object.object);
    });
}

}  // namespace

void walkTextFrames(const TextWalkObject& object, const std::string& operation, const FrameAction& atFrame) {
    walk(object, operation, atFrame);
}

host::Selection& activeSelection() { return hostApplication().ActiveWindow()->Selection(); }

}  // namespace plorin
