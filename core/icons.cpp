#include "core/icons.h"

#include <memory>

#include "core/errors.h"
#include "core/host_version.h"
#include "core/images.h"
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
        inputRecord.type = 0;                            // mouse
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

std::shared_ptr<const platform::Picture> maskOf(const platform::Picture& picture) {
    auto mask = std::make_shared<platform::Picture>();
    mask->width = picture.width;
    mask->height = picture.height;
    mask->source = picture.source + " (mask)";
    mask->pixels.reserve(picture.pixels.size());
    for (std::uint32_t argb : picture.pixels) mask->pixels.push_back((argb >> 24) >= 0x80 ? 0xFF000000u : 0xFFFFFFFFu);
    return mask;
}

namespace {
void loadPictures(const std::string& folder, const char* prefix, int count, platform::ImageList& pictures,
                  platform::ImageList& masks) {
    pictures.images.assign(static_cast<std::size_t>(count), nullptr);
    masks.images.assign(static_cast<std::size_t>(count), nullptr);
    for (int n = 1; n <= count; ++n) {
        const std::string path = folder + prefix + std::to_string(n) + ".png";
        if (!platform::fileSystem().fileExists(path)) continue;  // numbers the bars do not use
        std::shared_ptr<const platform::Picture> picture;
        ignoreErrors([&] { picture = loadPictureGdiPlus(path); });
        if (!picture) continue;
        pictures.images[static_cast<std::size_t>(n - 1)] = picture;
        masks.images[static_cast<std::size_t>(n - 1)] = maskOf(*picture);
    }
}
}  // namespace

void loadButtonPictures(const std::string& folder) {
    IconsForm& icons = Icons();
    loadPictures(folder, "bar_", kButtonPictureCount, icons.Buttons, icons.Masks);
    loadPictures(folder, "myelements_", 2, icons.MyElements, icons.MyElementsM);
}

int appendButtonPicture(std::shared_ptr<const platform::Picture> picture) {
    IconsForm& icons = Icons();
    if (icons.Buttons.images.size() < static_cast<std::size_t>(kButtonPictureCount)) {
        icons.Buttons.images.resize(kButtonPictureCount);
        icons.Masks.images.resize(kButtonPictureCount);
    }
    icons.Masks.images.push_back(picture ? maskOf(*picture) : nullptr);
    icons.Buttons.images.push_back(std::move(picture));
    return static_cast<int>(icons.Buttons.images.size());
}

namespace {
std::shared_ptr<const platform::Picture> listed(const platform::ImageList& list, int n) {
    return n >= 1 && static_cast<std::size_t>(n) <= list.images.size() ? list.images[static_cast<std::size_t>(n - 1)]
                                                                       : nullptr;
}
}  // namespace

std::shared_ptr<const platform::Picture> buttonPicture(int n) { return listed(Icons().Buttons, n); }
std::shared_ptr<const platform::Picture> buttonMask(int n) { return listed(Icons().Masks, n); }
std::shared_ptr<const platform::Picture> myElementsPicture(int n) { return listed(Icons().MyElements, n); }
std::shared_ptr<const platform::Picture> myElementsMask(int n) { return listed(Icons().MyElementsM, n); }

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
