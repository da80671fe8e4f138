#include "updater/update_main.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "core/config.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/registry.h"
#include "core/version.h"
#include "core/web_post.h"
#include "platform/ui_driver.h"
#include "updater/dates.h"
#include "updater/error_box.h"
#include "updater/update_dialogs.h"
#include "updater/versions.h"

namespace plorinrenew {
namespace {

// Read as the default when a setting is missing; no setting ever holds it.
constexpr const char* kMissing = "\x01";

std::string unexpectedError(int code) {
    return "An unexpected error occurred checking for updates (" + std::to_string(code) +
           "). Please try again and contact us at " + plorin::supportEmail() + " if the problem persists.";
}

std::string megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1024 / 1024);
    return text;
}

// Keeps a flag set for a scope.
struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
};

}  // namespace

std::string Main::builtProgramVersion() { return plorin::versionText() + ".0"; }

void Main::process() {
    AddInState& state = addInState();
    if (state.running) return;  // one run at a time
    Running running(state.running);
    *this = Main{};
    application_ = state.application;
    plorin::trap("Main, process", [&] {
        if (state.manualCheck) {
            if (!autoUpdateEnabled()) {
                showMessage(0);
                return;
            }
            showMessage(1);
            switch (checkForUpdate()) {
                case 0: showMessage(2); break;
                case 2: showMessage(3); break;
                case 3: showMessage(4); break;
                case 4: showMessage(5); break;
                case 5: showMessage(6); break;
                case 1:
                    if (!newVersionAvailable()) showMessage(7);
                    else if (askUser()) downloadAndInstall();
                    break;
                default: break;
            }
            return;
        }
        // Automatic: silent until the user has been asked, and no request after a failed step.
        if (remindLater() || !autoUpdateEnabled() || checkForUpdate() != 1 || !newVersionAvailable() || !askUser())
            return;
        downloadAndInstall();
    });
    deleteTemp();
    application_ = nullptr;
}

void Main::downloadAndInstall() {
    if (!downloadUpdate()) {
        showMessage(!unwritable.empty() ? 14 : unverifiable ? 12 : downloadCancelled ? 9 : 8);
        return;
    }
    const bool installed = installUpdate();
    showMessage(installed ? 11 : rolledBack ? 13 : 10);
}

bool Main::remindLater() {
    bool later = false;
    plorin::trap("Main, remindLater", [&] {
        const std::string reminder = plorin::getRegistry("autoUpdateReminder", "", "0");
        double serial = 0;
        try {
            serial = plorin::toNumber(reminder);
        } catch (...) {
            serial = 0;  // not a date: no reminder holds the run back
        }
        later = std::isfinite(serial) && nowSerial() < serial;
    });
    return later;
}

bool Main::autoUpdateEnabled() {
    bool enabled = false;
    plorin::trap("Main, autoUpdateEnabled", [&] {
        programEnabled = plorin::toInteger16(plorin::getRegistry("autoUpdateProgram", "", "1"));
        customizationEnabled = plorin::toInteger16(plorin::getRegistry("autoUpdateCustomization", "", "1"));
        if (customizationEnabled == 1) programEnabled = 1;
        if (programEnabled != 1) customizationEnabled = 0;
        enabled = programEnabled != 0;
    });
    return enabled;
}

int Main::checkForUpdate() {
    int result = 0;
    plorin::trap("Main, checkForUpdate", [&] {
        plorin::PostLimits limits;
        if (!addInState().manualCheck) {
            limits.connectMs = kAutomaticWait.connectMs;
            limits.totalMs = kAutomaticWait.totalMs;
        }
        const plorin::HttpReply answer =
            plorin::HttpPostReply(plorin::webAddress() + "/autoupdate.php?action=check", "", limits);
        const std::string reply = plorin::ByteArrayToString(answer.body);
        result = classifyReply(reply);
        // An error page is no answer of the update server, whatever it says.
        if (answer.answered && answer.status != 200) result = 5;
        if (result == 1) versionReply = reply;
    });
    return result;
}

