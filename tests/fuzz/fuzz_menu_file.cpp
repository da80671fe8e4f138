// The menu file "menu.xml" with its styles, as the add-in reads it when the ribbon loads:
// whatever the file holds, the style drop-down, the Slide Wizard menu and its galleries are
// drawn and chosen from without a crash, and the menu content the add-in writes always fits
// the ribbon's schema.
#include <fstream>

#include "addin_harness.h"
#include "libraries/styles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness;
    harness.begin();
    harness.slide();
    {
        std::ofstream out(harness.root() + "customization/menu.xml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    auto& ribbon = harness.ribbon();
    const auto from = ribbon.log().size();
    // What the ribbon's onLoad does, then a redraw of every control.
    plorin::libraries_onLoad(plorin::state().ribbon);
    for (const char* id : {"vn_1025", "vn_2001"}) plorin::state().ribbon->InvalidateControl(id);

    if (const auto* styles = ribbon.control("vn_1025"))
        if (styles->items.size() > 1) ribbon.choose("vn_1025", static_cast<int>(styles->items.size()) - 1);
    harness.openAndChoose("vn_2001");
    harness.requireNoRefusal(from);
    return 0;
}
