// The state the add-in's parts share while it is loaded: the host, the folder layout, the
// libraries' documents and the current style. Filled at connection, released at
// disconnection; the add-in object keeps its feature objects itself (addin/addin_state.h).
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "core/collection.h"
#include "core/folder_layout.h"

namespace host {
class Application;
class CommandBarButton;
class IRibbonUI;
}

namespace platform {
class DomDocument;
}

namespace plorin {

struct SharedState {
    SharedState();
    ~SharedState();

    std::uintptr_t mutex = 0;               // the instance mutex
    host::Application* application = nullptr;  // the host, while connected
    Collection<std::string> styleNames;     // Slide Wizard styles: names ...
    Collection<std::string> styleFolders;   // ... and their folders, parallel
    Collection<std::string> copyrightLines;
    std::unique_ptr<platform::DomDocument> menuDocument;        // "menu.xml" when it loaded
    std::unique_ptr<platform::DomDocument> myElementsDocument;  // "myelements.xml" when it loaded
    FolderLayout layout;
    bool screenSaverOff = false;            // the screensaver flag
    // Set by the slide extract while it writes its temporary copy, so that the host event
    // handlers stay idle for it.
    bool extracting = false;
    std::string currentStyle;
    host::IRibbonUI* ribbon = nullptr;      // kept when the ribbon loads (ribbon hosts)
    // The command bars' customisable buttons (pptControls' ecyControls) while that object
    // lives (command-bar hosts); the settings dialog lists and switches them.
    Collection<std::shared_ptr<host::CommandBarButton>>* ecyControls = nullptr;
    std::mt19937 random;                    // seeded at connection
};

SharedState& state();

// The host application while connected; raises error 91 (object not set) otherwise.
host::Application& hostApplication();

}  // namespace plorin
