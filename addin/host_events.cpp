// pptEvents: connection to the host, the selection state, and the enabling that follows a
// selection change (the ribbon's redraw, or the command bars' controls).
#include "addin/host_events.h"

#include <cmath>

#include "addin/addin_state.h"
#include "core/errors.h"
#include "core/host_version.h"
#include "core/numbers.h"
#include "core/rotation.h"
#include "host/ribbon.h"

namespace plorin {

namespace {

bool roundsToRightAngle(const host::Shape& shape) { return std::fmod(roundHalfEven(shape.Rotation()), 90.0) == 0; }

bool isProcessArrow(const host::Shape& shape) {
    return shape.Type() == host::msoAutoShape &&
           (shape.AutoShapeType() == host::msoShapePentagon || shape.AutoShapeType() == host::msoShapeChevron);
}

bool isBlockArrow(const host::Shape& shape) {
    const int kind = shape.AutoShapeType();
    return shape.Type() == host::msoAutoShape &&
           ((kind >= host::msoShapeRightArrow && kind <= host::msoShapeUpDownArrow) ||
            kind == host::msoShapeStripedRightArrow || kind == host::msoShapeNotchedRightArrow);
}

// AutoShapes, placeholders and text boxes carry text the text tools can work on.
bool isTextKind(const host::Shape& shape) {
    const int type = shape.Type();
    return type == host::msoAutoShape || type == host::msoPlaceholder || type == host::msoTextBox;
}

}  // namespace

pptEvents::~pptEvents() { setPowerPointApp(nullptr); }

void pptEvents::setPowerPointApp(host::Application* app) {
    if (pptApp_ == app) return;
    if (pptApp_) pptApp_->unadvise(this);
    pptApp_ = app;
    if (pptApp_) pptApp_->advise(this);
}

host::Application& pptEvents::app() const {
    if (!pptApp_) raiseObjectNotSet();
    return *pptApp_;
}

void pptEvents::checkSelection() {
    slideNumber = 0;
    shapeNumber = 0;
    shapes90degrees = shapesSameOrientation = shapesBlockArrows = false;
    shapesProcessArrows = shapesRoundedRectangles = shapesText = false;
    trap("pptEvents, checkSelection", [&] {
        if (app().Windows().Count() == 0) return;
        host::Selection& selection = app().ActiveWindow()->Selection();
        // A selection without slides or shapes simply leaves the count at 0.
        ignoreErrors([&] { slideNumber = selection.SlideRange().Count(); });
        ignoreErrors([&] { shapeNumber = selection.ShapeRange().Count(); });
        if (shapeNumber <= 0) return;

        shapes90degrees = shapesSameOrientation = shapesBlockArrows = true;
        shapesProcessArrows = shapesRoundedRectangles = shapesText = true;
        const host::ShapeRange range = selection.ShapeRange();
        double firstRotation = 0;
        int firstHFlip = 0, firstVFlip = 0;
        for (int i = 1; i <= range.Count(); ++i) {
            host::Shape& shape = *range.Item(i);
            if (!roundsToRightAngle(shape)) shapes90degrees = false;
            const double rotation = normalizeRotation(shape);
            if (i == 1) {
                firstRotation = rotation;
                firstHFlip = shape.HorizontalFlip();
                firstVFlip = shape.VerticalFlip();
            } else if (rotation != firstRotation || shape.HorizontalFlip() != firstHFlip ||
                       shape.VerticalFlip() != firstVFlip) {
                shapesSameOrientation = false;
            }
            if (!isBlockArrow(shape)) shapesBlockArrows = false;
            if (!isProcessArrow(shape)) shapesProcessArrows = false;
            if (shape.Type() != host::msoAutoShape || shape.AutoShapeType() != host::msoShapeRoundedRectangle)
                shapesRoundedRectangles = false;
            if (!isTextKind(shape) || shape.HasTable() != host::msoFalse) shapesText = false;
        }
    });
}

pptEvents::RotationRecord pptEvents::check90degr(const host::ShapeRange& range) {
    RotationRecord record;
    const int n = range.Count();
    double firstRotation = 0;
    for (int i = 1; i <= n; ++i) {
        host::Shape& shape = *range.Item(i);
        const bool rightAngled = roundsToRightAngle(shape);
        if (i < n && !rightAngled) record.othersRightAngled = false;
        if (i == n && !rightAngled) record.lastRightAngled = false;
        const double rotation = normalizeRotation(shape);
        if (i == 1) firstRotation = rotation;
        else if (rotation != firstRotation) record.sameRotation = false;
        if (!isProcessArrow(shape)) record.processArrows = false;
    }
    return record;
}

void pptEvents::WindowSelectionChange(host::Selection& selection) {
    trap("pptEvents, pptApp_WindowSelectionChange", [&] {
        checkSelection();
        // Hosts without command bars get the ribbon (later versions too): the host asks
        // the get-callbacks again.
        if (!isHostVersion(kCommandBarHosts)) {
            if (state().ribbon) state().ribbon->Invalidate();
            return;
        }
        enableForSelection(selection);
    });
}

int pptEvents::paneViewOf(host::Selection& selection) {
    host::DocumentWindow* window = selection.Parent();
    return (window ? *window : *app().ActiveWindow()).ActivePane().ViewType();
}

void pptEvents::enableForSelection(host::Selection& selection) {
    bool slides = false, alignAngles = false, autoShapeText = false, pentagonHeader = false;
    bool processChain = false, switchObjects = false, shape = false, twoOrMore = false, twoOrMore90 = false;
    bool textStateDue = false;
    const int type = selection.Type();
    switch (paneViewOf(selection)) {
        case host::ppViewOutline:
        case host::ppViewSlideSorter:
        case host::ppViewThumbnails: slides = type == host::ppSelectionSlides; break;
        case host::ppViewSlide:
        case host::ppViewSlideMaster:
        case host::ppViewHandoutMaster:
        case host::ppViewNotesMaster:
        case host::ppViewTitleMaster:  // the editing views
            textStateDue = true;
            if (type == host::ppSelectionShapes) {
                const host::ShapeRange range = selection.ShapeRange();
                const int n = range.Count();
                const RotationRecord record = check90degr(range);
                shape = n > 0;
                switchObjects = pentagonHeader = n == 2;
                if (n >= 2) {
                    twoOrMore = true;
                    twoOrMore90 = record.othersRightAngled;
                    alignAngles = record.processArrows;
                    processChain = record.processArrows && record.sameRotation && record.othersRightAngled &&
                                   record.lastRightAngled;
                }
                autoShapeText = true;
                for (const auto& s : range.all())
                    if (!isTextKind(*s)) autoShapeText = false;
            } else if (type == host::ppSelectionText) {
                const host::ShapeRange range = selection.ShapeRange();
                shape = true;
                autoShapeText = !(range.Type() == host::msoGroup || range.HasTable() != host::msoFalse);
            }
            break;
        default: break;
    }
    toggleSlides(slides);
    toggleAlignAngles(alignAngles);
    if (textStateDue) toggleAutoShapeTextState(selection);
    toggleAutoShapeText(autoShapeText);
    togglePentagonHeader(pentagonHeader);
    toggleProcessChain(processChain);
    toggleSwitchObjects(switchObjects);
    toggleShape(shape);
    toggleTwoOrMoreShapes(twoOrMore);
    toggleTwoOrMoreShapes90degr(twoOrMore90);
    toggleWindow(true);  // a selection lives in a window
}

void pptEvents::toggleOff() {
    trap("pptEvents, toggleOff", [&] {
        toggleAlignAngles(false);
        toggleAutoShapeText(false);
        togglePentagonHeader(false);
        toggleProcessChain(false);
        toggleSlides(false);
        toggleSwitchObjects(false);
        toggleShape(false);
        toggleTwoOrMoreShapes(false);
        toggleTwoOrMoreShapes90degr(false);
        // After help mode, which enables everything, the presentation entries need their
        // own state back too.
        togglePresentation(app().Presentations().Count() > 0);
        toggleWindow(app().Windows().Count() > 0);
    });
}

void pptEvents::toggle() {
    ignoreErrors([&] {
        if (app().Windows().Count() == 0) {
            toggleOff();
            return;
        }
        WindowSelectionChange(app().ActiveWindow()->Selection());
        togglePresentation(app().Presentations().Count() > 0);
        toggleWindow(app().Windows().Count() > 0);
    });
}

}  // namespace plorin
