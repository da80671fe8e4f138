// The shell: opening documents and web pages, starting programs, the help viewer, special
// folders, GUIDs and named mutexes. The real shell acts on the desktop; the recording shell
// only remembers what was asked, for tests and for the simulator's transcript.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class Shell {
public:
    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    virtual ~Shell() = default;

    // Opens a URL, a document or a mailto link with the desktop's opener. Returns the
    // opener's result the way the Windows shell does: a value above 32 is success, the
    // values 0 to 32 are failures (2 file not found, 5 access denied, 31 no association...).
    virtual int openDocument(const std::string& target) = 0;
    // Starts a program with an argument vector, never through a command interpreter, and
    // does not wait for it. False when it could not be started.
    virtual bool startProcess(const std::string& program, const std::vector<std::string>& args) = 0;
    // Opens a help file at a context id. False when no help viewer could be asked.
    virtual bool showHelp(const std::string& helpFile, std::int32_t contextId) = 0;
    // The temporary folder and the internet cache folder, as the system reports them
    // (with or without a trailing "/"); the empty text when there is none.
    virtual std::string tempFolder() = 0;
    virtual std::string internetCacheFolder() = 0;
    // Sixteen random bytes laid out as a GUID (the first field little-endian as on Windows
    // does not matter here: callers format the fields), or nothing when none can be made.
    virtual std::optional<std::array<std::uint8_t, 16>> newGuid() = 0;
    // A named mutex: returns a non-zero handle (opening an existing one of that name is
    // fine); nothing waits on it. releaseMutex and closeHandle accept any handle.
    virtual std::uintptr_t createMutex(const std::string& name) = 0;
    virtual void releaseMutex(std::uintptr_t handle) = 0;
    virtual void closeHandle(std::uintptr_t handle) = 0;
};

// What a recording shell remembers.
struct ShellRecord {
    std::vector<std::string> opened;                // openDocument targets
    std::vector<std::vector<std::string>> started;  // program followed by its arguments
    std::vector<std::pair<std::string, std::int32_t>> help;
    std::vector<std::string> mutexes;  // names created and not yet closed
};

// Remembers every request; openDocument answers `openResult` (default 42, success).
class RecordingShell : public Shell {
public:
    ShellRecord record;
    int openResult = 42;
    bool startResult = true;
    std::string temp = "/tmp/";
    std::string cache = "/tmp/varnotel-cache/";
    bool guidAvailable = true;

    int openDocument(const std::string& target) override;
    bool startProcess(const std::string& program, const std::vector<std::string>& args) override;
    bool showHelp(const std::string& helpFile, std::int32_t contextId) override;
    std::string tempFolder() override { return temp; }
    std::string internetCacheFolder() override { return cache; }
    std::optional<std::array<std::uint8_t, 16>> newGuid() override;
    std::uintptr_t createMutex(const std::string& name) override;
    void releaseMutex(std::uintptr_t) override {}
    void closeHandle(std::uintptr_t handle) override;

private:
    std::vector<std::pair<std::uintptr_t, std::string>> handles_;
    std::uintptr_t next_ = 1;
};

// Runs a program (searched in PATH) with an argument vector, never through a command
// interpreter, and waits for it. Its exit status; 127 when it could not be started, -1 when
// it did not end normally (a signal). For helper programs that run in a process of their
// own, never on the host's user-interface thread.
int runAndWait(const std::vector<std::string>& args);
// The program's full path when `program` is found in PATH as an executable file (a name
// holding "/" is taken as it is), else the empty text.
std::string findInPath(const std::string& program);

// The desktop: xdg-open for documents, posix_spawn for programs; help requests open the
// help file with the desktop opener.
std::unique_ptr<Shell> makeDesktopShell();

}  // namespace platform
