// The hidden form that holds the add-in's pictures and its two timers: help mode on the
// command bars and keeping the screensaver away during slide shows. It is never shown.
#pragma once

#include <functional>

#include "platform/input.h"
#include "platform/ui.h"

namespace plorin {

// Help mode itself is state().helpMode.

// What help mode does to the command bars, set by the add-in object: begin switches every
// control on, end gives the enabling back to the selection. Either may be empty.
struct HelpModeHooks {
    std::function<void()> begin;
    std::function<void()> end;
};
HelpModeHooks& helpModeHooks();  // the connection's

class IconsForm : public platform::Form {
public:
    IconsForm();

    platform::PictureBox lngPic0{*this, "lngPic(0)"};
    platform::PictureBox lngPic1{*this, "lngPic(1)"};
    platform::PictureBox lngPic2{*this, "lngPic(2)"};
    platform::ImageList Buttons{*this, "Buttons"};
    platform::ImageList Masks{*this, "Masks"};
    platform::ImageList MyElements{*this, "MyElements"};
    platform::ImageList MyElementsM{*this, "MyElementsM"};
    platform::Timer HelpTimer{*this, "HelpTimer", 50, true};
    platform::Timer screensaverTimer{*this, "screensaverTimer", 30000, false};

    platform::PictureBox& lngPic(int index);

    // Builds the input record the screensaver timer injects.
    void Form_Load() override;
    // Help mode while Ctrl and Shift are held (command-bar hosts only; elsewhere the first
    // tick stops the timer for good).
    void HelpTimer_Timer();
    // Injects a zero-distance mouse move, which counts as user activity.
    void screensaverTimer_Timer();

    platform::MouseInput inputRecord;
};

// The connection's form, loaded on first use.
IconsForm& Icons();
// Unloads it (stopping its timers); the next use loads it afresh.
void unloadIcons();
bool iconsLoaded();

}  // namespace plorin
