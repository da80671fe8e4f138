// The My Elements commands: adding the selected shapes as a new element through the dialog
// "Add to My Elements", and opening the manager.
#include "addin/named_commands.h"
#include "core/config.h"
#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "core/windowless_presentation.h"
#include "host/host.h"
#include "libraries/my_elements.h"
#include "libraries/my_elements_add.h"
#include "libraries/my_elements_manager.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

constexpr const char* kAddLocation = "SlideWizard, addMyElements";
// The slide layout of a library slide: blank.
constexpr int kBlankLayout = 12;

}  // namespace

void addMyElements() {
    WindowlessPresentation library;
    myElementsAdd dialog;
    try {
        host::Application& app = hostApplication();
        if (app.Windows().Count() == 0) return;
        host::Selection& selection = app.ActiveWindow()->Selection();
        if (selection.Type() != host::ppSelectionShapes) {
            platform::MsgBox(
                "If you would like to add an element to 'My Elements', please select one or more shapes first.",
                platform::vbInformation, kProductName);
            return;
        }
        SharedState& s = state();
        if (!haveMyElementsIndex()) {
            platform::MsgBox(corruptedDatabaseMessage(), platform::vbCritical, kProductName);
            return;
        }
        selection.ShapeRange().Copy();
        openMyElementsLibrary(app, library);

        dialog.Show(true);
        if (!dialog.okPressed) {
            dialog.Unload();
            return;  // a library made just now stays, empty
        }
        const std::shared_ptr<host::Slide> slide = library->Slides().Add(library->Slides().Count() + 1, kBlankLayout);
        slide->Shapes().Paste();
        const long slideId = slide->SlideID();
        library->Save();
        library.close();

        if (!s.myElementsDocument) {
            platform::MsgBox(
                "An unexpected error occurred adding to the 'My Elements' collection.\r\nPlease contact us at " +
                    supportEmail(),
                platform::vbCritical, kProductName);
        } else {
            const int chosen = dialog.groupList.ListIndex();
            const std::string group =
                chosen >= 0 ? dialog.groupList.items[static_cast<std::size_t>(chosen)] : std::string();
            platform::DomNode node = findGroup(*s.myElementsDocument, group);
            if (!node) raiseObjectNotSet("no group " + group);
            platform::DomNode element = appendElement(*s.myElementsDocument, node, dialog.elemName.Text(), slideId);
            try {
                saveMyElementsIndex();
            } catch (...) {
                node.removeChild(element);  // the menus show what the file holds
                throw;
            }
        }
        dialog.Unload();
        refreshMyElementsMenu();
    } catch (...) {
        const ErrorInfo error = currentError();
        library.close();
        ignoreErrors([&] { dialog.Unload(); });
        if (error.Number == host::PP_E_INVALIDREQUEST)
            platform::MsgBox("Placeholders can not be added to 'My Elements'.", platform::vbInformation, kProductName);
        else reportError(kAddLocation, &error);
    }
}

void manageMyElements() {
    trap("SlideWizard, manageMyElements", [] {
        haveMyElementsIndex();  // the dialog tells the user about a damaged one
        myElementsManager dialog;
        dialog.Show(true);
        dialog.Unload();
    });
}

const std::vector<LibraryProcedure> kMyElementsProcedures = {
    {"addMyElements", &addMyElements},
    {"manageMyElements", &manageMyElements},
};

}  // namespace plorin
