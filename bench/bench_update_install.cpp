// Installing an update's files: copied beside their targets, checked, renamed into place
// and the replaced files dropped; and the whole update: the list and the package from a
// loopback server, streamed into the staging folder, checked and installed. The time should
// grow with the bytes, not faster, and the memory not at all: the peak stays near what the
// process had before, never near the package's size.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/web_post.h"
#include "loopback/update_server.h"
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

// The update server in a child process, so that its copy of the package never counts
// against this process's memory.
class ServerProcess {
public:
    // `count` files of `bytes` each, made in the child.
    ServerProcess(int count, std::size_t bytes) {
        int pipe[2];
        if (::pipe(pipe) != 0) return;
        child_ = ::fork();
        if (child_ == 0) {
            ::close(pipe[0]);
            std::vector<loopback::UpdateServer::File> files;
            for (int i = 0; i < count; ++i)
                files.push_back(
                    {"program/part" + std::to_string(i) + ".bin", std::string(bytes, static_cast<char>('a' + i % 26))});
            loopback::UpdateServer server;
            server.setFiles(files);
            server.overrideList(loopback::HttpTestServer::Reply::text(loopback::UpdateServer::listOf(files)));
            server.overrideDownload(loopback::HttpTestServer::Reply::text(loopback::UpdateServer::packageOf(files)));
            const std::string address = server.hostPort();
            if (::write(pipe[1], address.data(), address.size()) < 0) ::_exit(1);
            ::close(pipe[1]);
            ::pause();  // until the benchmark ends it
            ::_exit(0);
        }
        ::close(pipe[1]);
        char address[64] = {};
        if (child_ > 0 && ::read(pipe[0], address, sizeof address - 1) > 0) address_ = address;
        ::close(pipe[0]);
    }
    ~ServerProcess() {
        if (child_ <= 0) return;
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
    }
    const std::string& address() const { return address_; }

private:
    pid_t child_ = -1;
    std::string address_;
};

long peakKilobytes() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// `count` files of `bytes` each: list, download into a staging folder, install.
void wholeUpdate(benchmark::State& state, int count, std::size_t bytes) {
    Setup setup(0, 0);
    const long before = peakKilobytes();
    ServerProcess server(count, bytes);
    if (server.address().empty()) {
        state.SkipWithError("no update server");
        return;
    }
    const std::string endpoint = "http://" + server.address() + "/autoupdate.php?action=";
    const auto total = static_cast<std::uint64_t>(count) * bytes;
    for (auto _ : state) {
        const std::string staging = setup.base + "staging/";
        fs::create_directories(staging);
        plorin::PostLimits limits;
        limits.maxReplyBytes = plorinrenew::kMaxListBytes;
        const auto reply = plorin::HttpPostReply(endpoint + "list&customization=0&program=1", "", limits);
        const auto list = plorinrenew::parseUpdateList(std::string(reply.body.begin(), reply.body.end()));
        if (!list) {
            state.SkipWithError("no list");
            break;
        }
        plorinrenew::PackageStream stream(staging, *list);
        const auto outcome =
            plorin::HttpDownload(endpoint + "download&customization=0&program=1", total, nullptr,
                                 [&](const char* data, std::size_t size) { return stream.write(data, size); });
        if (outcome != plorin::DownloadOutcome::complete || !stream.finish() ||
            !plorinrenew::installFiles(staging, setup.root, *list, setup.journal, setup.root + "log.txt")) {
            state.SkipWithError("the update failed");
            break;
        }
        fs::remove_all(staging);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(total));
    // The process's peak, and how far the updates took it above what it had before.
    state.counters["peak_MB"] = static_cast<double>(peakKilobytes()) / 1024;
    state.counters["peak_growth_MB"] = static_cast<double>(peakKilobytes() - before) / 1024;
    state.counters["largest_file_MB"] = static_cast<double>(bytes) / 1048576;
}

void BM_WholeUpdate10MB(benchmark::State& state) { wholeUpdate(state, 10, 1u << 20); }
void BM_WholeUpdate100MB(benchmark::State& state) { wholeUpdate(state, 10, 10u << 20); }

BENCHMARK(BM_WholeUpdate10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeUpdate100MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Install100SmallFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstallOne10MBFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstallBytes)->Arg(51)->Arg(102)->Arg(204)->Unit(benchmark::kMillisecond);

}  // namespace
