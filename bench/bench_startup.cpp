// Start-up on a ribbon host, on the staged installation: the host connects the add-in
// (start-up sequence, language icons), asks for the ribbon definition, checks it, calls
// onLoad and draws every control once (a picture file per control). Also what each
// selection change costs: the ribbon invalidated and drawn again.
#include <benchmark/benchmark.h>

#include <memory>

#include "addin/connect.h"
#include "core/folder_layout.h"
#include "host/host.h"
#include "host/ribbon_host.h"
#include "platform/services.h"

namespace {

struct StagedInstallation {
    StagedInstallation() : registry(platform::makeMemoryRegistry()) {
        platform::useRegistryStore(registry.get());
        plorin::setAddInFolder(VARNOTEL_STAGE "/program/");
    }
    ~StagedInstallation() {
        plorin::setAddInFolder("");
        platform::useRegistryStore(nullptr);
    }
    std::unique_ptr<platform::RegistryStore> registry;
};

std::unique_ptr<host::Application> connectedHost() {
    auto app = std::make_unique<host::Application>("14.0");
    app->COMAddIns().add(plorin::kProgId, "Varnotel", [] { return std::make_unique<plorin::Connect>(); });
    app->COMAddIns().Item(plorin::kProgId).setConnect(true);
    return app;
}

void BM_StartUpAndDrawTheRibbon(benchmark::State& state) {
    StagedInstallation installation;
    for (auto _ : state) {
        auto app = connectedHost();
        if (!app->Ribbon().loaded(plorin::kProgId)) state.SkipWithError("the ribbon did not load");
        benchmark::DoNotOptimize(app->Ribbon().controls().size());
        state.PauseTiming();
        app.reset();  // disconnection is not part of start-up
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpAndDrawTheRibbon)->Unit(benchmark::kMillisecond);

void BM_RedrawAfterASelectionChange(benchmark::State& state) {
    StagedInstallation installation;
    auto app = connectedHost();
    auto presentation = app->Presentations().Add();
    auto slide = presentation->Slides().Add(1, 12);
    auto a = slide->Shapes().AddShape(host::msoShapeRoundedRectangle, 10, 10, 100, 50);
    auto b = slide->Shapes().AddShape(host::msoShapeRoundedRectangle, 200, 10, 100, 50);
    const long before = app->Ribbon().callbackCalls();
    bool both = false;
    for (auto _ : state) {
        both = !both;
        if (both) app->ActiveWindow()->selectShapes({a, b});
        else app->ActiveWindow()->selectShapes({a});
        app->Ribbon().draw();
    }
    state.counters["callbacks"] =
        benchmark::Counter(static_cast<double>(app->Ribbon().callbackCalls() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RedrawAfterASelectionChange)->Unit(benchmark::kMicrosecond);

}  // namespace
