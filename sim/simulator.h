// The host simulator: starts the host stand-in with a chosen version, loads the add-ins of
// an installation by ProgID and runs a scenario of line commands against them, writing a
// readable transcript.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

namespace sim {

struct Options {
    std::string installFolder;  // the staged installation (holds program/addins.txt)
    std::string hostVersion = "14.0";
    bool interactive = false;  // unanswered message boxes and dialogs are asked at the terminal
};

class Simulator {
public:
    Simulator(Options options, std::ostream& out);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Runs one command line; false (after saying why) when the command failed.
    bool execute(const std::string& line);
    // Runs every line of a scenario; stops at the first failure, except that a failed
    // expectation only marks the run as failed. True when all ran and every expectation held.
    bool run(std::istream& scenario);

    // The commands, how they are written and what they do, for --help.
    static std::string help();

    // The simulator's state and commands (its command table names them).
    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// The scenario the main command runs when given none: a short tour that writes its pictures
// into `picturesFolder` (an existing folder; its text ends with "/").
std::string builtInDemo(const std::string& picturesFolder);

}  // namespace sim
