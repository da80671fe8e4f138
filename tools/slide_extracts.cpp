// Selected slides as a presentation of their own: saved under a name the user picks, or
// e-mailed through the mail program plorinpost; and the folder of the active presentation.
#include <algorithm>
#include <filesystem>

#include "core/errors.h"
#include "core/folders.h"
#include "core/host_version.h"
#include "core/open_url.h"
#include "core/product_name.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "core/windowless_presentation.h"
#include "host/host.h"
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"
#include "tools/email_input.h"

namespace plorin {

namespace {

// Sets the event sink's `extracting` for the lifetime of the guard.
class ExtractingFlag {
public:
    ExtractingFlag() { set(true); }
    ~ExtractingFlag() { set(false); }
    ExtractingFlag(const ExtractingFlag&) = delete;
    ExtractingFlag& operator=(const ExtractingFlag&) = delete;

private:
    static void set(bool on) { state().extracting = on; }
};

// A new, empty file named for an extract: the time to the second, and a counter when an
// extract of the same second exists. Reserving the name keeps two extracts apart.
std::string reserveExtractName(const std::string& folder, const std::string& extension) {
    const std::string stem = folder + "plorin" + platform::localNowText("%Y%m%d%H%M%S");
    for (int n = 1; n < 1000; ++n) {
        std::string path = stem + (n == 1 ? "" : "-" + std::to_string(n)) + extension;
        if (platform::createNewFile(path)) return path;
    }
    raiseError(errPathFileAccess, "Path/File access error: no new extract can be made in " + folder);
}

std::string normalPath(const std::string& path) {
    std::error_code ec;
    auto full = std::filesystem::weakly_canonical(path, ec);
    return ec ? std::filesystem::path(path).lexically_normal().string() : full.string();
}

// The open presentation whose file is `path`, or nullptr.
std::shared_ptr<host::Presentation> openPresentationAt(host::Application& app, const std::string& path) {
    const std::string wanted = normalPath(path);
    for (const auto& p : app.Presentations().all())
        if (!p->Path().empty() && normalPath(p->FullName()) == wanted) return p;
    return nullptr;
}

}  // namespace

std::string EfficiencyTools::getExtension() {
    return reportedAs("EfficiencyTools, getExtension",
                      [] { return std::string(isHostVersion(kCommandBarHosts) ? ".ppt" : ".pptx"); });
}

std::string EfficiencyTools::extractSelectedSlides() {
    return reportedAs("EfficiencyTools, emailSelectedSlides", [&] {
        ExtractingFlag extracting;
        host::Application& app = hostApplication();
        auto window = app.ActiveWindow();
        std::vector<long> ids;
        const host::SlideRange selected = window->Selection().SlideRange();
        for (const auto& slide : selected.all()) ids.push_back(slide->SlideID());

        // Only the user may enter the extract folder: its names are predictable.
        const std::string folder = platform::privateFolderIn(getTmpPath(), "plorin");
        if (folder.empty())
            raiseError(errPathFileAccess, "Path/File access error: no private folder in " + getTmpPath());
        const std::string path = reserveExtractName(folder, getExtension());
        // Listed before it is written: the shut-down then removes a half-written one too.
        setRegistry("slideExtracts", getRegistry("slideExtracts", "", "") + path + ";", "");
        window->Presentation().SaveCopyAs(path);

        WindowlessPresentation copy;
        copy.open(app, path);
        auto& slides = copy->Slides();
        for (int i = slides.Count(); i >= 1; --i) {
            auto slide = slides.Item(i);
            if (std::find(ids.begin(), ids.end(), slide->SlideID()) == ids.end()) slide->Delete();
        }
        copy->Save();
        copy.close();
        return path;
    });
}

void EfficiencyTools::saveSelectedSlides() {
    trap("EfficiencyTools, saveSelectedSlides", [&] {
        const std::string tmp = extractSelectedSlides();
        host::Application& app = hostApplication();
        std::string initial = app.ActiveWindow()->Presentation().Path();
        if (!initial.empty()) initial += "/";
        auto dialog = app.FileDialog(host::msoFileDialogSaveAs);
        dialog->InitialView = 2;
        dialog->InitialFileName = initial;
        dialog->FilterIndex = 1;
        dialog->Title = "Save selected slides as new presentation";
        if (dialog->Show() != -1) return;  // the extract stays for the clean-up at shut-down
        const std::string target = dialog->SelectedItems().at(0);
        // Nothing here would stop the copy from replacing the file under an open presentation.
        if (auto open = openPresentationAt(app, target)) {
            platform::MsgBox("The presentation " + open->Name() +
                                 " is open.\r\n"
                                 "Please close it first or choose another file name.",
                             platform::vbCritical, kProductName);
            return;
        }
        if (!platform::fileSystem().copyFile(tmp, target, true))
            raiseError(errPathFileAccess, "Path/File access error: " + target);
        app.Presentations().Open(target, false, false, true);
    });
}

void EfficiencyTools::emailSelectedSlides() {
    trap("EfficiencyTools, emailSelectedSlides", [&] {
        const std::string ext = getExtension();
        std::string name = hostApplication().ActiveWindow()->Presentation().Name();
        if (auto dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
        if (auto slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);

        emailSelectedSlidesInput dialog;
        dialog.cancelled = false;
        dialog.confirmed = false;
        dialog.tbFileName.setText(name + "_extract_" + platform::localNowText("%Y-%m-%d_%H-%M-%S") + ext);
        dialog.extension = ext;
        dialog.Show(true);
        // Only OK sends: a dialog closed with its close box is no OK, whatever its name reads.
        const bool accepted = dialog.confirmed && !dialog.cancelled;
        const std::string fileName = dialog.tbFileName.Text();
        dialog.Unload();
        if (!accepted) return;
        const std::string tmp = extractSelectedSlides();

        const std::string program = state().layout.program + "plorinpost";
        if (!platform::fileSystem().fileExists(program)) raiseError(errFileNotFound, "File not found: " + program);
        // The mail program inherits the hold and keeps it until it has ended: the shut-down
        // leaves the extract alone until then.
        platform::FileHold handOver(tmp);
        if (!platform::shell().startProcess(program, {fileName, fileName, tmp}))
            raiseError(errPathFileAccess, "The mail program could not be started: " + program);
    });
}

void EfficiencyTools::openContainingFolder() {
    trap("EfficiencyTools, openContainingFolder", [&] {
        auto presentation = hostApplication().ActivePresentation();
        if (presentation->Path().empty()) {
            platform::MsgBox("The active presentation has not been saved yet.\r\nPlease save the presentation first.",
                             platform::vbCritical, kProductName);
            return;
        }
        // The desktop has no common way to select a file in its folder: the folder opens.
        openURL(presentation->Path() + "/");
    });
}

using E = EfficiencyTools;
const std::vector<EfficiencyTools::MethodEntry> kSlideExtractMethods = {
    {"openContainingFolder", &E::openContainingFolder, nullptr},
    {"saveSelectedSlides", &E::saveSelectedSlides, nullptr},
    {"emailSelectedSlides", &E::emailSelectedSlides, nullptr},
};

}  // namespace plorin
