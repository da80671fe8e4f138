// The presentation add-in object that the host creates by its ProgID "plorin.Connect":
// start-up and shut-down of everything the add-in keeps while it is loaded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/ribbon.h"
#include "libraries/thumbnails.h"

namespace plorin {

constexpr const char* kProgId = "plorin.Connect";

class Connect : public host::AddIn, public host::IRibbonExtensibility {
public:
    // The galleries' thumbnail state starts afresh with each add-in object.
    Connect() { galleryThumbnails() = {}; }
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    void OnConnection(host::HostObject& application, int connectMode, host::COMAddIn* addInInst) override;
    void OnDisconnection(int removeMode) override;
    void OnAddInsUpdate() override;
    void OnStartupComplete() override;
    void OnBeginShutdown() override;

    // Deletes the temporary slide extracts listed in the setting "slideExtracts".
    void killSlideExtracts();

    // ---- Ribbon (addin/ribbon_front_end.cpp; callbacks by name: addin/ribbon_callbacks.h) ---
    host::IRibbonExtensibility* ribbon() override { return this; }
    // The ui folder's "plorinUI.xml" as it stands, for every kind of window; raises error 53
    // when it cannot be read.
    std::string GetCustomUI(const std::string& ribbonId) override;
    bool hasCallback(const std::string& name) const override;
    // Raises error 438 for an unknown name; otherwise whatever the callback raises.
    host::RibbonValue invokeCallback(const std::string& name, const host::IRibbonControl& control,
                                     const std::vector<host::RibbonValue>& args) override;

    // The callbacks, by the names the ribbon definition binds. Control numbers come from the
    // ids ("vn_" and a number); an id whose number part is not a 16-bit number fails the
    // callback. No callback traps errors: the host gets the failure and shows nothing.
    // Reads the thumbnail settings, keeps the ribbon object for invalidating, and loads the menu
    // file, the copyright list and the My Elements index (libraries/styles.cpp), telling
    // the user when one of them is missing or damaged.
    void onLoad(host::IRibbonUI* ribbon);
    // Runs the undo fix, raises the control's usage counter, runs its command (if built).
    void onAction(const host::IRibbonControl& control);
    // The two toggle buttons: fit shape to text (1085) and wrap text (1086) of the selection.
    void onActionTB(const host::IRibbonControl& control, bool pressed);
    // An item of the copyright menu: inserts the notice numbered by the control's tag.
    void copyright_onAction(const host::IRibbonControl& control);
    // The language buttons' icons; every other control's picture file in the ui folder
    // (error 481 when it cannot be loaded).
    host::RibbonPicture getImage(const host::IRibbonControl& control);
    bool getVisible(const host::IRibbonControl& control);
    // The language buttons' language names; the empty text for every other control.
    std::string getLabel(const host::IRibbonControl& control);
    // The toggle buttons' state from the selection; False on any failure.
    bool getPressed(const host::IRibbonControl& control);
    // From the event sink's selection state.
    bool getEnabled(const host::IRibbonControl& control);

    // The style drop-down (libraries/styles.cpp): item 0 is "[No style selected]", item k
    // style k of the menu file. No items without a menu document. Choosing needs a document
    // window (the style goes into the active presentation's tag); without one nothing changes
    // and the drop-down is redrawn. The selected item is 0 without a window or a menu
    // document; else the current style's, falling back to (and choosing) the first style.
    std::int16_t style_getItemCount(const host::IRibbonControl& control);
    std::string style_getItemLabel(const host::IRibbonControl& control,
                                   int index);  // errSubscriptOutOfRange past the end
    void style_onAction(const host::IRibbonControl& control, const std::string& selectedId, int selectedIndex);
    std::int16_t style_getSelectedItemIndex(const host::IRibbonControl& control);

    // The library menus (libraries/library_menus.cpp): the content of the Slide Wizard, copyright
    // and My Elements menus as ribbon XML. The Slide Wizard's builds its thumbnails first
    // while they are not built yet; the My Elements one brings its thumbnails up to date on
    // every opening and is the empty text without an index.
    std::string slideWizard_getContent(const host::IRibbonControl& control);
    std::string copyright_getContent(const host::IRibbonControl& control);
    std::string myElements_getContent(const host::IRibbonControl& control);
    // The galleries' items, found by the gallery's tag (Slide Wizard: "menu\submenu", My
    // Elements: the group's name) and the 0-based index. Counts are 0 and labels and images
    // nothing without the document behind them; an index past the end fails the callback; an
    // item without a thumbnail file has no picture.
    std::int16_t slideWizard_getItemCount(const host::IRibbonControl& control);
    std::int16_t myElements_getItemCount(const host::IRibbonControl& control);
    std::string slideWizard_getItemLabel(const host::IRibbonControl& control, int index);
    std::string myElements_getItemLabel(const host::IRibbonControl& control, int index);
    host::RibbonPicture slideWizard_getItemImage(const host::IRibbonControl& control, int index);
    host::RibbonPicture myElements_getItemImage(const host::IRibbonControl& control, int index);
    // Choosing a gallery item (libraries/library_insert.cpp) inserts the shapes of its library slide
    // onto the slide shown in the active window, after the checks of libraries/library_insert.h,
    // and raises the library's usage counter. Tells the user what stops it; other failures
    // (an item or slide that is not there) end the callback with the source closed.
    void slideWizard_onAction(const host::IRibbonControl& control, const std::string& selectedId, int selectedIndex);
    void myElements_onAction(const host::IRibbonControl& control, const std::string& selectedId, int selectedIndex);

    // The thumbnail size and build dates read by onLoad.
    const ThumbnailSettings& thumbnailSettings() const;

private:
    void startUp();
};

}  // namespace plorin
