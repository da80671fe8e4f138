// Groups: grouping shapes of one slide, a group's members, and shapes leaving their slide
// (host/table.cpp has the tables).
#include <algorithm>
#include <cmath>

#include "host/host.h"
#include "host/table.h"

namespace host {

host::ShapeRange Shape::GroupItems() const {
    if (type_ != msoGroup) throw HostError(E_FAIL, "Shape.GroupItems : This member can only be accessed for a group.");
    std::vector<std::shared_ptr<Shape>> live;
    for (const auto& m : groupItems_)
        if (m->parent_) live.push_back(m);
    return host::ShapeRange(std::move(live));
}

void Shape::detach() {
    parent_ = nullptr;
    for (auto& m : groupItems_) m->detach();
    if (table_)
        for (auto& cell : table_->cells) cell->detach();
}

std::shared_ptr<Shape> ShapeRange::Group() const {
    if (shapes_.size() < 2) throw HostError(E_FAIL, "ShapeRange.Group : Grouping needs two shapes or more.");
    Slide* slide = shapes_.front()->Parent();
    if (!slide || !slide->Parent()) throw HostError(E_FAIL, "ShapeRange.Group : The shapes have been deleted.");
    return slide->Shapes().group(shapes_);
}

// Groups are never deeper than kMaxGroupNesting, so the recursion stays short.
int Shape::groupNesting() const {
    if (type_ != msoGroup) return 0;
    int deepest = 0;
    for (const auto& m : groupItems_) deepest = std::max(deepest, m->groupNesting());
    return deepest + 1;
}

std::shared_ptr<Shape> Shapes::group(const std::vector<std::shared_ptr<Shape>>& shapes) {
    Presentation* p = owner_->parent_;
    std::vector<std::size_t> positions;
    for (const auto& s : shapes) {
        const auto it = std::find(items_.begin(), items_.end(), s);
        if (it == items_.end()) throw HostError(E_FAIL, "ShapeRange.Group : The shapes are not shapes of one slide.");
        positions.push_back(static_cast<std::size_t>(it - items_.begin()));
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    if (positions.size() < 2) throw HostError(E_FAIL, "ShapeRange.Group : Grouping needs two shapes or more.");

    // Members in their stacking order; the group's box holds them all.
    std::vector<std::shared_ptr<Shape>> members;
    float left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (auto pos : positions) {
        const auto& m = items_[pos];
        members.push_back(m);
        left = std::min(left, m->left_);
        top = std::min(top, m->top_);
        right = std::max(right, m->left_ + m->width_);
        bottom = std::max(bottom, m->top_ + m->height_);
    }
    int deepest = 0;
    for (const auto& m : members) deepest = std::max(deepest, m->groupNesting());
    if (deepest >= Shape::kMaxGroupNesting)
        throw HostError(E_FAIL, "ShapeRange.Group : Groups cannot nest more than " +
                                    std::to_string(Shape::kMaxGroupNesting) + " deep.");
    auto group = std::make_shared<Shape>(owner_, p->takeShapeId(), msoGroup, msoTriStateMixed, left, top, right - left,
                                         bottom - top);
    group->groupItems_ = std::move(members);
    // The group takes the place of its topmost member.
    const std::size_t at = positions.back() - (positions.size() - 1);
    for (auto it = positions.rbegin(); it != positions.rend(); ++it)
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*it));
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), group);
    p->changed();
    return group;
}

}  // namespace host
