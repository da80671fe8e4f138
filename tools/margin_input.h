// The dialog "Set margins": the inner margins of text frames in centimetres, one value for
// all four sides or one per side, prefilled from the selected shapes. Shown modally by
// setMargins, read by the margins operation while hidden but still loaded, then unloaded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui_forms.h"

namespace plorin {

// Points per centimetre, both ways (the dialog's own factor, not the exact 28.3465).
constexpr double kPointsPerCm = 28.35;

// The centimetre text of a margin in points: two decimals.
std::string getMarginText(double points);
// The up-down magnitude of a margin in points: hundredths of a centimetre, 0 for values
// below 0 or above 1000 cm. The up-downs hold its negation.
std::int32_t getMarginValue(double points);
// A typed centimetre value: blanks around allowed, "." or "," as the decimal separator;
// nothing when the text is not a number.
std::optional<double> centimetres(const std::string& text);

class MarginInput : public platform::Form {
public:
    MarginInput();

    // True after Cancel, false after a valid OK; both hide the form.
    bool cancelled = true;

    // Prefills from the active window's selected shapes; the focus goes to tbMargin.
    void Form_Activate() override;
    void Form_Load() override;
    // Fills the boxes from the selected shapes' combined frame: tbMargin when all four sides
    // agree, each side's box unless that side is mixed (then empty, its up-down at 0). A
    // selection without shapes is reported and the boxes keep what they hold.
    void initMarginControls();
    void Opt_Click(int index);
    void udMargin_Change();
    void udM_Change(int index);
    // Refuses a non-numeric value or one outside 0 to 1000 cm (the focus stays); otherwise
    // moves the matching up-down, clamped into its range: the text keeps the typed value.
    void tbMargin_Validate(bool& cancel);
    void tbM_Validate(int index, bool& cancel);
    void btnOK_Click();
    void btnCancel_Click();

    // The margins to apply, in points, in the order left, top, right, bottom (the same four
    // when one value serves all). Raises errTypeMismatch for a box that holds no number.
    struct Sides {
        double left, top, right, bottom;
    };
    Sides chosenMargins() const;
    bool allSides() const { return Opt0.Value(); }

    platform::Label Label3{*this, "Label3"};
    platform::OptionButton Opt0{*this, "Opt(0)"};
    platform::Label Label1{*this, "Label1"};
    platform::OptionButton Opt1{*this, "Opt(1)"};
    platform::TextBox tbMargin{*this, "tbMargin"};
    platform::ScrollBar udMargin{*this, "udMargin"};
    platform::Label lM[4]{{*this, "lM(0)"}, {*this, "lM(1)"}, {*this, "lM(2)"}, {*this, "lM(3)"}};
    platform::TextBox tbM[4]{{*this, "tbM(0)"}, {*this, "tbM(1)"}, {*this, "tbM(2)"}, {*this, "tbM(3)"}};
    platform::ScrollBar udM[4]{{*this, "udM(0)"}, {*this, "udM(1)"}, {*this, "udM(2)"}, {*this, "udM(3)"}};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};

private:
    // Checks a typed value; on success moves `upDown` while the text stays as typed.
    void validate(platform::TextBox& box, platform::ScrollBar& upDown, const char* procedure, bool& cancel);
    void setUpDown(platform::ScrollBar& upDown, std::int32_t value);
    void enableForChoice();
    bool filling_ = false;              // initMarginControls sets values: the up-downs' handlers stay quiet
    std::optional<std::string> typed_;  // while validating: the text the handlers keep
};

// The dialog of the current run of setMargins (made on first use, like a form's default
// instance), and its end.
MarginInput& marginInput();
void unloadMarginInput();

}  // namespace plorin
