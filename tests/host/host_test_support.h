// Helpers for the host stand-in tests: an event sink that writes down what it hears, and a
// scratch folder per test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host/host.h"

namespace host_test {

// Records each event as "Event:PresentationName"; BeforeSave cancels when told to.
class EventLog : public host::ApplicationEvents {
public:
    std::vector<std::string> events;
    bool cancelSave = false;
    std::function<void()> onAnyEvent;  // runs after an event is recorded

    void NewPresentation(host::Presentation& p) override { note("NewPresentation:" + p.Name()); }
    void PresentationOpen(host::Presentation& p) override { note("PresentationOpen:" + p.Name()); }
    void PresentationClose(host::Presentation& p) override {
        note("PresentationClose:" + p.Name() + " counted=" + std::to_string(p.app().Presentations().Count()));
    }
    void PresentationBeforeSave(host::Presentation& p, bool& cancel) override {
        cancel = cancelSave;
        note("PresentationBeforeSave:" + p.Name());
    }
    void PresentationPrint(host::Presentation& p) override { note("PresentationPrint:" + p.Name()); }
    void SlideShowBegin() override { note("SlideShowBegin"); }
    void SlideShowEnd() override { note("SlideShowEnd"); }
    void WindowActivate(host::Presentation& p, host::DocumentWindow&) override { note("WindowActivate:" + p.Name()); }
    void WindowSelectionChange(host::Selection& s) override { note("WindowSelectionChange:" + std::to_string(s.Type())); }

private:
    void note(const std::string& e) {
        events.push_back(e);
        if (onAnyEvent) onAnyEvent();
    }
};

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("varnotel-host-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string readAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeAll(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// Runs `action` and returns the number of the HostError it throws (0 when it throws none).
template <class F>
long hostErrorOf(F&& action) {
    try {
        action();
    } catch (const host::HostError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace host_test
