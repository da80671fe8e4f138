// Copyright notices on the masters: old notices (tagged, or listed in "copyright_remove.txt")
// go, and notice n from the current style's templates goes onto every slide master, and on
// hosts 9.0 to 11.0 onto every title master.
#include <optional>

#include "core/config.h"
#include "core/errors.h"
#include "core/host_version.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "core/style_files.h"
#include "core/windowless_presentation.h"
#include "host/host.h"
#include "host/text.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"

namespace plorin {

namespace {

constexpr const char* kCopyrightTag = "plorin_copyright";

void message(const std::string& text, int icon) { platform::MsgBox(text, icon, kProductName); }

// The entries of the removal list, trimmed, in file order; none without the file. Nothing
// when the list is in an encoding it refused: the user has been told, once.
std::optional<std::vector<std::string>> removalList() {
    std::vector<std::string> entries;
    const std::string path = state().layout.customization + "copyright_remove.txt";
    if (!platform::fileSystem().fileExists(path)) return entries;
    bool refused = false;
    const auto text = readListFile(path, &refused);
    if (refused) return std::nullopt;
    if (!text) raiseError(errPathFileAccess, "Path/File access error: " + path);
    for (auto& entry : parseCopyrightList(*text)) entries.push_back(std::move(entry.text));
    return entries;
}

bool isOldNotice(host::Shape& shape, const std::vector<std::string>& removals) {
    if (shape.Tags().Item(kCopyrightTag) == "1") return true;
    // Only shapes that can hold text are asked for it: a picture has no text to compare.
    std::optional<std::string> text;
    if (shape.HasTextFrame() == host::msoTrue && shape.TextFrame().HasText() == host::msoTrue)
        text = std::string(platform::trimmed(shape.TextFrame().TextRange().Text()));
    for (const auto& entry : removals)
        if ((text && *text == entry) || shape.Name() == entry) return true;
    return false;
}

// Removes the old notices from a master, last shape first, then pastes the new one.
void renewNotice(host::Slide& master, const std::vector<std::string>& removals, bool paste) {
    for (int i = master.Shapes().Count(); i >= 1; --i) {
        auto shape = master.Shapes().Item(i);
        if (isOldNotice(*shape, removals)) shape->Delete();
    }
    if (paste) master.Shapes().Paste();
}

// The template of that file in the current style's folder; a missing one tells the user and
// gives "".
std::string templatePath(const std::string& file) {
    std::string folder = styleFolderPath(state().currentStyle);
    if (folder.empty()) folder = state().layout.styles;
    const std::string path = folder + file;
    if (platform::fileSystem().fileExists(path)) return path;
    message("The template file '" + path +
                "' could not be found.\r\nPlease check your installation and contact us at " + supportEmail() +
                " if the problem persists.",
            platform::vbCritical);
    return {};
}

// Opens the template (read-only: it is never saved), tags and copies notice n's shapes.
// False when the notice's slide has no shapes. The template is closed when `held` goes.
bool copyNotice(WindowlessPresentation& held, const std::string& path, int n) {
    host::Application& app = hostApplication();
    host::Presentation& notices = held.hold(app.Presentations().Open(path, true, false, false));
    auto slide = notices.Slides().Item(n);
    if (slide->Shapes().Count() == 0) return false;
    const host::ShapeRange shapes(slide->Shapes().all());
    for (const auto& shape : shapes.all()) shape->Tags().Add(kCopyrightTag, "1");
    shapes.Copy();
    return true;
}

}  // namespace

void EfficiencyTools::insertCopyright(std::int16_t n) {
    trap("EfficiencyTools, insertCopyright", [&] {
        host::Application& app = hostApplication();
        if (state().currentStyle.empty()) {
            message("Please select a style first.", platform::vbInformation);
            return;
        }
        if (app.Windows().Count() == 0) {
            message(
                "There is no active presentation.\r\nPlease open a presentation or create a new presentation "
                "before inserting a copyright notice.",
                platform::vbCritical);
            return;
        }
        auto window = app.ActiveWindow();
        host::Presentation& presentation = window->Presentation();
        if (presentation.Slides().Count() == 0) {
            message(
                "The active presentation does not contain any slides.\r\nPlease add a slide before inserting "
                "a copyright notice.",
                platform::vbCritical);
            return;
        }
        const int view = window->ActivePane().ViewType();
        if (view == host::ppViewOutline || view == host::ppViewThumbnails || view == host::ppViewMasterThumbnails) {
            window->Panes().Item(2).Activate();
        } else if (view != host::ppViewSlide && view != host::ppViewSlideMaster && view != host::ppViewTitleMaster) {
            message("Please go to normal view.", platform::vbInformation);
            return;
        }

        const std::optional<std::vector<std::string>> listed = removalList();
        if (!listed) return;
        const std::vector<std::string>& removals = *listed;
        {
            const std::string path = templatePath("copyright_slide.ppt");
            if (path.empty()) return;
            WindowlessPresentation notices;
            const bool paste = copyNotice(notices, path, n);
            for (const auto& design : presentation.Designs().all())
                renewNotice(*design->SlideMaster(), removals, paste);
        }
        if (!isHostVersion(kCommandBarHosts)) return;

        const std::string path = templatePath("copyright_title.ppt");
        if (path.empty()) return;
        WindowlessPresentation notices;
        const bool paste = copyNotice(notices, path, n);
        for (const auto& design : presentation.Designs().all())
            if (design->HasTitleMaster() == host::msoTrue) renewNotice(*design->TitleMaster(), removals, paste);
    });
}

void EfficiencyTools::insertCopyrightNumbered(const std::string& n) { insertCopyright(toInteger16(n)); }

using E = EfficiencyTools;
const std::vector<EfficiencyTools::MethodEntry> kPresentationMethods = {
    {"insertCopyright", nullptr, &E::insertCopyrightNumbered},
    {"hideShapes", &E::hideShapes, nullptr},
    {"unhideShapes", &E::unhideShapes, nullptr},
    {"setBlackWhiteMode", &E::setBlackWhiteMode, nullptr},
};

}  // namespace plorin
