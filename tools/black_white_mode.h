// The dialog "Set black and white mode": one mode for slide backgrounds and one for shapes,
// applied to the selected shapes, the selected slides or the whole presentation on OK.
#pragma once

#include <array>

#include "platform/ui_forms.h"

namespace plorin {

// The ten entries of both lists; entry i sets the host's mode i + 1.
extern const std::array<const char*, 10> kBlackWhiteModeNames;

class BlackWhiteMode : public platform::Form {
public:
    BlackWhiteMode();

    // Fills both lists and chooses "Grayscale" in each.
    void Form_Load() override;
    // Applies the chosen modes by the active window's selection at this moment, tells the
    // user what was done and unloads the form; slides already set stay set after a failure.
    void btnOK_Click();
    void btnCancel_Click();

    platform::Label Label1{*this, "Label1"};
    platform::Label lBack{*this, "lBack"};
    platform::ComboBox cbBack{*this, "cbBack"};
    platform::Label lShapes{*this, "lShapes"};
    platform::ComboBox cbShapes{*this, "cbShapes"};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
};

}  // namespace plorin
