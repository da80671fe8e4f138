// A small installation in a temporary folder, an in-memory registry, a recording shell
// and a scripted user, for tests of the add-in's core.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "addin/addin_state.h"
#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/images.h"
#include "core/shared_state.h"
#include "host/clipboard.h"
#include "host/host.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "tests/support/temp_folder.h"

namespace testing_core {

class CoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        registry = platform::makeMemoryRegistry();
        // Whatever a test installs besides goes back with these at its end.
        platform::Services own;
        own.registry = registry.get();
        own.shell = &shell;
        own.ui = &driver;
        services.emplace(std::move(own));
        plorin::reportedErrors().clear();
        host::clipboard().clear();  // the process's one clipboard: each test starts without one
        folder.emplace("varnotel-core");
        root = folder->path();
        std::filesystem::create_directories(root + "program");
        std::filesystem::create_directories(root + "tmp");
        plorin::setAddInFolder(root + "program/");
        shell.temp = root + "tmp/";
        shell.cache = root + "cache/";
    }

    void TearDown() override {
        // As a disconnection ends it: the next test starts with a connection's fresh state.
        plorin::endState();
        plorin::clearPictureCache();
        app.reset();
        plorin::setAddInFolder("");
        services.reset();
        folder.reset();
    }

    host::Application& startHost(const std::string& version) {
        app = std::make_unique<host::Application>(version);
        return *app;
    }

    static void writeFile(const std::string& path, const std::string& text = "x") {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
    }

    // Locations reported so far, in order.
    std::vector<std::string> reportedLocations() const {
        std::vector<std::string> out;
        for (auto& r : plorin::reportedErrors()) out.push_back(r.location);
        return out;
    }

    std::unique_ptr<platform::RegistryStore> registry;
    platform::RecordingShell shell;
    platform::ScriptedDriver driver;
    std::optional<platform::ScopedServices> services;
    std::unique_ptr<host::Application> app;
    std::optional<test_support::TempFolder> folder;
    std::string root;  // the folder, ending with "/"
};

}  // namespace testing_core
