// Exact numbers for the adjustment values of the selected AutoShapes.
#include <string>
#include <utility>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "host/autoshape.h"
#include "host/host.h"
#include "platform/locale.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"
#include "tools/selected_shapes.h"
#include "tools/shape_dialogs.h"

namespace plorin {

void EfficiencyTools::tweakAutoShapeAdjustments() {
    trap("EfficiencyTools, tweakAutoShapeAdjustments", [&] {
        AutoShapeAdjustments dialog;
        dialog.Show(true);
        dialog.Unload();
    });
}

void okCancelButtons(platform::CommandButton& ok, platform::CommandButton& cancel, std::function<void()> onOk,
                     std::function<void()> onCancel) {
    ok.Caption = "&OK";
    ok.Default = true;
    cancel.Caption = "&Cancel";
    cancel.Cancel = true;
    cancel.CausesValidation = false;  // a refused value must not keep the user from leaving
    ok.onClick = std::move(onOk);
    cancel.onClick = std::move(onCancel);
}

std::string formatAdjustment(float value) {
    std::string text = platform::formatUserNumber(value, 7);
    for (char& c : text)
        if (c == ',') c = '.';
    const auto b = text.find_first_not_of(' ');
    const auto e = text.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
}

AutoShapeAdjustments::AutoShapeAdjustments() : platform::Form("AutoShapeAdjustments") {
    Caption = "Tweak AutoShape adjustments";
    Label1.Caption = "This function allows to define exact numeric values for AutoShape adjustments.";
    Label2.Caption =
        "Adjustment handles are displayed as yellow diamonds and can have more than one adjustment value, e.g. for "
        "one for the x and one for the y axis.";
    Label3.Caption =
        "As different AutoShapes have different ways to be adjusted, trying different settings may be required.";
    for (int i = 0; i < 8; ++i) {
        const auto at = static_cast<std::size_t>(i);
        lAdj[at] = std::make_unique<platform::Label>(*this, "lAdj(" + std::to_string(i) + ")");
        lAdj[at]->Caption = std::to_string(i + 1);
        tbAdj[at] = std::make_unique<platform::TextBox>(*this, "tbAdj(" + std::to_string(i) + ")");
    }
    okCancelButtons(
        btnOK, btnCancel, [this] { btnOK_Click(); }, [this] { btnCancel_Click(); });
}

void AutoShapeAdjustments::Form_Activate() {
    trap("AutoShapeAdjustments, Form_Activate", [&] {
        const host::ShapeRange range = selectedShapeRange();
        host::Shape& last = *range.Item(range.Count());
        for (std::size_t i = 0; i < 8; ++i) {
            try {
                tbAdj[i]->setText(formatAdjustment(last.Adjustments().Item(static_cast<int>(i) + 1)));
            } catch (const platform::NumberedError& e) {
                // The shape has no such value.
                if (e.number() == errInvalidArgument || e.number() == errPermissionDenied)
                    tbAdj[i]->Visible = lAdj[i]->Visible = false;
            } catch (...) {
            }
        }
        if (!tbAdj[0]->Visible) {
            lAdj[0]->Visible = true;
            lAdj[0]->Caption = "At least one shape in your selection does not support adjustments.";
            lAdjBold = true;
            btnOK.Enabled = false;
        }
    });
}

// The check and the writing read the text with one parser, so what passes is what is written.
void AutoShapeAdjustments::btnOK_Click() {
    trap("AutoShapeAdjustments, btnOK_Click", [&] {
        for (std::size_t i = 0; i < 8; ++i)
            if (tbAdj[i]->Visible && !platform::readUserNumber(tbAdj[i]->Text())) {
                platform::MsgBox("Please enter a numeric value for adjustment " + std::to_string(i + 1) + ".",
                                 platform::vbCritical, kProductName);
                return;
            }
        const host::ShapeRange range = selectedShapeRange();
        for (const auto& s : range.all())
            for (std::size_t i = 0; i < 8; ++i) {
                if (!tbAdj[i]->Visible) continue;
                const double value = *platform::readUserNumber(tbAdj[i]->Text());
                // A shape that lacks the value, or refuses it, is passed over for it.
                ignoreErrors([&] { s->Adjustments().setItem(static_cast<int>(i) + 1, toSingle(value)); });
            }
        Unload();
    });
}

void AutoShapeAdjustments::btnCancel_Click() {
    trap("AutoShapeAdjustments, btnCancel_Click", [&] { Unload(); });
}

}  // namespace plorin
