// The host simulator's command line: runs a scenario file, standard input ("-"), or the
// built-in demo.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/services.h"
#include "sim/simulator.h"

#ifndef VARNOTEL_DEFAULT_INSTALL
#define VARNOTEL_DEFAULT_INSTALL "install"
#endif

int main(int argc, char** argv) {
    sim::Options options;
    options.installFolder = VARNOTEL_DEFAULT_INSTALL;
    std::string scenario;
    std::string pictures = "demo-output";
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << "usage: varnotel-sim [--install DIR] [--host VERSION] [--pictures DIR] [SCENARIO | -]\n"
                         "Runs a scenario of line commands against the host stand-in with the add-ins of an\n"
                         "installation; without a scenario it runs the built-in demo, which writes its pictures\n"
                         "into the folder --pictures names (default: demo-output in the working folder).\n\n"
                      << sim::Simulator::help();
            return 0;
        } else if (a == "--install" && i + 1 < argc) {
            options.installFolder = argv[++i];
        } else if (a == "--host" && i + 1 < argc) {
            options.hostVersion = argv[++i];
        } else if (a == "--pictures" && i + 1 < argc) {
            pictures = argv[++i];
        } else {
            scenario = a;
        }
    }

    std::ifstream scenarioFile;
    if (!scenario.empty() && scenario != "-") {
        scenarioFile.open(scenario);
        if (!scenarioFile) {
            std::cerr << "cannot read scenario " << scenario << "\n";
            return 2;
        }
    }

    // The demo keeps its settings to itself unless a registry file was named.
    std::string demoRegistry;
    if (!std::getenv("VARNOTEL_REGISTRY")) {
        const char* temp = std::getenv("TMPDIR");
        std::string tmpl = std::string(temp && *temp ? temp : "/tmp") + "/varnotel-sim-XXXXXX";
        if (char* dir = mkdtemp(tmpl.data())) {
            demoRegistry = std::string(dir) + "/registry.reg";
            setenv("VARNOTEL_REGISTRY", demoRegistry.c_str(), 1);
        }
    }

    // At a terminal, a message box or dialog the scenario left unanswered is asked there.
    options.interactive = isatty(STDIN_FILENO);
    bool ok = false;
    {
        sim::Simulator simulator(options, std::cout);
        if (scenario.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(pictures, ec);
            std::string folder = std::filesystem::absolute(pictures, ec).lexically_normal().string();
            if (folder.empty() || folder.back() != '/') folder += '/';
            std::istringstream demo(sim::builtInDemo(folder));
            ok = simulator.run(demo);
        } else if (scenario == "-") {
            ok = simulator.run(std::cin);
        } else {
            ok = simulator.run(scenarioFile);
        }
    }
    if (!demoRegistry.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(std::filesystem::path(demoRegistry).parent_path(), ec);
    }
    return ok ? 0 : 1;
}
