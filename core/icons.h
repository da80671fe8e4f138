// The hidden form that holds the add-in's pictures and its two timers: help mode on the
// command bars and keeping the screensaver away during slide shows. It is never shown.
#pragma once

#include "platform/ui.h"

namespace core {

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

    void HelpTimer_Timer();
    void screensaverTimer_Timer();
};

// The form, loaded on first use.
IconsForm& Icons();
// Unloads it (stopping its timers); the next use loads it afresh.
void unloadIcons();
bool iconsLoaded();

}  // namespace core
