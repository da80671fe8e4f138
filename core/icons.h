// The hidden form that holds the add-in's pictures and its two timers: help mode on the
// command bars and keeping the screensaver away during slide shows. It is never shown.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/input.h"
#include "platform/ui_timers.h"

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

// The add-in's own command-bar pictures are numbered 1 to kButtonPictureCount; pictures
// appended later (the language buttons') follow in order.
constexpr int kButtonPictureCount = 51;

// Fills `Buttons` with the pictures "bar_N.png" (16 by 16) of the folder, N from 1 to
// kButtonPictureCount, at index N - 1 (none where a file is missing or unreadable), and
// `Masks` with each one's mask; drops whatever was appended before. `MyElements` and
// `MyElementsM` get "myelements_1.png" and "myelements_2.png" likewise.
void loadButtonPictures(const std::string& folder);
// Appends a picture (and its mask) to `Buttons` and `Masks`; its number (from 1).
int appendButtonPicture(std::shared_ptr<const platform::Picture> picture);
// The picture and mask of number n; nullptr for numbers without one.
std::shared_ptr<const platform::Picture> buttonPicture(int n);
std::shared_ptr<const platform::Picture> buttonMask(int n);
// The same for the My Elements popup's two fixed entries.
std::shared_ptr<const platform::Picture> myElementsPicture(int n);
std::shared_ptr<const platform::Picture> myElementsMask(int n);
// A command bar's mask for a picture: black where the picture is drawn (alpha from one
// half up), white where it is transparent.
std::shared_ptr<const platform::Picture> maskOf(const platform::Picture& picture);

// The connection's form, loaded on first use.
IconsForm& Icons();
// Unloads it (stopping its timers); the next use loads it afresh.
void unloadIcons();
bool iconsLoaded();

}  // namespace plorin
