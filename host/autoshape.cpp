// AutoShape adjustments, freeform nodes and the stacking order of a slide's shapes.
#include "host/autoshape.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

namespace host {

namespace {

void requireIndex(int index, int count, const char* member) {
    if (index < 1 || index > count)
        throw HostError(kInvalidArgument, std::string(member) + " : Index out of range. " + std::to_string(index) +
                                              " is not in the valid range of 1 to " + std::to_string(count) + ".");
}

void requireFiniteValue(double v, const char* member) {
    if (!std::isfinite(v)) throw HostError(E_FAIL, std::string(member) + " : The value is out of range.");
}

// Hosts before 12.0 drop the closing point of a closed polyline; later ones keep it as a node.
bool keepsClosingNode(const Application& app) { return std::atof(app.Version().c_str()) >= 12.0; }

}  // namespace

const std::vector<float>& defaultAdjustments(int autoShapeType) {
    static const std::map<int, std::vector<float>> table = {
        {2, {0.25f}},  // parallelogram
        {3, {0.25f}},  // trapezoid
        {msoShapeRoundedRectangle, {0.16667f}},
        {6, {0.29289f}},              // octagon
        {7, {0.5f}},                  // isosceles triangle
        {10, {0.25f}},                // hexagon
        {11, {0.25f}},                // cross
        {20, {180.0f, 0.0f, 0.25f}},  // block arc
        {msoShapeRightArrow, {0.5f, 0.5f}},
        {msoShapeLeftArrow, {0.5f, 0.5f}},
        {msoShapeUpArrow, {0.5f, 0.5f}},
        {msoShapeDownArrow, {0.5f, 0.5f}},
        {msoShapeLeftRightArrow, {0.5f, 0.5f}},
        {msoShapeUpDownArrow, {0.5f, 0.5f}},
        {msoShapeStripedRightArrow, {0.5f, 0.5f}},
        {msoShapeNotchedRightArrow, {0.5f, 0.5f}},
        {msoShapePentagon, {0.5f}},
        {msoShapeChevron, {0.5f}},
        {91, {0.6f, 0.5f, 0.3f}},              // curved right arrow
        {105, {-0.2f, 0.6f}},                  // rectangular callout
        {109, {-0.08f, 0.11f, -0.08f, 1.1f}},  // line callout
    };
    static const std::vector<float> none;
    const auto it = table.find(autoShapeType);
    return it == table.end() ? none : it->second;
}

// ---- What the values mean ---------------------------------------------------------------

AdjustmentMeaning adjustmentMeaning(const Application& app) {
    return keepsClosingNode(app) ? AdjustmentMeaning::ofShorterSide : AdjustmentMeaning::ofFrame;
}

double processArrowTip(AdjustmentMeaning meaning, double a, double w, double h) {
    return meaning == AdjustmentMeaning::ofFrame ? (1 - a) * w : a * h;
}

double cornerRadius(double a, double w, double h) { return a * std::min(w, h); }

BlockArrowGeometry blockArrowGeometry(AdjustmentMeaning meaning, int type, const std::vector<float>& values, double w,
                                      double h) {
    const bool upright = type == msoShapeUpArrow || type == msoShapeDownArrow || type == msoShapeUpDownArrow;
    const bool twoHeads = type == msoShapeLeftRightArrow || type == msoShapeUpDownArrow;
    const double length = upright ? h : w, across = upright ? w : h;
    const double a1 = values.size() > 0 ? values[0] : 0.5, a2 = values.size() > 1 ? values[1] : 0.5;
    BlockArrowGeometry g;
    if (meaning == AdjustmentMeaning::ofShorterSide) {
        g.shaft = a1 * across;
        g.head = a2 * std::min(w, h);
    } else if (type == msoShapeUpDownArrow) {  // the one type with its two values swapped
        g.shaft = (1 - 2 * a1) * across;
        g.head = a2 * length;
    } else {
        g.shaft = (1 - 2 * a2) * across;
        // Right and down arrows keep where the head begins; the others its length.
        const bool fromEnd = type == msoShapeLeftArrow || type == msoShapeUpArrow || type == msoShapeLeftRightArrow;
        g.head = (fromEnd ? a1 : 1 - a1) * length;
    }
    g.shaft = std::clamp(g.shaft, 0.0, across);
    g.head = std::clamp(g.head, 0.0, twoHeads ? length / 2 : length);
    return g;
}

const std::vector<float>& defaultAdjustments(int autoShapeType, AdjustmentMeaning meaning) {
    if (meaning == AdjustmentMeaning::ofShorterSide) return defaultAdjustments(autoShapeType);
    static const std::map<int, std::vector<float>> older = {
        {msoShapeRightArrow, {0.75f, 0.25f}},
        {msoShapeLeftArrow, {0.25f, 0.25f}},
        {msoShapeUpArrow, {0.25f, 0.25f}},
        {msoShapeDownArrow, {0.75f, 0.25f}},
        {msoShapeLeftRightArrow, {0.2f, 0.25f}},
        {msoShapeUpDownArrow, {0.25f, 0.2f}},
        {msoShapeStripedRightArrow, {0.75f, 0.25f}},
        {msoShapeNotchedRightArrow, {0.75f, 0.25f}},
        {msoShapePentagon, {0.75f}},
        {msoShapeChevron, {0.75f}},
    };
    const auto it = older.find(autoShapeType);
    return it == older.end() ? defaultAdjustments(autoShapeType) : it->second;
}

// ---- Adjustments ------------------------------------------------------------------------

std::vector<float>& Adjustments::values() const {
    if (!shape_->outline_) shape_->outline_ = std::make_shared<ShapeOutline>();
    auto& held = shape_->outline_->adjustments;
    if (!held) {
        // A shape outside any presentation (a copy) starts as the later hosts start it.
        const Presentation* p = shape_->parent_ ? shape_->parent_->Parent() : nullptr;
        held = defaultAdjustments(shape_->autoShapeType_,
                                  p ? adjustmentMeaning(p->app()) : AdjustmentMeaning::ofShorterSide);
    }
    return *held;
}

int Adjustments::Count() const {
    shape_->requireAlive();
    return static_cast<int>(values().size());
}

float Adjustments::Item(int index) const {
    shape_->requireAlive();
    auto& v = values();
    requireIndex(index, static_cast<int>(v.size()), "Adjustments.Item");
    return v[static_cast<std::size_t>(index - 1)];
}

void Adjustments::setItem(int index, float value) {
    shape_->requireAlive();
    auto& v = values();
    requireIndex(index, static_cast<int>(v.size()), "Adjustments.Item");
    requireFiniteValue(value, "Adjustments.Item");
    v[static_cast<std::size_t>(index - 1)] = value;
    shape_->changed();
}

Adjustments Shape::Adjustments() { return host::Adjustments(*this); }

// ---- Nodes ------------------------------------------------------------------------------

int ShapeNodes::Count() const {
    shape_->requireAlive();
    return shape_->outline_ ? static_cast<int>(shape_->outline_->nodes.size()) : 0;
}

ShapeNode ShapeNodes::Item(int index) const {
    requireIndex(index, Count(), "ShapeNodes.Item");
    const auto& [fx, fy] = shape_->outline_->nodes[static_cast<std::size_t>(index - 1)];
    return ShapeNode({static_cast<float>(shape_->left_ + fx * shape_->width_),
                      static_cast<float>(shape_->top_ + fy * shape_->height_)});
}

void ShapeNodes::SetPosition(int index, float x, float y) {
    requireIndex(index, Count(), "ShapeNodes.SetPosition");
    requireFiniteValue(x, "ShapeNodes.SetPosition");
    requireFiniteValue(y, "ShapeNodes.SetPosition");
    std::vector<std::pair<double, double>> points;
    for (int i = 1; i <= Count(); ++i) {
        const auto p = Item(i).Points();
        points.emplace_back(p.first, p.second);
    }
    points[static_cast<std::size_t>(index - 1)] = {x, y};
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (const auto& [px, py] : points) {
        left = std::min(left, px);
        top = std::min(top, py);
        right = std::max(right, px);
        bottom = std::max(bottom, py);
    }
    Shape& s = *shape_;
    s.left_ = static_cast<float>(left);
    s.top_ = static_cast<float>(top);
    s.width_ = static_cast<float>(right - left);
    s.height_ = static_cast<float>(bottom - top);
    auto& nodes = s.outline_->nodes;
    for (std::size_t i = 0; i < points.size(); ++i)
        nodes[i] = {s.width_ > 0 ? (points[i].first - s.left_) / s.width_ : 0.0,
                    s.height_ > 0 ? (points[i].second - s.top_) / s.height_ : 0.0};
    s.changed();
}

ShapeNodes Shape::Nodes() { return host::ShapeNodes(*this); }

std::shared_ptr<Shape> Shapes::AddPolyline(const std::vector<std::pair<float, float>>& points) {
    if (points.size() < 2) throw HostError(E_FAIL, "Shapes.AddPolyline : A polyline needs two points or more.");
    Presentation* p = owner_->parent_;
    if (!p) throw HostError(E_FAIL, "Shapes.AddPolyline : The slide has been deleted.");
    std::vector<std::pair<float, float>> kept = points;
    if (kept.size() > 2 && kept.front() == kept.back() && !keepsClosingNode(p->app())) kept.pop_back();
    float left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (const auto& [x, y] : kept) {
        requireFiniteValue(x, "Shapes.AddPolyline");
        requireFiniteValue(y, "Shapes.AddPolyline");
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    auto shape = addOfType(msoFreeform, msoShapeNotPrimitive, left, top, right - left, bottom - top);
    shape->outline_ = std::make_shared<ShapeOutline>();
    for (const auto& [x, y] : kept)
        shape->outline_->nodes.emplace_back(right > left ? (x - left) / (right - left) : 0.0,
                                            bottom > top ? (y - top) / (bottom - top) : 0.0);
    return shape;
}

// ---- Stacking ---------------------------------------------------------------------------

int Shape::ZOrderPosition() const {
    requireAlive();
    const auto& items = parent_->shapes_.items_;
    const auto it = std::find_if(items.begin(), items.end(), [this](const auto& s) { return s.get() == this; });
    if (it == items.end())
        throw HostError(E_FAIL, "Shape.ZOrderPosition : This member cannot be used for a member of a group.");
    return static_cast<int>(it - items.begin()) + 1;
}

void Shape::ZOrder(int zOrderCmd) {
    const int position = ZOrderPosition();
    auto& items = parent_->shapes_.items_;
    const int count = static_cast<int>(items.size());
    int target = position;
    switch (zOrderCmd) {
        case msoBringToFront: target = count; break;
        case msoSendToBack: target = 1; break;
        case msoBringForward: target = std::min(position + 1, count); break;
        case msoSendBackward: target = std::max(position - 1, 1); break;
        default: throw HostError(E_FAIL, "Shape.ZOrder : The value is out of range.");
    }
    if (target == position) return;
    auto self = items[static_cast<std::size_t>(position - 1)];
    items.erase(items.begin() + (position - 1));
    items.insert(items.begin() + (target - 1), std::move(self));
    changed();
}

int ShapeRange::AutoShapeType() const {
    if (shapes_.empty()) return 0;
    const int first = shapes_.front()->AutoShapeType();
    for (const auto& s : shapes_)
        if (s->AutoShapeType() != first) return msoTriStateMixed;
    return first;
}

}  // namespace host
