// The update add-in object that the host creates by its ProgID "plorinrenew.Connect", the
// object it publishes to the presentation add-in, and the hidden form whose timer runs the
// update outside the caller's call.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "platform/ui_timers.h"

namespace plorinrenew {

constexpr const char* kProgId = "plorinrenew.Connect";
constexpr const char* kMainProgId = "plorin.Connect";

// The published object: `check` asks for a manual run and returns at once.
class Updater : public host::AutomationObject {
public:
    // Sets the manual check flag and starts the one-shot timer. Ignored while a run is in
    // progress.
    void check();
    // "check" (any case, no arguments) calls check; anything else raises E_FAIL.
    std::string invoke(const std::string& method, const std::vector<std::string>& args) override;
};

// Never shown: its timer gives each enabling exactly one run, a second later.
class Async : public platform::Form {
public:
    Async();
    platform::Timer asyncTimer{*this, "asyncTimer", 1000, false};
    void asyncTimer_Timer();
};

// The form's one instance, loaded on first use; part of the run state.
Async& asyncForm();
// Ends the run state (the add-in's flags, the main module, the form) unless a run is in
// progress: at disconnection, and in tests. The next use starts afresh.
void endRunState();
// Loads the form and enables its timer, unless a run is in progress.
void startAsyncRun();

class Connect : public host::AddIn {
public:
    // Only for the presentation host's Application: publishes an Updater and keeps the host.
    void OnConnection(host::HostObject& application, int connectMode, host::COMAddIn* addInInst) override;
    void OnDisconnection(int removeMode) override;
    void OnAddInsUpdate() override {}
    // The automatic check, about a second after the host has started.
    void OnStartupComplete() override;
    void OnBeginShutdown() override {}
    std::shared_ptr<host::AutomationObject> object() override { return object_; }

private:
    std::shared_ptr<Updater> object_;
};

}  // namespace plorinrenew
