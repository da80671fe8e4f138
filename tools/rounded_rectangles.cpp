// Rounded rectangles with one visible corner radius whatever their size: copied from the last
// selected one, or typed in millimetres.
#include <cstdio>
#include <string>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/autoshape.h"
#include "host/host.h"
#include "platform/locale.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"
#include "tools/selected_shapes.h"
#include "tools/shape_dialogs.h"

namespace plorin {

namespace {

// One tenth of a millimetre in points.
constexpr double kTenthMillimetre = 0.2835;

// The corner belongs to the unrotated shape: the frame's shorter side, a tie taking Width.
double shorterSide(const host::Shape& s) { return s.Height() < s.Width() ? s.Height() : s.Width(); }

double radiusOf(host::Shape& s) { return static_cast<double>(s.Adjustments().Item(1)) * shorterSide(s); }

// The checks both commands make, in order; false once one has told the user.
bool roundedRectanglesSelected(const char* atLeast) {
    host::Application& app = hostApplication();
    auto info = [](const char* text) { platform::MsgBox(text, platform::vbInformation, kProductName); };
    if (app.Windows().Count() == 0) {
        info("Please open a presentation first.");
        return false;
    }
    host::Selection& selection = app.ActiveWindow()->Selection();
    if (selection.Type() == host::ppSelectionText) {
        // The shape is there, but its text is what is selected: say how to reach the shape.
        info("Please finish editing the text and select the rounded rectangles themselves.");
        return false;
    }
    if (selection.Type() != host::ppSelectionShapes || selection.ShapeRange().Type() != host::msoAutoShape) {
        info(atLeast);
        return false;
    }
    if (selection.ShapeRange().AutoShapeType() != host::msoShapeRoundedRectangle) {
        info("Please select only rounded rectangles.");
        return false;
    }
    return true;
}

}  // namespace

void EfficiencyTools::setRadius(host::Shape& shape, double radius) {
    reportedAs("EfficiencyTools, setRadius",
               [&] { shape.Adjustments().setItem(1, toSingle(radius / shorterSide(shape))); });
}

void EfficiencyTools::roundedRectangles() {
    trap("EfficiencyTools, roundedRectangles", [&] {
        if (!roundedRectanglesSelected("Please select at least two rounded rectangles.")) return;
        const host::ShapeRange range = selectedShapeRange();
        const double radius = radiusOf(*range.Item(range.Count()));
        for (int i = 1; i <= range.Count() - 1; ++i) setRadius(*range.Item(i), radius);
    });
}

void EfficiencyTools::roundedRectanglesNumeric() {
    trap("EfficiencyTools, roundedRectanglesNumeric", [&] {
        if (!roundedRectanglesSelected("Please select at least one rounded rectangle.")) return;
        roundedRectanglesInput dialog;
        dialog.Show(true);
        if (dialog.cancelled || !dialog.confirmed) {
            dialog.Unload();
            return;
        }
        const double radius =
            -static_cast<double>(static_cast<std::int16_t>(dialog.udRadius.Value())) * kTenthMillimetre;
        dialog.Unload();
        const host::ShapeRange range = selectedShapeRange();
        for (int i = 1; i <= range.Count(); ++i) setRadius(*range.Item(i), radius);
    });
}

// ---- The dialog -------------------------------------------------------------------------

roundedRectanglesInput::roundedRectanglesInput() : platform::Form("roundedRectanglesInput") {
    Caption = "Rounded rectangles";
    Label1.Caption = "Please enter the radius in mm:";
    tbRadius.setText("0.0");
    udRadius.Min = -32768;
    udRadius.Max = 0;
    udRadius.SmallChange = 1;
    okCancelButtons(
        btnOK, btnCancel, [this] { btnOK_Click(); }, [this] { btnCancel_Click(); });
    udRadius.onChange = [this] { udRadius_Change(); };
    tbRadius.onValidate = [this](bool& cancel) { cancel = !tbRadius_Validate(); };
}

void roundedRectanglesInput::Form_Load() {
    cancelled = false;
    confirmed = false;
}

void roundedRectanglesInput::Form_Activate() {
    trap("roundedRectanglesInput, Form_Activate", [&] {
        const host::ShapeRange range = selectedShapeRange();
        udRadius.setValue(toInteger16(-radiusOf(*range.Item(range.Count())) / kTenthMillimetre));
        udRadius_Change();  // also when the value was already there
    });
}

void roundedRectanglesInput::udRadius_Change() {
    trap("roundedRectanglesInput, udRadius_Change", [&] {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", -udRadius.Value() / 10.0);
        std::string shown = text;
        for (char& c : shown)
            if (c == '.') c = platform::decimalSeparator();
        tbRadius.setText(shown);
    });
}

bool roundedRectanglesInput::tbRadius_Validate() {
    bool accepted = false;
    trap("roundedRectanglesInput, tbRadius_Validate", [&] {
        if (tbRadius.Text().empty()) {
            accepted = true;
            return;
        }
        const auto number = platform::readUserNumber(tbRadius.Text());
        if (!number) {
            platform::MsgBox("Please enter a numeric value.", platform::vbCritical, kProductName);
        } else if (*number < 0 || *number > 100) {
            platform::MsgBox("Please enter a value in mm.", platform::vbCritical, kProductName);
        } else {
            udRadius.setValue(toInteger16(-*number * 10));
            accepted = true;
        }
    });
    return accepted;
}

// The text is validated before OK takes effect, as leaving the box would.
void roundedRectanglesInput::btnOK_Click() {
    trap("roundedRectanglesInput, btnOK_Click", [&] {
        if (!tbRadius_Validate()) return;
        confirmed = true;
        Hide();
    });
}

void roundedRectanglesInput::btnCancel_Click() {
    trap("roundedRectanglesInput, btnCancel_Click", [&] {
        cancelled = true;
        Hide();
    });
}

}  // namespace plorin
