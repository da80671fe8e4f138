// The state of one connection of the add-in: the host, the folder layout, the libraries'
// documents, the current style, and each feature's own state (its forms, timers and caches
// tied to the installation) made on first use. Made when first asked for (the connection) and
// destroyed as a whole at disconnection, so that the next connection starts as the first did.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

#include "core/collection.h"
#include "core/folder_layout.h"

namespace host {
class Application;
class CommandBarButton;
class IRibbonUI;
}  // namespace host

namespace platform {
class DomDocument;
}

namespace plorin {

struct SharedState {
    SharedState();
    ~SharedState();
    SharedState(const SharedState&) = delete;
    SharedState& operator=(const SharedState&) = delete;

    std::uintptr_t mutex = 0;                  // the instance mutex
    host::Application* application = nullptr;  // the host, while connected
    Collection<std::string> styleNames;        // Slide Wizard styles: names ...
    Collection<std::string> styleFolders;      // ... and their folders, parallel
    Collection<std::string> copyrightLines;
    std::unique_ptr<platform::DomDocument> menuDocument;        // "menu.xml" when it loaded
    std::unique_ptr<platform::DomDocument> myElementsDocument;  // "myelements.xml" when it loaded
    FolderLayout layout;
    bool screenSaverOff = false;  // the screensaver flag
    // Set by the slide extract while it writes its temporary copy, so that the host event
    // handlers stay idle for it.
    bool extracting = false;
    std::string currentStyle;
    host::IRibbonUI* ribbon = nullptr;  // kept when the ribbon loads (ribbon hosts)
    // The command bars' customisable buttons (pptControls' ecyControls) while that object
    // lives (command-bar hosts); the settings dialog lists and switches them.
    Collection<std::shared_ptr<host::CommandBarButton>>* ecyControls = nullptr;
    std::mt19937 random;  // seeded at connection
    // True while help mode is on: a click on a command-bar button then opens its help topic
    // instead of running its command.
    bool helpMode = false;

    // A feature's state for this connection (default-constructed on first use). Features go
    // newest first when the connection ends, while state() still answers for them.
    template <class T>
    T& feature() {
        const std::type_index key(typeid(T));
        for (auto& f : features_)
            if (f.key == key) return *static_cast<T*>(f.object.get());
        Object object(new T(), [](void* p) { delete static_cast<T*>(p); });  // may make others first
        T* made = static_cast<T*>(object.get());
        features_.push_back({key, std::move(object)});
        return *made;
    }
    // Destroys every feature's state, newest first.
    void endFeatures();

private:
    using Object = std::unique_ptr<void, void (*)(void*)>;
    struct Feature {
        std::type_index key;
        Object object;
    };
    std::vector<Feature> features_;
};

// This connection's state, made on first use.
SharedState& state();
// Ends the connection's state: its features, then the rest. The next state() starts afresh.
void endState();

// The host application while connected; raises error 91 (object not set) otherwise.
host::Application& hostApplication();

}  // namespace plorin
