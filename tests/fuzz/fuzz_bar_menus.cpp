// The menu file "menu.xml" as a command-bar host reads it: at connection the Slide Wizard
// bar's menus are built from whatever the file holds, and its items and the style drop-down
// can then be used without a crash.
#include <fstream>
#include <memory>
#include <vector>

#include "addin/bar_front_end.h"
#include "addin_harness.h"
#include "host/command_bars.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness("11.0");
    auto& app = harness.begin();
    harness.slide();
    {
        std::ofstream out(harness.root() + "customization/menu.xml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    harness.reconnect();

    std::shared_ptr<host::CommandBar> bar;
    for (const auto& b : app.CommandBars().all())
        if (b->Name() == plorin::kSlideWizardBar) bar = b;
    if (!bar) return 0;
    // The menu items: each reaches the insertion with its file and slide.
    std::vector<std::shared_ptr<host::CommandBarButton>> items;
    fuzz::AddInHarness::collectButtons(
        bar->Controls(), [](const host::CommandBarControl& c, int) { return c.Tag() == plorin::kSlideWizardTag; }, 8,
        items);
    harness.clickSomeAndTidy(items);
    for (const auto& control : bar->Controls().all())
        if (auto* styles = dynamic_cast<host::CommandBarComboBox*>(control.get()); styles && styles->ListCount() > 0)
            styles->userSelect(styles->ListCount());
    return 0;
}
