// A click as the ribbon delivers it, on the staged installation with the settings in a file
// on disk: the host's click, the add-in's dispatch, the usage counter and the command over
// 1,000 selected shapes (goal: under 0.15 ms median at 1,000 shapes).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "addin/connect.h"
#include "core/folder_layout.h"
#include "core/usage_counters.h"
#include "host/host.h"
#include "host/ribbon_host.h"
#include "platform/registry_store.h"
#include "platform/services.h"

namespace {

struct ConnectedWithShapes {
    explicit ConnectedWithShapes(int count) {
        char tmpl[] = "/tmp/varnotel-bench-click-XXXXXX";
        folder = mkdtemp(tmpl);
        registry = platform::makeFileRegistry(folder + "/registry.reg");
        platform::useRegistryStore(registry.get());
        plorin::setAddInFolder(VARNOTEL_STAGE "/program/");
        app = std::make_unique<host::Application>("14.0");
        app->COMAddIns().add(plorin::kProgId, "Varnotel", [] { return std::make_unique<plorin::Connect>(); });
        app->COMAddIns().Item(plorin::kProgId).setConnect(true);
        auto presentation = app->Presentations().Add();
        auto slide = presentation->Slides().Add(1, 12);
        std::vector<std::shared_ptr<host::Shape>> shapes;
        for (int i = 0; i < count; ++i)
            shapes.push_back(slide->Shapes().AddShape(host::msoShapeRectangle, static_cast<float>(i % 700),
                                                      static_cast<float>(i % 500), 40, 20));
        app->ActiveWindow()->selectShapes(shapes);
    }
    ~ConnectedWithShapes() {
        app.reset();  // the disconnection writes what is still to be written
        plorin::setAddInFolder("");
        platform::useRegistryStore(nullptr);
        registry.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    std::string folder;
    std::unique_ptr<platform::RegistryStore> registry;
    std::unique_ptr<host::Application> app;
};

// "Align centre", "Same width" and "Stack horizontally": one click per iteration.
void BM_RibbonClick(benchmark::State& state, const char* id) {
    ConnectedWithShapes deck(static_cast<int>(state.range(0)));
    host::RibbonHost& ribbon = deck.app->Ribbon();
    for (auto _ : state)
        if (ribbon.click(id) != host::RibbonHost::Outcome::done) state.SkipWithError("the click did not run");
}
BENCHMARK_CAPTURE(BM_RibbonClick, alignCenters, "vn_1033")->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RibbonClick, alignWidths, "vn_1040")->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RibbonClick, stackHorizontally, "vn_1058")->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
