// Installing an update's files: copied beside their targets, checked, renamed into place
// and the replaced files dropped. The time should grow with the bytes, not faster.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "updater/update_files.h"

namespace {

namespace fs = std::filesystem;

// A source folder with `count` files of `bytes` each and an installation holding older ones.
struct Setup {
    std::string base, source, root, journal;
    plorinrenew::UpdateList list;

    Setup(int count, std::size_t bytes) {
        char tmpl[] = "/tmp/varnotel-bench-XXXXXX";
        base = std::string(mkdtemp(tmpl)) + "/";
        source = base + "source/";
        root = base + "install/";
        journal = root + "program/" + plorinrenew::kJournalName;
        fs::create_directories(root + "program");
        const std::string data(bytes, 'x');
        for (int i = 0; i < count; ++i) {
            const std::string path = "program/part" + std::to_string(i % 10) + "/file" + std::to_string(i) + ".bin";
            fs::create_directories(fs::path(source + path).parent_path());
            std::ofstream(source + path, std::ios::binary) << data;
            list.push_back({path, bytes, ""});
        }
    }
    ~Setup() {
        std::error_code ec;
        fs::remove_all(base, ec);
    }
};

void installFiles(benchmark::State& state, int count, std::size_t bytes) {
    Setup setup(count, bytes);
    for (auto _ : state) {
        if (!plorinrenew::installFiles(setup.source, setup.root, setup.list, setup.journal, setup.root + "log.txt"))
            state.SkipWithError("the install failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(count) * static_cast<std::int64_t>(bytes));
}

void BM_Install100SmallFiles(benchmark::State& state) { installFiles(state, 100, 4096); }
void BM_InstallOne10MBFile(benchmark::State& state) { installFiles(state, 1, 10u << 20); }
// The same 10 MB in 100 files, and half and twice the bytes: linear in the bytes.
void BM_InstallBytes(benchmark::State& state) {
    installFiles(state, 100, static_cast<std::size_t>(state.range(0)) * 1024);
}

BENCHMARK(BM_Install100SmallFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstallOne10MBFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstallBytes)->Arg(51)->Arg(102)->Arg(204)->Unit(benchmark::kMillisecond);

}  // namespace
