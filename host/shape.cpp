// Shapes on a slide: geometry, flips, names, deletion, and the Shapes collection that makes them.
#include <cmath>
#include <numbers>
#include <utility>

#include "host/autoshape.h"
#include "host/host.h"
#include "host/text.h"

namespace host {

namespace {

void requireFinite(float v, const char* member) {
    if (!std::isfinite(v)) throw HostError(E_FAIL, std::string("Shape.") + member + " : The value is out of range.");
}

// The name the host gives a new shape: its kind and its id.
std::string defaultName(int type, int autoShapeType, long id) {
    const char* kind = "Shape";
    switch (type) {
        case msoAutoShape:
            kind = autoShapeType == msoShapeRectangle ? "Rectangle"
                   : autoShapeType == msoShapeOval    ? "Oval"
                                                      : "AutoShape";
            break;
        case msoTextBox: kind = "TextBox"; break;
        case msoPicture: kind = "Picture"; break;
        case msoGroup: kind = "Group"; break;
        case msoLine: kind = "Straight Connector"; break;
        case msoPlaceholder: kind = "Placeholder"; break;
        case msoTable: kind = "Table"; break;
        case msoChart: kind = "Chart"; break;
        default: break;
    }
    return std::string(kind) + " " + std::to_string(id);
}

// Sine and cosine of a clockwise angle in [0, 360), exact at the right angles so that a
// shape turned by 90 degrees resizes without drift.
std::pair<double, double> sinCosDegrees(float degrees) {
    if (degrees == 0) return {0.0, 1.0};
    if (degrees == 90) return {1.0, 0.0};
    if (degrees == 180) return {0.0, -1.0};
    if (degrees == 270) return {-1.0, 0.0};
    const double radians = static_cast<double>(degrees) * std::numbers::pi / 180.0;
    return {std::sin(radians), std::cos(radians)};
}

}  // namespace

Shape::Shape(Slide* parent, long id, int type, int autoShapeType, float left, float top, float width, float height)
    : parent_(parent),
      id_(id),
      type_(type),
      autoShapeType_(autoShapeType),
      left_(left),
      top_(top),
      width_(width),
      height_(height),
      name_(defaultName(type, autoShapeType, id)) {
    tags_.onChange([this] { changed(); });
}

void Shape::changed() {
    if (parent_ && parent_->parent_) parent_->parent_->changed();
}

void Shape::requireAlive() const {
    if (!parent_) throw HostError(E_FAIL, "Shape (unknown member) : The object does not exist.");
}

void Shape::setLeft(float v) {
    requireAlive();
    requireFinite(v, "Left");
    const Frame before = frame();
    left_ = v;
    carryMembers(before);
    changed();
}

void Shape::setTop(float v) {
    requireAlive();
    requireFinite(v, "Top");
    const Frame before = frame();
    top_ = v;
    carryMembers(before);
    changed();
}

// A group's members keep their places inside it: moved with it, and stretched with it as
// it is resized. Nested groups take the same mapping, so it is applied to every level.
void Shape::carryMembers(const Frame& before) {
    if (groupItems_.empty()) return;
    const float scaleX = before.width != 0 ? width_ / before.width : 1.0f;
    const float scaleY = before.height != 0 ? height_ / before.height : 1.0f;
    for (const auto& m : groupItems_) m->reframe(before, scaleX, scaleY, left_, top_);
}

void Shape::reframe(const Frame& from, float scaleX, float scaleY, float toLeft, float toTop) {
    left_ = toLeft + (left_ - from.left) * scaleX;
    top_ = toTop + (top_ - from.top) * scaleY;
    width_ *= scaleX;
    height_ *= scaleY;
    for (const auto& m : groupItems_) m->reframe(from, scaleX, scaleY, toLeft, toTop);
}

// Resizing keeps the frame's own top-left corner where it is on the slide, rotated with the
// shape. Unrotated, that is the plain rule (Left and Top stay); rotated, Left and Top move
// so that the corner stays. With the corner at centre + R(-W/2, -H/2), R the clockwise
// rotation (y pointing down), a width change dW moves the centre by R(dW/2, 0), i.e. Left by
// -dW/2 (1 - cos a) and Top by dW/2 sin a; a height change dH likewise by R(0, dH/2).
void Shape::setWidth(float v) {
    requireAlive();
    requireFinite(v, "Width");
    const Frame before = frame();
    if (rotation_ != 0) {
        const auto [sine, cosine] = sinCosDegrees(rotation_);
        const double dw = static_cast<double>(v) - width_;
        const float left = static_cast<float>(left_ - dw / 2 * (1 - cosine));
        const float top = static_cast<float>(top_ + dw / 2 * sine);
        requireFinite(left, "Width");
        requireFinite(top, "Width");
        left_ = left;
        top_ = top;
    }
    width_ = v;
    carryMembers(before);
    changed();
}

void Shape::setHeight(float v) {
    requireAlive();
    requireFinite(v, "Height");
    const Frame before = frame();
    if (rotation_ != 0) {
        const auto [sine, cosine] = sinCosDegrees(rotation_);
        const double dh = static_cast<double>(v) - height_;
        const float left = static_cast<float>(left_ - dh / 2 * sine);
        const float top = static_cast<float>(top_ - dh / 2 * (1 - cosine));
        requireFinite(left, "Height");
        requireFinite(top, "Height");
        left_ = left;
        top_ = top;
    }
    height_ = v;
    carryMembers(before);
    changed();
}

void Shape::setRotation(float v) {
    requireAlive();
    requireFinite(v, "Rotation");
    double r = std::fmod(static_cast<double>(v), 360.0);
    if (r < 0) r += 360.0;
    float stored = static_cast<float>(r);
    // A tiny negative angle rounds up to 360 in float; -0 is stored as 0.
    if (stored >= 360.0f || stored == 0.0f) stored = 0.0f;
    rotation_ = stored;
    changed();
}

void Shape::Flip(int direction) {
    requireAlive();
    int* flip = direction == 0 ? &hflip_ : direction == 1 ? &vflip_ : nullptr;
    if (!flip) throw HostError(E_FAIL, "Shape.Flip : The value is out of range.");
    *flip = *flip == msoTrue ? msoFalse : msoTrue;
    // The members turn over inside the group: each lands on the far side of its centre line.
    const bool horizontal = direction == 0;
    const float axisTwice = horizontal ? 2 * left_ + width_ : 2 * top_ + height_;
    for (const auto& m : groupItems_) m->mirror(axisTwice, horizontal);
    changed();
}

void Shape::mirror(float axisTwice, bool horizontal) {
    if (horizontal) {
        left_ = axisTwice - left_ - width_;
        hflip_ = hflip_ == msoTrue ? msoFalse : msoTrue;
    } else {
        top_ = axisTwice - top_ - height_;
        vflip_ = vflip_ == msoTrue ? msoFalse : msoTrue;
    }
    if (rotation_ != 0) rotation_ = 360.0f - rotation_;  // a mirror turns the other way
    for (const auto& m : groupItems_) m->mirror(axisTwice, horizontal);
}

void Shape::setAutoShapeType(int t) {
    requireAlive();
    autoShapeType_ = t;
    if (outline_) outline_->adjustments.reset();  // the new type's defaults
    changed();
}

void Shape::setName(const std::string& n) {
    requireAlive();
    name_ = n;
    changed();
}

void Shape::Delete() {
    requireAlive();
    auto self = shared_from_this();
    Slide* slide = parent_;
    auto& items = slide->shapes_.items_;
    items.erase(std::remove(items.begin(), items.end(), self), items.end());
    detach();  // a group's members go with it
    if (Presentation* p = slide->parent_) {
        p->changed();
        p->shapeRemoved(*this);
    }
}

std::shared_ptr<Shape> Shapes::AddTitle() {
    for (const auto& s : items_)
        if (s->placeholderType_ == ppPlaceholderTitle)
            throw HostError(E_FAIL, "Shapes.AddTitle : The slide already has a title.");
    Presentation* p = owner_->parent_;
    if (!p) throw HostError(E_FAIL, "Shapes.AddTitle : The slide has been deleted.");
    const float w = p->SlideWidth(), h = p->SlideHeight();
    auto shape = std::make_shared<Shape>(owner_, p->nextShapeId_++, msoPlaceholder, msoShapeRectangle, w / 20, h / 25,
                                         w * 0.9f, h * 0.15f);
    shape->placeholderType_ = ppPlaceholderTitle;
    ShapeTextAccess::body(*shape).paragraph(0).mark.size = 44;
    items_.insert(items_.begin(), shape);
    p->changed();
    return shape;
}

std::shared_ptr<Shape> Shapes::Placeholders(int index) const {
    int seen = 0;
    for (const auto& s : items_)
        if (s->Type() == msoPlaceholder && ++seen == index) return s;
    throw HostError(E_FAIL, "Placeholders.Item : Integer out of range. " + std::to_string(index) +
                                " is not in the valid range of 1 to " + std::to_string(seen) + ".");
}

std::shared_ptr<Shape> Shapes::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "Shapes.Item : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return items_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Shape> Shapes::AddShape(int autoShapeType, float left, float top, float width, float height) {
    return addOfType(msoAutoShape, autoShapeType, left, top, width, height);
}

std::shared_ptr<Shape> Shapes::AddTextbox(int /*orientation*/, float left, float top, float width, float height) {
    return addOfType(msoTextBox, msoShapeRectangle, left, top, width, height);
}

std::shared_ptr<Shape> Shapes::addOfType(int type, int autoShapeType, float left, float top, float width,
                                         float height) {
    Presentation* p = owner_->parent_;
    if (!p) throw HostError(E_FAIL, "Shapes.AddShape : The slide has been deleted.");
    for (float v : {left, top, width, height}) requireFinite(v, "AddShape");
    auto shape = std::make_shared<Shape>(owner_, p->takeShapeId(), type, autoShapeType, left, top, width, height);
    items_.push_back(shape);
    p->changed();
    return shape;
}

std::shared_ptr<Shape> ShapeRange::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "ShapeRange.Item : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return shapes_[static_cast<std::size_t>(index - 1)];
}

}  // namespace host
