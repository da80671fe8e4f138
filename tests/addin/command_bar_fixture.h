// The three command bars built on a host "11.0" with the Efficiency Tools object, for the
// tests of the bars, their menus and their clicks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/folder_layout.h"
#include "core/languages.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "core/usage_counters.h"
#include "tests/addin/host_events_fixture.h"
#include "tools/efficiency_tools.h"

namespace testing_core {

class CommandBarHost : public EventsFixture {
protected:
    void SetUp() override {
        EventsFixture::SetUp();
        plorin::currentLanguages() = {0, 0, 0};
        plorin::state().layout = plorin::computeFolderLayout(root + "program/");
        connect("11.0");
        plorin::addInState().tools = std::make_unique<plorin::EfficiencyTools>();
    }
    void TearDown() override {
        plorin::addInState().tools.reset();
        plorin::state().styleNames.Clear();
        plorin::state().styleFolders.Clear();
        plorin::state().copyrightLines.Clear();
        plorin::state().menuDocument.reset();
        plorin::state().myElementsDocument.reset();
        EventsFixture::TearDown();
    }
    plorin::pptControls& controls() { return *plorin::addInState().controls; }
    void rebuild() {
        controls().DeleteControls();
        controls().CreateControls();
    }
    std::shared_ptr<host::CommandBar> bar(const char* name) { return app->CommandBars().Item(name); }
    host::CommandBarControls& popup(const char* barName, const char* name) {
        return dynamic_cast<host::CommandBarPopup&>(*bar(barName)->Controls().Item(name)).Controls();
    }
    host::CommandBarButton& entry(const char* popupName, const char* caption) {
        return dynamic_cast<host::CommandBarButton&>(*popup(plorin::kEfficiencyToolsBar, popupName).Item(caption));
    }
    // The usage counts kept in memory are written first.
    std::string setting(const char* name) {
        plorin::flushUsageCounters();
        return plorin::getRegistry(name, "", "");
    }
    // Captions of the customisable buttons that show.
    std::vector<std::string> shownCustomisable() {
        std::vector<std::string> out;
        for (const auto& b : controls().ecyControls)
            if (b->Visible()) out.push_back(b->Caption());
        return out;
    }
};

}  // namespace testing_core
