#include "addin/connect.h"

#include <chrono>
#include <filesystem>
#include <limits>

#include "addin/addin_state.h"
#include "addin/bar_front_end.h"
#include "addin/host_events.h"
#include "addin/survey_start.h"
#include "core/errors.h"
#include "core/folders.h"
#include "core/host_version.h"
#include "core/icons.h"
#include "core/images.h"
#include "core/languages.h"
#include "core/product_name.h"
#include "core/registry.h"
#include "core/update_journal.h"
#include "core/usage_counters.h"
#include "platform/filesystem.h"
#include "platform/services.h"
#include "platform/xml_dom.h"
#include "tools/efficiency_tools.h"

namespace plorin {

namespace {
constexpr const char* kOnConnection = "Connect, IDTExtensibility2_OnConnection";
constexpr const char* kOnDisconnection = "Connect, IDTExtensibility2_OnDisconnection";
}  // namespace

void Connect::OnConnection(host::HostObject& application, int, host::COMAddIn*) {
    trap(kOnConnection, [&] {
        // An update cut off by a crash is finished or undone before any file of it is read.
        if (!recoverInterruptedUpdate())
            raiseError(errPathFileAccess, "The interrupted update could not be completed or undone");
        SharedState& s = state();
        AddInState& a = addInState();
        s.mutex = platform::shell().createMutex(kProductName);
        auto* app = dynamic_cast<host::Application*>(&application);
        if (!app) return;  // not a presentation host: nothing else is set up
        s.random.seed(
            static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count()));
        // The state is this connection's own (the last one's went at its disconnection).
        s.layout = computeFolderLayout(addInFolder());
        s.application = app;
        a.events = std::make_unique<pptEvents>();
        a.events->setPowerPointApp(app);
        if (isHostVersion(kCommandBarHosts)) {
            a.controls = std::make_unique<pptControls>();
            a.controls->setPowerPointApp(app);
        }
        a.tools = std::make_unique<EfficiencyTools>();
        startUp();
    });
}

void Connect::startUp() {
    // The steps report their own errors; an error of the sequence itself ends it.
    trap(kOnConnection, [&] {
        SharedState& s = state();
        AddInState& a = addInState();
        // A hand-edited value that is no number reads as the default: it must not cost the
        // rest of the start (languages, command bars, survey) at every start.
        s.screenSaverOff = getBoundedSetting("screenSaverOff", "", 0, std::numeric_limits<int>::min(),
                                             std::numeric_limits<int>::max()) != 0;
        initializeLanguages();
        if (isHostVersion(kCommandBarHosts)) {
            a.controls->CreateControls();
            a.events->toggleOff();
        }
        checkForSurvey();
    });
}

void Connect::OnDisconnection(int) {
    SharedState& s = state();
    AddInState& a = addInState();
    // Each step is guarded on its own, so one failure never skips the rest of the tear-down.
    flushUsageCounters();
    if (s.application) {
        trap(kOnDisconnection, [&] { killSlideExtracts(); });
        s.application = nullptr;
        s.ribbon = nullptr;  // the host drops the ribbon with the add-in
        s.menuDocument.reset();
        s.myElementsDocument.reset();
        trap(kOnDisconnection, [&] {
            if (a.events) a.events->setPowerPointApp(nullptr);
        });
        a.events.reset();
        trap(kOnDisconnection, [&] {
            if (a.controls) {
                a.controls->DeleteControls();
                a.controls->setPowerPointApp(nullptr);
            }
        });
        a.controls.reset();
        a.tools.reset();
        trap(kOnDisconnection, [&] { unloadIcons(); });
    }
    trap(kOnDisconnection, [&] {
        if (s.mutex != 0) {
            platform::shell().releaseMutex(s.mutex);
            platform::shell().closeHandle(s.mutex);
            s.mutex = 0;
        }
    });
    // The connection's state goes as a whole (forms, timers, caches of the installation), so
    // that a later connection in this process starts as the first did.
    trap(kOnDisconnection, [&] {
        clearPictureCache();
        endState();
    });
}

void Connect::OnAddInsUpdate() {
    trap("Connect, IDTExtensibility2_OnAddInsUpdate", [] {});
}

void Connect::OnStartupComplete() {
    trap("Connect, IDTExtensibility2_OnStartupComplete", [] {});
}

void Connect::OnBeginShutdown() {
    trap("Connect, IDTExtensibility2_OnBeginShutdown", [] {});
}

namespace {

// True when the path lies inside the folder (both compared in their normal form).
bool insideFolder(const std::string& path, const std::string& folder) {
    std::string p = std::filesystem::path(path).lexically_normal().string();
    std::string f = std::filesystem::path(folder).lexically_normal().string();
    if (!f.empty() && f.back() != '/') f += '/';
    return p.size() > f.size() && p.compare(0, f.size(), f) == 0;
}

}  // namespace

void Connect::killSlideExtracts() {
    trap("Connect, killSlideExtracts", [] {
        std::string list = getRegistry("slideExtracts", "", "");
        if (list.empty()) return;
        std::string temp = getTmpPath();
        auto& fs = platform::fileSystem();
        std::string kept;
        std::size_t start = 0;
        while (start < list.size()) {
            std::size_t end = list.find(';', start);
            if (end == std::string::npos) end = list.size();
            std::string path = list.substr(start, end - start);
            start = end + 1;
            if (path.empty()) continue;
            // Only our own extracts in the temporary folder are ever deleted; anything
            // else in the list is dropped from it untouched.
            if (!insideFolder(path, temp)) continue;
            // A mail program still handing the extract over keeps it (and its entry) until
            // a later shut-down.
            if (platform::isFileHeld(path)) kept += path + ";";
            else if (fs.fileExists(path) && !fs.deleteFile(path)) kept += path + ";";
        }
        setRegistry("slideExtracts", kept, "");
    });
}

}  // namespace plorin
