#include "core/icons.h"

#include <memory>

#include "core/addin_state.h"
#include "core/errors.h"
#include "core/globals.h"
#include "core/ppt_controls.h"
#include "core/ppt_events.h"
#include "platform/services.h"

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

void IconsForm::Form_Load() {
    trap("Icons, Form_Load", [&] {
        inputRecord = platform::MouseInput{};
        inputRecord.type = 0;  // mouse
        inputRecord.flags = platform::MOUSEEVENTF_MOVE;  // relative, by nothing
    });
}

void IconsForm::HelpTimer_Timer() {
    trap("Icons, HelpTimer_Timer", [&] {
        // Help mode belongs to the command bars; hosts without them never need the timer.
        if (!isHostVersion(kCommandBarHosts)) {
            HelpTimer.setEnabled(false);
            return;
        }
        if (HelpTimer.Interval() != 1) HelpTimer.setInterval(1);
        platform::Input& input = platform::input();
        const std::uint16_t ctrl = input.asyncKeyState(platform::VK_CONTROL);
        const std::uint16_t shift = input.asyncKeyState(platform::VK_SHIFT);
        AddInState& s = state();
        if ((ctrl & platform::kKeyDown) && (shift & platform::kKeyDown) && !helpMode) {
            if (s.controls) s.controls->enableControls();
            helpMode = true;
            return;
        }
        // Only a quiet keyboard ends help mode: neither key down nor pressed meanwhile.
        if (ctrl == 0 && shift == 0 && helpMode) {
            if (s.events) s.events->toggle();
            helpMode = false;
        }
    });
}

void IconsForm::screensaverTimer_Timer() {
    trap("Icons, screensaverTimer_Timer", [&] { platform::input().sendInput({inputRecord}); });
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
