#include "tools/margin_input.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <memory>
#include <sstream>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/text.h"
#include "platform/ui_driver.h"
#include "tools/text_walker.h"

namespace plorin {

namespace {

// An up-down holds minus hundredths of a centimetre in 16 bits: 0 to 327.68 cm.
constexpr int kUpDownLowest = -32768;
constexpr double kMostCm = 1000;

std::string twoDecimals(double value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(2) << (value + 0.0);  // no "-0.00"
    return out.str();
}

void critical(const std::string& text) { platform::MsgBox(text, platform::vbCritical, kProductName); }

struct MarginInputSlot {
    std::unique_ptr<MarginInput> form;
};
std::unique_ptr<MarginInput>& instance() { return plorin::state().feature<MarginInputSlot>().form; }

}  // namespace

std::string getMarginText(double points) { return twoDecimals(points / kPointsPerCm); }

std::int32_t getMarginValue(double points) {
    double v = points / kPointsPerCm * 100;
    if (!(v >= 0 && v <= kMostCm * 100)) v = 0;
    return static_cast<std::int32_t>(roundHalfEven(v));
}

std::optional<double> centimetres(const std::string& text) {
    std::string t = text;
    if (std::count(t.begin(), t.end(), ',') == 1 && t.find('.') == std::string::npos)
        std::replace(t.begin(), t.end(), ',', '.');
    if (t.find_first_not_of(" \t0123456789.+-") != std::string::npos) return std::nullopt;  // no "&H", no exponent
    try {
        const double v = toNumber(t);
        return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

MarginInput::MarginInput() : platform::Form("MarginInput") {
    Caption = "Set margins";
    Label3.Caption =
        "You can define the margins of the text frame either for all margins at once or individually (in cm)";
    Label1.Caption = "All";
    static const char* const kSides[4] = {"Left", "Top", "Right", "Bottom"};
    btnOK.Caption = "&OK";
    btnOK.Default = true;
    btnCancel.Caption = "&Cancel";
    btnCancel.Cancel = true;
    btnCancel.CausesValidation = false;  // a refused value must not keep the user from leaving

    auto upDown = [](platform::ScrollBar& u) {
        u.Min = kUpDownLowest;
        u.Max = 0;
        u.SmallChange = 5;
    };
    upDown(udMargin);
    Opt0.setValue(true);  // as designed: one value for all sides
    Opt0.onClick = [this] { Opt_Click(0); };
    Opt1.onClick = [this] { Opt_Click(1); };
    udMargin.onChange = [this] { udMargin_Change(); };
    tbMargin.onValidate = [this](bool& cancel) { tbMargin_Validate(cancel); };
    for (int i = 0; i < 4; ++i) {
        lM[i].Caption = kSides[i];
        upDown(udM[i]);
        udM[i].onChange = [this, i] { udM_Change(i); };
        tbM[i].onValidate = [this, i](bool& cancel) { tbM_Validate(i, cancel); };
    }
    btnOK.onClick = [this] { btnOK_Click(); };
    btnCancel.onClick = [this] { btnCancel_Click(); };
}

void MarginInput::Form_Load() {
    trap("MarginInput, Form_Load", [&] {
        cancelled = true;  // closing the window is no OK
        enableForChoice();
    });
}

void MarginInput::Form_Activate() {
    trap("MarginInput, Form_Activate", [&] {
        initMarginControls();
        SetFocus(tbMargin);
    });
}

void MarginInput::initMarginControls() {
    trap("MarginInput, initMarginControls", [&] {
        const host::TextFrame frame = activeSelection().ShapeRange().TextFrame();
        const double right = frame.MarginRight(), left = frame.MarginLeft(), top = frame.MarginTop(),
                     bottom = frame.MarginBottom();
        struct Filling {
            bool& flag;
            ~Filling() { flag = false; }
        } quiet{filling_ = true};
        if (right == left && left == top && top == bottom && right != host::kMixed) {
            tbMargin.setText(getMarginText(right));
            setUpDown(udMargin, -getMarginValue(right));
        }
        const double sides[4] = {left, top, right, bottom};
        for (int i = 0; i < 4; ++i) {
            if (sides[i] <= host::kMixed) {
                tbM[i].setText("");
                udM[i].setValue(0);
            } else {
                tbM[i].setText(getMarginText(sides[i]));
                setUpDown(udM[i], -getMarginValue(sides[i]));
            }
        }
    });
}

void MarginInput::Opt_Click(int index) {
    trap("MarginInput, Opt_Click", [&] {
        (index == 0 ? Opt1 : Opt0).setValue(false);
        initMarginControls();
        enableForChoice();
    });
}

void MarginInput::enableForChoice() {
    const bool all = Opt0.Value(), each = Opt1.Value();
    tbMargin.Enabled = udMargin.Enabled = all;
    for (int i = 0; i < 4; ++i) tbM[i].Enabled = udM[i].Enabled = each;
}

void MarginInput::udMargin_Change() {
    if (filling_ || !Opt0.Value()) return;
    trap("MarginInput, udMargin_Change", [&] {
        SetFocus(Opt0);
        tbMargin.setText(typed_ ? *typed_ : twoDecimals(-udMargin.Value() / 100.0));
        for (int i = 0; i < 4; ++i) {
            tbM[i].setText(tbMargin.Text());
            udM[i].setValue(udMargin.Value());
        }
    });
}

void MarginInput::udM_Change(int index) {
    if (filling_ || !Opt1.Value()) return;
    trap("MarginInput, udM_Change", [&] {
        SetFocus(Opt1);
        tbMargin.setText("");
        udMargin.setValue(0);
        tbM[index].setText(typed_ ? *typed_ : twoDecimals(-udM[index].Value() / 100.0));
    });
}

void MarginInput::setUpDown(platform::ScrollBar& upDown, std::int32_t value) {
    upDown.setValue(std::clamp<std::int32_t>(value, kUpDownLowest, 0));
}

void MarginInput::validate(platform::TextBox& box, platform::ScrollBar& upDown, const char* procedure, bool& cancel) {
    trap(procedure, [&] {
        if (box.Text().empty()) return;
        const std::optional<double> cm = centimetres(box.Text());
        if (!cm) {
            critical("Please enter a numeric value.");
            cancel = true;
            return;
        }
        if (*cm < 0 || *cm > kMostCm) {
            critical("Please enter a value in cm.");
            cancel = true;
            return;
        }
        // Beyond 327.68 cm the up-down stops at its end; the text keeps the typed value.
        typed_ = box.Text();
        struct Done {
            std::optional<std::string>& typed;
            ~Done() { typed.reset(); }
        } done{typed_};
        setUpDown(upDown, static_cast<std::int32_t>(roundHalfEven(*cm * -100)));
    });
}

void MarginInput::tbMargin_Validate(bool& cancel) {
    if (Opt0.Value()) validate(tbMargin, udMargin, "MarginInput, tbMargin_Validate", cancel);
}

void MarginInput::tbM_Validate(int index, bool& cancel) {
    if (Opt1.Value()) validate(tbM[index], udM[index], "MarginInput, tbM_Validate", cancel);
}

void MarginInput::btnOK_Click() {
    trap("MarginInput, btnOK_Click", [&] {
        // Every box in use must hold a value from 0 to 1000 cm.
        auto usable = [](const platform::TextBox& box) {
            const std::optional<double> cm = centimetres(box.Text());
            return cm && *cm >= 0 && *cm <= kMostCm;
        };
        bool complete = Opt0.Value() ? usable(tbMargin) : Opt1.Value();
        if (Opt1.Value())
            for (const auto& box : tbM) complete = complete && usable(box);
        if (!complete) {
            critical("Please enter a value in cm.");
            return;
        }
        cancelled = false;
        Hide();
    });
}

void MarginInput::btnCancel_Click() {
    trap("MarginInput, btnCancel_Click", [&] {
        cancelled = true;
        Hide();
    });
}

MarginInput::Sides MarginInput::chosenMargins() const {
    auto points = [](const platform::TextBox& box) {
        const std::optional<double> cm = centimetres(box.Text());
        if (!cm) raiseError(errTypeMismatch, "Type mismatch");
        return *cm * kPointsPerCm;
    };
    if (allSides()) {
        const double v = points(tbMargin);
        return {v, v, v, v};
    }
    return {points(tbM[0]), points(tbM[1]), points(tbM[2]), points(tbM[3])};
}

MarginInput& marginInput() {
    auto& form = instance();
    if (!form) form = std::make_unique<MarginInput>();
    return *form;
}

void unloadMarginInput() {
    auto& form = instance();
    if (!form) return;
    form->Unload();
    form.reset();
}

}  // namespace plorin
