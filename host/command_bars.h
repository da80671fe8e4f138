// The host's command bars: toolbars found by name, their controls found by position or by
// caption, with enabling, button states and the few values an add-in keeps on a control.
// Hosts 9.0 to 11.0 show them; the object model is there on every host.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "platform/ui_forms.h"

namespace host {

enum MsoControlType : int {
    msoControlButton = 1,
    msoControlEdit = 2,
    msoControlDropdown = 3,
    msoControlComboBox = 4,
    msoControlPopup = 10,
};

enum MsoButtonState : int { msoButtonUp = 0, msoButtonDown = -1, msoButtonMixed = 2 };

enum MsoBarPosition : int {
    msoBarLeft = 0,
    msoBarTop = 1,
    msoBarRight = 2,
    msoBarBottom = 3,
    msoBarFloating = 4,
    msoBarPopup = 5,
    msoBarMenuBar = 6,
};

class CommandBarControl;
class CommandBars;

// The controls of a bar or of a popup, in order.
class CommandBarControls {
public:
    CommandBarControls() = default;
    CommandBarControls(const CommandBarControls&) = delete;
    CommandBarControls& operator=(const CommandBarControls&) = delete;
    ~CommandBarControls();  // controls held elsewhere count as deleted

    int Count() const { return static_cast<int>(items_.size()); }
    // 1-based; HostError(E_FAIL) when out of range.
    std::shared_ptr<CommandBarControl> Item(int index) const;
    // The first control whose caption equals `caption`, compared without regard to case and
    // to the "&" that marks an access key; HostError(E_FAIL) when there is none.
    std::shared_ptr<CommandBarControl> Item(const std::string& caption) const;
    // A new control of that type (button, popup, edit, drop-down or combo box) before
    // position `before` (1..Count+1; 0 appends). HostError(E_FAIL) for another type or a
    // position out of range. A built-in id above 0 makes it the host's own control of that id
    // (its caption is "Built-in <id>"); buttons of the add-in carry id 1.
    std::shared_ptr<CommandBarControl> Add(int type, int before = 0, int id = 0);
    const std::vector<std::shared_ptr<CommandBarControl>>& all() const { return items_; }

private:
    friend class CommandBarControl;
    std::vector<std::shared_ptr<CommandBarControl>> items_;
};

// Any control. The kinds are the subclasses below; a caller that needs a button's state
// casts, as the host's callers do.
class CommandBarControl : public HostObject, public std::enable_shared_from_this<CommandBarControl> {
public:
    CommandBarControl(const CommandBarControl&) = delete;
    CommandBarControl& operator=(const CommandBarControl&) = delete;

    int Type() const { return type_; }
    // The built-in id: 1 for controls an add-in adds, the host's number for its own controls.
    int Id() const { return id_; }
    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& c) { caption_ = c; }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    bool Visible() const { return visible_; }
    void setVisible(bool on) { visible_ = on; }
    bool BeginGroup() const { return beginGroup_; }
    void setBeginGroup(bool on) { beginGroup_ = on; }
    long HelpContextId() const { return helpContextId_; }
    void setHelpContextId(long id) { helpContextId_ = id; }
    const std::string& Parameter() const { return parameter_; }
    void setParameter(const std::string& p) { parameter_ = p; }
    const std::string& Tag() const { return tag_; }
    void setTag(const std::string& t) { tag_ = t; }
    const std::string& TooltipText() const { return tooltip_; }
    void setTooltipText(const std::string& t) { tooltip_ = t; }
    const std::string& DescriptionText() const { return description_; }
    void setDescriptionText(const std::string& t) { description_ = t; }
    // Removes the control from its bar or popup; HostError(E_FAIL) when already removed.
    void Delete();
    // Carries the control out: the host's own controls that the stand-in models do what they
    // do (730, "Custom Animation...", shows the animation pane); any other does nothing.
    void Execute();

protected:
    explicit CommandBarControl(int type) : type_(type) {}

private:
    friend class CommandBarControls;
    friend class CommandBars;
    int type_;
    int id_ = 1;
    std::string description_;
    CommandBarControls* parent_ = nullptr;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    bool beginGroup_ = false;
    long helpContextId_ = 0;
    std::string parameter_;
    std::string tag_;
    std::string tooltip_;
    std::function<void()> action_;  // what a host's own control does when executed
};

class CommandBarButton : public CommandBarControl {
public:
    CommandBarButton() : CommandBarControl(msoControlButton) {}
    int State() const { return state_; }
    // msoButtonUp, msoButtonDown or msoButtonMixed; HostError(E_FAIL) for another value.
    void setState(int s);
    // The host's built-in face (0: none).
    int FaceId() const { return faceId_; }
    void setFaceId(int f) { faceId_ = f; }
    // Stand-in: pictures are named by the number the add-in gives them (0: none).
    int Picture() const { return picture_; }
    void setPicture(int p) { picture_ = p; }
    int Mask() const { return mask_; }
    void setMask(int m) { mask_ = m; }
    // A picture and mask handed over as images (loaded from files), kept as given.
    const std::shared_ptr<const platform::Picture>& PictureImage() const { return pictureImage_; }
    void setPictureImage(std::shared_ptr<const platform::Picture> p) { pictureImage_ = std::move(p); }
    const std::shared_ptr<const platform::Picture>& MaskImage() const { return maskImage_; }
    void setMaskImage(std::shared_ptr<const platform::Picture> m) { maskImage_ = std::move(m); }

private:
    int state_ = msoButtonUp;
    int faceId_ = 0;
    int picture_ = 0;
    int mask_ = 0;
    std::shared_ptr<const platform::Picture> pictureImage_, maskImage_;
};

