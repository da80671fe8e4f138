// "Check for updates": the update add-in does the work on its own timer.
#include "core/config.h"
#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "core/update_addin.h"
#include "host/host.h"
#include "platform/text.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"

namespace plorin {

const std::vector<EfficiencyTools::MethodEntry> kUpdateMethods = {
    {"startUpdate", &EfficiencyTools::startUpdate, nullptr},
};

void EfficiencyTools::startUpdate() {
    trap("EfficiencyTools, startUpdate", [] {
        host::COMAddIn* updater = findUpdateAddIn();
        if (!updater) {
            platform::MsgBox(
                "The Add-In for automatic updates has not been installed correctly. Please check your "
                "installation and contact us at " +
                    supportEmail() + " if the problem persists.",
                platform::vbCritical, kProductName);
            return;
        }
        if (!updater->Connect()) updater->setConnect(true);
        const auto object = updater->Object();
        if (!object) raiseObjectNotSet();
        object->invoke("check", {});
    });
}

}  // namespace plorin
