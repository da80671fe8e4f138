// The settings file is shared by both add-ins and by several processes: a read must see the
// latest file and a write must replace it durably. This keeps an eye on what that costs with
// few and with many stored values.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/registry.h"
#include "core/usage_counters.h"
#include "platform/services.h"

namespace {

// A settings file of `values` values, written in one go (writing them one by one would
// rewrite the file each time).
struct RegistryFile {
    explicit RegistryFile(int values) {
        char tmpl[] = "/tmp/varnotel-bench-XXXXXX";
        dir = mkdtemp(tmpl);
        std::ofstream file(dir + "/registry.reg");
        file << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" << plorin::kSettingsKey << "]\n";
        for (int i = 0; i < values; ++i) file << "\"value" << i << "\"=\"" << i << "\"\n";
        file.close();
        store = platform::makeFileRegistry(dir + "/registry.reg");
        platform::useRegistryStore(store.get());
    }
    ~RegistryFile() {
        platform::useRegistryStore(nullptr);
        std::filesystem::remove_all(dir);
    }
    std::string dir;
    std::unique_ptr<platform::RegistryStore> store;
};

void BM_getRegistry(benchmark::State& state) {
    RegistryFile file(static_cast<int>(state.range(0)));
    if (plorin::getRegistry("value1", "", "missing") != "1") state.SkipWithError("the value did not read back");
    for (auto _ : state) benchmark::DoNotOptimize(plorin::getRegistry("value1", "", "0"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_getRegistry)->Arg(10)->Arg(1000)->Arg(10000);

void BM_setRegistry(benchmark::State& state) {
    RegistryFile file(static_cast<int>(state.range(0)));
    int n = 0;
    for (auto _ : state) plorin::setRegistry("statsEfficiencyTools", std::to_string(++n), "");
    if (plorin::getRegistry("statsEfficiencyTools", "", "0") != std::to_string(n))
        state.SkipWithError("the last write did not read back");
}
BENCHMARK(BM_setRegistry)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// What each click adds: the usage counter read, raised and written back.
void BM_raiseUsageCounter(benchmark::State& state) {
    RegistryFile file(static_cast<int>(state.range(0)));
    for (auto _ : state) plorin::raiseUsageCounter("statsEfficiencyTools");
    // Clicks are counted in memory and written together; write them before reading back.
    plorin::flushUsageCounters();
    if (plorin::getRegistry("statsEfficiencyTools", "", "0") != std::to_string(state.iterations()))
        state.SkipWithError("the counter did not count every click");
}
BENCHMARK(BM_raiseUsageCounter)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
