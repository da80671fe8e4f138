// The recording shell and what the desktop shell does with programs, openers and folders.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/filesystem.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/ui_driver.h"
#include "tests/support/file_reading.h"
#include "tests/support/temp_folder.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class DesktopShell : public ::testing::Test {
protected:
    void SetUp() override { dir_ = temp_.folder(); }

    // A stand-in xdg-open in its own folder, for use as PATH.
    std::string fakeOpener(int exitCode) {
        fs::create_directory(dir_ + "/bin");
        std::string script = dir_ + "/bin/xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > " << dir_ << "/opened\nexit " << exitCode << "\n";
        chmod(script.c_str(), 0755);
        return dir_ + "/bin";
    }
    // Started programs are not waited for; give them a moment to show their work.
    bool appears(const std::string& path) {
        for (int i = 0; i < 200 && !fs::exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
        return fs::exists(path);
    }

    std::unique_ptr<Shell> desktop = makeDesktopShell();
    test_support::TempFolder temp_{"varnotel-shell"};
    std::string dir_;
};

}  // namespace

TEST(ScopedServices, PutsBackEverySlotIncludingWhatWasInstalledDuringTheScope) {
    RecordingShell outer;
    useShell(&outer);
    const auto day = std::chrono::sys_days(std::chrono::year(2026) / 12 / 8);
    {
        RecordingShell mine;
        ScriptedDriver driver;
        Services own;
        own.shell = &mine;
        own.ui = &driver;
        own.today = day;
        own.decimalSeparator = ',';
        ScopedServices scope(own);
        EXPECT_EQ(&shell(), &mine);
        EXPECT_EQ(&uiDriver(), &driver);
        EXPECT_EQ(today(), day);
        EXPECT_EQ(decimalSeparator(), ',');
        auto memory = makeMemoryRegistry();
        useRegistryStore(memory.get());  // installed during the scope
        useClock([] { return std::chrono::local_days(std::chrono::year(2030) / 1 / 2) + std::chrono::hours(5); });
        useToday(std::nullopt);
        EXPECT_EQ(today(), std::chrono::sys_days(std::chrono::year(2030) / 1 / 2)) << "the day follows the clock";
    }
    EXPECT_EQ(&shell(), &outer);
    EXPECT_EQ(useRegistryStore(nullptr), nullptr);
    EXPECT_EQ(decimalSeparator(), '.');
    EXPECT_FALSE(useClock({})) << "the system's clock is back";
    EXPECT_FALSE(useToday(std::nullopt));
    useShell(nullptr);
}

TEST(RecordingShell, RemembersRequestsAndOpenMutexes) {
    RecordingShell shell;
    shell.openResult = 31;
    EXPECT_EQ(shell.openDocument("https://example.invalid/"), 31);
    EXPECT_TRUE(shell.startProcess("prog", {"-a", "b c"}));
    EXPECT_TRUE(shell.showHelp("help.chm", 7));
    auto first = shell.createMutex("one"), second = shell.createMutex("two");
    EXPECT_NE(first, second);
    shell.closeHandle(first);
    shell.closeHandle(12345);
    EXPECT_EQ(shell.record.opened, std::vector<std::string>{"https://example.invalid/"});
    EXPECT_EQ(shell.record.started, (std::vector<std::vector<std::string>>{{"prog", "-a", "b c"}}));
    EXPECT_EQ(shell.record.help.at(0), (std::pair<std::string, std::int32_t>{"help.chm", 7}));
    EXPECT_EQ(shell.record.mutexes, std::vector<std::string>{"two"});
    shell.guidAvailable = false;
    EXPECT_EQ(shell.newGuid(), std::nullopt);
}

