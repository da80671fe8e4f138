// Command bars: the collection on the Application, bars by name, controls by caption.
#include "host/command_bars.h"

#include "host/ascii.h"

namespace host {

namespace {

std::string outOfRange(const char* where, int index, int count) {
    return std::string(where) + " : Integer out of range. " + std::to_string(index) +
           " is not in the valid range of 1 to " + std::to_string(count) + ".";
}

// A caption as the host matches it: without the access-key marks.
std::string withoutAccessKeys(const std::string& caption) {
    std::string out;
    for (char c : caption)
        if (c != '&') out += c;
    return out;
}

}  // namespace

// ---- Controls ---------------------------------------------------------------------------

CommandBarControls::~CommandBarControls() {
    for (auto& c : items_) c->parent_ = nullptr;
}

std::shared_ptr<CommandBarControl> CommandBarControls::Item(int index) const {
    if (index < 1 || index > Count()) throw HostError(E_FAIL, outOfRange("CommandBarControls.Item", index, Count()));
    return items_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<CommandBarControl> CommandBarControls::Item(const std::string& caption) const {
    const std::string wanted = withoutAccessKeys(caption);
    for (const auto& c : items_)
        if (detail::equalsNoCase(withoutAccessKeys(c->caption_), wanted)) return c;
    throw HostError(E_FAIL, "CommandBarControls.Item : No control has the caption \"" + caption + "\".");
}

std::shared_ptr<CommandBarControl> CommandBarControls::Add(int type, int before, int id) {
    if (before < 0 || before > Count() + 1)
        throw HostError(E_FAIL, outOfRange("CommandBarControls.Add", before, Count() + 1));
    std::shared_ptr<CommandBarControl> control;
    switch (type) {
        case msoControlButton: control = std::make_shared<CommandBarButton>(); break;
        case msoControlPopup: control = std::make_shared<CommandBarPopup>(); break;
        case msoControlEdit:
        case msoControlDropdown:
        case msoControlComboBox: control = std::make_shared<CommandBarComboBox>(type); break;
        default: throw HostError(E_FAIL, "CommandBarControls.Add : Invalid control type " + std::to_string(type) + ".");
    }
    control->parent_ = this;
    if (id > 0) {
        control->id_ = id;
        control->caption_ = "Built-in " + std::to_string(id);
    }
    const auto at = before == 0 ? items_.end() : items_.begin() + (before - 1);
    items_.insert(at, control);
    return control;
}

void CommandBarControl::Delete() {
    if (!parent_) throw HostError(E_FAIL, "CommandBarControl.Delete : The control has been deleted.");
    auto self = shared_from_this();
    std::erase(parent_->items_, self);
    parent_ = nullptr;
}

void CommandBarButton::setState(int s) {
    if (s != msoButtonUp && s != msoButtonDown && s != msoButtonMixed)
        throw HostError(E_FAIL, "CommandBarButton.State : Invalid state " + std::to_string(s) + ".");
    state_ = s;
}

const std::string& CommandBarComboBox::List(int index) const {
    if (index < 1 || index > ListCount())
        throw HostError(E_FAIL, outOfRange("CommandBarComboBox.List", index, ListCount()));
    return items_[static_cast<std::size_t>(index - 1)];
}

int CommandBarComboBox::ListIndex() const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text_) return static_cast<int>(i) + 1;
    return 0;
}

void CommandBarComboBox::setListIndex(int index) {
    if (index == 0) {
        text_.clear();
        return;
    }
    text_ = List(index);
}

void CommandBarComboBox::userSelect(int index) {
    setListIndex(index);
    if (onChange) onChange(*this);
}

// ---- Bars -------------------------------------------------------------------------------

CommandBars::CommandBars() {
    auto pane = std::make_shared<CommandBar>(this, "Custom Animation", msoBarRight);
    auto slideShow = std::make_shared<CommandBar>(this, "Slide Show", msoBarPopup);
    auto customAnimation = slideShow->Controls().Add(msoControlButton, 0, 730);
    customAnimation->setCaption("Custom Animation...");
    customAnimation->action_ = [weak = std::weak_ptr<CommandBar>(pane)] {
        if (auto shown = weak.lock()) shown->setVisible(true);
    };
    for (auto& bar : {pane, slideShow}) {
        bar->builtIn_ = true;
        builtIn_.push_back(bar);
    }
}

