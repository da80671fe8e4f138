// The host's ribbon: when an add-in that offers ribbon callbacks connects to a host that draws
// a ribbon (version 12 and later), the host asks it for its ribbon definition, checks the
// definition against the ribbon schema and the callbacks it names, calls onLoad, and draws
// every control by asking its get-callbacks. Clicks call the action callbacks.
//
// Redrawing is lazy, as the host does it at idle time: Invalidate and InvalidateControl only
// mark controls; the host asks their get-callbacks again the next time anyone looks at the
// ribbon (controls(), control(), a click, or draw()).
//
// The ribbon shows one tab at a time, at start the host's own first tab ("TabHome"). A
// control's picture (getImage) is asked for only while its tab is shown: at the first drawing
// after the tab is opened, and again after an invalidation once the tab is shown. Until then
// the control keeps the picture it was last drawn with (none at first).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/ribbon.h"

namespace host {

class Application;

// The ribbon id the host passes to GetCustomUI for presentation windows.
constexpr const char* kPresentationRibbonId = "Microsoft.PowerPoint.Presentation";

// One control (tab, group, button, ...) as the host last drew it.
struct RibbonControlState {
    std::string id;        // the id (or idMso, idQ) as written
    std::string kind;      // the element name: tab, group, button, toggleButton, dropDown, ...
    std::string owner;     // ProgID of the add-in
    std::string parentId;  // the tab, group or menu holding it ("" for a tab)
    int depth = 0;         // 0 for a tab, one more per level
    bool dynamic = false;  // from a dynamic menu's content
    std::string tag;
    std::map<std::string, std::string> callbacks;  // attribute ("getEnabled") -> callback name

    // Drawn state: the static attributes, overridden by what the get-callbacks returned.
    std::string label;
    std::string screentip;
    bool enabled = true;
    bool visible = true;
    bool pressed = false;  // toggle buttons and check boxes
    RibbonPicture image;
    std::vector<std::string> items;         // drop-downs and galleries: item labels
    std::vector<RibbonPicture> itemImages;  // their pictures (getItemImage; nullptr: none)
    std::vector<std::string> itemIds;       // static items' ids ("" for callback items)
    int selectedIndex = -1;
    std::vector<std::string> failures;  // "callback: why" for each that failed at the last draw
};

class RibbonHost {
public:
    explicit RibbonHost(Application& app);
    ~RibbonHost();
    RibbonHost(const RibbonHost&) = delete;
    RibbonHost& operator=(const RibbonHost&) = delete;

    // How many elements deep a ribbon definition (or a dynamic menu's content) may nest;
    // a deeper one is refused as not fitting the schema.
    static constexpr int kMaxNesting = 64;

    // True when the host's version draws a ribbon (12.0 and later).
    bool drawsRibbon() const;

    // Loads an add-in's ribbon after its connection (nothing when the host draws no ribbon).
    // Never throws: a failing GetCustomUI, a definition the schema refuses, missing callbacks
    // and failing callbacks are written to the log; a refused definition shows nothing.
    void attach(const std::string& progId, IRibbonExtensibility& addIn) noexcept;
    // Drops the add-in's ribbon (before the host releases the add-in). Its IRibbonUI dies too.
    void detach(const std::string& progId) noexcept;
    bool loaded(const std::string& progId) const;
    // Callback names the add-in's definition (and menu contents opened so far) bind that
    // the add-in lacks, as "name (id attribute)".
    std::vector<std::string> missingCallbacks(const std::string& progId) const;

    // Asks the get-callbacks of every control not drawn yet or invalidated since.
    void draw();
    // The id of the tab shown; at start the host's own first tab.
    const std::string& shownTab() const { return selectedTab_; }
    // The user opens the tab holding control `id` (a tab: that tab), which is drawn with its
    // pictures; false when no control has that id. Clicking, choosing and opening a menu
    // open the control's tab first.
    bool showTabOf(const std::string& id);
    // Every control in document order (a dynamic menu's content after the menu), drawn.
    // The pointers stay valid until the next change of the ribbon (attach, detach, menu
    // contents).
    std::vector<const RibbonControlState*> controls();
    // The control with that id, drawn; nullptr when there is none.
    const RibbonControlState* control(const std::string& id);
    // The drawn controls whose label equals `label` without regard to case.
    std::vector<const RibbonControlState*> findByLabel(const std::string& label);

    // What a user's action came to.
    enum class Outcome {
        done,    // the callback ran (or the control has none)
        failed,  // the callback failed; see the log
        notFound,
        hidden,        // the control or a container of it is not visible
        disabled,      // the control or a container of it is disabled
        notClickable,  // a control of another kind (tab, group, label, ...)
        badItem,       // an item index outside the list
    };
    // Clicks a button (onAction), toggle button or check box (onAction with the new pressed
    // state), or split button (its button). A dynamic menu is opened, a menu does nothing.
    Outcome click(const std::string& id);
    // Chooses item `index` (from 0) of a drop-down or gallery: onAction(selectedId, index).
    Outcome choose(const std::string& id, int index);
    // Opens a dynamic menu: asks getContent when the menu has no content yet, was
    // invalidated, or asks for it on every opening; its content's controls are then drawn.
    Outcome openMenu(const std::string& id);

    // Everything the host would show a developer: loads, refusals, missing and failing
    // callbacks. onLog hears each line as it is written.
    const std::vector<std::string>& log() const { return log_; }
    std::function<void(const std::string&)> onLog;
    // How many callbacks the host has called so far.
    long callbackCalls() const { return callbackCalls_; }

private:
    struct Loaded;
    struct Node;
    struct Builder;
    void write(const std::string& line);
    // The loaded add-in and node of a control id, drawing first; nullptr when none.
    std::pair<std::shared_ptr<Loaded>, Node*> locate(const std::string& id);
    Outcome reachable(Loaded& ui, const Node& node);
    void drawNode(Loaded& ui, Node& node);
    void drawImage(Loaded& ui, Node& node);  // asks getImage when the picture is due
    // Notes and logs that the callback bound to `attribute` answered with a wrong type.
    void wrongTypeFrom(Loaded& ui, Node& node, const std::string& attribute);
    // Calls the node's callback bound to `attribute`; a failure is noted on the node and
    // logged, and *ok tells which it was.
    RibbonValue call(Loaded& ui, Node& node, const std::string& attribute, const std::vector<RibbonValue>& args,
                     bool* ok);
    Outcome act(const std::shared_ptr<Loaded>& ui, Node& node, const std::vector<RibbonValue>& args);

    Application& app_;
    std::vector<std::shared_ptr<Loaded>> loaded_;
    std::vector<std::string> log_;
    long callbackCalls_ = 0;
    std::string selectedTab_ = "TabHome";
};

}  // namespace host
