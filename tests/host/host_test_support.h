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
#include "tests/support/file_reading.h"
#include "tests/support/temp_folder.h"

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
    void WindowSelectionChange(host::Selection& s) override {
        note("WindowSelectionChange:" + std::to_string(s.Type()));
    }

private:
    void note(const std::string& e) {
        events.push_back(e);
        if (onAnyEvent) onAnyEvent();
    }
};

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchDir : public test_support::TempFolder {
public:
    ScratchDir() : TempFolder("varnotel-host") {}
};

inline void writeAll(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

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
