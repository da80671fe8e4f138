// Process diagrams of pentagons and chevrons: one tip angle, a gapless chain, and a header
// box that follows a pentagon's slanted tip.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/errors.h"
#include "core/host_version.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/rotation.h"
#include "core/shared_state.h"
#include "host/autoshape.h"
#include "host/host.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"
#include "tools/selected_shapes.h"

namespace plorin {

namespace {

constexpr double kPi = 3.14159265358979;

bool isProcessArrow(const host::Shape& s) {
    return s.Type() == host::msoAutoShape &&
           (s.AutoShapeType() == host::msoShapePentagon || s.AutoShapeType() == host::msoShapeChevron);
}

// What the selection state calls "process arrows": two or more shapes are selected and all
// of them are (one arrow has nothing to align with).
bool processArrowsSelected() {
    host::Application& app = hostApplication();
    if (app.Windows().Count() == 0) return false;
    host::Selection& selection = app.ActiveWindow()->Selection();
    if (selection.Type() != host::ppSelectionShapes) return false;
    const host::ShapeRange range = selection.ShapeRange();
    if (range.Count() < 2) return false;
    return std::all_of(range.all().begin(), range.all().end(), [](const auto& s) { return isProcessArrow(*s); });
}

float adjustment(host::Shape& s) { return s.Adjustments().Item(1); }

// The master's tip: its angle (command-bar hosts) and the length every arrow's tip gets.
struct Tip {
    float adjustment = 0;
    double angle = 0;
    double length = 0;
};

// One tip rule for the chain, the header and the host's own drawing of the arrow.
Tip tipOf(host::Shape& m, HostFamily family) {
    Tip tip;
    tip.adjustment = adjustment(m);
    const double a = tip.adjustment, w = m.Width(), h = m.Height();
    if (family == HostFamily::commandBars) {
        tip.length = host::processArrowTip(host::AdjustmentMeaning::ofFrame, a, w, h);
        tip.angle = tip.adjustment == 1.0f ? kPi : std::atan((h / 2) / tip.length);
    } else if (family == HostFamily::ribbon) {
        tip.length = host::processArrowTip(host::AdjustmentMeaning::ofShorterSide, a, w, h);
    }
    return tip;
}

// The same tip angle with the shape's own size; ribbon hosts keep the angle in the value.
void matchTipAngle(host::Shape& s, const Tip& tip, HostFamily family) {
    if (family == HostFamily::ribbon) {
        s.Adjustments().setItem(1, tip.adjustment);
    } else if (family == HostFamily::commandBars) {
        if (tip.adjustment == 1.0f) s.Adjustments().setItem(1, 1.0f);
        else s.Adjustments().setItem(1, toSingle(1 - ((s.Height() / 2.0) / std::tan(tip.angle)) / s.Width()));
    }
}

int quadrant(host::Shape& s) { return static_cast<int>(roundHalfEven(normalizeRotation(s))) / 90; }

}  // namespace

void EfficiencyTools::alignAngles() {
    trap("EfficiencyTools, alignAngles", [&] {
        if (!processArrowsSelected()) {
            platform::MsgBox("Please select two or more process arrows first.", platform::vbInformation, kProductName);
            return;
        }
        const host::ShapeRange range = selectedShapeRange();
        const HostFamily family = hostFamily();
        const Tip tip = tipOf(*range.Item(range.Count()), family);
        for (int i = 1; i <= range.Count() - 1; ++i) matchTipAngle(*range.Item(i), tip, family);
    });
}

void EfficiencyTools::processChain() {
    trap("EfficiencyTools, processChain", [&] {
        const host::ShapeRange range = selectedShapeRange();
        const int count = range.Count();
        host::Shape& m = *range.Item(count);
        const int q = quadrant(*range.Item(1));
        // Sorted by the very edge the chain is built on, each arrow's tail: the frame's left
        // or right for arrows across, the visible top or bottom for arrows turned upright
        // (their frame depends on their length). Arrows of different lengths that overlap
        // would come out of order by any other edge. Stable, so equal positions keep their
        // selection order.
        std::vector<std::shared_ptr<host::Shape>> chain = range.all();
        std::vector<std::pair<double, std::shared_ptr<host::Shape>>> keyed;
        keyed.reserve(chain.size());
        for (auto& s : chain) {
            const VisualBox box = getRotatedMetrics(*s);
            const double tail = q == 0   ? static_cast<double>(s->Left())
                                : q == 1 ? box.top
                                : q == 2 ? static_cast<double>(s->Left()) + s->Width()
                                         : box.top + box.height;
            keyed.emplace_back(tail, s);
        }
        const bool ascending = q == 0 || q == 1;
        std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& x, const auto& y) {
            return ascending ? x.first < y.first : y.first < x.first;
        });

        const HostFamily family = hostFamily();
        const Tip tip = tipOf(m, family);
        const double t = tip.length;
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            host::Shape& s = *keyed[i].second;
            host::Shape* n = i + 1 < keyed.size() ? keyed[i + 1].second.get() : nullptr;
            s.setHeight(m.Height());
            switch (q) {
                case 0:
                    if (n) s.setWidth(toSingle(static_cast<double>(n->Left()) - s.Left() + t));
                    s.setTop(m.Top());
                    break;
                case 1:
                    if (n) s.setWidth(toSingle(getRotatedMetrics(*n).top - getRotatedMetrics(s).top + t));
                    placeVisualLeft(s, getRotatedMetrics(m).left);
                    break;
                case 2:
                    if (n)
                        s.setWidth(toSingle((static_cast<double>(s.Left()) + s.Width()) -
                                            (static_cast<double>(n->Left()) + n->Width()) + t));
                    s.setTop(m.Top());
                    break;
                default: {
                    if (n) {
                        const VisualBox sb = getRotatedMetrics(s), nb = getRotatedMetrics(*n);
                        s.setWidth(toSingle((sb.top + sb.height) - (nb.top + nb.height) + t));
                    }
                    placeVisualLeft(s, getRotatedMetrics(m).left);
                    break;
                }
            }
            matchTipAngle(s, tip, family);
        }
    });
}

