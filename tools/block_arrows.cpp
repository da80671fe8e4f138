// Block arrows with one arrowhead angle and one shaft-to-head ratio whatever their size.
#include <cmath>
#include <memory>
#include <string>

#include "core/errors.h"
#include "core/host_version.h"
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

constexpr double kPi = 3.14159265358979;

bool isBlockArrowType(int t) {
    return (t >= host::msoShapeRightArrow && t <= host::msoShapeUpDownArrow) || t == host::msoShapeStripedRightArrow ||
           t == host::msoShapeNotchedRightArrow;
}

void critical(const std::string& text) { platform::MsgBox(text, platform::vbCritical, kProductName); }

// Command-bar hosts keep the head length relative to the arrow's length and the shaft as
// the margin on each side; the up-down arrow has the two values the other way round.
void writeOlderHostGeometry(host::Shape& s, double k, double ratio) {
    const double h = s.Height(), w = s.Width();
    const double shaft = (100 - ratio) / 100 / 2;
    host::Adjustments values = s.Adjustments();
    auto set = [&](int index, double value) { values.setItem(index, toSingle(value)); };
    switch (s.AutoShapeType()) {
        case host::msoShapeRightArrow:
        case host::msoShapeStripedRightArrow:
        case host::msoShapeNotchedRightArrow:
            set(2, shaft);
            set(1, 1 - h * k / w);
            break;
        case host::msoShapeLeftArrow:
        case host::msoShapeLeftRightArrow:
            set(2, shaft);
            set(1, h * k / w);
            break;
        case host::msoShapeUpArrow:
            set(2, shaft);
            set(1, w * k / h);
            break;
        case host::msoShapeDownArrow:
            set(2, shaft);
            set(1, 1 - w * k / h);
            break;
        case host::msoShapeUpDownArrow:
            set(1, shaft);
            set(2, w * k / h);
            break;
        default: break;
    }
}

}  // namespace

void EfficiencyTools::beautifyBlockArrow() {
    trap("EfficiencyTools, beautifyBlockArrow", [&] {
        host::Application& app = hostApplication();
        bool found = false;
        if (app.Windows().Count() > 0) {
            host::Selection& selection = app.ActiveWindow()->Selection();
            const host::ShapeRange range =
                selection.Type() == host::ppSelectionShapes ? selection.ShapeRange() : host::ShapeRange();
            for (const auto& s : range.all())
                if (s->Type() == host::msoAutoShape && isBlockArrowType(s->AutoShapeType())) {
                    found = true;
                    break;
                }
        }
        if (!found) {
            platform::MsgBox("Please select at least one block arrow before invoking this function.",
                             platform::vbInformation, kProductName);
            return;
        }
        if (!blockArrows_) blockArrows_ = std::make_shared<BlockArrows>();
        blockArrows_->Show(false);
    });
}

BlockArrows* EfficiencyTools::blockArrowsDialog() const {
    return blockArrows_ && blockArrows_->loaded() ? blockArrows_.get() : nullptr;
}

// ---- The dialog -------------------------------------------------------------------------

BlockArrows::BlockArrows() : platform::Form("BlockArrows") {
    Caption = "Beautify block arrows";
    Label1.Caption = "Please select one of the standard angles or define your own metrics.";
    const char* captions[] = {"Wide angle", "Right angle", "Acute angle", "User defined"};
    for (int i = 0; i < 4; ++i) {
        auto& option = obAngle[static_cast<std::size_t>(i)];
        option = std::make_unique<platform::OptionButton>(*this, "obAngle(" + std::to_string(i) + ")");
        option->Caption = captions[i];
        option->onClick = [this, i] { obAngle_Click(i); };
    }
    Label2.Caption = "Angle (in degrees)";
    Label3.Caption = "Shaft width / arrowhead width (in%)";
    okCancelButtons(
        btnOK, btnCancel, [this] { btnOK_Click(); }, [this] { btnCancel_Click(); });
    tbAngle.onValidate = [this](bool& cancel) { cancel = !tbAngle_Validate(); };
    tbRatio.onValidate = [this](bool& cancel) { cancel = !tbRatio_Validate(); };
}

void BlockArrows::Form_Load() {
    trap("BlockArrows, Form_Load", [&] {
        tbAngle.setText("120");
        tbRatio.setText("50");
        tbAngle.Enabled = tbRatio.Enabled = false;
        for (std::size_t i = 1; i < obAngle.size(); ++i) obAngle[i]->setValue(false);
        obAngle[0]->setValue(true);
    });
}

void BlockArrows::obAngle_Click(int index) {
    trap("BlockArrows, obAngle_Click", [&] {
        for (int j = 0; j < 4; ++j)
            if (j != index) obAngle[static_cast<std::size_t>(j)]->setValue(false);
        const char* angles[] = {"120", "90", "60"};
        if (index >= 0 && index <= 2) {
            tbAngle.setText(angles[index]);
            tbRatio.setText("50");
            tbAngle.Enabled = tbRatio.Enabled = false;
        } else if (index == 3) {
            tbAngle.Enabled = tbRatio.Enabled = true;
        }
    });
}

bool BlockArrows::tbAngle_Validate() {
    bool accepted = false;
    trap("BlockArrows, tbAngle_Validate", [&] {
        const auto angle = platform::readUserNumber(tbAngle.Text());
        if (!angle || *angle <= 0 || *angle > 180) {
            critical("Please enter an angle in the range of 0 to 180 degrees.");
            return;
        }
        accepted = true;
    });
    return accepted;
}

bool BlockArrows::tbRatio_Validate() {
    bool accepted = false;
    trap("BlockArrows, tbRatio_Validate", [&] {
        const auto ratio = platform::readUserNumber(tbRatio.Text());
        if (!ratio) {
            critical("Please enter a value in the range of 0 to 100 in the field 'Shaft width / arrowhead width.'");
        } else if (*ratio < 0 || *ratio > 100) {
            critical("Please enter a value in the range of 0 to 100 in the field 'Shaft width / arrowhead width.");
        } else {
            accepted = true;
        }
    });
    return accepted;
}

// OK is the default button, so Enter reaches it without either box losing the focus: both
// are checked here first.
void BlockArrows::btnOK_Click() {
    trap("BlockArrows, btnOK_Click", [&] {
        if (!tbAngle_Validate() || !tbRatio_Validate()) return;
        const double angle = *platform::readUserNumber(tbAngle.Text());
        const double ratio = *platform::readUserNumber(tbRatio.Text());
        const double k = 0.5 / std::tan(angle / 2 / 360 * 2 * kPi);
        const HostFamily family = hostFamily();
        const host::ShapeRange range = selectedShapeRange();
        for (const auto& s : range.all()) {
            if (family == HostFamily::ribbon) {
                if (!isBlockArrowType(s->AutoShapeType())) continue;
                s->Adjustments().setItem(1, toSingle(ratio / 100));
                s->Adjustments().setItem(2, toSingle(k));
            } else if (family == HostFamily::commandBars) {
                writeOlderHostGeometry(*s, k, ratio);
            }
        }
        Unload();
    });
}

void BlockArrows::btnCancel_Click() {
    trap("BlockArrows, btnCancel_Click", [&] { Unload(); });
}

}  // namespace plorin
