// Slides of a presentation: ids that are never reused, 1-based positions, insertion, deletion.
#include "host/host.h"

namespace host {

namespace {

std::string outOfRange(const char* where, int index, int count) {
    return std::string(where) + " : Integer out of range. " + std::to_string(index) +
           " is not in the valid range of 1 to " + std::to_string(count) + ".";
}

}  // namespace

Slide::Slide(Presentation* parent, long id, int layout) : parent_(parent), id_(id), layout_(layout), shapes_(this) {
    tags_.onChange([this] {
        if (parent_) parent_->changed();
    });
}

// Shapes still held elsewhere must not point at a slide that is gone.
Slide::~Slide() {
    for (auto& shape : shapes_.items_) shape->detach();
}

int Slide::SlideIndex() const {
    if (!parent_) throw HostError(E_FAIL, "Slide.SlideIndex : The object does not exist.");
    const auto& items = parent_->slides_.items_;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i) + 1;
    throw HostError(E_FAIL, "Slide.SlideIndex : The object does not exist.");
}

void Slide::Delete() {
    const int index = SlideIndex();  // throws for a deleted slide
    auto self = shared_from_this();
    Presentation* p = parent_;
    auto& items = p->slides_.items_;
    items.erase(items.begin() + (index - 1));
    parent_ = nullptr;
    p->changed();
    p->slideRemoved(*this, index);
}

void Slide::MoveTo(int toPos) {
    const int index = SlideIndex();  // throws for a deleted slide
    auto& items = parent_->slides_.items_;
    if (toPos < 1 || toPos > static_cast<int>(items.size()))
        throw HostError(E_FAIL, outOfRange("Slide.MoveTo", toPos, static_cast<int>(items.size())));
    if (toPos == index) return;
    auto self = shared_from_this();
    items.erase(items.begin() + (index - 1));
    items.insert(items.begin() + (toPos - 1), self);
    parent_->changed();
}

std::shared_ptr<Slide> Slides::Item(int index) const {
    if (index < 1 || index > Count()) throw HostError(E_FAIL, outOfRange("Slides.Item", index, Count()));
    return items_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Slide> Slides::FindBySlideID(long id) const {
    for (const auto& s : items_)
        if (s->id_ == id) return s;
    throw HostError(E_FAIL,
                    "Slides.FindBySlideID : Item " + std::to_string(id) + " not found in the Slides collection.");
}

std::shared_ptr<Slide> Slides::Add(int index, int layout) {
    if (index < 1 || index > Count() + 1) throw HostError(E_FAIL, outOfRange("Slides.Add", index, Count() + 1));
    auto slide = std::make_shared<Slide>(owner_, owner_->takeSlideId(), layout);
    items_.insert(items_.begin() + (index - 1), slide);
    owner_->changed();
    // A window that had nothing to show shows the new slide; the others tell of the change
    // as well, as their slides changed.
    if (!owner_->closed_) {
        const auto windows = owner_->app_->Windows().all();  // a sink may close one
        for (auto& w : windows) {
            if (&w->Presentation() != owner_ || w->closed()) continue;
            if (!w->currentSlide()) w->showSlide(slide);
            else w->selectionChanged();
        }
    }
    return slide;
}

std::shared_ptr<Slide> SlideRange::Item(int index) const {
    if (index < 1 || index > Count()) throw HostError(E_FAIL, outOfRange("SlideRange.Item", index, Count()));
    return slides_[static_cast<std::size_t>(index - 1)];
}

}  // namespace host