void EfficiencyTools::adjustPentagonHeader() {
    trap("EfficiencyTools, adjustPentagonHeader", [&] {
        const HostFamily family = hostFamily();
        const int expectedNodes = family == HostFamily::commandBars ? 4 : family == HostFamily::ribbon ? 5 : -1;
        const host::ShapeRange range = selectedShapeRange();
        auto isPentagon = [](const host::Shape& s) {
            return s.Type() == host::msoAutoShape && s.AutoShapeType() == host::msoShapePentagon;
        };
        auto isHeader = [&](host::Shape& s) {
            if (s.Type() != host::msoFreeform || s.AutoShapeType() != host::msoShapeNotPrimitive) return false;
            int nodes = -2;
            ignoreErrors([&] { nodes = s.Nodes().Count(); });
            return nodes == expectedNodes;
        };
        host::Shape* pentagon = nullptr;
        host::Shape* header = nullptr;
        // Two shapes are needed; a single one is simply not the pair.
        if (range.Count() >= 2) {
            host::Shape& a = *range.Item(1);
            host::Shape& b = *range.Item(2);
            if (isPentagon(a) && isHeader(b)) pentagon = &a, header = &b;
            else if (isPentagon(b) && isHeader(a)) pentagon = &b, header = &a;
        }
        if (!pentagon) {
            platform::MsgBox(
                "Nothing appropriate is currently selected.\r\n"
                "Please select the pentagon (block arrow) and the corresponding header box.",
                platform::vbInformation, kProductName);
            return;
        }

        const double left = pentagon->Left(), top = pentagon->Top(), width = pentagon->Width(),
                     height = pentagon->Height();
        const double yb = static_cast<double>(header->Top()) + header->Height();
        const double t = tipOf(*pentagon, family).length;
        const double inset = (1 - 2 * (yb - top) / height) * t;

        const long rotation = static_cast<long>(roundHalfEven(pentagon->Rotation()));
        if (rotation % 180 != 0) {
            platform::MsgBox("The pentagon needs to be in an upright position.", platform::vbExclamation, kProductName);
            return;
        }
        const bool flipped = pentagon->HorizontalFlip() == host::msoTrue;
        const bool tipRight = (rotation % 360 == 0) != flipped;

        header->setRotation(0);
        if (header->HorizontalFlip() == host::msoTrue) header->Flip(0);
        if (header->VerticalFlip() == host::msoTrue) header->Flip(1);

        const double x1 = tipRight ? left : left + t;
        const double x2 = tipRight ? left + width - t : left + width;
        const double x3 = tipRight ? left + width - inset : left + width;
        const double x4 = tipRight ? left : left + inset;
        host::ShapeNodes nodes = header->Nodes();
        nodes.SetPosition(1, toSingle(x1), toSingle(top));
        nodes.SetPosition(2, toSingle(x2), toSingle(top));
        nodes.SetPosition(3, toSingle(x3), toSingle(yb));
        nodes.SetPosition(4, toSingle(x4), toSingle(yb));
        if (expectedNodes == 5) nodes.SetPosition(5, toSingle(x1), toSingle(top));
    });
}

}  // namespace plorin
