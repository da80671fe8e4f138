#include "addin/ppt_controls.h"

#include "core/errors.h"
#include "addin/toggle_groups.h"
#include "host/command_bars.h"

namespace plorin {

host::Application& pptControls::app() const {
    if (!app_) raiseError(91, "Object variable or With block variable not set");
    return *app_;
}

namespace {

void removeBar(host::CommandBars& bars, const std::string& name) {
    for (const auto& bar : bars.all())
        if (bar->Name() == name) {
            bar->Delete();
            return;
        }
}

}  // namespace

void pptControls::CreateControls() {
    host::CommandBars& bars = app().CommandBars();
    removeBar(bars, kEfficiencyToolsBar);
    auto bar = bars.Add(kEfficiencyToolsBar, host::msoBarTop);
    auto tools = std::dynamic_pointer_cast<host::CommandBarPopup>(bar->Controls().Add(host::msoControlPopup));
    tools->setCaption(kToolsPopup);
    for (const ToggleGroup& group : toggleGroups()) {
        for (const char* caption : group.buttons) bar->Controls().Add(host::msoControlButton)->setCaption(caption);
        for (const char* caption : group.entries) tools->Controls().Add(host::msoControlButton)->setCaption(caption);
    }
    bar->setVisible(true);
}

void pptControls::DeleteControls() { removeBar(app().CommandBars(), kEfficiencyToolsBar); }

void pptControls::enableControls() {
    auto bar = app().CommandBars().Item(kEfficiencyToolsBar);
    for (const auto& control : bar->Controls().all()) {
        control->setEnabled(true);
        if (auto* popup = dynamic_cast<host::CommandBarPopup*>(control.get()))
            for (const auto& entry : popup->Controls().all()) entry->setEnabled(true);
    }
}

}  // namespace plorin
