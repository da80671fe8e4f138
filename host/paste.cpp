// Pasting the clipboard's shapes onto a slide: Shapes.Paste and the window's View.Paste.
#include <functional>

#include "host/clipboard.h"
#include "host/host.h"

namespace host {

namespace {
constexpr const char* kRefused =
    " : Invalid request.  Clipboard is empty or contains data which may not be pasted here.";
}  // namespace

host::ShapeRange Shapes::paste(bool placeholdersAllowed, const char* member) {
    Presentation* p = owner_->parent_;
    if (!p) throw HostError(E_FAIL, std::string(member) + " : The slide has been deleted.");
    const auto& copied = clipboard().shapes();
    if (copied.empty()) throw HostError(PP_E_INVALIDREQUEST, member + std::string(kRefused));
    if (!placeholdersAllowed) {
        // A placeholder belongs to its slide's layout; a group never holds one, but look anyway.
        std::function<bool(const Shape&)> holdsPlaceholder = [&](const Shape& s) {
            if (s.type_ == msoPlaceholder) return true;
            for (const auto& m : s.groupItems_)
                if (holdsPlaceholder(*m)) return true;
            return false;
        };
        for (const auto& s : copied)
            if (holdsPlaceholder(*s)) throw HostError(PP_E_INVALIDREQUEST, member + std::string(kRefused));
    }
    std::vector<std::shared_ptr<Shape>> pasted;
    for (const auto& s : copied) pasted.push_back(s->deepCopy(owner_, [p](long) { return p->takeShapeId(); }));
    items_.insert(items_.end(), pasted.begin(), pasted.end());
    p->changed();
    return host::ShapeRange(std::move(pasted));
}

host::ShapeRange Shapes::Paste() { return paste(false, "Shapes.Paste"); }

void View::Paste() {
    window_->requireOpen();
    const int pane = window_->ActivePane().ViewType();
    if (pane != ppViewSlide && pane != ppViewSlideMaster && pane != ppViewTitleMaster)
        throw HostError(PP_E_INVALIDREQUEST, "View.Paste : Invalid request.  Shapes cannot be pasted into this pane.");
    auto slide = window_->currentSlide();
    if (!slide) throw HostError(PP_E_INVALIDREQUEST, "View.Paste : Invalid request.  No slide is shown.");
    const host::ShapeRange pasted = slide->Shapes().paste(true, "View.Paste");
    window_->selectShapes(pasted.all());
}

}  // namespace host
