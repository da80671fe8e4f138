// The file registry: its text, sharing the file, damaged files, and what concurrent or
// killed writers leave behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <sstream>
#include <thread>

#include "platform/errors.h"
#include "platform/registry_tree.h"
#include "platform/services.h"
#include "tests/support/file_reading.h"
#include "tests/support/temp_folder.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

constexpr auto HKCU = RootKey::CurrentUser;

RegValue sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

class RegistryFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = temp_.folder();
        path_ = folder_ + "/registry.reg";
    }

    std::string text() const { return test_support::readFile(path_); }
    void write(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
    std::vector<std::string> backups() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().filename().string().rfind("registry.reg.corrupt-", 0) == 0) found.push_back(entry.path());
        return found;
    }

    test_support::TempFolder temp_{"varnotel-regfile"};
    std::string folder_, path_;
};

// Child processes report through their exit status only.
template <class Body>
pid_t forkRunning(Body body) {
    pid_t pid = fork();
    if (pid == 0) {
        int failed = 1;
        try {
            failed = body() ? 0 : 1;
        } catch (...) {
        }
        _exit(failed);
    }
    return pid;
}

}  // namespace

TEST_F(RegistryFile, IsWrittenInTheRegistryExportFormat) {
    auto store = makeFileRegistry(path_);
    ASSERT_TRUE(store->setValue(HKCU, "Software\\Varnotel", "Name", sz("say \"hi\"\\\n")));
    ASSERT_TRUE(store->setValue(HKCU, "Software\\Varnotel", "Count", {REG_DWORD, std::string("\x0a\0\0\0", 4)}));
    ASSERT_TRUE(store->setValue(HKCU, "Software\\Varnotel", "", {REG_BINARY, "\x01\xff"}));
    ASSERT_TRUE(store->setValue(HKCU, "Software\\Varnotel", "Path", {REG_EXPAND_SZ, std::string("%A%\0", 4)}));
    ASSERT_TRUE(store->createKey(HKCU, "Software\\Varnotel\\Empty"));
    EXPECT_EQ(text(),
              "Windows Registry Editor Version 5.00\n"
              "\n[HKEY_CURRENT_USER\\Software\\Varnotel]\n"
              "\"Name\"=\"say \\\"hi\\\"\\\\\\n\"\n"
              "\"Count\"=dword:0000000a\n"
              "@=hex:01,ff\n"
              "\"Path\"=hex(2):25,41,25,00\n"
              "\n[HKEY_CURRENT_USER\\Software\\Varnotel\\Empty]\n");
}

