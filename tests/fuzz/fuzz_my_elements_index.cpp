// The My Elements index "myelements.xml", as the add-in reads it when the ribbon loads:
// whatever it holds, the My Elements menu fits the ribbon's schema, its galleries draw and
// insert without a crash, and adding an element either writes a readable index or, when
// the index was damaged, leaves the user's file exactly as it was.
#include <filesystem>
#include <fstream>

#include "addin/named_commands.h"
#include "addin_harness.h"
#include "libraries/my_elements.h"
#include "libraries/my_elements_add.h"
#include "libraries/styles.h"
#include "platform/xml_dom.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness;
    harness.begin();
    host::Slide& slide = harness.slide();
    const std::string folder = harness.root() + "user/myelements/";
    const std::string index = folder + "myelements.xml";
    // The library as installed, so that adding does not grow it from one input to the next.
    harness.restoreMyElementsLibraries();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(index, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    auto& ribbon = harness.ribbon();
    const auto from = ribbon.log().size();
    plorin::libraries_onLoad(plorin::state().ribbon);
    const bool loaded = plorin::state().myElementsDocument != nullptr;
    plorin::state().ribbon->InvalidateControl("vn_1027");
    // Every group the menu shows by name finds its elements in the index under that name.
    if (loaded && ribbon.openMenu("vn_1027") == host::RibbonHost::Outcome::done)
        for (const auto* c : ribbon.controls())
            if (c->dynamic && c->kind == "gallery" &&
                plorin::elementsOfGroup(*plorin::state().myElementsDocument, c->label).length() <
                    static_cast<int>(c->items.size()))
                fuzz::fail("a group shown on the ribbon does not find its elements");
    harness.openAndChoose("vn_1027");
    harness.requireNoRefusal(from);

    // Adding a rectangle under a fresh name to the first group offered.
    harness.slide();
    auto box = slide.Shapes().AddShape(host::msoShapeRectangle, 10, 20, 30, 40);
    harness.app().ActiveWindow()->selectShapes({box});
    harness.driver().queueForm("myElementsAdd", [](platform::Form& f) {
        platform::driver::choose(f, "groupList", 0);
        platform::driver::setText(f, "elemName", "fuzzed element \x01");
        platform::driver::click(f, "btnAddElement");
        if (f.Visible()) platform::driver::click(f, "btnCancel");
    });
    plorin::addMyElements();
    harness.driver().formActions.clear();
    if (!loaded && std::filesystem::exists(index) && fuzz::readFile(index) != bytes)
        fuzz::fail("a damaged My Elements index was written over");
    if (loaded) {
        platform::DomDocument again;
        if (!again.load(index)) fuzz::fail("the My Elements index written after adding does not load");
    }
    return 0;
}
