// The presentation add-in's process-wide state: created at connection, released at
// disconnection, read by every part of the add-in.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "core/collection.h"
#include "core/folder_layout.h"

namespace host {
class Application;
class IRibbonUI;
}

namespace platform {
class DomDocument;
}

namespace core {

class pptEvents;
class pptControls;
class EfficiencyTools;

struct AddInState {
    AddInState();
    ~AddInState();

    std::uintptr_t mutex = 0;               // the instance mutex
    host::Application* application = nullptr;  // the host, while connected
    Collection<std::string> styleNames;     // Slide Wizard styles: names ...
    Collection<std::string> styleFolders;   // ... and their folders, parallel
    Collection<std::string> copyrightLines;
    std::unique_ptr<platform::DomDocument> menuDocument;        // "menu.xml" when it loaded
    std::unique_ptr<platform::DomDocument> myElementsDocument;  // "myelements.xml" when it loaded
    FolderLayout layout;
    std::unique_ptr<pptEvents> events;
    std::unique_ptr<pptControls> controls;  // command-bar hosts only
    std::unique_ptr<EfficiencyTools> tools;
    bool screenSaverOff = false;            // the screensaver flag
    std::string currentStyle;
    host::IRibbonUI* ribbon = nullptr;      // kept when the ribbon loads (ribbon hosts)
    std::mt19937 random;                    // seeded at connection
};

AddInState& state();

// The host application while connected; raises error 91 (object not set) otherwise.
host::Application& hostApplication();

}  // namespace core
