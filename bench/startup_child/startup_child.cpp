// The host's side of a start as a user meets it, for bench_startup: a fresh process that
// opens the settings file, creates the host, reads the installation's registration file,
// loads libplorin.so with dlopen, connects it and draws the ribbon. It links none of the
// add-in's code, so nothing is loaded or decoded before the clock starts.
//
//   startup_child INSTALLATION SETTINGS-FILE RESULT-FILE
// writes the seconds from its first line to the drawn ribbon into RESULT-FILE (-1 when the
// ribbon did not load), then the processor seconds the process spent in that time (what a
// busy machine changes least).
#include <time.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "host/host.h"
#include "host/ribbon_host.h"
#include "platform/registry_store.h"
#include "platform/services.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const auto cpuNow = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    };
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuNow();
    double seconds = -1, cpuSeconds = -1;
    {
        auto store = platform::makeFileRegistry(argv[2]);
        platform::useRegistryStore(store.get());
        {
            host::Application app("14.0");
            app.COMAddIns().loadRegistrations(std::string(argv[1]) + "/program/addins.txt");
            app.COMAddIns().Item("plorin.Connect").setConnect(true);
            if (app.Ribbon().loaded("plorin.Connect") && !app.Ribbon().controls().empty()) {
                seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                cpuSeconds = cpuNow() - cpuStart;
            }
        }
        platform::useRegistryStore(nullptr);
    }
    std::ofstream(argv[3]) << seconds << ' ' << cpuSeconds;
    return seconds < 0 ? 1 : 0;
}
