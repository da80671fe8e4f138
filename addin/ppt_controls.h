// The command bars of the command-bar hosts: built at start-up, deleted at shut-down.
// For now only the Efficiency Tools bar's frame exists: a button or popup entry for every
// control the selection-dependent enabling switches, found by caption.
#pragma once

#include <string>

#include "host/host.h"

namespace plorin {

class pptControls {
public:
    pptControls() = default;
    pptControls(const pptControls&) = delete;
    pptControls& operator=(const pptControls&) = delete;

    host::Application* PowerPointApp() const { return app_; }
    void setPowerPointApp(host::Application* app) { app_ = app; }
    // Builds the bars (a bar left from an earlier connection is replaced). Host failures
    // reach the caller.
    void CreateControls();
    // Deletes the bars; a bar that is gone already is skipped.
    void DeleteControls();
    // Shows the style in the bars' style drop-down.
    void setStyle(const std::string& /*style*/) {}
    // Enables every Efficiency Tools control, popup entries included (help mode lets
    // disabled ones be clicked). HostError when the bar is missing.
    void enableControls();

private:
    host::Application& app() const;
    host::Application* app_ = nullptr;
};

}  // namespace plorin
