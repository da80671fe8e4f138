// Swapping two shapes by a reference point of their visible boxes, and their layers.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/errors.h"
#include "host/host.h"
#include "tools/efficiency_tools.h"
#include "tools/selected_shapes.h"
#include "tools/shape_dialogs.h"

namespace plorin {

void EfficiencyTools::SwitchObjects() {
    trap("EfficiencyTools, switchObjects", [&] {
        bool switchLayer = false;
        int k = 0;
        {
            // A fresh dialog each time: one Cancel must not stick to the next switch.
            SwitchObjectsInput dialog;
            dialog.Show(true);
            const bool go = dialog.confirmed && !dialog.cancelled;
            switchLayer = dialog.cbZorder.Value() == 1;
            k = dialog.reference();
            dialog.Unload();
            if (!go) return;
        }
        const host::ShapeRange range = selectedShapeRange();
        host::Shape& s1 = *range.Item(1);
        host::Shape& s2 = *range.Item(2);
        const VisualBox b1 = getRotatedMetrics(s1), b2 = getRotatedMetrics(s2);
        // Column 0 left, 1 centre, 2 right; row 0 top, 1 middle, 2 bottom.
        auto along = [](int at, double start, double extent, double ownExtent) {
            return at == 0 ? start : at == 1 ? start + extent / 2 - ownExtent / 2 : start + extent - ownExtent;
        };
        const int column = k % 3, row = k / 3;
        placeVisualLeft(s1, along(column, b2.left, b2.width, b1.width));
        placeVisualTop(s1, along(row, b2.top, b2.height, b1.height));
        placeVisualLeft(s2, along(column, b1.left, b1.width, b2.width));
        placeVisualTop(s2, along(row, b1.top, b1.height, b2.height));

        if (!switchLayer) return;
        const auto d = static_cast<std::int16_t>(s1.ZOrderPosition() - s2.ZOrderPosition());
        const int steps = std::abs(static_cast<int>(d));
        // Single steps, so that every shape between the two keeps its place.
        const int firstMove = d >= 0 ? host::msoSendBackward : host::msoBringForward;
        const int secondMove = d >= 0 ? host::msoBringForward : host::msoSendBackward;
        for (int i = 0; i < steps; ++i) s1.ZOrder(firstMove);
        for (int i = 0; i < steps - 1; ++i) s2.ZOrder(secondMove);
    });
}

// ---- The dialog -------------------------------------------------------------------------

SwitchObjectsInput::SwitchObjectsInput() : platform::Form("SwitchObjectsInput") {
    Caption = "Switch objects";
    Label3.Caption = "Please choose the reference point for switching the selected objects";
    for (int i = 0; i < 9; ++i) {
        obReference[static_cast<std::size_t>(i)] =
            std::make_unique<platform::OptionButton>(*this, "obReference(" + std::to_string(i) + ")");
        // The options form one group: choosing one clears the others.
        obReference[static_cast<std::size_t>(i)]->onClick = [this, i] {
            for (int j = 0; j < 9; ++j)
                if (j != i) obReference[static_cast<std::size_t>(j)]->setValue(false);
        };
    }
    obReference[0]->setValue(true);
    cbZorder.Caption = "Switch layer";
    cbZorder.setValue(1);
    okCancelButtons(
        btnOK, btnCancel, [this] { btnOK_Click(); }, [this] { btnCancel_Click(); });
}

int SwitchObjectsInput::reference() const {
    int k = 0;
    for (int i = 0; i < 9; ++i)
        if (obReference[static_cast<std::size_t>(i)]->Value()) k = i;
    return k;
}

void SwitchObjectsInput::btnOK_Click() {
    trap("SwitchObjects, btnOK_Click", [&] {
        confirmed = true;
        Hide();
    });
}

void SwitchObjectsInput::btnCancel_Click() {
    trap("SwitchObjects, btnCancel_Click", [&] {
        cancelled = true;
        Hide();
    });
}

}  // namespace plorin
