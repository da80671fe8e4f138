// Text frames of shapes and shape ranges, their margins and rulers, and the selected text.
#include "host/text.h"

#include <algorithm>
#include <cmath>

#include "host/table.h"

namespace host {

namespace {

// The value all shapes share, or mixed.
template <class T, class Shapes, class F>
T common(const Shapes& shapes, F&& value, T mixed) {
    if (shapes.empty()) return T{};
    const T first = value(*shapes.front());
    for (const auto& s : shapes)
        if (value(*s) != first) return mixed;
    return first;
}

template <class Shapes, class F>
int common(const Shapes& shapes, F&& value) {
    return common<int>(shapes, value, msoTriStateMixed);
}

constexpr float kLargestIndent = 4000;

}  // namespace

// ---- Internals and versions -------------------------------------------------------------------

TextBody& ShapeTextAccess::body(Shape& shape) {
    if (!shape.text_) {
        shape.text_ = std::make_shared<TextBody>();
        if (shape.Type() == msoTextBox) shape.text_->autoSize = ppAutoSizeShapeToFitText;
    }
    return *shape.text_;
}

Application* ShapeTextAccess::application(const Shape& shape) {
    const Slide* slide = shape.Parent();
    const Presentation* p = slide ? slide->Parent() : nullptr;
    return p && !p->closed() ? &p->app() : nullptr;
}

double hostVersionNumber(const Application& app) { return app.versionNumber_; }

// ---- Shapes and ranges of them ------------------------------------------------------------------

int Shape::HasTextFrame() const {
    const bool canHoldText =
        type_ == msoAutoShape || type_ == msoCallout || type_ == msoPlaceholder || type_ == msoTextBox;
    return canHoldText && !hasTable_ ? msoTrue : msoFalse;
}

host::TextFrame Shape::TextFrame() {
    if (HasTextFrame() == msoFalse)
        throw HostError(E_FAIL, "Shape.TextFrame : This type of shape cannot contain any text.");
    return host::TextFrame(shared_from_this());
}

host::TextFrame2 Shape::TextFrame2() {
    const Application* app = ShapeTextAccess::application(*this);
    if (app && hostVersionNumber(*app) < 12)
        throw HostError(E_FAIL, "Object doesn't support this property or method: Shape.TextFrame2");
    if (HasTextFrame() == msoFalse)
        throw HostError(E_FAIL, "Shape.TextFrame2 : This type of shape cannot contain any text.");
    ShapeTextAccess::body(*this);
    return host::TextFrame2(shared_from_this());
}

int ShapeRange::Type() const {
    if (shapes_.empty()) return 0;
    return common(shapes_, [](const Shape& s) { return s.Type(); });
}

int ShapeRange::HasTextFrame() const {
    return common(shapes_, [](const Shape& s) { return s.HasTextFrame(); });
}

int ShapeRange::HasTable() const {
    return common(shapes_, [](const Shape& s) { return s.HasTable(); });
}

host::TextFrame ShapeRange::TextFrame() const {
    std::vector<std::shared_ptr<Shape>> withText;
    for (const auto& s : shapes_)
        if (s->HasTextFrame() != msoFalse) withText.push_back(s);
    if (withText.empty()) throw HostError(E_FAIL, "ShapeRange.TextFrame : This type of shape cannot contain any text.");
    return host::TextFrame(std::move(withText));
}

// Text selected in a table stands in a cell: the first selected one, else the first.
host::TextRange Selection::TextRange() const {
    if (type_ != ppSelectionText || shapes_.empty())
        throw HostError(PP_E_INVALIDREQUEST, "Nothing appropriate is currently selected.");
    std::shared_ptr<Shape> holder = shapes_.front();
    if (holder->HasTable() != msoFalse) {
        host::Table table = holder->Table();
        std::shared_ptr<Shape> chosen = table.Cell(1, 1).Shape();
        for (int r = table.Rows().Count(); r >= 1; --r)
            for (int c = table.Columns().Count(); c >= 1; --c)
                if (table.Cell(r, c).Selected()) chosen = table.Cell(r, c).Shape();
        holder = chosen;
    }
    return host::TextRange(holder, textStart_, textLength_);
}

// ---- Frames ---------------------------------------------------------------------------------

TextFrame::TextFrame(std::vector<std::shared_ptr<Shape>> shapes) : several_(std::move(shapes)) {
    if (several_.size() == 1) {
        one_ = std::move(several_.front());
        several_.clear();
    }
    for (auto& s : this->shapes()) ShapeTextAccess::body(*s);
}

TextFrame::TextFrame(std::shared_ptr<Shape> shape) : one_(std::move(shape)) { ShapeTextAccess::body(*one_); }

const std::shared_ptr<Shape>& TextFrame::single(const char* member) const {
    if (shapes().size() != 1)
        throw HostError(E_FAIL, std::string("TextFrame.") + member + " : The frame belongs to several shapes.");
    return shapes().front();
}

int TextFrame::AutoSize() const {
    return common(shapes(), [](const Shape& s) { return s.text_->autoSize; });
}

void TextFrame::setAutoSize(int value) {
    if (value != ppAutoSizeNone && value != ppAutoSizeShapeToFitText)
        throw HostError(E_FAIL, "TextFrame.AutoSize : The value is out of range.");
    for (auto& s : shapes()) s->requireAlive();
    for (auto& s : shapes()) {
        s->text_->autoSize = value;
        s->changed();
    }
}

int TextFrame::WordWrap() const {
    return common(shapes(), [](const Shape& s) { return s.text_->wordWrap; });
}

void TextFrame::setWordWrap(int value) {
    if (value != msoTrue && value != msoCTrue && value != msoFalse)
        throw HostError(E_FAIL, "TextFrame.WordWrap : The value is out of range.");
    for (auto& s : shapes()) s->requireAlive();
    for (auto& s : shapes()) {
        s->text_->wordWrap = value == msoFalse ? msoFalse : msoTrue;
        s->changed();
    }
}

int TextFrame::HasText() const {
    return common(shapes(), [](const Shape& s) { return s.text_->characterCount() == 0 ? msoFalse : msoTrue; });
}

float TextFrame::margin(float TextBody::*side) const {
    return common<float>(
        shapes(), [side](const Shape& s) { return (*s.text_).*side; }, static_cast<float>(kMixed));
}

void TextFrame::setMargin(float TextBody::*side, float points, const char* member) {
    if (!std::isfinite(points) || points < 0)
        throw HostError(E_FAIL, std::string("TextFrame.") + member + " : The value is out of range.");
    for (auto& s : shapes()) s->requireAlive();
    for (auto& s : shapes()) {
        (*s->text_).*side = points;
        s->changed();
    }
}

float TextFrame::MarginLeft() const { return margin(&TextBody::marginLeft); }
float TextFrame::MarginTop() const { return margin(&TextBody::marginTop); }
float TextFrame::MarginRight() const { return margin(&TextBody::marginRight); }
float TextFrame::MarginBottom() const { return margin(&TextBody::marginBottom); }
void TextFrame::setMarginLeft(float points) { setMargin(&TextBody::marginLeft, points, "MarginLeft"); }
void TextFrame::setMarginTop(float points) { setMargin(&TextBody::marginTop, points, "MarginTop"); }
void TextFrame::setMarginRight(float points) { setMargin(&TextBody::marginRight, points, "MarginRight"); }
void TextFrame::setMarginBottom(float points) { setMargin(&TextBody::marginBottom, points, "MarginBottom"); }

host::TextRange TextFrame::TextRange() const {
    const auto& shape = single("TextRange");
    return host::TextRange(shape, 1, shape->text_->characterCount());
}

host::Ruler TextFrame::Ruler() const { return host::Ruler(single("Ruler")); }

std::shared_ptr<Shape> TextFrame::Parent() const { return single("Parent"); }

host::TextRange2 TextFrame2::TextRange() const {
    return host::TextRange2(host::TextRange(shape_, 1, ShapeTextAccess::body(*shape_).characterCount()));
}

// ---- Rulers ---------------------------------------------------------------------------------

int RulerLevels::Count() const {
    const Application* app = ShapeTextAccess::application(*shape_);
    return !app || hostVersionNumber(*app) >= 12 ? TextBody::kRulerLevels : 5;
}

RulerLevel RulerLevels::Item(int level) const {
    if (level < 1 || level > Count())
        throw HostError(E_FAIL, "RulerLevels.Item : Integer out of range. " + std::to_string(level) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return RulerLevel(shape_, level);
}

RulerLevelValues& RulerLevel::values() const {
    return ShapeTextAccess::body(*shape_).ruler[static_cast<std::size_t>(level_ - 1)];
}

namespace {

void setIndent(Shape& shape, float& slot, float points, const char* member) {
    ShapeTextAccess::requireAlive(shape);
    if (!std::isfinite(points) || points < 0 || points > kLargestIndent)
        throw HostError(E_FAIL, std::string("RulerLevel.") + member + " : The value is out of range.");
    slot = points;
    ShapeTextAccess::changed(shape);
}

}  // namespace

float RulerLevel::FirstMargin() const { return values().firstMargin; }
float RulerLevel::LeftMargin() const { return values().leftMargin; }
void RulerLevel::setFirstMargin(float points) { setIndent(*shape_, values().firstMargin, points, "FirstMargin"); }
void RulerLevel::setLeftMargin(float points) { setIndent(*shape_, values().leftMargin, points, "LeftMargin"); }

}  // namespace host

namespace host {

// ---- Vertical anchor and tab stops ------------------------------------------------------------

int TextFrame::VerticalAnchor() const {
    return common(shapes(), [](const Shape& s) { return s.text_->verticalAnchor; });
}

void TextFrame::setVerticalAnchor(int value) {
    if (value < msoAnchorTop || value > msoAnchorBottomBaseLine)
        throw HostError(E_FAIL, "TextFrame.VerticalAnchor : The value is out of range.");
    for (auto& s : shapes()) s->requireAlive();
    for (auto& s : shapes()) {
        s->text_->verticalAnchor = value;
        s->changed();
    }
}

int TabStops::Count() const { return static_cast<int>(ShapeTextAccess::body(*shape_).tabStops.size()); }

TabStop TabStops::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "TabStops.Item : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return TabStop(shape_, index);
}

TabStop TabStops::Add(int type, float position) {
    ShapeTextAccess::requireAlive(*shape_);
    if (type < ppTabStopLeft || type > ppTabStopDecimal || !std::isfinite(position) || position < 0 ||
        position > kLargestIndent)
        throw HostError(E_FAIL, "TabStops.Add : The value is out of range.");
    auto& stops = ShapeTextAccess::body(*shape_).tabStops;
    auto at = std::find_if(stops.begin(), stops.end(), [&](const TabStopValues& t) { return t.position >= position; });
    if (at != stops.end() && at->position == position) at->type = type;
    else at = stops.insert(at, TabStopValues{type, position});
    ShapeTextAccess::changed(*shape_);
    return TabStop(shape_, static_cast<int>(at - stops.begin()) + 1);
}

TabStopValues& TabStop::values() const {
    auto& stops = ShapeTextAccess::body(*shape_).tabStops;
    if (index_ < 1 || index_ > static_cast<int>(stops.size()))
        throw HostError(E_FAIL, "TabStop : The object does not exist.");
    return stops[static_cast<std::size_t>(index_ - 1)];
}

int TabStop::Type() const { return values().type; }
float TabStop::Position() const { return values().position; }

void TabStop::Clear() {
    ShapeTextAccess::requireAlive(*shape_);
    values();  // throws for a stop that is gone
    auto& stops = ShapeTextAccess::body(*shape_).tabStops;
    stops.erase(stops.begin() + (index_ - 1));
    ShapeTextAccess::changed(*shape_);
}

}  // namespace host
