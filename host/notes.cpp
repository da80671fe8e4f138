// Notes pages: each slide's page of speaker notes with the shapes on it.
#include "host/host.h"

namespace host {

namespace {
// The notes page is portrait; its body placeholder fills the lower half.
constexpr float kBodyLeft = 54, kBodyTop = 342, kBodyWidth = 432, kBodyHeight = 324;
}  // namespace

// The page is a slide of its own that stays outside the presentation's Slides: its shapes
// take their ids from the presentation and mark it unsaved like any other.
host::SlideRange Slide::NotesPage() {
    if (!parent_) throw HostError(E_FAIL, "Slide.NotesPage : The object does not exist.");
    if (!notesPage_) {
        notesPage_ = std::make_shared<Slide>(parent_, id_, layout_);
        auto body = std::make_shared<Shape>(notesPage_.get(), parent_->takeShapeId(), msoPlaceholder, msoShapeRectangle,
                                            kBodyLeft, kBodyTop, kBodyWidth, kBodyHeight);
        notesPage_->shapes_.items_.push_back(body);
    }
    return host::SlideRange({notesPage_});
}

}  // namespace host

namespace host {

host::ShapeRange Shapes::Placeholders() const {
    std::vector<std::shared_ptr<Shape>> found;
    for (const auto& shape : items_)
        if (shape->Type() == msoPlaceholder) found.push_back(shape);
    return host::ShapeRange(std::move(found));
}

int Shape::PlaceholderFormatType() const {
    if (type_ != msoPlaceholder) throw HostError(E_FAIL, "Shape.PlaceholderFormat : This shape is not a placeholder.");
    return placeholderType_ != 0 ? placeholderType_ : ppPlaceholderBody;  // an untyped one holds body text
}

void View::GotoSlide(int index) {
    window_->requireOpen();
    window_->showSlide(window_->Presentation().Slides().Item(index));
}

}  // namespace host
