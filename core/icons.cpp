#include "core/icons.h"

#include <memory>

#include "core/errors.h"
#include "core/globals.h"
#include "core/shared_state.h"
#include "platform/services.h"

namespace plorin {
namespace {
struct IconsSlot {
    std::unique_ptr<IconsForm> form;
};
std::unique_ptr<IconsForm>& iconsSlot() { return state().feature<IconsSlot>().form; }
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
        HelpModeHooks& hooks = helpModeHooks();
        bool& helpMode = state().helpMode;
        if ((ctrl & platform::kKeyDown) && (shift & platform::kKeyDown) && !helpMode) {
            if (hooks.begin) hooks.begin();
            helpMode = true;
            return;
        }
        // Only a quiet keyboard ends help mode: neither key down nor pressed meanwhile.
        if (ctrl == 0 && shift == 0 && helpMode) {
            if (hooks.end) hooks.end();
            helpMode = false;
        }
    });
}

void IconsForm::screensaverTimer_Timer() {
    trap("Icons, screensaverTimer_Timer", [&] { platform::input().sendInput({inputRecord}); });
}

HelpModeHooks& helpModeHooks() { return state().feature<HelpModeHooks>(); }

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

bool iconsLoaded() {
    const auto& form = iconsSlot();
    return form && form->loaded();
}

}  // namespace plorin
