// Start-up on a ribbon host, on the staged installation: the host connects the add-in
// (start-up sequence, language icons), asks for the ribbon definition, checks it, calls
// onLoad and draws every control once (a picture file per control). Start-up on a host
// "11.0", which builds the three command bars instead (the menu file's menus with their
// pictures, the copyright notices, the My Elements popup). Also what each selection change
// costs: the ribbon invalidated and drawn again.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
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
// Each iteration starts this program again with only the child benchmark below selected; the
// child starts the host on the staged installation with a settings file of 1,000 values on
// disk and writes how long that took into the file the parent named. Nothing the parent
// process has read or drawn before can help the child.

constexpr const char* kChildResult = "VARNOTEL_BENCH_COLD_START_RESULT";
constexpr const char* kChildRegistry = "VARNOTEL_BENCH_COLD_START_REGISTRY";

void BM_ColdStartUpChild(benchmark::State& state) {
    const char* result = std::getenv(kChildResult);
    const char* registryPath = std::getenv(kChildRegistry);
    for (auto _ : state) {
        if (!result || !registryPath) continue;  // only a parent's child does the work
        const auto start = std::chrono::steady_clock::now();
        auto store = platform::makeFileRegistry(registryPath);
        platform::useRegistryStore(store.get());
        plorin::setAddInFolder(VARNOTEL_STAGE "/program/");
        auto app = connectedHost();
        const bool loaded = app->Ribbon().loaded(plorin::kProgId) && !app->Ribbon().controls().empty();
        const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::ofstream(result) << (loaded ? elapsed : -1.0);
        app.reset();
        plorin::setAddInFolder("");
        platform::useRegistryStore(nullptr);
    }
}
BENCHMARK(BM_ColdStartUpChild)->Iterations(1);

void BM_StartUpInAFreshProcess(benchmark::State& state) {
    char tmpl[] = "/tmp/varnotel-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string registryPath = dir + "/registry.reg", resultPath = dir + "/result";
    {
        std::ofstream file(registryPath);
        file << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" << plorin::kSettingsKey << "]\n";
        for (int i = 0; i < 1000; ++i) file << "\"value" << i << "\"=\"" << i << "\"\n";
    }
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.push_back(std::string(kChildResult) + "=" + resultPath);
    env.push_back(std::string(kChildRegistry) + "=" + registryPath);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--benchmark_filter=^BM_ColdStartUpChild/";
    char* argv[] = {self.data(), filter.data(), nullptr};
    for (auto _ : state) {
        std::filesystem::remove(resultPath);
        pid_t child = 0;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int failed = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (failed || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child did not run");
            break;
        }
        double seconds = -1;
        std::ifstream(resultPath) >> seconds;
        if (seconds < 0) {
            state.SkipWithError("the child's ribbon did not load");
            break;
        }
        state.SetIterationTime(seconds);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_StartUpInAFreshProcess)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

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
    const long before = app->Ribbon().callbackCalls();
    bool all = false;
    for (auto _ : state) {
        all = !all;
        if (all) window->selectShapes(shapes);
        else if (shapes.size() > 1) window->selectShapes({shapes.front()});
        else window->selectNone();
        app->Ribbon().draw();
    }
    state.counters["callbacks"] =
        benchmark::Counter(static_cast<double>(app->Ribbon().callbackCalls() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RedrawAfterASelectionChange)->Arg(1)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
