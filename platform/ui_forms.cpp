// Forms and their controls: registration by name, the load/show/unload cycle, and the
// value changes a user (or the form's own code) makes.
#include "platform/ui_driver.h"
#include "platform/ui_timers.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "platform/errors.h"

namespace platform {

namespace {

std::atomic<void (*)()> afterModalForm{nullptr};

void runAfterModalForm() {
    if (auto hook = afterModalForm.load()) hook();
}

// The error the system's code has always seen for a value a control refuses.
[[noreturn]] void invalidPropertyValue(const Control& c) {
    throw NumberedError(380, "Invalid property value (" + c.name() + ")", c.form().name());
}

// Handlers are copied before they run: a handler may replace itself, or unload and
// destroy the form that holds it.
void run(const std::function<void()>& handler) {
    if (!handler) return;
    auto copy = handler;
    copy();
}

}  // namespace

// ---- Control ------------------------------------------------------------------------

Control::Control(Form& form, std::string name) : form_(form), name_(std::move(name)) { form_.registerControl(this); }

Control::~Control() { form_.unregisterControl(this); }

bool Control::interactive() const {
    return Enabled && Visible && form_.loaded() && (!Container || Container->interactive());
}

void Control::click() {
    if (interactive()) run(onClick);
}

void Control::mouseMove() {
    if (interactive()) run(onMouseMove);
}

void TextBox::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    run(onChange);
}

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) invalidPropertyValue(*this);
    if (v == value_) return;
    value_ = v;
    run(onClick);
}

void CheckBox::click() {
    if (interactive()) setValue(value_ == 1 ? 0 : 1);
}

void OptionButton::setValue(bool v) {
    if (v == value_) return;
    value_ = v;
    if (v) run(onClick);
}

void OptionButton::click() {
    if (interactive()) setValue(true);
}

void ListControl::RemoveItem(int i) {
    if (i < 0 || i >= ListCount()) invalidPropertyValue(*this);
    items.erase(items.begin() + i);
    if (static_cast<std::size_t>(i) < itemData.size()) itemData.erase(itemData.begin() + i);
    if (index_ == i) {
        index_ = -1;
        text_.clear();
    } else if (index_ > i) {
        --index_;
    }
}

void ListControl::Clear() {
    items.clear();
    itemData.clear();
    index_ = -1;
    text_.clear();
}

void ListControl::setListIndex(int i) {
    if (i < -1 || i >= ListCount()) invalidPropertyValue(*this);
    if (i == index_) return;
    index_ = i;
    text_ = i < 0 ? std::string() : items[static_cast<std::size_t>(i)];
    run(onChange);
}

void ListControl::setText(const std::string& t) {
    if (t == text_) return;
    text_ = t;
    auto it = std::find(items.begin(), items.end(), t);
    index_ = it == items.end() ? -1 : static_cast<int>(it - items.begin());
    run(onChange);
}

void ScrollBar::setValue(int v) {
    // Up-downs keep negated ranges, so Min may lie above Max.
    const int low = std::min(Min, Max);
    const int high = std::max(Min, Max);
    v = std::clamp(v, low, high);
    if (v == value_) return;
    value_ = v;
    run(onChange);
}

void TreeView::selectNode(int index) {
    if (index < -1 || index >= static_cast<int>(nodes.size())) invalidPropertyValue(*this);
    // A click elsewhere ends a running label edit, as Escape would.
    if (index != editing_) editing_ = -1;
    selectedIndex = index;
    if (index >= 0) run(onNodeClick);
}

void TreeView::clear() {
    nodes.clear();
    selectedIndex = -1;
    editing_ = -1;
}

void TreeView::StartLabelEdit() {
    if (selectedIndex >= 0 && selectedIndex < static_cast<int>(nodes.size())) editing_ = selectedIndex;
}

bool TreeView::endLabelEdit(const std::string& text) {
    const int index = editing_;
    if (index < 0) return false;
    // The handler still sees which node is being edited.
    struct Ended {
        int& editing;
        ~Ended() { editing = -1; }
    } ended{editing_};
    bool cancel = false;
    if (onAfterLabelEdit) onAfterLabelEdit(text, cancel);
    // The handler may have refilled the tree; only a node still there takes the text.
    if (!cancel && index < static_cast<int>(nodes.size())) nodes[static_cast<std::size_t>(index)].text = text;
    return true;
}

// ---- Form ---------------------------------------------------------------------------

Form::Form(std::string name) : name_(std::move(name)) {}

// The derived form's members (its controls and timers) are gone by now; each took itself
// off the lists and the clock on the way out.
Form::~Form() = default;

void Form::registerControl(Control* c) {
    if (control(c->name())) throw std::logic_error("form " + name_ + " already has a control named " + c->name());
    controls_.push_back(c);
}

void Form::unregisterControl(Control* c) {
    std::erase(controls_, c);
    if (focused_ == c) focused_ = nullptr;
}

bool Form::moveFocus(Control& to) {
    Control* from = focused_;
    if (from && from != &to && to.CausesValidation && from->interactive() && from->onValidate) {
        bool cancel = false;
        auto copy = from->onValidate;
        copy(cancel);
        if (cancel) return false;
    }
    focused_ = &to;
    return true;
}

void Form::unregisterTimer(Timer* t) { std::erase(timers_, t); }

Control* Form::control(const std::string& name) const {
    for (Control* c : controls_)
        if (c->name() == name) return c;
    return nullptr;
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    // As in a real window, the controls (timers too) exist before Form_Load runs; a
    // Form_Load that unloads the form stops them again.
    for (Timer* t : std::vector<Timer*>(timers_)) t->reschedule();
    Form_Load();
}

void setAfterModalForm(void (*hook)()) { afterModalForm.store(hook); }

void Form::Show(bool modal) {
    Load();
    if (!loaded_) return;  // Form_Load unloaded it
    visible_ = true;
    Form_Activate();
    if (!modal) {
        if (visible_) uiDriver().formShown(*this);
        return;
    }
    if (!visible_) return;  // Form_Activate closed it already
    try {
        uiDriver().runModal(*this);
    } catch (...) {
        visible_ = false;
        runAfterModalForm();
        throw;
    }
    if (visible_) Hide();
    runAfterModalForm();
}

void Form::Hide() {
    if (!visible_) return;
    visible_ = false;
    uiDriver().formShown(*this);
}

void Form::Unload() {
    if (!loaded_ || unloading_) return;
    unloading_ = true;
    try {
        Form_Unload();
    } catch (...) {
        unloading_ = false;
        throw;
    }
    unloading_ = false;
    const bool wasVisible = visible_;
    loaded_ = false;
    visible_ = false;
    for (Timer* t : std::vector<Timer*>(timers_)) t->reschedule();
    if (wasVisible) uiDriver().formShown(*this);
}

}  // namespace platform
