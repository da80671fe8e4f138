// The settings file is re-read on every read and rewritten on every write (both add-ins
// share it); this keeps an eye on what that costs with a realistic number of values.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/registry.h"
#include "platform/services.h"

namespace {

struct RegistryFile {
    explicit RegistryFile(int values) {
        char tmpl[] = "/tmp/varnotel-bench-XXXXXX";
        dir = mkdtemp(tmpl);
        store = platform::makeFileRegistry(dir + "/registry.reg");
        platform::useRegistryStore(store.get());
        for (int i = 0; i < values; ++i) plorin::setRegistry("value" + std::to_string(i), std::to_string(i), "");
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
    for (auto _ : state) benchmark::DoNotOptimize(plorin::getRegistry("value1", "", "0"));
}
BENCHMARK(BM_getRegistry)->Arg(30)->Arg(300);

void BM_setRegistry(benchmark::State& state) {
    RegistryFile file(static_cast<int>(state.range(0)));
    int n = 0;
    for (auto _ : state) plorin::setRegistry("statsEfficiencyTools", std::to_string(++n), "");
}
BENCHMARK(BM_setRegistry)->Arg(30)->Arg(300);

}  // namespace
