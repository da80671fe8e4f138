// A connected event sink on a host of a chosen version, with the Efficiency Tools bar built
// on command-bar hosts, a recording ribbon, scripted keys and a deck to select in.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "addin/addin_state.h"
#include "addin/agenda_upkeep.h"
#include "addin/bar_front_end.h"
#include "addin/host_events.h"
#include "addin/toggle_groups.h"
#include "core/folder_layout.h"
#include "core/icons.h"
#include "core/shared_state.h"
#include "host/command_bars.h"
#include "host/ribbon.h"
#include "host/text.h"
#include "platform/input.h"
#include "tests/core/core_fixture.h"

namespace testing_core {

class RecordingRibbon : public host::IRibbonUI {
public:
    int invalidations = 0;
    void Invalidate() override { ++invalidations; }
    void InvalidateControl(const std::string&) override {}
};

// The active deck, for tables of selections.
struct Deck {
    host::Application& app;
    host::DocumentWindow& window() { return *app.ActiveWindow(); }
    std::shared_ptr<host::Slide> slide(int i = 1) { return app.ActivePresentation()->Slides().Item(i); }
    std::shared_ptr<host::Shape> shape(int kind, float rotation = 0) {
        auto s = slide()->Shapes().AddShape(kind, 10, 10, 100, 50);
        s->setRotation(rotation);
        return s;
    }
    std::shared_ptr<host::Shape> placeholder(const std::string& text) {
        auto s = slide()->Shapes().addOfType(host::msoPlaceholder, host::msoShapeRectangle, 0, 0, 600, 80);
        s->TextFrame().TextRange().setText(text);
        return s;
    }
};

class EventsFixture : public CoreFixture {
protected:
    // Starts the host, connects a sink to it and, on command-bar hosts, builds the bar.
    // A second call replaces the host and the sink.
    host::Application& connect(const std::string& version) {
        auto& s = plorin::state();
        auto& a = plorin::addInState();
        a.events.reset();  // before their host goes
        a.controls.reset();
        auto& app = startHost(version);
        s.application = &app;
        s.ribbon = &ribbon;
        a.events = std::make_unique<plorin::pptEvents>();
        a.events->setPowerPointApp(&app);
        // The bars load the installation's menu file; one without styles unless a test wrote
        // its own.
        s.layout = plorin::computeFolderLayout(root + "program/");
        if (!std::filesystem::exists(root + "customization/menu.xml")) writeMenuFile("");
        if (version == "9.0" || version == "10.0" || version == "11.0") {
            a.controls = std::make_unique<plorin::pptControls>();
            a.controls->setPowerPointApp(&app);
            a.controls->CreateControls();
        }
        platform::useInput(&keys);
        return app;
    }

    plorin::pptEvents& events() { return *plorin::addInState().events; }

    // The customization folder's menu file with that content inside its root element.
    void writeMenuFile(const std::string& body) {
        writeFile(root + "customization/menu.xml", "<Varnotel>" + body + "</Varnotel>");
    }

    // A deck with `slides` slides in a window of its own, which is active.
    std::shared_ptr<host::Presentation> openDeck(int slides = 1) {
        auto deck = app->Presentations().Add(true);
        for (int i = 1; i <= slides; ++i) deck->Slides().Add(i, 1);
        return deck;
    }
    host::DocumentWindow& window() { return *app->ActiveWindow(); }
    std::shared_ptr<host::Slide> slide(int index = 1) { return app->ActivePresentation()->Slides().Item(index); }
    std::shared_ptr<host::Shape> addShape(int autoShapeType, float rotation = 0, int index = 1) {
        auto shape = slide(index)->Shapes().AddShape(autoShapeType, 10, 10, 100, 50);
        shape->setRotation(rotation);
        return shape;
    }

    // The Enabled state all controls of a group share; fails the test when they differ.
    bool enabled(plorin::Toggle which) {
        auto bar = app->CommandBars().Item(plorin::kEfficiencyToolsBar);
        auto& tools = dynamic_cast<host::CommandBarPopup&>(*bar->Controls().Item(plorin::kToolsPopup));
        const auto& group = plorin::toggleGroup(which);
        std::vector<bool> states;
        for (const char* c : group.buttons) states.push_back(bar->Controls().Item(c)->Enabled());
        for (const char* c : group.entries) states.push_back(tools.Controls().Item(c)->Enabled());
        for (bool st : states) EXPECT_EQ(st, states.front()) << group.procedure << " is partly enabled";
        return states.front();
    }
    void setEnabled(plorin::Toggle which, bool on) {
        auto bar = app->CommandBars().Item(plorin::kEfficiencyToolsBar);
        auto& tools = dynamic_cast<host::CommandBarPopup&>(*bar->Controls().Item(plorin::kToolsPopup));
        const auto& group = plorin::toggleGroup(which);
        for (const char* c : group.buttons) bar->Controls().Item(c)->setEnabled(on);
        for (const char* c : group.entries) tools.Controls().Item(c)->setEnabled(on);
    }
    void setAllEnabled(bool on) {
        for (std::size_t i = 0; i < plorin::toggleGroups().size(); ++i) setEnabled(static_cast<plorin::Toggle>(i), on);
    }
    host::CommandBarButton& button(const char* caption) {
        auto bar = app->CommandBars().Item(plorin::kEfficiencyToolsBar);
        return dynamic_cast<host::CommandBarButton&>(*bar->Controls().Item(caption));
    }

    RecordingRibbon ribbon;
    platform::ScriptedInput keys;
};

}  // namespace testing_core
