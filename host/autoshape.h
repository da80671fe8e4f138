// What gives an AutoShape its outline beyond the frame: the adjustment values behind its
// handles, and a freeform's nodes. Both are handles onto the shape, as the host hands them
// out; see docs/host-behaviour.md for their rules.
#pragma once

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "host/host.h"

namespace host {

// The error number an out-of-range index reaches its caller with ("Invalid procedure call
// or argument"), as the host's invalid-argument failure arrives in the add-ins.
constexpr long kInvalidArgument = 5;

// What the shape keeps; deep-copied with it.
struct ShapeOutline {
    std::optional<std::vector<float>> adjustments;  // the type's defaults until first read
    // A freeform's nodes as fractions of its frame, so that they follow moves and resizes.
    std::vector<std::pair<double, double>> nodes;
};

// The adjustment values of an AutoShape: as many as its AutoShape type defines (none for
// rectangles, ovals, freeforms, groups and shapes of unknown types). Values are singles.
class Adjustments {
public:
    int Count() const;
    // 1-based; HostError(kInvalidArgument) outside 1..Count, HostError(E_FAIL) for a deleted shape.
    float Item(int index) const;
    // The same errors; HostError(E_FAIL) for a value that is not a finite number. Marks the
    // presentation unsaved.
    void setItem(int index, float value);

    explicit Adjustments(Shape& shape) : shape_(&shape) {}

private:
    std::vector<float>& values() const;
    Shape* shape_;
};

// The number of adjustment values and their defaults for an AutoShape type, as hosts 12.0
// and later start them (see the overload below for the older hosts).
const std::vector<float>& defaultAdjustments(int autoShapeType);

// What the adjustment values mean, which is not the same on every host: before 12.0 a
// process arrow's tip and a block arrow's head begin at a fraction of the frame and the
// shaft is the margin left on each side; from 12.0 on the tip is a fraction of the height,
// the shaft a fraction of the width across the head and the head a fraction of the shorter
// side. The renderer draws by these rules and the add-in's formulas follow them.
enum class AdjustmentMeaning { ofFrame, ofShorterSide };
AdjustmentMeaning adjustmentMeaning(const Application& app);

// The defaults where the values mean what they mean: before 12.0 the block arrows, the
// pentagon and the chevron start with the head or tip a quarter of the frame long (0.75 or
// 0.25 by direction, the two-headed arrows 0.2 each) and the shaft half as thick (0.25 on
// each side), which the later defaults would draw as an arrow without a shaft.
const std::vector<float>& defaultAdjustments(int autoShapeType, AdjustmentMeaning meaning);

// A pentagon's or chevron's tip length in points, for a frame w by h and first value a:
// (1 - a) x w before 12.0, a x h from 12.0 on. Not clamped to the frame.
double processArrowTip(AdjustmentMeaning meaning, double a, double w, double h);

// A rounded rectangle's corner radius in points: a x the frame's shorter side.
double cornerRadius(double a, double w, double h);

// A block arrow's head length along the arrow and its shaft's thickness across it, both in
// points and clamped to what the frame holds (a two-headed arrow's heads share its length).
struct BlockArrowGeometry {
    double head = 0, shaft = 0;
};
BlockArrowGeometry blockArrowGeometry(AdjustmentMeaning meaning, int autoShapeType, const std::vector<float>& values,
                                      double w, double h);

class ShapeNode {
public:
    std::pair<float, float> Points() const { return points_; }  // slide coordinates
    explicit ShapeNode(std::pair<float, float> points) : points_(points) {}

private:
    std::pair<float, float> points_;
};

// A freeform's nodes in order (none for every other shape). Positions are slide
// coordinates of the unrotated, unflipped outline.
class ShapeNodes {
public:
    int Count() const;
    // 1-based; HostError(kInvalidArgument) outside 1..Count, HostError(E_FAIL) for a deleted shape.
    ShapeNode Item(int index) const;
    // Moves node index to (x, y); the frame becomes the box of all nodes. Same errors, and
    // HostError(E_FAIL) for values that are not finite.
    void SetPosition(int index, float x, float y);

    explicit ShapeNodes(Shape& shape) : shape_(&shape) {}

private:
    Shape* shape_;
};

}  // namespace host
