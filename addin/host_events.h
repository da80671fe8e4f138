// The add-in's sink for the host's application events and the keeper of the current
// selection's state, from which the commands' enabling follows. It also guards saving and
// printing: temporary folders, hidden shapes, agenda page numbers and the style tag.
#pragma once

#include <cstdint>
#include <string>

#include "addin/toggle_groups.h"
#include "host/host.h"

namespace plorin {

class pptEvents : public host::ApplicationEvents {
public:
    pptEvents() = default;
    pptEvents(const pptEvents&) = delete;
    pptEvents& operator=(const pptEvents&) = delete;
    ~pptEvents() override;

    // Public state, read by the ribbon and the tools; it follows every selection change.
    // (The slide extract's `extracting` flag lives in the shared state.)
    // Wide counts: a selection of more than 32,767 shapes must not read as a small one.
    std::int32_t shapeNumber = 0;
    std::int32_t slideNumber = 0;
    bool shapes90degrees = false;
    bool shapesSameOrientation = false;
    bool shapesBlockArrows = false;
    bool shapesProcessArrows = false;
    bool shapesRoundedRectangles = false;
    bool shapesText = false;

    // The host application; setting nullptr disconnects the event handlers.
    host::Application* PowerPointApp() const { return pptApp_; }
    void setPowerPointApp(host::Application* app);

    // Recomputes the public state from the active window's selection (all zero and false
    // when the host has no window). Reports its own failures.
    void checkSelection();
    // Disables every selection-dependent command-bar control; the presentation entries
    // follow whether a presentation is open.
    void toggleOff();
    // Brings the command-bar enabling up to date for the active window's selection (or
    // turns it all off without a window); never reports a failure.
    void toggle();

    // The host's events. Each reports its own failure and returns.
    void NewPresentation(host::Presentation& pres) override;
    void PresentationOpen(host::Presentation& pres) override;
    void PresentationClose(host::Presentation& pres) override;
    // Warns about temporary folders and hidden shapes, keeps the agenda tags in step and
    // stores the current style; `cancel` becomes true only when the user declines to save
    // hidden shapes. While a slide extract is being saved it does nothing.
    void PresentationBeforeSave(host::Presentation& pres, bool& cancel) override;
    void PresentationPrint(host::Presentation& pres) override;
    void SlideShowBegin() override;
    void SlideShowEnd() override;
    void WindowActivate(host::Presentation& pres, host::DocumentWindow& window) override;
    void WindowSelectionChange(host::Selection& selection) override;

private:
    // Rotation facts of a shape range, in the order the enabling reads them.
    struct RotationRecord {
        bool othersRightAngled = true;  // every shape but the last rounds to a multiple of 90
        bool lastRightAngled = true;    // the last (master) shape does
        bool sameRotation = true;       // every shape has the first one's normalised rotation
        bool processArrows = true;      // every shape is a pentagon or chevron AutoShape
    };
    static RotationRecord check90degr(const host::ShapeRange& range);

    // The toggle family: each switches one group of controls.
    void toggleAlignAngles(bool enabled) { applyToggle(Toggle::AlignAngles, enabled); }
    void toggleAutoShapeText(bool enabled) { applyToggle(Toggle::AutoShapeText, enabled); }
    void toggleSlides(bool enabled) { applyToggle(Toggle::Slides, enabled); }
    void togglePentagonHeader(bool enabled) { applyToggle(Toggle::PentagonHeader, enabled); }
    void togglePresentation(bool enabled) { applyToggle(Toggle::Presentation, enabled); }
    void toggleProcessChain(bool enabled) { applyToggle(Toggle::ProcessChain, enabled); }
    void toggleSwitchObjects(bool enabled) { applyToggle(Toggle::SwitchObjects, enabled); }
    void toggleShape(bool enabled) { applyToggle(Toggle::Shape, enabled); }
    void toggleTwoOrMoreShapes(bool enabled) { applyToggle(Toggle::TwoOrMoreShapes, enabled); }
    void toggleTwoOrMoreShapes90degr(bool enabled) { applyToggle(Toggle::TwoOrMoreShapes90degr, enabled); }
    void toggleWindow(bool enabled) { applyToggle(Toggle::Window, enabled); }
    void applyToggle(Toggle which, bool enabled);
    // Set Enabled of a bar's control, or of an entry of a bar's popup, found by caption;
    // nothing on hosts without command bars. A missing bar or control is reported.
    void toggleButton(const std::string& barName, const std::string& caption, bool enabled);
    void togglePopupEntry(const std::string& barName, const std::string& popupName, const std::string& caption,
                          bool enabled);
    // Shows the text frame's auto-size and word-wrap in the pressed state of the two text buttons.
    void toggleAutoShapeTextState(host::Selection& selection);

    // The command-bar half of a selection change.
    void enableForSelection(host::Selection& selection);
    // The view type of the active pane of the window whose selection it is.
    int paneViewOf(host::Selection& selection);
    // "Would you like to update the page numbers now?"; true for Yes.
    static bool askToUpdatePageNumbers();
    host::Application& app() const;

    host::Application* pptApp_ = nullptr;
    std::string lastSavedName_;  // FullName at the last save that was not cancelled
};

}  // namespace plorin