TEST_F(DesktopShell, StartsProgramsWithoutLeavingZombies) {
    EXPECT_TRUE(desktop->startProcess("/bin/true", {}));
    EXPECT_TRUE(desktop->startProcess("true", {}));  // found in PATH
    EXPECT_FALSE(desktop->startProcess("/nonexistent/program", {}));
    EXPECT_FALSE(desktop->startProcess("", {}));
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);  // no child of ours is left to reap
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(DesktopShell, ArgumentsReachTheProgramVerbatim) {
    const std::string odd = dir_ + "/a b;$(x) 'c'";  // a command interpreter would have split it
    ASSERT_TRUE(desktop->startProcess("/usr/bin/touch", {odd}));
    EXPECT_TRUE(appears(odd));
    EXPECT_FALSE(fs::exists(dir_ + "/a"));
}

TEST_F(DesktopShell, AStartedProgramKeepsAFileHeldUntilItEnds) {
    const std::string file = dir_ + "/extract.pptx", go = dir_ + "/go";
    std::ofstream(file) << "x";
    EXPECT_FALSE(isFileHeld(file));
    {
        FileHold hold(file);
        ASSERT_TRUE(hold.holding());
        EXPECT_TRUE(isFileHeld(file));
        ASSERT_TRUE(desktop->startProcess("/bin/sh", {"-c", "while [ ! -e \"$0\" ]; do sleep 0.05; done", go}));
    }
    // Our own part is given up; the program's remains while it runs.
    EXPECT_TRUE(isFileHeld(file));
    std::ofstream(go) << "";
    bool released = false;
    for (int i = 0; i < 400 && !released; ++i) {
        released = !isFileHeld(file);
        if (!released) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_TRUE(released);
    EXPECT_FALSE(FileHold(dir_ + "/missing").holding());
    EXPECT_FALSE(isFileHeld(dir_ + "/missing"));
}

TEST_F(DesktopShell, OpeningAnswersLikeTheWindowsShell) {
    {
        ScopedEnv path("PATH", dir_.c_str());  // no opener at all
        EXPECT_EQ(desktop->openDocument("https://example.invalid/"), 2);
        EXPECT_FALSE(desktop->showHelp(dir_ + "/help.html", 1));
    }
    {
        ScopedEnv path("PATH", fakeOpener(3).c_str());
        EXPECT_EQ(desktop->openDocument("doc.pdf"), 31);
    }
    {
        ScopedEnv path("PATH", fakeOpener(0).c_str());
        EXPECT_EQ(desktop->openDocument("-odd name.pdf"), 42);
        EXPECT_EQ(test_support::readFile(dir_ + "/opened"), "./-odd name.pdf");
    }
}

TEST_F(DesktopShell, FoldersEndWithASlash) {
    fs::create_directory(dir_ + "/tmp");
    fs::create_symlink(dir_ + "/tmp", dir_ + "/link");
    {
        ScopedEnv tmp("TMPDIR", (dir_ + "/link").c_str());
        EXPECT_EQ(desktop->tempFolder(), fs::canonical(dir_ + "/tmp").string() + "/");
    }
    {
        ScopedEnv tmp("TMPDIR", (dir_ + "/missing").c_str());
        EXPECT_EQ(desktop->tempFolder(), fs::canonical("/tmp").string() + "/");
    }
    {
        ScopedEnv cache("XDG_CACHE_HOME", "/var/cache/someone/");
        EXPECT_EQ(desktop->internetCacheFolder(), "/var/cache/someone/varnotel/");
    }
    ScopedEnv cache("XDG_CACHE_HOME", nullptr);
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(desktop->internetCacheFolder(), "/home/someone/.cache/varnotel/");
}

TEST_F(DesktopShell, GuidsAreRandomVersionFour) {
    auto a = desktop->newGuid(), b = desktop->newGuid();
    ASSERT_TRUE(a && b);
    EXPECT_NE(*a, *b);
    EXPECT_EQ((*a)[6] >> 4, 4);
    EXPECT_EQ((*a)[8] >> 6, 2);
    EXPECT_NE(desktop->createMutex("x"), 0u);
}
