#include "core/icons.h"

#include <memory>

#include "core/errors.h"

namespace core {
namespace {
std::unique_ptr<IconsForm>& iconsSlot() {
    static std::unique_ptr<IconsForm> form;
    return form;
}
}  // namespace

IconsForm::IconsForm() : platform::Form("Icons") {
    HelpTimer.onTimer = [this] { HelpTimer_Timer(); };
    screensaverTimer.onTimer = [this] { screensaverTimer_Timer(); };
}

platform::PictureBox& IconsForm::lngPic(int index) {
    switch (index) {
        case 0: return lngPic0;
        case 1: return lngPic1;
        default: return lngPic2;
    }
}

void IconsForm::HelpTimer_Timer() {
    // Help mode on the command bars arrives with them.
}

void IconsForm::screensaverTimer_Timer() {
    // Input injection during slide shows arrives with the screensaver handling.
}

IconsForm& Icons() {
    auto& slot = iconsSlot();
    if (!slot) slot = std::make_unique<IconsForm>();
    if (!slot->loaded()) slot->Load();
    return *slot;
}

void unloadIcons() {
    auto& slot = iconsSlot();
    if (slot) {
        slot->Unload();
        slot.reset();
    }
}

bool iconsLoaded() { return iconsSlot() && iconsSlot()->loaded(); }

}  // namespace core
