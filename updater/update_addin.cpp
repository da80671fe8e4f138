#include "updater/update_addin.h"

#include <memory>

#include "core/errors.h"
#include "core/update_journal.h"
#include "platform/text.h"
#include "updater/update_main.h"

namespace plorinrenew {

void startAsyncRun() {
    if (addInState().running) return;  // the run in progress is the answer to this request too
    Async& form = asyncForm();
    form.Load();
    form.asyncTimer.setEnabled(true);
}

void Updater::check() {
    plorin::trap("Updater, check", [] {
        if (addInState().running) return;
        addInState().manualCheck = true;
        startAsyncRun();
    });
}

std::string Updater::invoke(const std::string& method, const std::vector<std::string>& args) {
    if (platform::equalsNoCase(method, "check") && args.empty()) {
        check();
        return {};
    }
    throw host::HostError(host::E_FAIL, "Object doesn't support this property or method: " + method);
}

Async::Async() : platform::Form("Async") {
    asyncTimer.onTimer = [this] { asyncTimer_Timer(); };
}

void Async::asyncTimer_Timer() {
    plorin::trap("Updater, asyncTimer_Timer", [&] {
        asyncTimer.setEnabled(false);
        mainModule().process();
    });
}

namespace {

// What the update add-in keeps from connection to disconnection. A run in progress keeps it
// past a disconnection (a tick may outlast the add-in object that started it) until the next.
struct RunState {
    AddInState addIn;
    Main module;
    Async form;
};

std::unique_ptr<RunState>& runSlot() {
    // Never destroyed: a tick may come while the process exits.
    static auto* slot = new std::unique_ptr<RunState>();
    return *slot;
}

RunState& runState() {
    auto& slot = runSlot();
    if (!slot) slot = std::make_unique<RunState>();
    return *slot;
}

}  // namespace

AddInState& addInState() { return runState().addIn; }
Main& mainModule() { return runState().module; }
Async& asyncForm() { return runState().form; }

void endRunState() {
    auto& slot = runSlot();
    if (slot && !slot->addIn.running) slot.reset();
}

void Connect::OnConnection(host::HostObject& application, int, host::COMAddIn*) {
    plorin::trap("Connect, IDTExtensibility2_OnConnection", [&] {
        // An install cut off by a crash is finished or undone before anything else.
        if (!plorin::recoverInterruptedUpdate())
            plorin::raiseError(plorin::errPathFileAccess, "The interrupted update could not be completed or undone");
        auto* app = dynamic_cast<host::Application*>(&application);
        if (!app) return;  // another host: nothing to do there
        object_ = std::make_shared<Updater>();
        addInState().application = app;
        // A host that loads the add-in anew starts with the automatic workflow; the library
        // may have served an earlier host of this process.
        if (!addInState().running) addInState().manualCheck = false;
    });
}

void Connect::OnDisconnection(int) {
    plorin::trap("Connect, IDTExtensibility2_OnDisconnection", [&] {
        addInState().application = nullptr;
        // A pending run has nobody left to run for and goes with the state; one in progress
        // keeps its own host and the state.
        endRunState();
    });
}

void Connect::OnStartupComplete() {
    plorin::trap("Connect, IDTExtensibility2_OnStartupComplete", [] { startAsyncRun(); });
}

}  // namespace plorinrenew
