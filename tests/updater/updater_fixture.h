// The update add-in in a small host: an in-memory registry, a scripted user, a fixed clock
// and the update server on the loopback interface.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/registry.h"
#include "core/web_post.h"
#include "host/host.h"
#include "loopback/update_server.h"
#include "platform/services.h"
#include "tests/core/core_fixture.h"
#include "updater/dates.h"
#include "updater/update_addin.h"
#include "updater/update_main.h"

namespace testing_updater {

// 8 December 2026, 10:00.
constexpr double kNow = 46364 + 10.0 / 24;

class UpdaterFixture : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        platform::useClock([this] { return plorinrenew::localTimeOfSerial(now); });
        plorinrenew::addInState() = {};
        set("webHost", server.hostPort());
        plorin::setHttpTimeouts({2000, 5000});
    }

    void TearDown() override {
        app.reset();
        plorinrenew::addInState().running = false;  // a run a failed test left behind
        plorinrenew::endRunState();
        plorin::setHttpTimeouts({});
        CoreFixture::TearDown();
    }

    // A host with the update add-in registered in process (and connected when asked).
    host::Application& startHost(bool connectUpdater = true) {
        app = std::make_unique<host::Application>("14.0");
        auto& entry = app->COMAddIns().add(plorinrenew::kProgId, "Update",
                                           [] { return std::make_unique<plorinrenew::Connect>(); });
        if (connectUpdater) entry.setConnect(true);
        return *app;
    }

    void set(const std::string& name, const std::string& value) { plorin::setRegistry(name, value, ""); }
    std::string get(const std::string& name) { return plorin::getRegistry(name, "", "<missing>"); }

    // One run as the timer starts it.
    void run(bool manual) {
        plorinrenew::addInState().manualCheck = manual;
        plorinrenew::mainModule().process();
    }

    // The texts of the message boxes shown so far.
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& m : driver.messages) texts.push_back(m.text);
        return texts;
    }

    loopback::UpdateServer server;
    double now = kNow;
};

}  // namespace testing_updater
