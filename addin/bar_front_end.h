// The command bars of the command-bar hosts: the Efficiency Tools, Slide Wizard and
// Shortcuts bars, built at start-up and deleted at shut-down, and what their clicks do.
// The bars' contents are data (barContents below); the builder walks them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/bar_buttons.h"
#include "core/collection.h"
#include "host/command_bars.h"
#include "host/host.h"
#include "platform/xml_dom.h"

namespace plorin {

constexpr const char* kSlideWizardBar = "Varnotel for presentations - Slide Wizard";
constexpr const char* kShortcutsBar = "Varnotel for presentations - Shortcuts";
constexpr const char* kHelpPopup = "Help";
constexpr const char* kEfficiencyToolsTag = "plorin_EfficiencyTools";
constexpr const char* kSlideWizardTag = "plorin_SlideWizard";
constexpr const char* kMyElementsTag = "plorin_MyElements";
constexpr const char* kNoStylePlaceholder = "[No style selected]";

// One control of a bar or of one of its popups, in order.
struct BarEntry {
    enum Kind { button, builtIn, languages, popup };
    Kind kind;
    const char* caption;    // nullptr: the bar's own name
    const char* parameter;  // the EfficiencyTools method the click runs ("!": not counted)
    int toolId;             // also the help topic; 0: none
    int picture;            // custom picture number, or built-in face id
    bool customPicture;
    bool beginGroup;
    bool customisable;
    int builtInId;          // builtIn only
    const char* popupName;  // nullptr: directly on the bar
};

// The controls of the Efficiency Tools bar with its "Tools" and "Help" popups, in order.
const std::vector<BarEntry>& efficiencyToolsContents();
// The host's own controls on the Shortcuts bar: id and whether it begins a group.
struct BuiltInControl {
    int id;
    bool beginGroup;
};
const std::vector<BuiltInControl>& shortcutsContents();

class pptControls {
public:
    // Publishes ecyControls in the shared state for as long as the object lives.
    pptControls();
    pptControls(const pptControls&) = delete;
    pptControls& operator=(const pptControls&) = delete;
    ~pptControls();

    // Every customisable Efficiency Tools button, keyed by its tool id followed by "ID".
    Collection<std::shared_ptr<host::CommandBarButton>> ecyControls;

    host::Application* PowerPointApp() const { return app_; }
    void setPowerPointApp(host::Application* app) { app_ = app; }
    // Builds the bars that are missing (a bar left from an earlier connection stays and is
    // not taken over). Failures are reported; the bars built so far stay.
    void CreateControls();
    // Deletes the bars this object built, last first; a bar the user deleted is skipped and
    // the others still go.
    void DeleteControls();
    // Selects the style in the style drop-down and makes it the current style; an unknown
    // or empty name selects the first style.
    void setStyle(const std::string& style);
    // Enables every Efficiency Tools control and "Tools" entry (help mode lets disabled ones
    // be clicked). Reported when the bar is missing.
    void enableControls();
    // Rebuilds the "My Elements" popup of the Slide Wizard bar from the index file: the two
    // fixed buttons stay, then one popup per group with a button per element. Replaces the
    // shared My Elements document (none when the file is damaged; a missing file leaves it).
    void generateMyElementsMenu();
    // Sets a popup entry's state and its face (990 checked, 1 not).
    void checkButton(const std::string& barName, const std::string& popupName, const std::string& caption,
                     bool checked);

    // The click handlers, served by the host for every button with their tag.
    void ecyButton_Click(host::CommandBarButton& button, bool& cancelDefault);
    void wizButton_Click(host::CommandBarButton& button, bool& cancelDefault);
    void meButton_Click(host::CommandBarButton& button, bool& cancelDefault);
    void styleDropdown_Change(host::CommandBarComboBox& dropdown);

    const std::vector<std::shared_ptr<host::CommandBar>>& toolbars() const { return toolbars_; }
    host::CommandBarComboBox* styleDropdown() const { return styleDropdown_.get(); }

private:
    host::Application& app() const;
    bool commandBarExists(const std::string& name) const;
    std::shared_ptr<host::CommandBar> createCmdBar(const std::string& name);
    std::shared_ptr<host::CommandBarButton> addButton(host::CommandBarControls& parent, const std::string& caption,
                                                      const std::string& parameter, int picture, bool customPicture,
                                                      bool beginGroup, int toolId, bool customisable);
    void addLanguageButtons(host::CommandBar& bar);
    void buildEfficiencyTools();
    void buildSlideWizard();
    void buildShortcuts();
    // Loads the menu file (styles and current style as on the ribbon) and builds its menus on
    // the bar; false when the file could not be loaded (after the message).
    bool generateMenuFromXML(const std::string& barName);
    // The control of one menu, submenu or item of the menu file in `parent`, with what it holds.
    void generateMenu(host::CommandBarControls& parent, const platform::DomNode& node);
    // The bar's place, kept under a sub key named like the bar.
    void saveCmdBarPosition(const std::string& name);
    void getCmdBarPosition(const std::string& name);
    void remember(const std::shared_ptr<host::CommandBarButton>& button, std::string_view tag);

    host::Application* app_ = nullptr;
    std::vector<std::shared_ptr<host::CommandBar>> toolbars_;
    std::vector<std::string> visibleToolIds_;
    std::shared_ptr<host::CommandBarButton> ecyButton_, wizButton_, meButton_;
    std::shared_ptr<host::CommandBarComboBox> styleDropdown_;
};

}  // namespace plorin
