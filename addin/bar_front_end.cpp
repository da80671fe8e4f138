#include "addin/bar_front_end.h"

#include <charconv>

#include "addin/addin_state.h"
#include "addin/host_events.h"
#include "addin/named_commands.h"
#include "addin/ribbon_dispatch.h"
#include "addin/toggle_groups.h"
#include "core/bar_buttons.h"
#include "core/errors.h"
#include "core/help_topics.h"
#include "core/icons.h"
#include "core/languages.h"
#include "core/numbers.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "core/undo_fix.h"
#include "core/usage_counters.h"
#include "host/host.h"
#include "libraries/library_insert.h"
#include "libraries/menu_file.h"
#include "libraries/my_elements.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"

namespace plorin {

pptControls::pptControls() { state().ecyControls = &ecyControls; }

pptControls::~pptControls() {
    if (state().ecyControls == &ecyControls) state().ecyControls = nullptr;
    // The builder must not outlive the bars' owner.
    myElementsMenuBuilder() = nullptr;
}

host::Application& pptControls::app() const {
    if (!app_) raiseObjectNotSet();
    return *app_;
}

bool pptControls::commandBarExists(const std::string& name) const {
    try {
        app().CommandBars().Item(name);
        return true;
    } catch (...) {
        return false;
    }
}

std::shared_ptr<host::CommandBar> pptControls::createCmdBar(const std::string& name) {
    std::shared_ptr<host::CommandBar> bar;
    trap("pptControls, createCmdBar", [&] {
        if (commandBarExists(name)) return;
        bar = app().CommandBars().Add(name, host::msoBarTop, false, true);
        toolbars_.push_back(bar);
    });
    return bar;
}

void pptControls::saveCmdBarPosition(const std::string& name) {
    trap("pptControls, saveCmdBarPosition", [&] {
        auto bar = app().CommandBars().Item(name);
        setRegistry("position", std::to_string(toInteger16(static_cast<double>(bar->Position()))), name);
        setRegistry("row", std::to_string(toInteger16(static_cast<double>(bar->RowIndex()))), name);
        setRegistry("top", std::to_string(toInteger16(static_cast<double>(bar->Top()))), name);
        setRegistry("left", std::to_string(toInteger16(static_cast<double>(bar->Left()))), name);
        setRegistry("visible", bar->Visible() ? "-1" : "0", name);
    });
}

void pptControls::getCmdBarPosition(const std::string& name) {
    trap("pptControls, getCmdBarPosition", [&] {
        const char* top = name == kSlideWizardBar ? "260" : name == kShortcutsBar ? "320" : "200";
        auto bar = app().CommandBars().Item(name);
        // A stored value the host refuses (out of range, or no 16-bit number) is skipped:
        // the bar keeps that part of its place and the other values still apply.
        ignoreErrors([&] { bar->setPosition(toInteger16(getRegistry("position", name, "4"))); });
        ignoreErrors([&] { bar->setRowIndex(toInteger16(getRegistry("row", name, "1"))); });
        ignoreErrors([&] { bar->setTop(toInteger16(getRegistry("top", name, top))); });
        ignoreErrors([&] { bar->setLeft(toInteger16(getRegistry("left", name, "200"))); });
        ignoreErrors([&] { bar->setVisible(toNumber(getRegistry("visible", name, "-1")) != 0); });
        if (bar->Position() == host::msoBarFloating) bar->setHeight(52);
    });
}

void pptControls::remember(const std::shared_ptr<host::CommandBarButton>& button, std::string_view tag) {
    auto& bars = app().CommandBars();
    // Tags compared as text: the same constant may sit at different addresses in two files.
    const bool efficiency = tag == kEfficiencyToolsTag, wizard = tag == kSlideWizardTag;
    auto& slot = efficiency ? ecyButton_ : wizard ? wizButton_ : meButton_;
    // One event per tag: the newest button takes over from the one remembered before.
    bars.unadviseClick(std::string(tag));
    slot = button;
    if (efficiency) bars.adviseClick(button, [this](host::CommandBarButton& b, bool& c) { ecyButton_Click(b, c); });
    else if (wizard) bars.adviseClick(button, [this](host::CommandBarButton& b, bool& c) { wizButton_Click(b, c); });
    else bars.adviseClick(button, [this](host::CommandBarButton& b, bool& c) { meButton_Click(b, c); });
}

std::shared_ptr<host::CommandBarButton> pptControls::addButton(host::CommandBarControls& parent,
                                                               const std::string& caption, const std::string& parameter,
                                                               int picture, bool customPicture, bool beginGroup,
                                                               int toolId, bool customisable) {
    auto button = std::static_pointer_cast<host::CommandBarButton>(parent.Add(host::msoControlButton));
    if (customPicture) {
        ignoreErrors([&] {
            button->setFaceId(0);
            button->setPicture(picture);
            button->setMask(picture);
            button->setPictureImage(buttonPicture(picture));
            button->setMaskImage(buttonMask(picture));
            button->setDescriptionText(std::to_string(picture));
        });
    } else {
        button->setFaceId(picture);
    }
    button->setTag(kEfficiencyToolsTag);
    button->setCaption(caption);
    button->setTooltipText(caption);
    button->setBeginGroup(beginGroup);
    button->setParameter(parameter);
    if (toolId > 0) button->setHelpContextId(toolId);
    if (customisable) {
        ecyControls.Add(button, std::to_string(button->HelpContextId()) + "ID");
        button->setVisible(shownOnBar(parameter, toolIdListed(visibleToolIds_, toolId)));
    }
    remember(button, kEfficiencyToolsTag);
    return button;
}

void pptControls::addLanguageButtons(host::CommandBar& bar) {
    bool first = true;
    for (std::size_t slot = 0; slot < 3; ++slot) {
        const std::int32_t id = currentLanguages()[slot];
        if (id <= 0) continue;
        const Language& language = languages().Item(languageKey(id));
        // The slot's icon joins the list of button pictures: the numbers follow in order.
        const int picture = appendButtonPicture(Icons().lngPic(static_cast<int>(slot)).picture);
        addButton(bar.Controls(), language.Name + " spell checking for selected slides or shapes",
                  "setLanguage " + std::to_string(language.LanguageID), picture, true, first, kLanguageToolId, false);
        first = false;
    }
}

void pptControls::buildEfficiencyTools() {
    auto bar = createCmdBar(kEfficiencyToolsBar);
    if (!bar) return;
    for (const BarEntry& e : efficiencyToolsContents()) {
        switch (e.kind) {
            case BarEntry::builtIn:
                bar->Controls().Add(host::msoControlButton, 0, e.builtInId)->setBeginGroup(e.beginGroup);
                break;
            case BarEntry::languages: addLanguageButtons(*bar); break;
            case BarEntry::popup: {
                auto p = bar->Controls().Add(host::msoControlPopup);
                p->setCaption(e.caption);
                p->setBeginGroup(e.beginGroup);
                break;
            }
            case BarEntry::button: {
                host::CommandBarControls& parent =
                    e.popupName ? dynamic_cast<host::CommandBarPopup&>(*bar->Controls().Item(e.popupName)).Controls()
                                : bar->Controls();
                addButton(parent, e.caption ? e.caption : bar->Name(), e.parameter, e.picture, e.customPicture,
                          e.beginGroup, e.toolId, e.customisable);
                break;
            }
        }
    }
    bar->setVisible(true);  // shown even when a stored place is refused
    getCmdBarPosition(bar->Name());
}

void pptControls::buildSlideWizard() {
    auto bar = createCmdBar(kSlideWizardBar);
    if (!bar) return;
    addButton(bar->Controls(), bar->Name(), "!about", 1, true, false, 1000, false);
    styleDropdown_ = std::static_pointer_cast<host::CommandBarComboBox>(bar->Controls().Add(host::msoControlDropdown));
    styleDropdown_->AddItem(kNoStylePlaceholder);
    styleDropdown_->setListIndex(1);
    styleDropdown_->onChange = [this](host::CommandBarComboBox& d) { styleDropdown_Change(d); };
    if (generateMenuFromXML(bar->Name())) {
        styleDropdown_->setWidth(120);
        styleDropdown_->setDropDownWidth(120);
        styleDropdown_->setTooltipText("Specify style of elements to be inserted");
        for (const std::string& name : state().styleNames) styleDropdown_->AddItem(name);
        styleDropdown_->setListIndex(styleDropdown_->ListCount() == 1 ? 1 : 2);
        // No style or one: nothing to choose.
        if (styleDropdown_->ListCount() < 3) styleDropdown_->setVisible(false);
    }
    // The same parser as the ribbon's, so notice n is the same on both front ends.
    const std::string path = state().layout.customization + "copyright.txt";
    {
        if (auto text = readListFile(path)) {
            std::shared_ptr<host::CommandBarPopup> popup;
            int n = 0;
            for (const CopyrightNotice& notice : parseCopyrightList(*text)) {
                if (!popup) {
                    popup = std::static_pointer_cast<host::CommandBarPopup>(bar->Controls().Add(host::msoControlPopup));
                    popup->setCaption("Copyright");
                    popup->setBeginGroup(true);
                }
                addButton(popup->Controls(), notice.line, "insertCopyright " + std::to_string(++n), 0, false, false, 0,
                          false);
            }
        }
    }
    auto myElements = bar->Controls().Add(host::msoControlPopup);
    myElements->setCaption("My Elements");
    myElements->setBeginGroup(true);
    generateMyElementsMenu();
    myElementsMenuBuilder() = [this] { generateMyElementsMenu(); };
    bar->setVisible(true);  // shown even when a stored place is refused
    getCmdBarPosition(bar->Name());
}

void pptControls::buildShortcuts() {
    auto bar = createCmdBar(kShortcutsBar);
    if (!bar) return;
    addButton(bar->Controls(), bar->Name(), "!about", 1, true, false, 1000, false);
    for (const BuiltInControl& c : shortcutsContents())
        bar->Controls().Add(host::msoControlButton, 0, c.id)->setBeginGroup(c.beginGroup);
    bar->setVisible(true);  // shown even when a stored place is refused
    getCmdBarPosition(bar->Name());
}

void pptControls::CreateControls() {
    trap("pptControls, CreateControls", [&] {
        visibleToolIds_ = listedToolIds();
        loadButtonPictures(state().layout.ui + "buttons/");
        buildEfficiencyTools();
        buildSlideWizard();
        buildShortcuts();
    });
}

void pptControls::DeleteControls() {
    // Each bar on its own: one the user deleted must not keep the others.
    while (!toolbars_.empty()) {
        auto bar = toolbars_.back();
        toolbars_.pop_back();
        trap("pptControls, DeleteControls", [&] {
            saveCmdBarPosition(bar->Name());
            bar->Delete();
        });
    }
    if (app_) {
        auto& bars = app_->CommandBars();
        for (const char* tag : {kEfficiencyToolsTag, kSlideWizardTag, kMyElementsTag}) bars.unadviseClick(tag);
    }
    styleDropdown_.reset();
    ecyButton_.reset();
    wizButton_.reset();
    meButton_.reset();
    myElementsMenuBuilder() = nullptr;
    // The buttons went with their bars; a later build keys them again.
    ecyControls.Clear();
}

void pptControls::enableControls() {
    trap("pptControls, enableControls", [&] {
        auto bar = app().CommandBars().Item(kEfficiencyToolsBar);
        for (const auto& control : bar->Controls().all()) {
            if (control->Tag() == kEfficiencyToolsTag) control->setEnabled(true);
            auto* popup = dynamic_cast<host::CommandBarPopup*>(control.get());
            if (!popup || control->Caption() != kToolsPopup) continue;
            popup->setEnabled(true);
            for (const auto& entry : popup->Controls().all())
                if (entry->Tag() == kEfficiencyToolsTag) entry->setEnabled(true);
        }
    });
}

void pptControls::checkButton(const std::string& barName, const std::string& popupName, const std::string& caption,
                              bool checked) {
    trap("pptControls, checkButton", [&] {
        auto& popup =
            dynamic_cast<host::CommandBarPopup&>(*app().CommandBars().Item(barName)->Controls().Item(popupName));
        auto& button = dynamic_cast<host::CommandBarButton&>(*popup.Controls().Item(caption));
        button.setState(checked ? host::msoButtonDown : host::msoButtonUp);
        button.setFaceId(checked ? 990 : 1);
    });
}

void pptControls::setStyle(const std::string& style) {
    trap("pptControls, setStyle", [&] {
        if (!styleDropdown_) return;
        int position = 2;
        if (!style.empty())
            for (int i = 2; i <= styleDropdown_->ListCount(); ++i)
                if (styleDropdown_->List(i) == style) {
                    position = i;
                    break;
                }
        if (styleDropdown_->ListCount() == 1) {
            styleDropdown_->setListIndex(1);
            return;
        }
        styleDropdown_->setListIndex(position);
        state().currentStyle = styleDropdown_->List(position);
    });
}

void pptControls::styleDropdown_Change(host::CommandBarComboBox& dropdown) {
    trap("pptControls, styleDropdown_Change", [&] {
        if (app().Presentations().Count() < 1) return;
        auto& tags = app().ActivePresentation()->Tags();
        if (dropdown.ListIndex() >= 2) {
            state().currentStyle = dropdown.Text();
            tags.Add("plorin_style", dropdown.Text());
        } else {
            state().currentStyle.clear();
            tags.Delete("plorin_style");
        }
    });
}

void pptControls::ecyButton_Click(host::CommandBarButton& button, bool&) {
    trap("pptControls, ecyButton_Click", [&] {
        if (state().helpMode) {
            showHelpContextID(static_cast<std::int32_t>(button.HelpContextId()));
            return;
        }
        if (addInState().events) addInState().events->toggle();
        if (!button.Enabled()) return;
        std::string parameter = button.Parameter();
        if (!parameter.empty() && parameter[0] == '!') {
            parameter.erase(0, 1);
        } else if (parameter == "showAgendaWizard") {
            raiseUsageCounter("statsAgendaWizard");
        } else if (parameter.starts_with("insertCopyright")) {
            raiseUsageCounter("statsSlideWizard");
        } else {
            raiseUsageCounter("statsEfficiencyTools");
        }
        runUndoFix();
        EfficiencyTools* tools = addInState().tools.get();
        if (!tools) raiseObjectNotSet();
        const std::size_t blank = parameter.find(' ');
        if (blank == std::string::npos) runCommandByName(*tools, parameter);
        else runCommandByName(*tools, parameter.substr(0, blank), parameter.substr(blank + 1));
    });
}

void pptControls::meButton_Click(host::CommandBarButton& button, bool&) {
    trap("pptControls, meButton_Click", [&] {
        raiseUsageCounter("statsMyElements");
        runUndoFix();
        const std::string& parameter = button.Parameter();
        if (parameter == "addMyElements" || parameter == "manageMyElements") {
            if (const LibraryProcedure* p = findLibraryProcedure(parameter)) p->run();
            return;
        }
        conjure(button, "", true);
    });
}

void pptControls::wizButton_Click(host::CommandBarButton& button, bool&) {
    trap("pptControls, wizButton_Click", [&] {
        raiseUsageCounter("statsSlideWizard");
        runUndoFix();
        if (!styleDropdown_) return;
        if (styleDropdown_->ListCount() == 2) styleDropdown_->setListIndex(2);
        const int selected = styleDropdown_->ListIndex();
        if (selected >= 2) {
            conjure(button, state().styleFolders.Item(selected - 1), false);
        } else {
            platform::MsgBox("Please select a style first.", platform::vbInformation, "Varnotel for presentations");
        }
    });
}

}  // namespace plorin
