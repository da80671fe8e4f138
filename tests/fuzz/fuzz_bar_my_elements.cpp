// The My Elements index "myelements.xml" as a command-bar host reads it: the Slide Wizard
// bar's "My Elements" popup is built again from whatever the index holds, keeping its two
// fixed buttons first, and its elements insert without a crash.
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "addin/addin_state.h"
#include "addin/bar_front_end.h"
#include "addin_harness.h"
#include "host/command_bars.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness("11.0");
    auto& app = harness.begin();
    harness.slide();
    const std::string folder = harness.root() + "user/myelements/";
    // The libraries stay as the harness installed them: inserting only reads them.
    {
        std::ofstream out(folder + "myelements.xml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    auto& controls = plorin::addInState().controls;
    if (!controls) fuzz::fail("the command bars were not built");
    controls->generateMyElementsMenu();

    std::shared_ptr<host::CommandBarPopup> popup;
    for (const auto& bar : app.CommandBars().all())
        if (bar->Name() == plorin::kSlideWizardBar)
            for (const auto& control : bar->Controls().all())
                if (control->Type() == host::msoControlPopup && control->Caption() == "My Elements")
                    popup = std::static_pointer_cast<host::CommandBarPopup>(control);
    if (!popup) fuzz::fail("the My Elements popup is missing");
    auto& items = popup->Controls();
    if (items.Count() < 2 || items.Item(1)->Parameter() != "addMyElements" ||
        items.Item(2)->Parameter() != "manageMyElements")
        fuzz::fail("the My Elements popup lost its fixed buttons");

    // The elements: the buttons of the groups' popups.
    std::vector<std::shared_ptr<host::CommandBarButton>> elements;
    fuzz::AddInHarness::collectButtons(
        items, [](const host::CommandBarControl&, int depth) { return depth > 0; }, 4, elements);
    harness.clickSomeAndTidy(elements);
    return 0;
}
