// The dialogs of the AutoShape commands: the radius of rounded rectangles, the reference
// point of a switch, the block-arrow geometry (not modal: it works on the selection when
// confirmed) and the adjustment values. The commands in tools/ show them; a driver works
// them by their controls' names.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui_forms.h"

namespace plorin {

// Captions "&OK" (the default button, Enter) and "&Cancel" (the cancel button, Esc, which
// never waits for a refused value), and their handlers.
void okCancelButtons(platform::CommandButton& ok, platform::CommandButton& cancel, std::function<void()> onOk,
                     std::function<void()> onCancel);

// Shown modally by roundedRectanglesNumeric, which reads `cancelled` and `udRadius` and
// unloads it. `udRadius` holds the negated radius in tenths of a millimetre.
class roundedRectanglesInput : public platform::Form {
public:
    roundedRectanglesInput();

    bool cancelled = false;
    // True once OK has accepted the text; a dialog left any other way changes nothing.
    bool confirmed = false;

    void Form_Load() override;
    // Puts the radius of the last selected shape into the up-down, and so into the text box.
    void Form_Activate() override;
    void btnOK_Click();
    void btnCancel_Click();
    // What leaving the text box does: false when the text was refused (a message said why).
    bool tbRadius_Validate();
    void udRadius_Change();

    platform::Label Label1{*this, "Label1"};
    platform::TextBox tbRadius{*this, "tbRadius"};
    platform::ScrollBar udRadius{*this, "udRadius"};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
    platform::PictureBox Picture1{*this, "Picture1"};
};

// Shown modally by SwitchObjects; a fresh one each time.
class SwitchObjectsInput : public platform::Form {
public:
    SwitchObjectsInput();

    bool cancelled = false;
    bool confirmed = false;

    void btnOK_Click();
    void btnCancel_Click();
    // The chosen reference point: the last selected option, 0 when none is.
    int reference() const;

    platform::Label Label3{*this, "Label3"};
    platform::Label Shape1{*this, "Shape1"};
    std::array<std::unique_ptr<platform::OptionButton>, 9> obReference;
    platform::CheckBox cbZorder{*this, "cbZorder"};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
    platform::PictureBox Picture1{*this, "Picture1"};
};

// Shown without being modal by beautifyBlockArrow; OK and Cancel unload it.
class BlockArrows : public platform::Form {
public:
    BlockArrows();

    void Form_Load() override;
    void obAngle_Click(int index);
    // False when the text was refused (a message said why).
    bool tbAngle_Validate();
    bool tbRatio_Validate();
    // Validates both boxes first, then writes the geometry into every selected block arrow.
    void btnOK_Click();
    void btnCancel_Click();

    platform::Label Label1{*this, "Label1"};
    std::array<std::unique_ptr<platform::OptionButton>, 4> obAngle;
    platform::Label Label2{*this, "Label2"};
    platform::TextBox tbAngle{*this, "tbAngle"};
    platform::Label Label3{*this, "Label3"};
    platform::TextBox tbRatio{*this, "tbRatio"};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
};

// Shown modally by tweakAutoShapeAdjustments; it reads, checks and writes the values itself.
class AutoShapeAdjustments : public platform::Form {
public:
    AutoShapeAdjustments();

    // Fills the boxes from the last selected shape; hides those of values it lacks.
    void Form_Activate() override;
    void btnOK_Click();
    void btnCancel_Click();

    platform::Label Label1{*this, "Label1"};
    platform::Label Label2{*this, "Label2"};
    platform::Label Label3{*this, "Label3"};
    std::array<std::unique_ptr<platform::Label>, 8> lAdj;
    std::array<std::unique_ptr<platform::TextBox>, 8> tbAdj;
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
    bool lAdjBold = false;  // the warning in lAdj(0) is shown in bold
};

// A value as the adjustment dialog shows it: in the locale's format with every "," made a
// ".", blanks trimmed.
std::string formatAdjustment(float value);

}  // namespace plorin