class CommandBarPopup : public CommandBarControl {
public:
    CommandBarPopup() : CommandBarControl(msoControlPopup) {}
    CommandBarControls& Controls() { return controls_; }

private:
    CommandBarControls controls_;
};

// Edit boxes, drop-downs and combo boxes: a list of items and a text.
class CommandBarComboBox : public CommandBarControl {
public:
    explicit CommandBarComboBox(int type) : CommandBarControl(type) {}
    void AddItem(const std::string& item) { items_.push_back(item); }
    int ListCount() const { return static_cast<int>(items_.size()); }
    // 1-based; HostError(E_FAIL) when out of range.
    const std::string& List(int index) const;
    // 0 when the text is no item, else the 1-based position of the first item equal to it.
    int ListIndex() const;
    // 0 clears the text; another index out of range raises HostError(E_FAIL).
    void setListIndex(int index);
    const std::string& Text() const { return text_; }
    void setText(const std::string& t) { text_ = t; }
    void Clear() {
        items_.clear();
        text_.clear();
    }
    int Width() const { return width_; }
    void setWidth(int w) { width_ = w; }
    int DropDownWidth() const { return dropDownWidth_; }
    void setDropDownWidth(int w) { dropDownWidth_ = w; }
    // The change event: raised when the user picks an item, not when code sets one.
    std::function<void(CommandBarComboBox&)> onChange;
    // Stand-in: the user picks item `index` (1-based); raises the change event.
    void userSelect(int index);

private:
    int width_ = 0;
    int dropDownWidth_ = 0;
    std::vector<std::string> items_;
    std::string text_;
};

// A toolbar. Position and placement are kept as plain values.
class CommandBar : public HostObject, public std::enable_shared_from_this<CommandBar> {
public:
    CommandBar(const CommandBar&) = delete;
    CommandBar& operator=(const CommandBar&) = delete;

    const std::string& Name() const { return name_; }
    CommandBarControls& Controls() { return controls_; }
    bool Visible() const { return visible_; }
    void setVisible(bool on) { visible_ = on; }
    int Position() const { return position_; }
    // Docked left, top, right, bottom or floating; HostError(E_FAIL) for another value.
    void setPosition(int p);
    int Left() const { return left_; }
    void setLeft(int v) { left_ = v; }
    int Top() const { return top_; }
    void setTop(int v) { top_ = v; }
    int RowIndex() const { return rowIndex_; }
    // HostError(E_FAIL) below 0.
    void setRowIndex(int v);
    int Height() const { return height_; }
    // Only a floating bar takes a height; HostError(E_FAIL) for a docked one or one below 1.
    void setHeight(int v);
    bool Temporary() const { return temporary_; }
    // Removes the bar from the host; HostError(E_FAIL) when already removed.
    void Delete();

    CommandBar(CommandBars* owner, std::string name, int position)
        : owner_(owner), name_(std::move(name)), position_(position) {}

private:
    friend class CommandBars;
    CommandBars* owner_;
    std::string name_;
    CommandBarControls controls_;
    bool visible_ = false;
    int position_;
    int left_ = 0, top_ = 0, rowIndex_ = 0, height_ = 26;
    bool temporary_ = false;
    bool builtIn_ = false;
};

// The bars added through Add, in order. The host's own bars stand beside them, found by name
// and through FindControl but not counted: the task pane "Custom Animation" (the animation
// pane, hidden until shown) and "Slide Show", which holds the built-in control 730 that
// shows it. They cannot be deleted (E_FAIL).
class CommandBars {
public:
    CommandBars();
    CommandBars(const CommandBars&) = delete;
    CommandBars& operator=(const CommandBars&) = delete;
    ~CommandBars();  // bars held elsewhere count as deleted

    int Count() const { return static_cast<int>(items_.size()); }
    // 1-based; HostError(E_FAIL) when out of range.
    std::shared_ptr<CommandBar> Item(int index) const;
    // The bar of that name, the add-in's or the host's own, compared without regard to case;
    // HostError(E_FAIL) when missing.
    std::shared_ptr<CommandBar> Item(const std::string& name) const;
    // The first control with that built-in id on any bar (popups searched too), or nullptr
    // (the host's Nothing).
    std::shared_ptr<CommandBarControl> FindControl(int id) const;
    // A new, hidden, empty bar. HostError(E_FAIL) for an empty name or one in use (the
    // host's own names included). A temporary bar is dropped when the host quits.
    std::shared_ptr<CommandBar> Add(const std::string& name, int position = msoBarTop, bool menuBar = false,
                                    bool temporary = false);
    const std::vector<std::shared_ptr<CommandBar>>& all() const { return items_; }

    // The click event of a remembered button. The host raises it for a click on any button
    // that carries the remembered button's tag; the handler gets the clicked button and the
    // cancel-default flag.
    using ClickHandler = std::function<void(CommandBarButton& clicked, bool& cancelDefault)>;
    void adviseClick(const std::shared_ptr<CommandBarButton>& remembered, ClickHandler handler);
    // Drops every click event whose remembered button carries that tag.
    void unadviseClick(const std::string& tag);
    // Stand-in: the user clicks the button. Returns how many click events were raised.
    int click(CommandBarButton& button);

    // Stand-in: a host whose bars are locked (by an administrator's policy) refuses
    // CommandBar.Delete with HostError(E_FAIL) while this is set.
    bool deleteRefused = false;

private:
    friend class CommandBar;
    std::vector<std::shared_ptr<CommandBar>> items_;
    std::vector<std::shared_ptr<CommandBar>> builtIn_;
    std::vector<std::pair<std::weak_ptr<CommandBarButton>, ClickHandler>> clicks_;
};

}  // namespace host
