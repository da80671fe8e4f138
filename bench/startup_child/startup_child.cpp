// The host's side of a start as a user meets it, for bench_startup: a fresh process that
// opens the settings file, creates the host, reads the installation's registration file,
// loads libplorin.so with dlopen, connects it and draws the ribbon. It links none of the
// add-in's code, so nothing is loaded or decoded before the clock starts.
//
//   startup_child INSTALLATION SETTINGS-FILE RESULT-FILE
// writes the seconds from its first line to the drawn ribbon into RESULT-FILE (-1 when the
// ribbon did not load).
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
    const auto start = std::chrono::steady_clock::now();
    double seconds = -1;
    {
        auto store = platform::makeFileRegistry(argv[2]);
        platform::useRegistryStore(store.get());
        {
            host::Application app("14.0");
            app.COMAddIns().loadRegistrations(std::string(argv[1]) + "/program/addins.txt");
            app.COMAddIns().Item("plorin.Connect").setConnect(true);
            if (app.Ribbon().loaded("plorin.Connect") && !app.Ribbon().controls().empty())
                seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        platform::useRegistryStore(nullptr);
    }
    std::ofstream(argv[3]) << seconds;
    return seconds < 0 ? 1 : 0;
}