CommandBars::~CommandBars() {
    for (auto& bar : items_) bar->owner_ = nullptr;
    for (auto& bar : builtIn_) bar->owner_ = nullptr;
}

void CommandBarControl::Execute() {
    if (action_) action_();
}

namespace {

std::shared_ptr<CommandBarControl> findIn(const CommandBarControls& controls, int id) {
    for (const auto& c : controls.all()) {
        if (c->Id() == id) return c;
        if (auto* popup = dynamic_cast<CommandBarPopup*>(c.get()))
            if (auto found = findIn(popup->Controls(), id)) return found;
    }
    return nullptr;
}

}  // namespace

std::shared_ptr<CommandBarControl> CommandBars::FindControl(int id) const {
    for (const auto* bars : {&items_, &builtIn_})
        for (const auto& bar : *bars)
            if (auto found = findIn(bar->Controls(), id)) return found;
    return nullptr;
}

void CommandBar::Delete() {
    if (!owner_) throw HostError(E_FAIL, "CommandBar.Delete : The command bar has been deleted.");
    if (builtIn_) throw HostError(E_FAIL, "CommandBar.Delete : A built-in command bar cannot be deleted.");
    if (owner_->deleteRefused)
        throw HostError(E_FAIL, "CommandBar.Delete : The command bar is locked and cannot be deleted.");
    auto self = shared_from_this();
    std::erase(owner_->items_, self);
    owner_ = nullptr;
}

void CommandBar::setPosition(int p) {
    if (p < msoBarLeft || p > msoBarFloating)
        throw HostError(E_FAIL, "CommandBar.Position : Invalid position " + std::to_string(p) + ".");
    position_ = p;
}

void CommandBar::setRowIndex(int v) {
    if (v < 0) throw HostError(E_FAIL, "CommandBar.RowIndex : Invalid row " + std::to_string(v) + ".");
    rowIndex_ = v;
}

void CommandBar::setHeight(int v) {
    if (position_ != msoBarFloating || v < 1)
        throw HostError(E_FAIL, "CommandBar.Height : The height of this bar cannot be set.");
    height_ = v;
}

std::shared_ptr<CommandBar> CommandBars::Item(int index) const {
    if (index < 1 || index > Count()) throw HostError(E_FAIL, outOfRange("CommandBars.Item", index, Count()));
    return items_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<CommandBar> CommandBars::Item(const std::string& name) const {
    for (const auto* bars : {&items_, &builtIn_})
        for (const auto& bar : *bars)
            if (detail::equalsNoCase(bar->name_, name)) return bar;
    throw HostError(E_FAIL, "CommandBars.Item : There is no command bar \"" + name + "\".");
}

std::shared_ptr<CommandBar> CommandBars::Add(const std::string& name, int position, bool menuBar, bool temporary) {
    if (menuBar) position = msoBarMenuBar;
    if (name.empty()) throw HostError(E_FAIL, "CommandBars.Add : The name is empty.");
    for (const auto* bars : {&items_, &builtIn_})
        for (const auto& bar : *bars)
            if (detail::equalsNoCase(bar->name_, name))
                throw HostError(E_FAIL, "CommandBars.Add : A command bar \"" + name + "\" exists already.");
    auto bar = std::make_shared<CommandBar>(this, name, position);
    bar->temporary_ = temporary;
    items_.push_back(bar);
    return bar;
}

void CommandBars::adviseClick(const std::shared_ptr<CommandBarButton>& remembered, ClickHandler handler) {
    clicks_.emplace_back(remembered, std::move(handler));
}

void CommandBars::unadviseClick(const std::string& tag) {
    std::erase_if(clicks_, [&](const auto& c) {
        auto b = c.first.lock();
        return !b || b->Tag() == tag;
    });
}

int CommandBars::click(CommandBarButton& button) {
    // Copied first: a handler may rebuild menus and advise again.
    const auto events = clicks_;
    int raised = 0;
    for (const auto& [source, handler] : events) {
        // The remembered button's tag as it is now; a deleted button still serves its tag.
        auto remembered = source.lock();
        if (!remembered || remembered->Tag() != button.Tag()) continue;
        bool cancel = false;
        handler(button, cancel);
        ++raised;
    }
    return raised;
}

host::CommandBars& Application::CommandBars() {
    if (!commandBars_) commandBars_ = std::make_shared<host::CommandBars>();
    return *commandBars_;
}

}  // namespace host