TEST_F(RegistryFile, ReadsHandWrittenExports) {
    write(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "; a comment\r\n"
        "[hkey_current_user\\Software\\Hand]\r\n"
        "\"Long\"=hex:01,02,\\\r\n"
        "  03,0A\r\n"
        "\"Big\"=hex(5):00,00,00,2a\r\n"
        "\"Count\"=dword:FF\r\n"
        "\"Text\"=\"x\"  \r\n");
    auto store = makeFileRegistry(path_);
    EXPECT_EQ(store->queryValue(HKCU, "Software\\Hand", "Long"), (RegValue{REG_BINARY, "\x01\x02\x03\x0a"}));
    EXPECT_EQ(store->queryValue(HKCU, "Software\\Hand", "Big"),
              (RegValue{REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\x2a", 4)}));
    EXPECT_EQ(store->queryValue(HKCU, "Software\\Hand", "Count"), (RegValue{REG_DWORD, std::string("\xff\0\0\0", 4)}));
    EXPECT_EQ(store->queryValue(HKCU, "Software\\Hand", "Text"), sz("x"));
}

TEST_F(RegistryFile, AThousandValuesAreFoundInAnySpellingAfterADeletion) {
    std::string text = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n";
    for (int i = 0; i < 1000; ++i) text += "\"Value" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\n";
    std::string problem;
    auto tree = detail::RegTree::parse(text, problem);
    ASSERT_TRUE(tree) << problem;
    detail::RegKey* key = tree->find(HKCU, "A");
    ASSERT_TRUE(key && key->eraseValue("VALUE500"));
    ASSERT_EQ(key->values().size(), 999u);
    for (int i = 0; i < 1000; ++i) {
        const RegValue* found = key->findValue("vALUE" + std::to_string(i));
        if (i == 500) EXPECT_EQ(found, nullptr);
        else ASSERT_TRUE(found && *found == sz(std::to_string(i))) << i;
    }
}

TEST_F(RegistryFile, RejectsWhatIsNotAnExport) {
    const char* bad[] = {
        "",
        "REGEDIT4\n",
        "Windows Registry Editor Version 5.00\n\"v\"=\"outside a key\"\n",
        "Windows Registry Editor Version 5.00\n[HKEY_NOWHERE\\A]\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"unclosed\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"bad \\t escape\"\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,0g\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,\\\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123456789\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=-\n",
    };
    for (const char* text : bad) {
        std::string problem;
        EXPECT_FALSE(detail::RegTree::parse(text, problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
}

TEST_F(RegistryFile, EveryReadSeesTheLatestFile) {
    auto first = makeFileRegistry(path_);
    auto second = makeFileRegistry(path_);
    ASSERT_TRUE(first->setValue(HKCU, "Software\\Shared", "v", sz("1")));
    EXPECT_EQ(second->queryValue(HKCU, "Software\\Shared", "v"), sz("1"));
    ASSERT_TRUE(second->setValue(HKCU, "Software\\Shared", "w", sz("2")));
    EXPECT_EQ(first->valueNames(HKCU, "Software\\Shared"), (std::vector<std::string>{"v", "w"}));
    fs::remove(path_);
    EXPECT_FALSE(first->keyExists(HKCU, "Software\\Shared"));
}

TEST_F(RegistryFile, ReadsAndWritesNeverMissAChangeOfTheFile) {
    auto first = makeFileRegistry(path_);
    auto second = makeFileRegistry(path_);
    // Quick changes of the same size, each renamed into place by another writer.
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(second->setValue(HKCU, "Software\\Shared", "v", sz(std::to_string(i % 10))));
        ASSERT_EQ(first->queryValue(HKCU, "Software\\Shared", "v"), sz(std::to_string(i % 10))) << i;
    }
    // A write starts from the file as another writer left it.
    ASSERT_TRUE(second->setValue(HKCU, "Software\\Shared", "w", sz("second")));
    ASSERT_TRUE(first->setValue(HKCU, "Software\\Shared", "x", sz("first")));
    EXPECT_EQ(second->valueNames(HKCU, "Software\\Shared"), (std::vector<std::string>{"v", "w", "x"}));
    // A file edited where it stands, later.
    write(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\Software\\Shared]\n\"v\"=\"by hand\"\n");
    fs::last_write_time(path_, fs::last_write_time(path_) + std::chrono::seconds(5));
    EXPECT_EQ(first->queryValue(HKCU, "Software\\Shared", "v"), sz("by hand"));
    EXPECT_EQ(first->queryValue(HKCU, "Software\\Shared", "x"), std::nullopt);
    // Nothing to change leaves the file as it was written.
    const std::string handWritten = text();
    ASSERT_TRUE(first->setValue(HKCU, "Software\\Shared", "v", sz("by hand")));
    EXPECT_EQ(text(), handWritten);
    // A write that cannot be kept leaves the values as the file has them.
    auto blocked = makeFileRegistry(path_);
    EXPECT_EQ(blocked->queryValue(HKCU, "Software\\Shared", "v"), sz("by hand"));
    fs::remove(path_);
    fs::create_directory(path_);  // a folder where the file should be: the rename fails
    EXPECT_FALSE(blocked->setValue(HKCU, "Software\\Shared", "v", sz("lost")));
    fs::remove(path_);
    EXPECT_EQ(blocked->queryValue(HKCU, "Software\\Shared", "v"), std::nullopt);
    ASSERT_TRUE(blocked->setValue(HKCU, "Software\\Other", "y", sz("1")));
    EXPECT_EQ(second->valueNames(HKCU, "Software\\Shared"), std::vector<std::string>{});
}

// A counter's write leaves the rename to the operating system, and is otherwise a write like
// any other: whole, seen at once by every store of the file, next to the values it keeps.
TEST_F(RegistryFile, AWriteLeftToTheSystemsFlushIsStillWholeAndShared) {
    auto first = makeFileRegistry(path_);
    auto second = makeFileRegistry(path_);
    ASSERT_TRUE(first->setValue(HKCU, "Software\\Shared", "setting", sz("kept")));
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(first->setValue(HKCU, "Software\\Shared", "count", sz(std::to_string(i)), Durability::flushed));
        EXPECT_EQ(second->queryValue(HKCU, "Software\\Shared", "count"), sz(std::to_string(i)));
    }
    EXPECT_EQ(second->queryValue(HKCU, "Software\\Shared", "setting"), sz("kept"));
    EXPECT_EQ(makeFileRegistry(path_)->valueNames(HKCU, "Software\\Shared"),
              (std::vector<std::string>{"setting", "count"}));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
    // A rename that fails leaves the file as it was.
    const std::string before = text();
    fs::remove(path_);
    fs::create_directory(path_);
    EXPECT_FALSE(first->setValue(HKCU, "Software\\Shared", "count", sz("4"), Durability::flushed));
    fs::remove(path_);
    write(before);
    EXPECT_EQ(second->queryValue(HKCU, "Software\\Shared", "count"), sz("3"));
}

TEST_F(RegistryFile, ADamagedFileReadsAsEmptyAndIsKeptAsABackupOnTheNextWrite) {
    const std::string damaged = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"v\"=garbage\n";
    write(damaged);
    auto store = makeFileRegistry(path_);
    EXPECT_EQ(store->queryValue(HKCU, "A", "v"), std::nullopt);
    EXPECT_FALSE(store->keyExists(HKCU, "A"));
    EXPECT_EQ(text(), damaged);  // reading never replaces it
    EXPECT_FALSE(store->deleteValue(HKCU, "A", "v"));
    EXPECT_TRUE(backups().empty());  // a refused change writes nothing

    ASSERT_TRUE(store->setValue(HKCU, "B", "w", sz("new")));
    auto kept = backups();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(test_support::readFile(kept[0]), damaged);
    EXPECT_EQ(store->valueNames(HKCU, "B"), std::vector<std::string>{"w"});
    EXPECT_FALSE(store->keyExists(HKCU, "A"));
}

TEST_F(RegistryFile, AFileThatCannotBeReadThrowsOnQueryAndRefusesWrites) {
    fs::create_directory(path_);  // a folder where the file should be
    auto store = makeFileRegistry(path_);
    EXPECT_THROW(store->queryValue(HKCU, "A", "v"), NumberedError);
    EXPECT_FALSE(store->keyExists(HKCU, ""));
    EXPECT_FALSE(store->setValue(HKCU, "A", "v", sz("1")));
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(RegistryFile, DefaultPathFollowsTheEnvironment) {
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    } saved[] = {{"VARNOTEL_REGISTRY", {}}, {"XDG_CONFIG_HOME", {}}, {"HOME", {}}};
    for (auto& s : saved)
        if (const char* v = getenv(s.name)) s.value = v;

    setenv("HOME", "/home/someone", 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("VARNOTEL_REGISTRY");
    EXPECT_EQ(defaultRegistryPath(), "/home/someone/.config/varnotel/registry.reg");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(defaultRegistryPath(), "/cfg/varnotel/registry.reg");
    setenv("VARNOTEL_REGISTRY", path_.c_str(), 1);
    EXPECT_EQ(defaultRegistryPath(), path_);

    // The default service uses it, unless a store is installed.
    auto memory = makeMemoryRegistry();
    useRegistryStore(memory.get());
    EXPECT_EQ(&registryStore(), memory.get());
    useRegistryStore(nullptr);
    ASSERT_TRUE(registryStore().setValue(HKCU, "A", "v", sz("1")));
    EXPECT_TRUE(fs::exists(path_));

    for (auto& s : saved) s.value ? setenv(s.name, s.value->c_str(), 1) : unsetenv(s.name);
}

TEST_F(RegistryFile, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kEach = 2000;
    std::vector<pid_t> writers;
    for (int p = 0; p < 2; ++p)
        writers.push_back(forkRunning([&, p] {
            auto store = makeFileRegistry(path_);
            for (int i = 0; i < kEach; ++i)
                if (!store->setValue(HKCU, "Software\\Race", "p" + std::to_string(p) + "-" + std::to_string(i),
                                     sz("x")))
                    return false;
            return true;
        }));
    for (pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(makeFileRegistry(path_)->valueNames(HKCU, "Software\\Race").size(), 2u * kEach);
}

TEST_F(RegistryFile, AWriterKilledMidWriteLeavesAReadableFile) {
    {
        auto store = makeFileRegistry(path_);
        ASSERT_TRUE(store->setValue(HKCU, "Software\\Kept", "v", sz("before")));
    }
    std::mt19937 random(std::random_device{}());
    auto temporaries = [&] {  // a temporary file shows a write in progress
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().filename().string().rfind("registry.reg.tmp-", 0) == 0) found.push_back(entry.path());
        return found;
    };
    for (int round = 0; round < 10; ++round) {
        pid_t writer = forkRunning([&] {
            auto store = makeFileRegistry(path_);
            const RegValue big{REG_BINARY, std::string(200000, '\x5a')};
            for (int i = 0;; ++i) store->setValue(HKCU, "Software\\Churn", "v" + std::to_string(i % 50), big);
            return true;
        });
        // Half the rounds strike at a random moment, half while the new file is being written.
        bool whileWriting = round % 2 == 1;
        auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(whileWriting ? 2000 : 5 + random() % 60);
        while (std::chrono::steady_clock::now() < deadline && !(whileWriting && !temporaries().empty()))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);

        std::string problem;
        ASSERT_TRUE(detail::RegTree::parse(text(), problem)) << "round " << round << ": " << problem;
        EXPECT_EQ(makeFileRegistry(path_)->queryValue(HKCU, "Software\\Kept", "v"), sz("before"));
        // The next writer carries on from what the killed one left, and clears its leftovers.
        EXPECT_TRUE(makeFileRegistry(path_)->setValue(HKCU, "Software\\Kept", "w", sz("after")));
        EXPECT_TRUE(temporaries().empty());
    }
    EXPECT_TRUE(backups().empty());
}

// Files a user or another program may leave in the registry file's place.
TEST_F(RegistryFile, AnEmptyFileIsAnEmptyStore) {
    write("");
    auto store = makeFileRegistry(path_);
    EXPECT_FALSE(store->keyExists(HKCU, "A"));
    ASSERT_TRUE(store->setValue(HKCU, "A", "v", sz("1")));
    EXPECT_TRUE(backups().empty());  // nothing was damaged, so nothing is kept
    EXPECT_EQ(store->queryValue(HKCU, "A", "v"), sz("1"));
}

TEST_F(RegistryFile, AFifoInTheFilesPlaceIsRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
    auto store = makeFileRegistry(path_);
    auto attempt = std::async(std::launch::async, [&] {
        bool threw = false;
        try {
            store->queryValue(HKCU, "A", "v");
        } catch (const NumberedError&) {
            threw = true;
        }
        return threw && !store->setValue(HKCU, "A", "v", sz("1"));
    });
    if (attempt.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Free the blocked reader so the test can end, then report the hang.
        for (int i = 0; i < 2; ++i) ::close(::open(path_.c_str(), O_WRONLY | O_NONBLOCK));
        std::ofstream(path_) << "";
        attempt.wait();
        FAIL() << "reading a FIFO blocked";
    }
    EXPECT_TRUE(attempt.get());
    struct stat info {};
    ASSERT_EQ(::lstat(path_.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));  // refused, so never replaced
}

TEST_F(RegistryFile, ALinkInTheFilesPlaceIsWrittenThrough) {
    const std::string target = folder_ + "/elsewhere/real.reg";
    fs::create_directory(folder_ + "/elsewhere");
    std::ofstream(target) << "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Old]\n\"v\"=\"1\"\n";
    fs::create_symlink("elsewhere/real.reg", path_);  // relative, as users often make them
    auto store = makeFileRegistry(path_);
    ASSERT_TRUE(store->setValue(HKCU, "New", "w", sz("2")));
    EXPECT_TRUE(fs::is_symlink(path_));
    const std::string written = test_support::readFile(target);
    EXPECT_NE(written.find("[HKEY_CURRENT_USER\\New]"), std::string::npos);
    EXPECT_NE(written.find("[HKEY_CURRENT_USER\\Old]"), std::string::npos);
    EXPECT_EQ(store->queryValue(HKCU, "Old", "v"), sz("1"));
    for (const auto& entry : fs::directory_iterator(folder_ + "/elsewhere"))
        EXPECT_EQ(entry.path().filename(), "real.reg");  // no temporary left behind
}

TEST_F(RegistryFile, DeepKeysAreBoundedAndPathsAreNotRepeatedPerLevel) {
    std::string deep;
    for (std::size_t i = 0; i < detail::RegTree::kMaxKeyDepth; ++i) deep += (i ? "\\k" : "k") + std::to_string(i);
    auto store = makeFileRegistry(path_);
    ASSERT_TRUE(store->setValue(HKCU, deep, "v", sz("1")));
    EXPECT_LT(text().size(), 2 * deep.size() + 200);  // one section, not one per level
    EXPECT_EQ(store->queryValue(HKCU, deep, "v"), sz("1"));
    EXPECT_FALSE(store->createKey(HKCU, deep + "\\one-too-many"));

    // Empty keys and the order of sibling keys still come back.
    ASSERT_TRUE(store->createKey(HKCU, "Z\\Empty"));
    ASSERT_TRUE(store->setValue(HKCU, "A\\B", "w", sz("2")));
    EXPECT_EQ(store->subKeyNames(HKCU, ""), (std::vector<std::string>{"k0", "Z", "A"}));
    EXPECT_TRUE(store->keyExists(HKCU, "Z\\Empty"));

    // A small hand-made file holding a key far deeper is damaged, not a blow-up on the next write.
    std::string hostile = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER";
    for (int i = 0; i < 20000; ++i) hostile += "\\a";
    write(hostile + "]\n\"v\"=\"1\"\n");
    EXPECT_FALSE(store->keyExists(HKCU, "a"));
    ASSERT_TRUE(store->setValue(HKCU, "Fresh", "v", sz("1")));
    EXPECT_EQ(backups().size(), 1u);
    EXPECT_LT(text().size(), 200u);
}
