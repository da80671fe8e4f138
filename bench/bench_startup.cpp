// Start-up on a ribbon host, on the staged installation: the host connects the add-in
// (start-up sequence, language icons), asks for the ribbon definition, checks it, calls
// onLoad and draws every control once; the pictures (a file per control) wait until the
// user opens the add-in's tab, measured on its own. Start-up on a host
// "11.0", which builds the three command bars instead (the menu file's menus with their
// pictures, the copyright notices, the My Elements popup). Also what each selection change
// costs: the ribbon invalidated and drawn again.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "addin/connect.h"
#include "core/folder_layout.h"
#include "core/registry.h"
#include "host/command_bars.h"
#include "host/host.h"
#include "host/ribbon_host.h"
#include "platform/registry_store.h"
#include "platform/services.h"

extern char** environ;

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

std::unique_ptr<host::Application> connectedHost(const char* version = "14.0") {
    auto app = std::make_unique<host::Application>(version);
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

// The user opens the add-in's tab after the start: every control's picture is drawn.
void BM_OpenTheAddInsTab(benchmark::State& state) {
    StagedInstallation installation;
    for (auto _ : state) {
        state.PauseTiming();
        auto app = connectedHost();
        state.ResumeTiming();
        if (!app->Ribbon().showTabOf("vn_1001") || !app->Ribbon().control("vn_1032")->image)
            state.SkipWithError("the tab was drawn without its pictures");
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenTheAddInsTab)->Unit(benchmark::kMillisecond);

// The goal: under 5 ms (median) from connecting to the three bars built and placed.
void BM_StartUpAndBuildTheCommandBars(benchmark::State& state) {
    StagedInstallation installation;
    for (auto _ : state) {
        auto app = connectedHost("11.0");
        if (app->CommandBars().Count() != 3) state.SkipWithError("the three bars were not built");
        benchmark::DoNotOptimize(app->CommandBars().Count());
        state.PauseTiming();
        app.reset();  // disconnection (saving the places) is not part of start-up
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpAndBuildTheCommandBars)->Unit(benchmark::kMillisecond)->Repetitions(5);

// ---- Start-up in a fresh process ------------------------------------------------------------
// Each iteration starts the program startup_child (bench/startup_child/), which links none of
// the add-in: it creates the host on the staged installation with a settings file of
// range(0) values on disk, loads libplorin.so from the registration file as the host does,
// connects it and draws the ribbon, and writes how long that took. Nothing the parent process
// has read or drawn before can help the child. Goals: with 1,000 settings a median under
// 3 ms and a 95th percentile under 5 ms; with 10,000 settings a median under 4 ms.

void BM_StartUpInAFreshProcess(benchmark::State& state) {
    char tmpl[] = "/tmp/varnotel-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    std::string registryPath = dir + "/registry.reg", resultPath = dir + "/result";
    {
        std::ofstream file(registryPath);
        file << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" << plorin::kSettingsKey << "]\n";
        for (int i = 0; i < state.range(0); ++i) file << "\"value" << i << "\"=\"" << i << "\"\n";
    }
    std::string child = VARNOTEL_STARTUP_CHILD, stage = VARNOTEL_STAGE;
    char* argv[] = {child.data(), stage.data(), registryPath.data(), resultPath.data(), nullptr};
    std::vector<double> times, cpuTimes;
    for (auto _ : state) {
        std::filesystem::remove(resultPath);
        pid_t pid = 0;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int failed = posix_spawn(&pid, child.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (failed || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child did not start the add-in");
            break;
        }
        double seconds = -1, cpuSeconds = -1;
        std::ifstream(resultPath) >> seconds >> cpuSeconds;
        if (seconds < 0) {
            state.SkipWithError("the child's ribbon did not load");
            break;
        }
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        cpuTimes.push_back(cpuSeconds);
    }
    std::filesystem::remove_all(dir);
    if (times.empty()) return;
    const auto at = [](std::vector<double>& v, double q) {
        std::sort(v.begin(), v.end());
        return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)] * 1e3;
    };
    state.counters["median_ms"] = at(times, 0.5);
    state.counters["p95_ms"] = at(times, 0.95);
    // The processor time of the child: on a busy machine the wall clock mostly measures waiting.
    state.counters["cpu_median_ms"] = at(cpuTimes, 0.5);
    state.counters["cpu_p95_ms"] = at(cpuTimes, 0.95);
}
BENCHMARK(BM_StartUpInAFreshProcess)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

// ---- Selection changes ----------------------------------------------------------------------

// A slide of `count` shapes; the selection goes from all of them to the first one and back
// (one shape: from it to nothing), and the ribbon is drawn after each change.
void BM_RedrawAfterASelectionChange(benchmark::State& state) {
    StagedInstallation installation;
    auto app = connectedHost();
    auto presentation = app->Presentations().Add();
    auto slide = presentation->Slides().Add(1, 12);
    std::vector<std::shared_ptr<host::Shape>> shapes;
    for (int i = 0; i < state.range(0); ++i)
        shapes.push_back(slide->Shapes().AddShape(host::msoShapeRoundedRectangle, static_cast<float>(i % 600),
                                                  static_cast<float>(i % 400), 100, 50));
    auto window = app->ActiveWindow();
    app->Ribbon().showTabOf("vn_1001");  // the user works on the add-in's tab: pictures redrawn too
    const long before = app->Ribbon().callbackCalls();
    bool all = false;
    for (auto _ : state) {
        all = !all;
        if (all) window->selectShapes(shapes);
        else if (shapes.size() > 1) window->selectShapes({shapes.front()});
        else window->selectNone();
        app->Ribbon().draw();
    }
    state.counters["callbacks"] = benchmark::Counter(static_cast<double>(app->Ribbon().callbackCalls() - before),
                                                     benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RedrawAfterASelectionChange)->Arg(1)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
