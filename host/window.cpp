// Document windows: activation, the slide shown, and the selection with its events.
#include <algorithm>
#include <unordered_set>

#include "host/host.h"
#include "host/text.h"

namespace host {

namespace {

constexpr const char* kNothingSelected = "Nothing appropriate is currently selected.";

template <class T>
void dropRepeats(std::vector<std::shared_ptr<T>>& items) {
    // A set of what was seen keeps large selections linear.
    std::unordered_set<const T*> seen;
    std::vector<std::shared_ptr<T>> unique;
    unique.reserve(items.size());
    for (auto& item : items)
        if (seen.insert(item.get()).second) unique.push_back(item);
    items = std::move(unique);
}

}  // namespace

host::ShapeRange Selection::ShapeRange() const {
    if ((type_ != ppSelectionShapes && type_ != ppSelectionText) || shapes_.empty())
        throw HostError(PP_E_INVALIDREQUEST, kNothingSelected);
    return host::ShapeRange(shapes_);
}

host::SlideRange Selection::SlideRange() const {
    if (!slides_.empty()) return host::SlideRange(slides_);
    // Nothing selected: the views that show a slide still have it as the slide range.
    if (window_ && !window_->closed_) {
        const int view = window_->ViewType();
        if (view == ppViewNormal || view == ppViewSlide || view == ppViewNotesPage)
            if (auto shown = window_->currentSlide()) return host::SlideRange({shown});
    }
    throw HostError(PP_E_INVALIDREQUEST, kNothingSelected);
}

std::shared_ptr<DocumentWindow> Windows::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "Windows.Item : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return items_[static_cast<std::size_t>(index - 1)];
}

DocumentWindow::DocumentWindow(Application* app, std::shared_ptr<host::Presentation> presentation)
    : app_(app), presentation_(std::move(presentation)) {
    selection_.window_ = this;
    if (presentation_->Slides().Count() > 0) current_ = presentation_->Slides().Item(1);
    setViewType(ppViewNormal);
}

void DocumentWindow::requireOpen() const {
    if (closed_) throw HostError(E_FAIL, "DocumentWindow (unknown member) : Object does not exist.");
}

void DocumentWindow::Activate() {
    requireOpen();
    app_->active_ = weak_from_this();
    app_->fire([&](ApplicationEvents& s) { s.WindowActivate(*presentation_, *this); });
}

void DocumentWindow::changeSelection(int type, std::vector<std::shared_ptr<Shape>> shapes,
                                     std::vector<std::shared_ptr<Slide>> slides) {
    selection_.type_ = type;
    selection_.shapes_ = std::move(shapes);
    selection_.slides_ = std::move(slides);
    selectionChanged();
}

void DocumentWindow::selectShapes(const std::vector<std::shared_ptr<Shape>>& shapes) {
    requireOpen();
    if (shapes.empty()) return selectNone();
    Slide* slide = shapes.front() ? shapes.front()->Parent() : nullptr;
    for (const auto& shape : shapes)
        if (!slide || !shape || shape->Parent() != slide || slide->Parent() != presentation_.get())
            throw HostError(E_FAIL,
                            "DocumentWindow.selectShapes : The shapes are not on one slide of this presentation.");
    auto selected = shapes;
    dropRepeats(selected);
    auto shown = slide->shared_from_this();
    current_ = shown;
    changeSelection(ppSelectionShapes, std::move(selected), {shown});
}

void DocumentWindow::selectSlides(const std::vector<std::shared_ptr<Slide>>& slides) {
    requireOpen();
    if (slides.empty()) return selectNone();
    for (const auto& slide : slides)
        if (!slide || slide->Parent() != presentation_.get())
            throw HostError(E_FAIL, "DocumentWindow.selectSlides : The slides are not slides of this presentation.");
    auto selected = slides;
    dropRepeats(selected);
    current_ = selected.front();
    changeSelection(ppSelectionSlides, {}, std::move(selected));
}

void DocumentWindow::selectNone() {
    requireOpen();
    changeSelection(ppSelectionNone, {}, {});
}

void DocumentWindow::selectText(const std::shared_ptr<Shape>& shape, int start, int length) {
    requireOpen();
    Slide* slide = shape ? shape->Parent() : nullptr;
    const bool holdsText = shape && (shape->HasTextFrame() != msoFalse || shape->HasTable() != msoFalse);
    if (!slide || slide->Parent() != presentation_.get() || !holdsText)
        throw HostError(E_FAIL, "DocumentWindow.selectText : The shape holds no text of this presentation.");
    const int count = shape->HasTextFrame() != msoFalse ? shape->TextFrame().TextRange().Length() : 0;
    start = std::clamp(start, 1, count + 1);
    length = std::clamp(length, 0, count + 1 - start);
    auto shown = slide->shared_from_this();
    // Text on a notes page: the slide whose notes they are stays the one shown.
    const auto& slides = presentation_->Slides().all();
    if (std::find(slides.begin(), slides.end(), shown) == slides.end())
        for (const auto& s : slides)
            if (s->SlideID() == slide->SlideID()) shown = s;
    current_ = shown;
    selection_.textStart_ = start;
    selection_.textLength_ = length;
    changeSelection(ppSelectionText, {shape}, {shown});
}

std::shared_ptr<Slide> DocumentWindow::currentSlide() const {
    auto slide = current_.lock();
    return slide && slide->Parent() == presentation_.get() ? slide : nullptr;
}

void DocumentWindow::showSlide(const std::shared_ptr<Slide>& slide) {
    requireOpen();
    if (!slide || slide->Parent() != presentation_.get())
        throw HostError(E_FAIL, "DocumentWindow.showSlide : The slide is not a slide of this presentation.");
    current_ = slide;
    // Shapes and text stay selected only on their own slide.
    const bool elsewhere = (selection_.type_ == ppSelectionShapes || selection_.type_ == ppSelectionText) &&
                           (selection_.slides_.empty() || selection_.slides_.front() != slide);
    if (elsewhere) return changeSelection(ppSelectionNone, {}, {});
    selectionChanged();
}

void DocumentWindow::selectionChanged() {
    app_->fire([&](ApplicationEvents& s) { s.WindowSelectionChange(selection_); });
}

}  // namespace host
