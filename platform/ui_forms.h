// Forms whose controls are found by their names, and what a driver does to them as a user
// would. A modal form is shown through the UiDriver (platform/ui_driver.h).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// A rectangle of screen or window pixels; right and bottom lie just outside it.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Cursor ids the forms ask for.
constexpr int IDC_HAND = 32649;

class Form;

// A control registers itself with its form under its name when constructed as a member
// (a second control of the same name is a programming error: std::logic_error), and
// leaves the form again when destroyed.
class Control {
public:
    Control(Form& form, std::string name);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    virtual const char* kind() const = 0;

    bool Visible = true;
    bool Enabled = true;
    std::string Caption;                 // labels, buttons, frames, check and option boxes
    std::uint32_t ForeColor = 0x000000;  // RGB as 0x00BBGGRR, as the host keeps colours
    std::uint32_t BackColor = 0xFFFFFF;
    // Place and size on the form, in pixels.
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::string ToolTipText;
    // False: moving the focus here does not validate the control it leaves (a Cancel button).
    bool CausesValidation = true;
    // The frame (or other control) the control sits in, or nullptr for the form itself: a
    // hidden or disabled container hides or disables what it holds.
    const Control* Container = nullptr;

    std::function<void()> onClick;
    std::function<void()> onMouseMove;
    // A mouse button pressed over the control: button, shift state, x and y in its pixels.
    std::function<void(int, int, int, int)> onMouseDown;
    // Runs when the focus is about to leave the control; setting cancel keeps the focus here
    // and the action that would have moved it has no effect.
    std::function<void(bool& cancel)> onValidate;

    // What a driver does. Disabled or invisible controls, and controls of an unloaded
    // form, ignore them. Check and option boxes change their value on a click.
    virtual void click();
    void mouseMove();
    // Whether a user could reach the control now: enabled, visible, its form loaded, and so
    // is its container.
    bool interactive() const;

private:
    Form& form_;
    std::string name_;
};

class Label : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "Label"; }
};

class CommandButton : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "CommandButton"; }
    bool Default = false;
    bool Cancel = false;
};

class Frame : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "Frame"; }
};

class Line : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "Line"; }
};

class TextBox : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "TextBox"; }
    const std::string& Text() const { return text_; }
    // Setting the text runs onChange when it differs, as typing would.
    void setText(const std::string& text);
    bool Locked = false;
    std::function<void()> onChange;

private:
    std::string text_;
};

class CheckBox : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "CheckBox"; }
    int Value() const { return value_; }  // 0 unchecked, 1 checked, 2 grayed
    // Runs onClick when it changes, as the user's click would; other values than 0-2
    // raise NumberedError 380.
    void setValue(int v);
    void click() override;  // unchecked <-> checked; grayed becomes unchecked

private:
    int value_ = 0;
};

class OptionButton : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "OptionButton"; }
    bool Value() const { return value_; }
    // Runs onClick when it becomes true. Options are not grouped: the form's code clears
    // the others if it needs to.
    void setValue(bool v);
    void click() override;  // selects the option

private:
    bool value_ = false;
};

// Combo and list boxes: a list of items, the chosen index (-1 none) and, for combos, a text.
class ListControl : public Control {
public:
    using Control::Control;
    std::vector<std::string> items;
    std::vector<std::int32_t> itemData;
    void AddItem(const std::string& item) {
        items.push_back(item);
        itemData.push_back(0);
    }
    // Removes item i (NumberedError 380 when out of range); the choice is dropped when it
    // was that item and moves up with the list when it was below it. No onChange.
    void RemoveItem(int i);
    void Clear();  // items, choice and text; no onChange
    int ListCount() const { return static_cast<int>(items.size()); }
    int ListIndex() const { return index_; }
    // -1 clears the choice and the text; other indexes outside the list raise
    // NumberedError 380. Runs onChange when it changes; the text follows the item.
    void setListIndex(int i);
    const std::string& Text() const { return text_; }
    // Runs onChange when it differs; the choice becomes the first item equal to the text, or none.
    void setText(const std::string& t);
    std::function<void()> onChange;

private:
    int index_ = -1;
    std::string text_;
};

