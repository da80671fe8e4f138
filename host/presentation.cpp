// Presentations: names and paths, saving with its events, closing, and the Presentations list.
#include "host/host.h"
#include "host/presentation_file.h"

namespace host {

Presentation::Presentation(Application* app, std::string fullName, bool readOnly)
    : app_(app), fullName_(std::move(fullName)), readOnly_(readOnly), slides_(this) {
    tags_.onChange([this] { changed(); });
    designs_.items_.push_back(std::make_shared<Design>(this, "Office Theme"));
}

// Slides and masters still held elsewhere must not point at a presentation that is gone.
Presentation::~Presentation() {
    for (auto& slide : slides_.items_) slide->parent_ = nullptr;
    for (auto& design : designs_.items_) {
        design->presentation_ = nullptr;
        design->slideMaster_->parent_ = nullptr;
        if (design->titleMaster_) design->titleMaster_->parent_ = nullptr;
    }
}

std::string Presentation::Name() const {
    if (!hasPath_) return fullName_;
    const auto slash = fullName_.rfind('/');
    return slash == std::string::npos ? fullName_ : fullName_.substr(slash + 1);
}

std::string Presentation::Path() const {
    if (!hasPath_) return {};
    const auto slash = fullName_.rfind('/');
    return slash == std::string::npos ? std::string() : fullName_.substr(0, slash);
}

void Presentation::requireOpen() const {
    if (closed_) throw HostError(E_FAIL, "Presentation (unknown member) : Object does not exist.");
}

void Presentation::write(const std::string& fileName) const { PresentationFile::write(*this, fileName); }

namespace {

long takeId(long& next, const char* what) {
    if (next < 1 || next > Presentation::kMaxObjectId)
        throw HostError(E_FAIL, std::string("Presentation (unknown member) : Every ") + what + " id has been used.");
    return next++;
}

}  // namespace

long Presentation::takeSlideId() { return takeId(nextSlideId_, "slide"); }
long Presentation::takeShapeId() { return takeId(nextShapeId_, "shape"); }

void Presentation::Save() {
    requireOpen();
    if (!hasPath_) throw HostError(E_FAIL, "Presentation.Save : " + Name() + " has never been saved; it needs SaveAs.");
    if (readOnly_)
        throw HostError(E_FAIL, "Presentation.Save : " + Name() + " is read-only and cannot be saved under its name.");
    auto self = shared_from_this();
    bool cancel = false;
    app_->fire([&](ApplicationEvents& s) { s.PresentationBeforeSave(*this, cancel); });
    if (cancel) return;
    requireOpen();  // a sink may have closed it
    write(fullName_);
    saved_ = true;
}

void Presentation::SaveAs(const std::string& fileName, int fileFormat) {
    requireOpen();
    if (fileName.empty()) throw HostError(E_FAIL, "Presentation.SaveAs : The file name is empty.");
    if (fileFormat != ppSaveAsPresentation && fileFormat != ppSaveAsDefault)
        throw HostError(E_FAIL, "Presentation.SaveAs : The file type " + std::to_string(fileFormat) +
                                    " is not one this host writes.");
    auto self = shared_from_this();
    bool cancel = false;
    app_->fire([&](ApplicationEvents& s) { s.PresentationBeforeSave(*this, cancel); });
    if (cancel) return;
    requireOpen();
    write(fileName);
    fullName_ = fileName;
    hasPath_ = true;
    readOnly_ = false;
    saved_ = true;
}

void Presentation::SaveCopyAs(const std::string& fileName) {
    requireOpen();
    if (fileName.empty()) throw HostError(E_FAIL, "Presentation.SaveCopyAs : The file name is empty.");
    write(fileName);
}

void Presentation::Close() {
    requireOpen();
    if (closing_) return;
    auto self = shared_from_this();  // the list may hold the last reference
    closing_ = true;
    app_->fire([&](ApplicationEvents& s) { s.PresentationClose(*this); });
    closing_ = false;
    closed_ = true;

    auto& list = app_->presentations_.items_;
    list.erase(std::remove(list.begin(), list.end(), self), list.end());

    auto& windows = app_->windows_.items_;
    for (auto& w : windows)
        if (w->presentation_ == self) w->closed_ = true;
    windows.erase(std::remove_if(windows.begin(), windows.end(), [](const auto& w) { return w->closed_; }),
                  windows.end());
    auto active = app_->active_.lock();
    if (!active || active->closed_)
        app_->active_ = windows.empty() ? std::weak_ptr<DocumentWindow>() : std::weak_ptr(windows.back());
}

void Presentation::slideRemoved(Slide& slide, int formerIndex) {
    if (closed_) return;
    const auto windows = app_->windows_.items_;  // a sink may close one meanwhile
    for (const auto& w : windows) {
        if (w->presentation_.get() != this || w->closed_) continue;
        const bool wasShown = w->current_.lock().get() == &slide;
        if (wasShown) {
            const int count = slides_.Count();
            if (count == 0) w->current_.reset();
            else w->current_ = slides_.Item(std::min(formerIndex, count));
        }
        const auto& sel = w->selection_;
        const bool holdsSlide =
            std::any_of(sel.slides_.begin(), sel.slides_.end(), [&](const auto& s) { return s.get() == &slide; });
        if (holdsSlide) w->changeSelection(ppSelectionNone, {}, {});
        else if (wasShown) w->selectionChanged();  // another slide came into view
    }
}

void Presentation::shapeRemoved(Shape& shape) {
    if (closed_) return;
    const auto windows = app_->windows_.items_;  // a sink may close one meanwhile
    for (const auto& w : windows) {
        if (w->presentation_.get() != this || w->closed_) continue;
        const auto& sel = w->selection_;
        auto shapes = sel.shapes_;
        auto gone = std::remove_if(shapes.begin(), shapes.end(), [&](const auto& s) { return s.get() == &shape; });
        if (gone == shapes.end()) continue;
        shapes.erase(gone, shapes.end());
        if (shapes.empty()) w->changeSelection(ppSelectionNone, {}, {});
        else w->changeSelection(sel.type_, std::move(shapes), sel.slides_);
    }
}

// ---- Presentations ----------------------------------------------------------------------

std::shared_ptr<Presentation> Presentations::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "Presentations.Item : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return items_[static_cast<std::size_t>(index - 1)];
}

