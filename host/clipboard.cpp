// The process's clipboard, the deep copy of shapes it holds, and ShapeRange.Copy.
#include "host/clipboard.h"

#include "host/autoshape.h"
#include "host/host.h"
#include "host/render.h"
#include "host/table.h"
#include "host/text.h"

namespace host {

std::shared_ptr<Shape> Shape::deepCopy(Slide* parent, const std::function<long(long)>& idFor) const {
    auto copy = std::make_shared<Shape>(parent, idFor(id_), type_, autoShapeType_, left_, top_, width_, height_);
    copy->rotation_ = rotation_;
    copy->hflip_ = hflip_;
    copy->vflip_ = vflip_;
    copy->name_ = name_;
    copy->tags_ = tags_;  // the values only: the copy reports its changes itself
    if (text_) copy->text_ = std::make_shared<TextBody>(*text_);
    copy->hasTable_ = hasTable_;
    copy->placeholderType_ = placeholderType_;
    if (table_) {
        auto table = std::make_shared<TableBody>(*table_);
        for (auto& cell : table->cells) cell = cell->deepCopy(parent, [&](long) { return copy->id_; });
        copy->table_ = std::move(table);
    }
    for (const auto& m : groupItems_)
        if (m->parent_ || !parent_) copy->groupItems_.push_back(m->deepCopy(parent, idFor));
    copy->fill_.foreColor_.rgb_ = fill_.foreColor_.rgb_;
    copy->fill_.visible_ = fill_.visible_;
    copy->line_.foreColor_.rgb_ = line_.foreColor_.rgb_;
    copy->line_.weight_ = line_.weight_;
    copy->line_.visible_ = line_.visible_;
    if (outline_) copy->outline_ = std::make_shared<ShapeOutline>(*outline_);
    return copy;
}

void ShapeRange::Copy() const {
    if (shapes_.empty()) throw HostError(E_FAIL, "ShapeRange.Copy : Nothing to copy.");
    clipboard().setShapes(shapes_);
}

std::shared_ptr<platform::Picture> Clipboard::bitmap() const {
    if (contents_.bitmap) return std::make_shared<platform::Picture>(*contents_.bitmap);
    if (contents_.shapes.empty()) return nullptr;
    return std::make_shared<platform::Picture>(renderShapes(contents_.shapes, kPixelsPerPointAt96Dpi));
}

void Clipboard::setShapes(const std::vector<std::shared_ptr<Shape>>& shapes) {
    for (const auto& s : shapes)
        if (!s || !s->Parent()) throw HostError(E_FAIL, "ShapeRange.Copy : The object does not exist.");
    Contents copied;
    for (const auto& s : shapes) copied.shapes.push_back(s->deepCopy(nullptr, [](long id) { return id; }));
    contents_ = std::move(copied);
}

void Clipboard::setBitmap(const platform::Picture& picture) {
    contents_ = {};
    contents_.bitmap = std::make_shared<const platform::Picture>(picture);
}

Clipboard& clipboard() {
    static Clipboard theClipboard;
    return theClipboard;
}

}  // namespace host