class ComboBox : public ListControl {
public:
    using ListControl::ListControl;
    const char* kind() const override { return "ComboBox"; }
    int droppedWidth = 0;  // pixels of the opened list; 0: as wide as the box (recorded request)
};

class ListBox : public ListControl {
public:
    using ListControl::ListControl;
    const char* kind() const override { return "ListBox"; }
};

// Pictures: a small RGBA image, or none.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // ARGB, row by row
    std::string source;                 // where it came from, for transcripts
};

class PictureBox : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "PictureBox"; }
    std::shared_ptr<const Picture> picture;
};

// A drawn shape (a box or a marker) filled with one colour, placed in the form's pixels.
class ShapeControl : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "Shape"; }
    std::uint32_t FillColor = 0xFFFFFF;  // RGB as 0x00BBGGRR
};

class ImageList : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "ImageList"; }
    std::vector<std::shared_ptr<const Picture>> images;
};

// Up-downs are vertical scroll bars that hold the negated value.
class ScrollBar : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "ScrollBar"; }
    int Min = 0;
    int Max = 32767;
    int SmallChange = 1;
    int Value() const { return value_; }
    void setValue(int v);  // clamps into [min(Min,Max), max(Min,Max)], runs onChange on change
    std::function<void()> onChange;

private:
    int value_ = 0;
};

class ProgressBar : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "ProgressBar"; }
    double Min = 0;
    double Max = 100;
    double Value = 0;
};

struct TreeNode {
    std::string key;
    std::string text;
    std::string parentKey;  // empty for a root node
    bool expanded = false;
    std::string tag;
    int image = 0;  // picture of the tree's image list, counted from 1; 0 for none
};

class TreeView : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "TreeView"; }
    std::vector<TreeNode> nodes;  // in display order
    int selectedIndex = -1;
    std::function<void()> onNodeClick;
    // Selects the node and runs onNodeClick, also when it was selected already (a click);
    // -1 clears the selection without a click; other indexes raise NumberedError 380.
    // Selecting another node than the one being edited ends the edit (as Escape).
    void selectNode(int index);
    // Empties the tree: nodes, selection and a running label edit.
    void clear();

    // Labels the user may edit in place (the dialog starts an edit itself with StartLabelEdit).
    bool LabelEdit = false;
    // Starts editing the selected node's label; nothing happens without a selection.
    void StartLabelEdit();
    // The node whose label is being edited, or -1.
    int editingIndex() const { return editing_; }
    // Ends the running edit with the typed text: onAfterLabelEdit (which still sees
    // editingIndex) may refuse it (cancel), and
    // otherwise the node takes the text. False when no edit was running.
    bool endLabelEdit(const std::string& text);
    // Escape: the edit ends and the label stays, without asking the handler.
    void cancelLabelEdit() { editing_ = -1; }
    std::function<void(const std::string& newText, bool& cancel)> onAfterLabelEdit;

private:
    int editing_ = -1;
};

struct ListItem {
    std::string text;
    std::vector<std::string> subItems;
    bool checked = false;
    std::string key;
    int smallIcon = 0;  // picture of the view's SmallIcons, counted from 1; 0 for none
};

class ListView : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "ListView"; }
    std::vector<std::string> columns;
    std::vector<ListItem> listItems;
    int selectedIndex = -1;
    bool Checkboxes = false;  // each row has a check box the user can tick
    const ImageList* SmallIcons = nullptr;
};

class Timer;

// A form: controls are members constructed with their names. Load runs Form_Load once;
// a modal Show returns when the driver is done and the form is hidden or unloaded.
class Form {
public:
    explicit Form(std::string name);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    const std::string& name() const { return name_; }
    std::string Caption;

    // The control of that name (exactly, "lbl(0)" for an array element), or nullptr.
    Control* control(const std::string& name) const;
    // The control of that name and kind; std::runtime_error when missing or of another kind.
    template <class T>
    T& get(const std::string& controlName) const {
        Control* c = control(controlName);
        if (!c) throw std::runtime_error("form " + name_ + " has no control " + controlName);
        auto* typed = dynamic_cast<T*>(c);
        if (!typed) throw std::runtime_error("control " + controlName + " on form " + name_ + " is a " + c->kind());
        return *typed;
    }
    const std::vector<Control*>& controls() const { return controls_; }

