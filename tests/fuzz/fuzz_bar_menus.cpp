// The menu file "menu.xml" as a command-bar host reads it: at connection the Slide Wizard
// bar's menus are built from whatever the file holds, and its items and the style drop-down
// can then be used without a crash.
#include <fstream>
#include <memory>
#include <vector>

#include "addin/ppt_controls.h"
#include "addin_harness.h"
#include "host/command_bars.h"

namespace {

void collectItems(host::CommandBarControls& controls, std::vector<std::shared_ptr<host::CommandBarButton>>& out,
                  int depth) {
    if (depth > 8) fuzz::fail("the menus nest deeper than the menu file allows");
    for (const auto& control : controls.all()) {
        if (control->Type() == host::msoControlPopup)
            collectItems(std::static_pointer_cast<host::CommandBarPopup>(control)->Controls(), out, depth + 1);
        else if (control->Type() == host::msoControlButton && control->Tag() == plorin::kSlideWizardTag)
            out.push_back(std::static_pointer_cast<host::CommandBarButton>(control));
    }
}

}  // namespace

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
    std::vector<std::shared_ptr<host::CommandBarButton>> items;
    collectItems(bar->Controls(), items, 0);
    // The first, a middle and the last item: each reaches the insertion with its file and slide.
    if (!items.empty())
        for (std::size_t i : {std::size_t{0}, items.size() / 2, items.size() - 1}) app.CommandBars().click(*items[i]);
    for (const auto& control : bar->Controls().all())
        if (auto* styles = dynamic_cast<host::CommandBarComboBox*>(control.get()); styles && styles->ListCount() > 0)
            styles->userSelect(styles->ListCount());
    // The inserted slides go, so the deck stays small over millions of inputs.
    auto& slides = app.ActivePresentation()->Slides();
    while (slides.Count() > 1) slides.Item(slides.Count())->Delete();
    return 0;
}
