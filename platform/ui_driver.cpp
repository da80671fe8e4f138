// The other end of the user interface: the driver in use, the scripted driver tests and
// scenarios feed, and the by-name actions a driver performs on a form.
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <utility>

namespace platform {

namespace {

UiDriver*& installedDriver() {
    static UiDriver* driver = nullptr;
    return driver;
}

template <class T>
T popFront(std::deque<T>& queue) {
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

UiDriver& uiDriver() {
    if (UiDriver* d = installedDriver()) return *d;
    static ScriptedDriver fallback;
    return fallback;
}

UiDriver* setUiDriver(UiDriver* driver) { return std::exchange(installedDriver(), driver); }

ScopedUiDriver::ScopedUiDriver(UiDriver& driver) : previous_(installedDriver()) { setUiDriver(&driver); }

ScopedUiDriver::~ScopedUiDriver() { setUiDriver(previous_); }

void DoEvents() { uiDriver().processEvents(); }

int MsgBox(const std::string& text, int style, const std::string& title) {
    return uiDriver().messageBox(text, style, title);
}

std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& defaultText) {
    return uiDriver().inputBox(prompt, title, defaultText);
}

// ---- ScriptedDriver -----------------------------------------------------------------

int ScriptedDriver::messageBox(const std::string& text, int style, const std::string& title) {
    MessageBoxCall call{text, style, title, 0};
    if (!messageAnswers.empty()) {
        call.answer = popFront(messageAnswers);
    } else if (onUnansweredMessage) {
        call.answer = onUnansweredMessage(call);
    } else {
        throw std::runtime_error("no answer queued for message box: " + text);
    }
    messages.push_back(call);
    return call.answer;
}

std::optional<std::string> ScriptedDriver::inputBox(const std::string& prompt, const std::string& /*title*/,
                                                    const std::string& /*defaultText*/) {
    if (inputAnswers.empty()) throw std::runtime_error("no answer queued for input box: " + prompt);
    inputPrompts.push_back(prompt);
    return popFront(inputAnswers);
}

std::optional<std::string> ScriptedDriver::fileDialog(const std::string& title, const std::string& /*initialPath*/) {
    if (fileAnswers.empty()) throw std::runtime_error("no answer queued for file dialog: " + title);
    fileDialogTitles.push_back(title);
    return popFront(fileAnswers);
}

void ScriptedDriver::runModal(Form& form) {
    modalForms.push_back(form.name());
    // The action leaves the queue before it runs: it may show further modal forms.
    for (const std::string& key : {form.name(), std::string("*")}) {
        auto it = formActions.find(key);
        if (it == formActions.end() || it->second.empty()) continue;
        auto action = popFront(it->second);
        action(form);
        return;
    }
    if (onUnscriptedForm) {
        auto handler = onUnscriptedForm;
        handler(form);
        return;
    }
    throw std::runtime_error("no action queued for modal form: " + form.name());
}

// ---- driver actions -----------------------------------------------------------------

namespace driver {

namespace {

Control& find(Form& form, const std::string& name) {
    Control* c = form.control(name);
    if (!c) throw std::runtime_error("form " + form.name() + " has no control " + name);
    return *c;
}

[[noreturn]] void wrongKind(Form& form, const Control& c, const char* action) {
    throw std::runtime_error("cannot " + std::string(action) + " control " + c.name() + " on form " + form.name() +
                             ": it is a " + c.kind());
}

}  // namespace

bool setText(Form& form, const std::string& name, const std::string& text) {
    Control& c = find(form, name);
    if (auto* box = dynamic_cast<TextBox*>(&c)) {
        if (!c.interactive() || box->Locked || !form.moveFocus(c)) return false;
        box->setText(text);
        return true;
    }
    if (auto* list = dynamic_cast<ListControl*>(&c)) {
        if (!c.interactive() || !form.moveFocus(c)) return false;
        list->setText(text);
        return true;
    }
    wrongKind(form, c, "type into");
}

bool click(Form& form, const std::string& name) {
    Control& c = find(form, name);
    if (!c.interactive() || !form.moveFocus(c)) return false;
    c.click();
    return true;
}

bool check(Form& form, const std::string& name, int value) {
    Control& c = find(form, name);
    if (auto* box = dynamic_cast<CheckBox*>(&c)) {
        if (!c.interactive() || !form.moveFocus(c)) return false;
        box->setValue(value);
        return true;
    }
    if (auto* option = dynamic_cast<OptionButton*>(&c)) {
        if (!c.interactive() || !form.moveFocus(c)) return false;
        option->setValue(value != 0);
        return true;
    }
    wrongKind(form, c, "check");
}

bool checkItem(Form& form, const std::string& name, const std::string& item, bool checked) {
    Control& c = find(form, name);
    auto* view = dynamic_cast<ListView*>(&c);
    if (!view || !view->Checkboxes) wrongKind(form, c, "tick a row of");
    auto it = std::find_if(view->listItems.begin(), view->listItems.end(),
                           [&](const ListItem& row) { return row.text == item; });
    if (it == view->listItems.end())
        throw std::runtime_error("control " + name + " on form " + form.name() + " has no row " + item);
    if (!c.interactive() || !form.moveFocus(c)) return false;
    it->checked = checked;
    return true;
}

bool choose(Form& form, const std::string& name, int index) {
    Control& c = find(form, name);
    if (auto* list = dynamic_cast<ListControl*>(&c)) {
        if (!c.interactive() || !form.moveFocus(c)) return false;
        list->setListIndex(index);
        return true;
    }
    if (auto* tree = dynamic_cast<TreeView*>(&c)) {
        if (!c.interactive() || !form.moveFocus(c)) return false;
        tree->selectNode(index);
        return true;
    }
    wrongKind(form, c, "choose from");
}

bool choose(Form& form, const std::string& name, const std::string& item) {
    Control& c = find(form, name);
    int index = -1;
    if (auto* list = dynamic_cast<ListControl*>(&c)) {
        auto it = std::find(list->items.begin(), list->items.end(), item);
        if (it != list->items.end()) index = static_cast<int>(it - list->items.begin());
    } else if (auto* tree = dynamic_cast<TreeView*>(&c)) {
        auto it =
            std::find_if(tree->nodes.begin(), tree->nodes.end(), [&](const TreeNode& n) { return n.text == item; });
        if (it != tree->nodes.end()) index = static_cast<int>(it - tree->nodes.begin());
    } else {
        wrongKind(form, c, "choose from");
    }
    if (index < 0) throw std::runtime_error("control " + name + " on form " + form.name() + " has no item " + item);
    return choose(form, name, index);
}

bool scroll(Form& form, const std::string& name, int value) {
    Control& c = find(form, name);
    auto* bar = dynamic_cast<ScrollBar*>(&c);
    if (!bar) wrongKind(form, c, "scroll");
    if (!c.interactive() || !form.moveFocus(c)) return false;
    bar->setValue(value);
    return true;
}

bool editLabel(Form& form, const std::string& name, const std::string& text) {
    Control& c = find(form, name);
    auto* tree = dynamic_cast<TreeView*>(&c);
    if (!tree) wrongKind(form, c, "edit a label of");
    if (!tree->LabelEdit || !c.interactive() || !form.moveFocus(c)) return false;
    if (tree->editingIndex() < 0) tree->StartLabelEdit();
    return tree->endLabelEdit(text);
}

bool pressKey(Form& form, int keyCode) {
    if (keyCode == vbKeyReturn || keyCode == vbKeyEscape) {
        for (Control* c : form.controls()) {
            auto* button = dynamic_cast<CommandButton*>(c);
            if (!button || !(keyCode == vbKeyReturn ? button->Default : button->Cancel)) continue;
            // The key works the button as a click would, refused where a click would be.
            return click(form, button->name());
        }
    }
    if (!form.loaded()) return false;
    form.Form_KeyPress(keyCode);
    return true;
}

bool typeKeys(Form& form, const std::string& keys) {
    bool all = true;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == '{') {
            const auto end = keys.find('}', i);
            std::string name = end == std::string::npos ? std::string() : keys.substr(i + 1, end - i - 1);
            for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            if (name == "ENTER" || name == "ESC") {
                all = pressKey(form, name == "ENTER" ? vbKeyReturn : vbKeyEscape) && all;
                i = end;
                continue;
            }
        }
        all = pressKey(form, static_cast<unsigned char>(keys[i])) && all;
    }
    return all;
}

}  // namespace driver

}  // namespace platform
