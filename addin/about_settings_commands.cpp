// The commands that open the about box and the settings dialog.
#include "about/about_box.h"
#include "addin/named_commands.h"
#include "core/errors.h"
#include "settings/settings_dialog.h"

namespace plorin {

void showAboutBox() {
    trap("EfficiencyTools, about", [&] {
        Splash splash;
        splash.SplashTimer.setEnabled(false);
        splash.lbClose.Visible = true;
        splash.Show(true);
        splash.Unload();
    });
}

void showSettings() {
    trap("EfficiencyTools, showSettings", [] { showSettingsDialog(); });
}

const std::vector<AddinCommand> kAboutSettingsCommands = {
    {"about", &showAboutBox},
    {"showSettings", &showSettings},
};

}  // namespace plorin
