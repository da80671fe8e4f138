// The visual box of a shape and the accessors that read and set it by visible edges.
#include <cmath>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/rotation.h"
#include "core/variant.h"
#include "host/host.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"

namespace plorin {

namespace {

// The value of pi the geometry has always used; the boxes depend on it in the last digits.
constexpr double kPi = 3.14159265358979;

void refuseSizing(const char* extent) {
    platform::MsgBox(
        std::string("Shape ") + extent + " can only be set if shape is rotated by a multiple of 90 degrees.",
        platform::vbCritical, kProductName);
}

}  // namespace

// The box is centred on the frame's centre. Its extents are the sums of the absolute
// projections, which hold in every quadrant (a square at 135 degrees keeps its diagonal).
EfficiencyTools::VisualBox EfficiencyTools::getRotatedMetrics(host::Shape& shape) {
    return reportedAs("EfficiencyTools, getRotatedMetrics", [&] {
        const double a = static_cast<double>(shape.Rotation()) / 180.0 * kPi;
        const double width = shape.Width();
        const double height = shape.Height();
        VisualBox box;
        box.height = std::fabs(height * std::cos(a)) + std::fabs(width * std::sin(a));
        box.width = std::fabs(width * std::cos(a)) + std::fabs(height * std::sin(a));
        box.top = static_cast<double>(shape.Top()) + height / 2 - box.height / 2;
        box.left = static_cast<double>(shape.Left()) + width / 2 - box.width / 2;
        return box;
    });
}

Variant EfficiencyTools::getLeft(host::Shape& shape) {
    Variant value;
    trap("EfficiencyTools, getLeft", [&] { value = getRotatedMetrics(shape).left; });
    return value;
}

Variant EfficiencyTools::getTop(host::Shape& shape) {
    Variant value;
    trap("EfficiencyTools, getTop", [&] { value = getRotatedMetrics(shape).top; });
    return value;
}

Variant EfficiencyTools::getWidth(host::Shape& shape) {
    Variant value;
    trap("EfficiencyTools, getWidth", [&] { value = getRotatedMetrics(shape).width; });
    return value;
}

Variant EfficiencyTools::getHeight(host::Shape& shape) {
    Variant value;
    trap("EfficiencyTools, getHeight", [&] { value = getRotatedMetrics(shape).height; });
    return value;
}

void EfficiencyTools::placeVisualLeft(host::Shape& shape, double value) {
    reportedAs("EfficiencyTools, setLeft", [&] {
        const double visualWidth = getRotatedMetrics(shape).width;
        shape.setLeft(toSingle(value + visualWidth * 0.5 - static_cast<double>(shape.Width()) * 0.5));
    });
}

void EfficiencyTools::placeVisualTop(host::Shape& shape, double value) {
    reportedAs("EfficiencyTools, setTop", [&] {
        const double visualHeight = getRotatedMetrics(shape).height;
        shape.setTop(toSingle(value + visualHeight * 0.5 - static_cast<double>(shape.Height()) * 0.5));
    });
}

// At 90 and 270 degrees the visible width is the frame's Height. The host keeps the frame's
// own (rotated) top-left corner when a size changes; where that corner is not the visible
// left edge (90 and 180 degrees), Left is corrected first so that the visible left stays.
bool EfficiencyTools::sizeVisualWidth(host::Shape& shape, double value) {
    return reportedAs("EfficiencyTools, setWidth", [&] {
        const double r = normalizeRotation(shape);
        const float size = toSingle(value);
        if (r == 0) {
            shape.setWidth(size);
        } else if (r == 90) {
            shape.setLeft(toSingle(static_cast<double>(shape.Left()) + value - static_cast<double>(shape.Height())));
            shape.setHeight(size);
        } else if (r == 180) {
            shape.setLeft(toSingle(static_cast<double>(shape.Left()) + value - static_cast<double>(shape.Width())));
            shape.setWidth(size);
        } else if (r == 270) {
            shape.setHeight(size);
        } else {
            refuseSizing("width");
            return false;
        }
        return true;
    });
}

// The same for the visible height: the host's corner is the visible top at 0 and 90 degrees;
// at 180 and 270 Top is corrected first.
bool EfficiencyTools::sizeVisualHeight(host::Shape& shape, double value) {
    return reportedAs("EfficiencyTools, setHeight", [&] {
        const double r = normalizeRotation(shape);
        const float size = toSingle(value);
        if (r == 0) {
            shape.setHeight(size);
        } else if (r == 90) {
            shape.setWidth(size);
        } else if (r == 180) {
            shape.setTop(toSingle(static_cast<double>(shape.Top()) + value - static_cast<double>(shape.Height())));
            shape.setHeight(size);
        } else if (r == 270) {
            shape.setTop(toSingle(static_cast<double>(shape.Top()) + value - static_cast<double>(shape.Width())));
            shape.setWidth(size);
        } else {
            refuseSizing("height");
            return false;
        }
        return true;
    });
}

void EfficiencyTools::setLeft(host::Shape& shape, double value) {
    trap("EfficiencyTools, setLeft", [&] { placeVisualLeft(shape, value); });
}

void EfficiencyTools::setTop(host::Shape& shape, double value) {
    trap("EfficiencyTools, setTop", [&] { placeVisualTop(shape, value); });
}

void EfficiencyTools::setWidth(host::Shape& shape, double value) {
    trap("EfficiencyTools, setWidth", [&] { sizeVisualWidth(shape, value); });
}

void EfficiencyTools::setHeight(host::Shape& shape, double value) {
    trap("EfficiencyTools, setHeight", [&] { sizeVisualHeight(shape, value); });
}

}  // namespace plorin
