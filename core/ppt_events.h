// The add-in's sink for the host's application events and the keeper of the current
// selection's state, from which the commands' enabling follows.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace core {

class pptEvents : public host::ApplicationEvents {
public:
    ~pptEvents() override;

    // Public state, read by the ribbon and the tools.
    bool extracting = false;
    std::int16_t shapeNumber = 0;
    std::int16_t slideNumber = 0;
    bool shapes90degrees = false;
    bool shapesSameOrientation = false;
    bool shapesBlockArrows = false;
    bool shapesProcessArrows = false;
    bool shapesRoundedRectangles = false;
    bool shapesText = false;

    // The host application; setting nullptr disconnects the event handlers.
    host::Application* PowerPointApp() const { return pptApp_; }
    void setPowerPointApp(host::Application* app);

    // Disables every selection-dependent command-bar control.
    void toggleOff();

private:
    host::Application* pptApp_ = nullptr;
};

}  // namespace core
