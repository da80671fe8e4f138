// Pictures of slides and shapes: the geometry of the common AutoShapes with their adjustment
// values, freeforms through their nodes (others as their frame), rotation and flips, fill and line colours and text,
// drawn with cairo. The clipboard's bitmap of copied shapes and the simulator's slide export come from here.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "host/host.h"
#include "platform/picture.h"
#include "platform/ui_forms.h"

namespace host {

// Pixels per point at the screen's 96 dots per inch.
constexpr double kPixelsPerPointAt96Dpi = 96.0 / 72.0;

// A box on the slide, in points.
struct Bounds {
    double left = 0, top = 0, width = 0, height = 0;
};

// The axis-parallel box the shapes cover on the slide, rotation included; a zero box at the
// origin for no shapes.
Bounds boundingBox(const std::vector<std::shared_ptr<const Shape>>& shapes);

// The shapes, in their order, drawn over their bounding box on white at `scale` pixels per
// point: round(width * scale) by round(height * scale) pixels, at least 1 by 1. An empty
// picture for no shapes. Throws HostError(E_FAIL) for a scale that is not a positive number
// or a picture too large to make.
platform::Picture renderShapes(const std::vector<std::shared_ptr<const Shape>>& shapes, double scale);

// The size in pixels renderShapes gives the shapes at that scale, without drawing them;
// {0, 0} for no shapes. Throws as renderShapes.
std::pair<int, int> renderedSize(const std::vector<std::shared_ptr<const Shape>>& shapes, double scale);

// The picture renderShapes(shapes, scale) gives, drawn straight into a rectangle of the canvas
// (pixels) from the shapes themselves, as a program draws the vector picture the clipboard
// offers beside the bitmap: stretched to fill it, nothing outside it touched, and as sharp as
// the rectangle's size allows. Nothing for no shapes. Throws as renderShapes.
void drawShapes(const std::vector<std::shared_ptr<const Shape>>& shapes, double scale, platform::Canvas& canvas,
                double left, double top, double width, double height);

// How a slide is shown: in its colours, or in the black-and-white view, where the slide's
// background and each shape are drawn in their black-and-white mode (docs/host-behaviour.md).
enum class ColorView { color, blackAndWhite };

// The whole slide on white at `scale` pixels per point (1: one pixel per point), the size of
// its presentation's slides, in the view asked for. Throws HostError(E_FAIL) for a deleted
// slide and as renderShapes.
platform::Picture renderSlide(const Slide& slide, double scale, ColorView view = ColorView::color);

}  // namespace host