std::string Presentations::untitledName() { return "Presentation" + std::to_string(++untitledCount_); }

void Presentations::attach(const std::shared_ptr<Presentation>& p, bool withWindow) {
    items_.push_back(p);
    if (!withWindow) return;
    auto window = std::make_shared<DocumentWindow>(app_, p);
    app_->windows_.items_.push_back(window);
    window->Activate();
}

void Presentations::announceSelection(const Presentation& p) {
    // The new window's selection (nothing, on its first slide) is news to the add-ins too.
    for (const auto& w : app_->windows_.all())
        if (w->presentation_.get() == &p && !w->closed_) w->selectionChanged();
}

std::shared_ptr<Presentation> Presentations::Add(bool withWindow) {
    auto p = std::make_shared<Presentation>(app_, untitledName(), false);
    p->hasPath_ = false;
    attach(p, withWindow);
    app_->fire([&](ApplicationEvents& s) { s.NewPresentation(*p); });
    announceSelection(*p);
    return p;
}

std::shared_ptr<Presentation> Presentations::Open(const std::string& fileName, bool readOnly, bool untitled,
                                                  bool withWindow) {
    auto p = std::make_shared<Presentation>(app_, fileName, readOnly);
    PresentationFile::read(*p, fileName);
    if (untitled) {
        p->fullName_ = untitledName();
        p->hasPath_ = false;
    }
    p->saved_ = true;
    attach(p, withWindow);
    app_->fire([&](ApplicationEvents& s) { s.PresentationOpen(*p); });
    announceSelection(*p);
    return p;
}

}  // namespace host
