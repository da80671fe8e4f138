// One run of the update add-in. It decides whether to look for
// updates, asks the update server which versions exist, compares them with the installed
// ones, asks the user, and then downloads and installs (updater/update_install.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "updater/update_files.h"

namespace host {
class Application;
}

namespace plorinrenew {

// What the add-in keeps while it is loaded (Part of the add-in object's module state).
struct AddInState {
    host::Application* application = nullptr;  // while connected to the presentation host
    bool manualCheck = false;                  // set by `check`, never cleared while loaded
    bool running = false;                      // a run is in progress: a second one waits for none
};
AddInState& addInState();

// How long the automatic check at start waits for the update server, in milliseconds.
struct AutomaticWait {
    long connectMs = 2000;
    long totalMs = 4000;
};
constexpr AutomaticWait kAutomaticWait{};

class Main {
public:
    // The run's own state, reset at its start.
    bool downloadCancelled = false;
    std::int16_t programEnabled = 0;
    std::int16_t customizationEnabled = 0;
    std::string installedProgramVersion;
    std::uint64_t installedCustomizationVersion = 0;
    std::string versionReply;
    std::string newProgramVersion;
    std::uint64_t newCustomizationVersion = 0;
    bool programDue = false;
    bool customizationDue = false;
    std::uint64_t programBytes = 0;
    std::uint64_t customizationBytes = 0;
    std::uint64_t downloadSize = 0;
    std::string tempFolder;     // ends with "/"; empty until the run made one
    UpdateList updateList;      // the server's list, checked
    bool unverifiable = false;  // a program update came without checksums over plain http
    bool rolledBack = false;    // the main add-in did not start on the new files: they went again
    std::string unwritable;     // the folder of the installation this user may not change
    int tempLock = -1;          // holds the run's temporary folder: no other run removes it

    // One run, manual or automatic by the add-in's manual check flag; the temporary folder
    // is removed at its end whatever happened. The host application is the one kept when
    // the run started, even when the add-in is disconnected meanwhile.
    void process();

    // True while the current date and time is before the serial in "autoUpdateReminder"
    // (a malformed value is no reminder).
    bool remindLater();
    // From "autoUpdateProgram" and "autoUpdateCustomization": customization updates bring
    // program updates with them; the result says whether program updates are enabled.
    bool autoUpdateEnabled();
    // Posts the check request; 0 to 5 as `classifyReply`. A version reply is kept. The
    // automatic check at start waits only briefly (kAutomaticWait): the host waits with it.
    int checkForUpdate();
    // Compares the kept version reply with the installed versions; sets what is due and
    // the download size. A missing installed program version is first seeded from the
    // version this add-in was built as. An automatic run does not offer again an update this
    // installation could not take ("autoUpdateRefusedVersion").
    bool newVersionAvailable();
    // The offer as "autoUpdateRefusedVersion" keeps it: program and customization version.
    std::string offerKey() const;
    // Asks the user with InstallManual (manual run) or Install (automatic run).
    bool askUser();
    // The message box of that code (0 to 14).
    void showMessage(int code);

    // Download and install (updater/update_install.cpp).
    // The list and the package into the run's temporary folder, with the progress dialog.
    // True only when both came complete, with status 200, and agree with each other: the
    // list's counts add up to the package's announced length, which is at most the download
    // size of the version reply, and to the bytes received, and every file matches the list's
    // checksum. A program update whose list has no checksums is only taken over https (else
    // `unverifiable` is set). Nothing is downloaded into an installation this user may not
    // change (`unwritable` names the folder; the offer is kept as refused). The package goes straight into the files,
    // never whole into memory. Otherwise nothing is installed.
    bool downloadUpdate();
    // Disconnects the main add-in, installs the files (updater/update_files.h), puts the main
    // add-in's connection back as it was on every path and records the versions as part of
    // finishing the install. A main add-in that was connected must connect again on the new
    // files and, when it had its ribbon, load it again; otherwise the old files are put back
    // (`rolledBack`).
    bool installUpdate();
    // A private new folder in the temporary folder ("plorin_update_" and a unique part,
    // readable only by the user, held by `tempLock` while the run lasts), or empty when none
    // can be made. Such folders that runs killed before their end left behind (held by no
    // one) go first.
    std::string createTempFolder();
    // Creates the folder and every missing parent.
    void generatePath(const std::string& path);
    // Installs the run's temporary folder into the installation's root by the list.
    bool copyFolder(const std::string& source, const std::string& destination, const InstallOptions& options = {});
    // Removes the run's temporary folder, if it made one, without following links.
    void deleteTemp();

    // The installation's root: the parent of the update add-in's folder.
    static std::string installationRoot();
    // The install record and the log, in the update add-in's folder.
    static std::string journalPath();
    static std::string logPath();

    // The installed program version written when none was ever recorded.
    static std::string builtProgramVersion();

private:
    void downloadAndInstall();
    host::Application* application_ = nullptr;
};

// The module's one instance.
Main& mainModule();

}  // namespace plorinrenew
