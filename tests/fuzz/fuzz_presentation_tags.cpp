// The add-in's own tags in a presentation made elsewhere: the style it was made in (read when
// its window becomes active, then shown by the style drop-down and used by the Slide Wizard),
// a slide's hidden-shapes mark and the copyright mark of master shapes (read when a notice
// replaces the old ones). The input is the style, the hidden mark and the copyright mark,
// each after a NUL. Whatever they hold, the ribbon keeps to its schema, the style drop-down
// shows one of its items and the commands end without a crash.
#include <string>
#include <vector>

#include "agenda_harness.h"
#include "core/shared_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness;
    auto& app = harness.begin();
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size && parts.size() <= 3; ++i) {
        if (data[i] == 0) parts.emplace_back();
        else parts.back() += static_cast<char>(data[i]);
    }
    parts.resize(3);
    const std::string file = harness.root() + "tmp/tags.ppt";
    {
        auto made = app.Presentations().Add(false);
        made->Tags().Add("plorin_style", parts[0]);
        auto slide = made->Slides().Add(1, 12);
        slide->Shapes().AddShape(host::msoShapeRectangle, 10, 10, 100, 50)->setVisible(host::msoFalse);
        slide->Tags().Add("plorin_hiddenShapes", parts[1]);
        made->Designs()
            .Item(1)
            ->SlideMaster()
            ->Shapes()
            .AddShape(host::msoShapeRectangle, 10, 500, 200, 20)
            ->Tags()
            .Add("plorin_copyright", parts[2]);
        made->SaveAs(file);
        made->Close();
    }
    auto deck = app.Presentations().Open(file);  // in a window: it becomes the active one
    app.ActiveWindow()->showSlide(deck->Slides().Item(1));

    auto& ribbon = harness.ribbon();
    const auto from = ribbon.log().size();
    plorin::state().ribbon->InvalidateControl("vn_1025");
    if (const auto* style = ribbon.control("vn_1025"))
        if (style->selectedIndex >= static_cast<int>(style->items.size()))
            fuzz::fail("the style drop-down shows an item it does not have");
    ribbon.click("vn_1115");  // Unhide shapes
    // The Slide Wizard inserts in the tagged style (its thumbnails were drawn at the start).
    if (ribbon.openMenu("vn_2001") == host::RibbonHost::Outcome::done) ribbon.choose("slideWizard_1_1", 0);
    if (ribbon.openMenu("vn_1105") == host::RibbonHost::Outcome::done && plorin::state().copyrightLines.Count() > 0)
        ribbon.click("copyright_1");
    harness.requireNoRefusal(from);
    fuzz::closeDecks(app);
    return 0;
}
