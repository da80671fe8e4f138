// Panes of a document window and switching between views.
#include "host/host.h"

namespace host {

Pane& Panes::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "Panes.Item : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return *items_[static_cast<std::size_t>(index - 1)];
}

bool Pane::Active() const { return &window_->ActivePane() == this; }

void Pane::Activate() {
    window_->requireOpen();
    const auto& items = window_->panes_.items_;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) window_->activePane_ = static_cast<int>(i) + 1;
}

void DocumentWindow::setViewType(int v) {
    requireOpen();
    if (v < ppViewSlide || v > ppViewMasterThumbnails)
        throw HostError(E_FAIL, "DocumentWindow.ViewType : The value is out of range.");
    // The thumbnail panes belong to a view of their own.
    int focus = 0;
    if (v == ppViewThumbnails || v == ppViewMasterThumbnails) {
        v = v == ppViewThumbnails ? ppViewNormal : ppViewSlideMaster;
        focus = 1;
    }
    auto& items = panes_.items_;
    items.clear();
    if (v == ppViewSlideMaster) {
        items.push_back(std::make_unique<Pane>(this, ppViewMasterThumbnails));
        items.push_back(std::make_unique<Pane>(this, ppViewSlideMaster));
        activePane_ = 2;
    } else if (v == ppViewNormal || v == ppViewOutline) {
        // Outline view is normal view with the outline in the first pane, which has the focus.
        items.push_back(std::make_unique<Pane>(this, v == ppViewNormal ? ppViewThumbnails : ppViewOutline));
        items.push_back(std::make_unique<Pane>(this, ppViewSlide));
        items.push_back(std::make_unique<Pane>(this, ppViewNotesPage));
        activePane_ = v == ppViewNormal ? 2 : 1;
    } else {
        items.push_back(std::make_unique<Pane>(this, v));
        activePane_ = 1;
    }
    if (focus) activePane_ = focus;
    viewType_ = v;
}

}  // namespace host