bool Main::newVersionAvailable() {
    bool available = false;
    plorin::trap("Main, newVersionAvailable", [&] {
        std::string installed = plorin::getRegistry("autoUpdateProgramVersion", "", kMissing);
        if (installed == kMissing) {
            // Never installed by an update: this add-in is the version it was built as.
            installed = builtProgramVersion();
            plorin::setRegistry("autoUpdateProgramVersion", installed, "");
        }
        installedProgramVersion = parseProgramVersion(installed) ? installed : std::string();
        const auto customization = parseWholeNumber(plorin::getRegistry("autoUpdateCustomizationVersion", "", "0"));
        installedCustomizationVersion = customization ? *customization : 0;

        const auto reply = parseVersionReply(versionReply);
        if (!reply) return;
        newProgramVersion = reply->programVersion;
        programBytes = reply->programBytes;
        newCustomizationVersion = reply->customizationVersion;
        customizationBytes = reply->customizationBytes;

        programDue = programUpdateDue(installedProgramVersion, newProgramVersion);
        downloadSize = programDue ? programBytes : 0;
        if (customizationEnabled == 1 && installedCustomizationVersion < newCustomizationVersion) {
            customizationDue = true;
            downloadSize += customizationBytes;
        }
        available = programDue || customizationDue;
        // An offer this installation could not take is not made again until a newer one.
        if (available && !addInState().manualCheck &&
            plorin::getRegistry("autoUpdateRefusedVersion", "", "") == offerKey())
            available = false;
    });
    return available;
}

std::string Main::offerKey() const {
    return (programDue ? newProgramVersion : std::string()) + ";" +
           (customizationDue ? std::to_string(newCustomizationVersion) : std::string());
}

bool Main::askUser() {
    bool agreed = false;
    plorin::trap("Main, askUser", [&] {
        const std::string status = "Approximately " + megabytes(downloadSize) + " MB will be downloaded.";
        if (addInState().manualCheck) {
            auto dialog = std::make_unique<InstallManual>();
            dialog->Load();
            dialog->lStatus.Caption = status;
            dialog->Show(true);
            agreed = dialog->update;
            dialog->Unload();
        } else {
            auto dialog = std::make_unique<Install>();
            dialog->Load();
            dialog->lStatus.Caption = status;
            dialog->Show(true);
            agreed = dialog->answered() && dialog->selectedOption() == 0;
            dialog->Unload();
        }
    });
    return agreed;
}

void Main::showMessage(int code) {
    plorin::trap("Main, showMessage", [&] {
        std::string text;
        int icon = platform::vbInformation;
        switch (code) {
            case 0:
                text =
                    "Updates have been disabled in the Varnotel settings.\r\n"
                    "Please go to 'Tools', 'Settings' to enable updates.";
                break;
            case 1:
                text =
                    "Please note:\r\nChecking for updates may take a few minutes if your Internet Explorer proxy "
                    "settings do not allow access to " +
                    plorin::webAddress() + ".";
                break;
            case 2:
                text =
                    "Connecting to the Varnotel Update server failed.\r\nPlease check your internet connection and "
                    "make sure you can access " +
                    plorin::webAddress() + " using Microsoft Internet Explorer.";
                icon = platform::vbExclamation;
                break;
            case 3:
            case 4:
            case 6:
                text = unexpectedError(code);
                icon = platform::vbCritical;
                break;
            case 5:
                text = "Currently there are no updates available for your version of Varnotel for presentations.";
                break;
            case 7: text = "Your version of Varnotel is up to date."; break;
            case 8:
                text = "There was an error downloading the update. Please try again and contact us at " +
                       plorin::supportEmail() + " if the problem persists.";
                icon = platform::vbExclamation;
                break;
            case 9:
                text =
                    "Download cancelled, no updates have been installed.\r\n"
                    "You will be prompted to download the update again after restarting PowerPoint.";
                icon = platform::vbExclamation;
                break;
            case 10:
                text = "There was an error installing the update. Please reinstall Varnotel.";
                icon = platform::vbExclamation;
                break;
            case 11: text = "The update has been installed successfully."; break;
            case 13:
                text =
                    "The new version of Varnotel for presentations could not be started, so the previous version "
                    "has been restored.\r\nPlease try again later and contact us at " +
                    plorin::supportEmail() + " if the problem persists.";
                icon = platform::vbExclamation;
                break;
            case 14:
                text = "Varnotel for presentations cannot be updated from your user account: it is installed in " +
                       unwritable +
                       ", which you may not change.\r\nAn administrator must install the update. "
                       "You will not be asked again for this version.";
                icon = platform::vbExclamation;
                break;
            case 12:
                text =
                    "The program update was not installed: the update server sent no checksums for its files, "
                    "and without them a download over an unencrypted connection (" +
                    plorin::webAddress() + ") cannot be checked.\r\nPlease contact us at " + plorin::supportEmail() +
                    ".";
                icon = platform::vbExclamation;
                break;
            default: return;
        }
        platform::MsgBox(text, icon, kMessageTitle);
    });
}

}  // namespace plorinrenew
