// Inserting library elements from the ribbon's galleries and the command bars' buttons. The
// source presentation is opened without a window and closed on every path, also when a
// ribbon callback fails midway (an item or slide that is not there).
#include "libraries/library_insert.h"

#include "core/config.h"
#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "core/undo_fix.h"
#include "core/usage_counters.h"
#include "host/host.h"
#include "libraries/library_menus.h"
#include "libraries/menu_file.h"
#include "libraries/my_elements.h"
#include "libraries/thumbnails.h"
#include "platform/services.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

void tell(const std::string& text, int icon) { platform::MsgBox(text, icon, kProductName); }

}  // namespace

bool readyToInsert(host::Application& app, InsertWording wording) {
    const std::string action = wording == InsertWording::adding ? "adding" : "inserting";
    if (app.Windows().Count() == 0) {
        tell("There is no active presentation.\r\nPlease open a presentation or create a new presentation before " +
                 action + " elements.",
             platform::vbCritical);
        return false;
    }
    if (app.ActivePresentation()->Slides().Count() == 0) {
        tell("The active presentation does not contain any slides.\r\nPlease add a slide before " + action +
                 " elements.",
             platform::vbCritical);
        return false;
    }
    const auto window = app.ActiveWindow();
    switch (window->ActivePane().ViewType()) {
        case host::ppViewSlide:
        case host::ppViewSlideMaster:
        case host::ppViewTitleMaster: return true;
        case host::ppViewOutline:
        case host::ppViewThumbnails:
        case host::ppViewMasterThumbnails:
            // The slide pane of the same view takes the shapes.
            window->Panes().Item(2).Activate();
            return true;
        default: tell("Please go to normal view.", platform::vbInformation); return false;
    }
}

void insertShapesOf(host::Application& app, const host::Slide& slide) {
    host::ShapeRange(slide.Shapes().all()).Copy();
    app.ActiveWindow()->View().Paste();
}

void slideWizard_onAction(const host::IRibbonControl& control, const std::string&, int selectedIndex) {
    host::Application& app = hostApplication();
    if (!readyToInsert(app, InsertWording::adding)) return;
    SharedState& s = state();
    // A style unknown to this installation (a tag from elsewhere) has no templates either.
    if (s.currentStyle.empty() || stylePosition(s.currentStyle) == 0) {
        tell("Please select a style first.", platform::vbInformation);
        return;
    }
    if (!s.menuDocument) {
        tell("An unexpected error occrred inserting elements from the 'Slide Wizard'.\r\nPlease contact us at " +
                 supportEmail() + " if the problem persists.",
             platform::vbCritical);
        return;
    }
    const platform::DomNode item = itemAt(slideWizardItems(*s.menuDocument, control.Tag), selectedIndex);
    raiseUsageCounter("statsSlideWizard");
    runUndoFix();
    const std::string file = requiredAttribute(item, "file");
    const std::string path = styleFolderPath(s.currentStyle) + file;
    if (!staysInside(file) || !platform::fileSystem().fileExists(path)) {
        tell("The template file '" + path +
                 "' could not be found.\r\nPlease check your installation and contact us at " + supportEmail() +
                 " if the problem persists.",
             platform::vbCritical);
        return;
    }
    WindowlessPresentation source;
    source.open(app, path);
    insertShapesOf(app, *source->Slides().Item(toInteger16(requiredAttribute(item, "slideNo"))));
}

void myElements_onAction(const host::IRibbonControl& control, const std::string&, int selectedIndex) {
    host::Application& app = hostApplication();
    if (!readyToInsert(app, InsertWording::inserting)) return;
    const platform::DomDocument* index = state().myElementsDocument.get();
    if (!index) {
        tell("An unexpected error occurred inserting your elements.\r\nPlease contact us at " + supportEmail() +
                 " if the problem persists.",
             platform::vbCritical);
        return;
    }
    const platform::DomNode element = itemAt(elementsOfGroup(*index, control.Tag), selectedIndex);
    raiseUsageCounter("statsMyElements");
    runUndoFix();
    WindowlessPresentation library;
    library.open(app, getMyElementsFile());
    insertShapesOf(app, *library->Slides().FindBySlideID(toInteger32(requiredAttribute(element, "slideID"))));
}

void conjure(const host::CommandBarControl& control, const std::string& styleFolder, bool isMyElement) {
    std::string path;
    WindowlessPresentation source;
    try {
        host::Application& app = hostApplication();
        if (!readyToInsert(app, InsertWording::adding)) return;
        const std::string& parameter = control.Parameter();
        std::shared_ptr<host::Slide> slide;
        if (isMyElement) {
            // The command bars exist on hosts whose library is always the ".ppt" file.
            path = state().layout.myElements + "myelements.ppt";
            source.open(app, path);
            slide = source->Slides().FindBySlideID(toInteger32(parameter));
        } else {
            const auto comma = parameter.rfind(',');
            if (comma == std::string::npos) raiseError(errSubscriptOutOfRange, "Subscript out of range");
            const std::string file = parameter.substr(0, comma);
            path = state().layout.styles + styleFolder + "/" + file;
            if (!staysInside(file) || !staysInside(styleFolder))
                raiseError(host::E_FAIL, "Not a template of the style");
            const std::int16_t slideNo = toInteger16(parameter.substr(comma + 1));
            source.open(app, path);
            slide = source->Slides().Item(slideNo);
        }
        insertShapesOf(app, *slide);
        source.close();
    } catch (...) {
        const ErrorInfo error = currentError();
        source.close();
        if (error.Number == host::E_FAIL) tell("Template '" + path + "' could not be opened.", platform::vbCritical);
        else reportError("SlideWizard, conjure", &error);
    }
}

}  // namespace plorin
