// Building the Slide Wizard gallery's pictures: one template whose slides each hold a title,
// a few boxes with text and an arrow, and a menu item per slide. Every iteration draws every
// picture again (the stored date is reset), as after the templates changed.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/folder_layout.h"
#include "core/shared_state.h"
#include "host/clipboard.h"
#include "host/host.h"
#include "host/text.h"
#include "libraries/menu_file.h"
#include "libraries/thumbnails.h"
#include "platform/services.h"
#include "platform/xml_dom.h"

namespace {

constexpr std::uint32_t kFills[] = {0xC07020, 0x20A0F0, 0x40B040, 0x9040C0};

struct SlideWizardLibrary {
    explicit SlideWizardLibrary(int items) : registry(platform::makeMemoryRegistry()), app("14.0") {
        platform::useRegistryStore(registry.get());
        char tmpl[] = "/tmp/varnotel-bench-XXXXXX";
        root = std::string(mkdtemp(tmpl)) + "/";
        std::filesystem::create_directories(root + "program");
        std::filesystem::create_directories(root + "customization/styles/first");
        plorin::setAddInFolder(root + "program/");
        plorin::SharedState& s = plorin::state();
        s.application = &app;
        s.layout = plorin::computeFolderLayout(root + "program/");

        auto deck = app.Presentations().Add(false);
        std::string menu = "<Varnotel><style name=\"First\" folder=\"first\"/><menu name=\"M\"><submenu name=\"S\">";
        for (int i = 1; i <= items; ++i) {
            auto slide = deck->Slides().Add(i, 12);
            auto title = slide->Shapes().AddTextbox(1, 36, 20, 648, 60);
            title->TextFrame().TextRange().setText("Slide " + std::to_string(i));
            for (int k = 0; k < 4; ++k) {
                auto box = slide->Shapes().AddShape(host::msoShapeRoundedRectangle, 36.0f + 165.0f * k, 120, 150, 300);
                box->Fill().ForeColor().setRGB(kFills[k]);
                box->TextFrame().TextRange().setText("Point " + std::to_string(k + 1) + "\rDetail");
            }
            slide->Shapes().AddShape(host::msoShapeRightArrow, 36, 440, 648, 60);
            menu += "<menuitem name=\"Item" + std::to_string(i) + "\" file=\"deck.ppt\" slideNo=\"" +
                    std::to_string(i) + "\"/>";
        }
        deck->SaveAs(root + "customization/styles/first/deck.ppt");
        deck->Close();
        std::ofstream(root + "customization/menu.xml") << menu << "</submenu></menu></Varnotel>";
        if (!plorin::loadMenuFile(plorin::kRibbonMenuFileLead)) ok = false;
    }
    ~SlideWizardLibrary() {
        plorin::SharedState& s = plorin::state();
        s.application = nullptr;
        s.menuDocument.reset();
        s.styleNames.Clear();
        s.styleFolders.Clear();
        s.currentStyle.clear();
        host::clipboard().clear();
        plorin::setAddInFolder("");
        platform::useRegistryStore(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    std::unique_ptr<platform::RegistryStore> registry;
    host::Application app;
    std::string root;
    bool ok = true;
};

void BM_SlideWizardThumbnails(benchmark::State& state) {
    SlideWizardLibrary library(static_cast<int>(state.range(0)));
    if (!library.ok) state.SkipWithError("the menu did not load");
    for (auto _ : state) {
        plorin::ThumbnailSettings settings;  // no stored date: every picture is drawn
        if (!plorin::createSlideWizardThumbs(settings)) state.SkipWithError("a thumbnail failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SlideWizardThumbnails)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
