#include "core/ppt_events.h"

#include "core/errors.h"

namespace core {

pptEvents::~pptEvents() { setPowerPointApp(nullptr); }

void pptEvents::setPowerPointApp(host::Application* app) {
    if (pptApp_ == app) return;
    if (pptApp_) pptApp_->unadvise(this);
    pptApp_ = app;
    if (pptApp_) pptApp_->advise(this);
}

void pptEvents::toggleOff() {
    // The command bars' controls are toggled once the bars exist.
}

}  // namespace core