    // Loads the form if it is not loaded: starts its enabled timers, then runs Form_Load.
    void Load();
    // Loads if needed, marks the form visible and runs Form_Activate. A modeless show tells
    // the driver (formShown). A modal show lets the driver work the form (runModal) unless
    // the handlers already closed it, and returns once it is hidden or unloaded: a form the
    // driver left open is hidden. An exception from runModal passes through, the form hidden.
    void Show(bool modal);
    // Marks the form not visible (it stays loaded) and tells the driver.
    void Hide();
    // Runs Form_Unload, stops the form's timers and marks it hidden and unloaded; a later
    // Load starts afresh with Form_Load. Does nothing when the form is not loaded. The
    // controls keep their properties: Form_Load sets what must start fresh.
    void Unload();

    bool loaded() const { return loaded_; }
    bool Visible() const { return visible_; }

    // The font of the form's controls.
    std::string FontName = "Tahoma";
    double FontSize = 8;  // points

    // The control that has the focus, or nullptr. A driver's action on a control moves the
    // focus there first (moveFocus); SetFocus moves it without validating.
    Control* ActiveControl() const { return focused_; }
    void SetFocus(Control& c) { focused_ = &c; }
    // Runs the focused control's onValidate when the focus would leave it for another one;
    // false (the focus stays) when it cancels. Disabled or hidden controls are not validated.
    bool moveFocus(Control& to);

    // Where the window stands on the screen, in screen pixels (the window system's rectangle).
    PixelRect windowRect;
    // What the form drew on its own surface (not its controls), for a driver to look at;
    // nullptr for a form that draws nothing.
    virtual std::shared_ptr<Picture> drawing() const { return nullptr; }

    // Requests that the window system would carry out; recorded.
    bool topMost = false;
    int cursor = 0;  // last cursor id asked for

    virtual void Form_Load() {}
    // A typed character while the form has the keyboard.
    virtual void Form_KeyPress(int) {}
    virtual void Form_Activate() {}
    virtual void Form_Unload() {}

private:
    friend class Control;
    friend class Timer;
    void registerControl(Control* c);
    void unregisterControl(Control* c);
    void registerTimer(Timer* t) { timers_.push_back(t); }
    void unregisterTimer(Timer* t);

    std::string name_;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    Control* focused_ = nullptr;
    bool loaded_ = false;
    bool visible_ = false;
    bool unloading_ = false;  // Form_Unload running: a nested Unload is a no-op
};

// What a driver does to a form, by control name, as a user would: a disabled, invisible or
// locked control, or one on an unloaded form, ignores the action (the result is false); so
// does a control the focus cannot move to because the focused one refuses its value. A
// missing control or item, or a control of a kind the action does not apply to, throws
// std::runtime_error naming form and control; values the control refuses raise its error.
namespace driver {
bool setText(Form& form, const std::string& name, const std::string& text);  // TextBox, ComboBox, ListBox
bool click(Form& form, const std::string& name);                             // any control
bool check(Form& form, const std::string& name, int value);                  // CheckBox (0-2), OptionButton (non-zero)
// ListView with Checkboxes: ticks or clears the box of the first row with that text.
bool checkItem(Form& form, const std::string& name, const std::string& item, bool checked);
bool choose(Form& form, const std::string& name, int index);                // ComboBox, ListBox, TreeView
bool choose(Form& form, const std::string& name, const std::string& item);  // the first item with that text
bool scroll(Form& form, const std::string& name, int value);                // ScrollBar
// TreeView with LabelEdit: types the label of the node being edited, or of the selected node
// (as F2 would start it); false as well when no node is selected.
bool editLabel(Form& form, const std::string& name, const std::string& text);
// A key pressed while the form has the keyboard. Enter (13) clicks the form's default
// button and Esc (27) its cancel button, as a click would (the focused control is validated
// first, unless the button does not cause validation); a form without such a button, and any
// other key, gets it as Form_KeyPress. False when the button ignored the click.
bool pressKey(Form& form, int keyCode);
// Keys as typed: each character goes to pressKey, "{ENTER}" and "{ESC}" stand for those keys
// (any case). False when one of them was ignored.
bool typeKeys(Form& form, const std::string& keys);
}  // namespace driver

constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;

}  // namespace platform
