// Download and install against the update server: what a sound update changes, and that a
// broken, hostile, cancelled or interrupted one changes nothing.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>

#include "addin/connect.h"
#include "host/ribbon.h"
#include "host/ribbon_host.h"
#include "tests/support/fault_fs.h"
#include "tests/support/file_reading.h"
#include "tests/support/temp_folder.h"
#include "tests/updater/updater_fixture.h"
#include "updater/update_files.h"

namespace {

using loopback::UpdateServer;
using testing_updater::UpdaterFixture;
using Reply = loopback::HttpTestServer::Reply;
namespace fs = std::filesystem;

const std::string kDownloadError = "There was an error downloading the update.";
const std::string kInstallError = "There was an error installing the update. Please reinstall Varnotel.";
const std::string kInstalled = "The update has been installed successfully.";

// The main add-in as the host holds it: it only records when it is switched on and off.
class MainAddIn : public host::AddIn {
public:
    explicit MainAddIn(std::vector<std::string>& calls) : calls_(calls) {}
    void OnConnection(host::HostObject&, int, host::COMAddIn*) override { calls_.push_back("on"); }
    void OnDisconnection(int) override { calls_.push_back("off"); }
    void OnAddInsUpdate() override {}
    void OnStartupComplete() override {}
    void OnBeginShutdown() override {}

private:
    std::vector<std::string>& calls_;
};

class UpdateInstall : public UpdaterFixture {
protected:
    void SetUp() override {
        UpdaterFixture::SetUp();
        writeInstalled("program/libplorin.so", "old library");
        writeInstalled("program/ui/plorinUI.xml", "<old/>");
        writeInstalled("customization/copyright.txt", "(c) old");
        set("autoUpdateProgramVersion", "1.0.0.4");
        set("autoUpdateCustomizationVersion", "3");
        startHost();
        app->COMAddIns().add("plorin.Connect", "Main", [this] { return std::make_unique<MainAddIn>(mainCalls); });
        app->COMAddIns().Item("plorin.Connect").setConnect(true);
        mainCalls.clear();
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
        offer({{"program/libplorin.so", "new library"},
               {"program/ui/extra.png", ""},
               {"customization/copyright.txt", "(c) new\r\n"}});
        plorin::setHttpTimeouts({2000, 5000, 1});
    }

    void writeInstalled(const std::string& relative, const std::string& text) {
        fs::create_directories(fs::path(root + relative).parent_path());
        std::ofstream(root + relative, std::ios::binary) << text;
    }

    // The server offers these files as program version 1.0.0.5 (customization unchanged).
    void offer(std::vector<UpdateServer::File> files, std::uint64_t extraSize = 0) {
        const auto size = UpdateServer::packageOf(files).size() + extraSize;
        server.setFiles(std::move(files));
        server.setVersionReply(UpdateServer::versionReplyOf("1.0.0.5", size, 3, 0));
    }

    // An automatic run whose user says "Update now".
    void runAndAgree() {
        driver.queueForm("Install", [](platform::Form& f) { platform::driver::click(f, "btnOK"); });
        run(false);
    }

    std::vector<std::string> mainCalls;
};

TEST_F(UpdateInstall, ASoundUpdateReplacesTheFilesRecordsTheVersionsAndReconnectsTheMainAddIn) {
    const int oldLibrary = ::open((root + "program/libplorin.so").c_str(), O_RDONLY);
    ASSERT_GE(oldLibrary, 0);
    runAndAgree();
    EXPECT_EQ(messages(), std::vector<std::string>{kInstalled});
    auto files = test_support::readFolder(root);
    EXPECT_EQ(files["program/libplorin.so"], "new library");
    EXPECT_EQ(files["program/ui/extra.png"], "");
    EXPECT_EQ(files["customization/copyright.txt"], "(c) new\r\n");
    EXPECT_EQ(files["program/ui/plorinUI.xml"], "<old/>");
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(name.find(".update-"), std::string::npos) << name;
        EXPECT_NE(name, "program/updatejournal.txt");
    }
    EXPECT_EQ(get("autoUpdateProgramVersion"), "1.0.0.5");
    EXPECT_EQ(get("autoUpdateCustomizationVersion"), "3");
    EXPECT_EQ(mainCalls, (std::vector<std::string>{"off", "on"}));
    EXPECT_TRUE(fs::is_empty(root + "tmp/")) << "the temporary folder goes";
    EXPECT_TRUE(plorin::reportedErrors().empty());

    // A library in use is renamed away, never written over: the loaded copy stays intact.
    char buffer[32] = {};
    ASSERT_GT(::pread(oldLibrary, buffer, sizeof buffer - 1, 0), 0);
    EXPECT_STREQ(buffer, "old library");
    ::close(oldLibrary);
}

TEST_F(UpdateInstall, TheThreeRequestsAreEmptyPostsNamingWhatIsDue) {
    runAndAgree();
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].requestLine, "POST /autoupdate.php?action=check HTTP/1.0");
    EXPECT_EQ(requests[1].requestLine, "POST /autoupdate.php?action=list&customization=0&program=1 HTTP/1.0");
    EXPECT_EQ(requests[2].requestLine, "POST /autoupdate.php?action=download&customization=0&program=1 HTTP/1.0");
    for (const auto& r : requests) {
        EXPECT_EQ(r.body, "");
        EXPECT_EQ(r.header("Content-Length"), "0");
    }
}

TEST_F(UpdateInstall, AnUpdateThatDoesNotCheckOutIsADownloadErrorAndChangesNothing) {
    const auto good = server.files();
    const std::string package = UpdateServer::packageOf(good);
    const std::string list = UpdateServer::listOf(good);
    struct Case {
        const char* name;
        std::optional<Reply> list;
        std::optional<Reply> download;
    };
    auto withLength = [&](long long length) {
        Reply r = Reply::text(package);
        r.announcedLength = length;
        return r;
    };
    auto more = good;
    more.push_back({"program/more.txt", "mm"});
    std::string altered = package;
    altered[3] = static_cast<char>(altered[3] ^ 0x20);
    auto otherFiles = good;  // as long as the published ones, but other bytes
    otherFiles[2].bytes[0] = 'C';
    Reply moved = Reply::text(package, 302);
    moved.withHeader("Location: http://" + server.hostPort() +
                     "/autoupdate.php?action=download&customization=0&program=1");
    Reply trickle = Reply::text(package);
    trickle.trickleBytes = 1;
    trickle.trickleDelayMs = 1500;
    const Case cases[] = {
        {"parent folder", Reply::text("../evil.txt\t3\r\n"), Reply::text("bad")},
        {"parent inside", Reply::text("program/../../evil.txt\t3\r\n"), Reply::text("bad")},
        {"absolute", Reply::text(root + "evil.txt\t3\r\n"), Reply::text("bad")},
        {"backslash", Reply::text("program\\..\\evil.txt\t3\r\n"), Reply::text("bad")},
        {"drive letter", Reply::text("C:/evil.txt\t3\r\n"), Reply::text("bad")},
        {"empty segment", Reply::text("program//evil.txt\t3\r\n"), Reply::text("bad")},
        {"dot segment", Reply::text("./evil.txt\t3\r\n"), Reply::text("bad")},
        {"empty path", Reply::text("\t3\r\n"), Reply::text("bad")},
        {"NUL", Reply::text(std::string("evil\0.txt\t3\r\n", 13)), Reply::text("bad")},
        {"one bad line spoils all", Reply::text("program/a.txt\t3\r\n../b.txt\t3\r\n"), Reply::text("badbad")},
        {"empty list", Reply::text(""), std::nullopt},
        {"no line end", Reply::text("program/a.txt\t3"), Reply::text("bad")},
        {"count not a number", Reply::text("program/a.txt\t-3\r\n"), Reply::text("bad")},
        {"same path twice", Reply::text("program/a.txt\t1\r\nprogram/a.txt\t2\r\n"), Reply::text("bad")},
        {"counts short of the package", Reply::text(UpdateServer::listOf({{"program/libplorin.so", "new"}})),
         std::nullopt},
        {"counts beyond the package", Reply::text(UpdateServer::listOf(more)), std::nullopt},
        {"one byte altered", std::nullopt, Reply::text(altered)},
        {"checksum of other bytes", Reply::text(UpdateServer::listOf(otherFiles)), std::nullopt},
        {"checksum not hexadecimal", Reply::text("program/a.txt\t3\t" + std::string(64, 'g') + "\r\n"),
         Reply::text("bad")},
        {"checksum too short", Reply::text("program/a.txt\t3\t" + std::string(63, 'a') + "\r\n"), Reply::text("bad")},
        {"checksums on some lines", Reply::text(list + "program/a.txt\t3\r\n"), std::nullopt},
        {"kept name", Reply::text(UpdateServer::listOf({{"program/libplorin.so.update-old", "bad"}})),
         Reply::text("bad")},
        {"staged folder", Reply::text(UpdateServer::listOf({{"program/x.update-new/a", "bad"}})), Reply::text("bad")},
        {"install record", Reply::text(UpdateServer::listOf({{"program/updatejournal.txt", "bad"}})),
         Reply::text("bad")},
        {"install record's copy", Reply::text(UpdateServer::listOf({{"program/updatejournal.txt.tmp-1", "bad"}})),
         Reply::text("bad")},
        {"log", Reply::text(UpdateServer::listOf({{"program/UPDATELOG.TXT", "bad"}})), Reply::text("bad")},
        {"list redirected", moved, std::nullopt},
        {"download redirected", std::nullopt, moved},
        {"list status 500", Reply::text("<html>error</html>", 500), std::nullopt},
        {"download status 500", std::nullopt, Reply::text("<html>Internal Server Error</html>", 500)},
        {"gzip body", std::nullopt, Reply::gzipped(package)},
        {"short body", std::nullopt, withLength(static_cast<long long>(package.size()) + 10)},
        {"no body", std::nullopt, Reply::hangUp()},
        {"slow trickle", std::nullopt, trickle},
    };
    const auto before = test_support::readFolder(root);
    for (const auto& c : cases) {
        server.overrideList(c.list);
        server.overrideDownload(c.download);
        driver.messages.clear();
        runAndAgree();
        EXPECT_EQ(messages(), std::vector<std::string>{messages().empty() ? "" : messages()[0]}) << c.name;
        ASSERT_FALSE(messages().empty()) << c.name;
        EXPECT_EQ(messages()[0].rfind(kDownloadError, 0), 0u) << c.name << ": " << messages()[0];
        EXPECT_EQ(test_support::readFolder(root), before) << c.name;
        EXPECT_TRUE(mainCalls.empty()) << c.name << ": the main add-in stays connected";
        EXPECT_TRUE(app->COMAddIns().Item("plorin.Connect").Connect());
        EXPECT_EQ(get("autoUpdateProgramVersion"), "1.0.0.4") << c.name;
        EXPECT_FALSE(fs::exists(root + "evil.txt"));
        EXPECT_TRUE(fs::is_empty(root + "tmp/")) << c.name;
    }
}

TEST_F(UpdateInstall, WithoutChecksumsOverPlainHttpOnlyACustomizationUpdateIsInstalled) {
    server.setChecksums(false);
    const auto before = test_support::readFolder(root);
    runAndAgree();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].rfind("The program update was not installed: the update server sent no checksums for its "
                                  "files, and without them a download over an unencrypted connection (http://" +
                                      server.hostPort() + ") cannot be checked.",
                                  0),
              0u)
        << messages()[0];
    EXPECT_EQ(server.requests().size(), 2u) << "nothing was downloaded";
    EXPECT_EQ(test_support::readFolder(root), before);
    EXPECT_EQ(get("autoUpdateProgramVersion"), "1.0.0.4");

    set("autoUpdateProgramVersion", "1.0.0.5");
    server.setFiles({{"customization/copyright.txt", "(c) newer"}});
    server.setVersionReply(UpdateServer::versionReplyOf("1.0.0.5", 0, 4, 9));
    driver.messages.clear();
    runAndAgree();
    EXPECT_EQ(messages(), std::vector<std::string>{kInstalled});
    EXPECT_EQ(test_support::readFolder(root)["customization/copyright.txt"], "(c) newer");
    EXPECT_EQ(get("autoUpdateCustomizationVersion"), "4");
}

// An installation of the system's: this user may write only in the temporary folder.
class ReadOnlyInstallation : public platform::ForwardingFileSystem {
public:
    explicit ReadOnlyInstallation(std::string root)
        : ForwardingFileSystem(platform::realFileSystem()), root_(std::move(root)) {}
    bool canWriteIn(const std::string& f) override { return f.rfind(root_, 0) != 0 || f.rfind(root_ + "tmp/", 0) == 0; }

private:
    std::string root_;
};

TEST_F(UpdateInstall, AnInstallationTheUserMayNotChangeIsToldOnceAndOfferedAgainOnlyANewerVersion) {
    ReadOnlyInstallation readOnly(root);
    platform::useFileSystem(&readOnly);
    const auto before = test_support::readFolder(root);
    runAndAgree();
    EXPECT_EQ(messages(),
              std::vector<std::string>{
                  "Varnotel for presentations cannot be updated from your user account: it is installed in " + root +
                  "customization/, which you may not change.\r\nAn administrator must install the "
                  "update. You will not be asked again for this version."});
    EXPECT_EQ(server.requests().size(), 2u) << "nothing was downloaded";
    EXPECT_EQ(test_support::readFolder(root), before);

    // The next start asks nothing; a manual check still does.
    driver.messages.clear();
    run(false);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(server.requests().size(), 3u);
    driver.queueForm("InstallManual", [](platform::Form& f) { platform::driver::click(f, "btnClose"); });
    run(true);
    EXPECT_EQ(driver.modalForms.back(), "InstallManual");

    // A newer version is offered again.
    offer(server.files());
    server.setVersionReply(
        UpdateServer::versionReplyOf("1.0.0.6", UpdateServer::packageOf(server.files()).size(), 3, 0));
    driver.messages.clear();
    runAndAgree();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(get("autoUpdateRefusedVersion"), "1.0.0.6;");
    platform::useFileSystem(nullptr);
    EXPECT_EQ(test_support::readFolder(root), before);
}

TEST_F(UpdateInstall, AnUpdateOfFiveThousandFilesInstalls) {
    std::vector<UpdateServer::File> files;
    for (int i = 0; i < 5000; ++i)
        files.push_back(
            {"program/parts/part" + std::to_string(i / 100) + "/file" + std::to_string(i) + ".txt", std::to_string(i)});
    ASSERT_GT(UpdateServer::listOf(files).size(), 64u * 1024) << "longer than a form's reply may be";
    offer(files);
    runAndAgree();
    EXPECT_EQ(messages(), std::vector<std::string>{kInstalled});
    std::ifstream last(root + "program/parts/part49/file4999.txt");
    std::string text;
    last >> text;
    EXPECT_EQ(text, "4999");
    EXPECT_EQ(get("autoUpdateProgramVersion"), "1.0.0.5");
}

TEST_F(UpdateInstall, DownloadFoldersOfKilledRunsGoButOneInUseStays) {
    const std::string abandoned = root + "tmp/plorin_update_abc123/", inUse = root + "tmp/plorin_update_def456/";
    writeInstalled("tmp/plorin_update_abc123/program/libplorin.so", "half a download");
    writeInstalled("tmp/plorin_update_def456/program/libplorin.so", "another run's download");
    writeInstalled("tmp/other/keep.txt", "not ours");
    const int held = ::open(inUse.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    runAndAgree();
    EXPECT_EQ(messages(), std::vector<std::string>{kInstalled});
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(inUse + "program/libplorin.so"));
    EXPECT_TRUE(fs::exists(root + "tmp/other/keep.txt"));
    ::close(held);
}

TEST_F(UpdateInstall, APackageLargerThanTheOfferedDownloadIsRefused) {
    // The version reply promised fewer bytes than the list and the package hold.
    const auto files = server.files();
    server.setVersionReply(UpdateServer::versionReplyOf("1.0.0.5", UpdateServer::packageOf(files).size() - 1, 3, 0));
    const auto before = test_support::readFolder(root);
    runAndAgree();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].rfind(kDownloadError, 0), 0u);
    EXPECT_EQ(test_support::readFolder(root), before);
}

TEST_F(UpdateInstall, CancelDuringTheDownloadInstallsNothing) {
    // A download that flows, and one whose server stalls before the first byte.
    Reply stalled = Reply::text(UpdateServer::packageOf(server.files()));
    stalled.delayMs = 20000;
    for (const bool stall : {false, true}) {
        class Canceller : public platform::ScriptedDriver {
        public:
            platform::Form* shown = nullptr;
            void formShown(platform::Form& f) override {
                if (f.name() == "DownloadStatus") shown = &f;
            }
        } canceller;
        canceller.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
        canceller.queueForm("Install", [](platform::Form& f) { platform::driver::click(f, "btnOK"); });
        std::string progressText;
        canceller.onEvents = [&] {
            if (!canceller.shown || !canceller.shown->loaded()) return;
            progressText = canceller.shown->get<platform::Label>("lStatus").Caption;
            platform::driver::click(*canceller.shown, "btnCancel");
        };
        server.overrideDownload(stall ? std::optional<Reply>(stalled) : std::nullopt);
        platform::setUiDriver(&canceller);
        const auto before = test_support::readFolder(root);
        const auto start = std::chrono::steady_clock::now();
        run(false);
        platform::setUiDriver(&driver);
        ASSERT_EQ(canceller.messages.size(), 1u) << stall;
        EXPECT_EQ(canceller.messages[0].text,
                  "Download cancelled, no updates have been installed.\r\n"
                  "You will be prompted to download the update again after restarting PowerPoint.");
        EXPECT_EQ(progressText.rfind("Downloading... (0.0 MB of 0.0 MB)", 0), 0u) << progressText;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "Cancel ends a stall";
        EXPECT_EQ(test_support::readFolder(root), before);
        EXPECT_TRUE(mainCalls.empty());
    }
}

TEST_F(UpdateInstall, AFailedCopyPutsEveryFileBackKeepsTheVersionsAndReconnects) {
    // The last file of the list cannot take its place, as a file held open elsewhere.
    test_support::FaultyFileSystem refusing(
        test_support::failCall(test_support::FsCall::renameFile, 1, true, EBUSY, "copyright.txt.update-new"));
    platform::useFileSystem(&refusing);
    const auto before = test_support::readFolder(root);
    runAndAgree();
    platform::useFileSystem(nullptr);
    EXPECT_EQ(messages(), std::vector<std::string>{kInstallError});
    auto after = test_support::readFolder(root);
    const std::string log = after["program/updatelog.txt"];
    after.erase("program/updatelog.txt");
    EXPECT_EQ(after, before);
    EXPECT_NE(log.find("customization/copyright.txt\tThe file cannot be replaced\t"), std::string::npos) << log;
    EXPECT_EQ(get("autoUpdateProgramVersion"), "1.0.0.4");
    EXPECT_EQ(mainCalls, (std::vector<std::string>{"off", "on"}));
}

// A main add-in whose ribbon is the installed definition, read when the host loads it.
class RibbonAddIn : public MainAddIn, public host::IRibbonExtensibility {
public:
    RibbonAddIn(std::vector<std::string>& calls, std::string definition)
        : MainAddIn(calls), definition_(std::move(definition)) {}
    host::IRibbonExtensibility* ribbon() override { return this; }
    std::string GetCustomUI(const std::string&) override { return test_support::readFile(definition_); }
    bool hasCallback(const std::string&) const override { return true; }
    host::RibbonValue invokeCallback(const std::string&, const host::IRibbonControl&,
                                     const std::vector<host::RibbonValue>&) override {
        return {};
    }

private:
    std::string definition_;
};

TEST_F(UpdateInstall, ANewVersionWhoseRibbonDoesNotLoadIsTakenBackAndSaysSo) {
    const std::string ribbon = "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"/>";
    writeInstalled("program/ui/plorinUI.xml", ribbon);
    startHost();
    app->COMAddIns().add("plorin.Connect", "Main",
                         [this] { return std::make_unique<RibbonAddIn>(mainCalls, root + "program/ui/plorinUI.xml"); });
    app->COMAddIns().Item("plorin.Connect").setConnect(true);
    ASSERT_TRUE(app->Ribbon().loaded("plorin.Connect"));
    mainCalls.clear();
    offer({{"program/libplorin.so", "new library"}, {"program/ui/plorinUI.xml", "<customUI"}});
    const auto before = test_support::readFolder(root);
    runAndAgree();
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "The new version of Varnotel for presentations could not be started, so the previous "
                              "version has been restored.\r\nPlease try again later and contact us at "
                              "support@varnotel.example if the problem persists."});
    auto after = test_support::readFolder(root);
    EXPECT_NE(after["program/updatelog.txt"].find("The new files do not work"), std::string::npos);
    after.erase("program/updatelog.txt");
    EXPECT_EQ(after, before);
    EXPECT_EQ(get("autoUpdateProgramVersion"), "1.0.0.4");
    EXPECT_EQ(mainCalls, (std::vector<std::string>{"off", "on", "off", "on"}));
    EXPECT_TRUE(app->Ribbon().loaded("plorin.Connect")) << "back on the old files, with its ribbon";
}

TEST_F(UpdateInstall, AMainAddInThatWasOffStaysOffAndAMissingOneStopsTheInstall) {
    app->COMAddIns().Item("plorin.Connect").setConnect(false);
    mainCalls.clear();
    runAndAgree();
    EXPECT_EQ(messages(), std::vector<std::string>{kInstalled});
    EXPECT_TRUE(mainCalls.empty());

    // A host without the main add-in: nothing is copied.
    driver.messages.clear();
    set("autoUpdateProgramVersion", "1.0.0.4");
    writeInstalled("program/libplorin.so", "old library");
    startHost();
    const auto before = test_support::readFolder(root);
    runAndAgree();
    EXPECT_EQ(messages(), std::vector<std::string>{kInstallError});
    EXPECT_EQ(test_support::readFolder(root), before);
}

TEST_F(UpdateInstall, NothingIsWrittenThroughALinkThatLeadsOutOfTheInstallation) {
    const test_support::TempFolder outsideFolder("varnotel-outside");
    const std::string outside = outsideFolder.folder();
    fs::remove_all(root + "customization");
    fs::create_directory_symlink(outside, root + "customization");
    const auto before = test_support::readFolder(root);
    runAndAgree();
    EXPECT_EQ(messages(), std::vector<std::string>{kInstallError});
    EXPECT_TRUE(fs::is_empty(outside));
    EXPECT_EQ(test_support::readFolder(root).count("program/libplorin.so"), 1u);
    EXPECT_EQ(test_support::readFolder(root)["program/libplorin.so"], before.at("program/libplorin.so"));
}

TEST(UpdateList, OnlyCleanRelativePathsWithCountsMakeAList) {
    const std::pair<std::string, bool> paths[] = {
        {"program/ui/extra.png", true},
        {"a", true},
        {"a b/c d.txt", true},
        {"..a/b..", true},
        {"", false},
        {"/a", false},
        {"a/", false},
        {"a//b", false},
        {".", false},
        {"a/./b", false},
        {"a/../b", false},
        {"..", false},
        {"a\\b", false},
        {"C:a", false},
        {"a\tb", false},
        {std::string("a\0b", 3), false},
    };
    for (const auto& [path, clean] : paths) EXPECT_EQ(plorinrenew::isCleanRelativePath(path), clean) << path;

    const auto list = plorinrenew::parseUpdateList("program/a.txt\t3\r\nb\t0\r\ntrailing text");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[1].path, "b");
    EXPECT_EQ(*plorinrenew::totalBytes(*list), 3u);
    EXPECT_FALSE(plorinrenew::parseUpdateList("a\t1\t2\r\n"));
    const std::string digest = "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855";
    const auto checked = plorinrenew::parseUpdateList("a\t0\t" + digest + "\r\n");
    ASSERT_TRUE(checked);
    EXPECT_EQ((*checked)[0].sha256, plorin::sha256Hex(""));
    EXPECT_TRUE(plorinrenew::hasChecksums(*checked));
    EXPECT_FALSE(plorinrenew::hasChecksums(*list));
    EXPECT_FALSE(plorinrenew::parseUpdateList("a\t0\t" + digest + "\tmore\r\n"));
    EXPECT_FALSE(plorinrenew::parseUpdateList("a 1\r\n"));
    EXPECT_FALSE(plorinrenew::totalBytes({{"a", UINT64_MAX, ""}, {"b", 1, ""}}));
}

TEST(UpdateList, ThePackageIsCutByTheCountsOnlyWhenItIsExactlyAsLong) {
    const plorinrenew::UpdateList list{{"a", 3, ""}, {"empty", 0, ""}, {"b", 2, ""}};
    const auto pieces = plorinrenew::splitPackage(list, "abcde");
    ASSERT_TRUE(pieces);
    EXPECT_EQ(*pieces, (std::vector<std::string_view>{"abc", "", "de"}));
    EXPECT_FALSE(plorinrenew::splitPackage(list, "abcd"));
    EXPECT_FALSE(plorinrenew::splitPackage(list, "abcdef"));
    // Counts that overflow together never match a package, however long it is.
    EXPECT_FALSE(plorinrenew::splitPackage({{"a", UINT64_MAX, ""}, {"b", 2, ""}}, "x"));
}

// ---- An install cut off by a crash ------------------------------------------------------

class InterruptedInstall : public ::testing::Test {
protected:
    void SetUp() override {
        base = folder.path();
        root = base + "install/";
        source = base + "source/";
        write(root + "program/libplorin.so", "old library");
        write(root + "customization/copyright.txt", "(c) old");
        write(source + "program/libplorin.so", "new library");
        write(source + "program/ui/extra.png", "png");
        write(source + "customization/copyright.txt", "(c) new");
        list = {
            {"program/libplorin.so", 11, ""}, {"program/ui/extra.png", 3, ""}, {"customization/copyright.txt", 7, ""}};
        journal = root + "program/" + plorinrenew::kJournalName;
        platform::useRegistryStore(registry.get());
    }
    void TearDown() override { platform::useRegistryStore(nullptr); }

    static void write(const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // Runs the install in a child process that is killed at the nth call of a kind; true when
    // it died so.
    bool installAndDie(test_support::FsCall call, int nth, const plorinrenew::InstallOptions& options = {}) {
        const pid_t child = ::fork();
        if (child == 0) {
            test_support::Fault kill = test_support::failCall(call, nth);
            kill.instead = [] { ::raise(SIGKILL); };
            test_support::FaultyFileSystem killing(kill);
            platform::useFileSystem(&killing);
            plorinrenew::installFiles(source, root, list, journal, root + "program/updatelog.txt", options);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    test_support::TempFolder folder{"varnotel-crash"};
    std::string base, root, source, journal;
    plorinrenew::UpdateList list;
    std::unique_ptr<platform::RegistryStore> registry = platform::makeMemoryRegistry();
};

TEST_F(InterruptedInstall, TheNextStartUndoesAnInstallCutOffHalfWay) {
    const auto before = test_support::readFolder(root);
    // Renames: old library away, new library in, extra in, old copyright away: killed there.
    ASSERT_TRUE(installAndDie(test_support::FsCall::renameFile, 4));
    ASSERT_TRUE(fs::exists(journal));
    EXPECT_NE(test_support::readFolder(root), before) << "the kill left a mixed installation";
    // The next start of the update add-in, from the installation's program folder.
    plorin::setAddInFolder(root + "program/");
    host::Application app("14.0");
    app.COMAddIns().add(plorinrenew::kProgId, "", [] { return std::make_unique<plorinrenew::Connect>(); });
    app.COMAddIns().Item(plorinrenew::kProgId).setConnect(true);
    plorin::setAddInFolder("");
    EXPECT_EQ(test_support::readFolder(root), before);
    EXPECT_TRUE(plorinrenew::recoverInstall(journal)) << "nothing left to do";
}

// Every look at a file of the installation, and whether the install record was there then.
class WatchingFileSystem : public platform::ForwardingFileSystem {
public:
    WatchingFileSystem(std::string root, std::string journal)
        : ForwardingFileSystem(platform::realFileSystem()), root_(std::move(root)), journal_(std::move(journal)) {}
    std::vector<std::string> reads, halfInstalledReads;
    bool fileExists(const std::string& p) override { return look(p), ForwardingFileSystem::fileExists(p); }
    bool folderExists(const std::string& p) override { return look(p), ForwardingFileSystem::folderExists(p); }
    std::optional<std::string> readAll(const std::string& p) override {
        return look(p), ForwardingFileSystem::readAll(p);
    }
    std::optional<platform::FileStamp> stamp(const std::string& p) override {
        return look(p), ForwardingFileSystem::stamp(p);
    }
    std::vector<std::string> listFolders(const std::string& f) override {
        return look(f), ForwardingFileSystem::listFolders(f);
    }

private:
    void look(const std::string& path) {
        // The recovery's own look at its record is no read of the installation.
        if (path.rfind(root_, 0) != 0 || path.rfind(journal_, 0) == 0) return;
        reads.push_back(path);
        if (fs::exists(journal_)) halfInstalledReads.push_back(path);
    }
    std::string root_, journal_;
};

TEST_F(InterruptedInstall, TheMainAddInThatComesFirstNeverReadsAHalfInstalledFile) {
    const auto before = test_support::readFolder(root);
    ASSERT_TRUE(installAndDie(test_support::FsCall::renameFile, 4));
    platform::RecordingShell shell;
    shell.temp = base;
    platform::useShell(&shell);
    platform::ScriptedDriver driver;
    platform::setUiDriver(&driver);
    plorin::setAddInFolder(root + "program/");
    WatchingFileSystem watching(root, journal);
    {
        // Registered as an installation registers them: the presentation add-in first.
        host::Application app("14.0");
        app.COMAddIns().add("plorin.Connect", "Varnotel", [] { return std::make_unique<plorin::Connect>(); });
        app.COMAddIns().add(plorinrenew::kProgId, "Update", [] { return std::make_unique<plorinrenew::Connect>(); });
        platform::useFileSystem(&watching);
        EXPECT_EQ(app.COMAddIns().startUp(), 2);
        platform::useFileSystem(nullptr);
        plorinrenew::asyncForm().asyncTimer.setEnabled(false);
        app.COMAddIns().Item("plorin.Connect").setConnect(false);
        app.COMAddIns().Item(plorinrenew::kProgId).setConnect(false);
    }
    plorinrenew::addInState() = {};
    plorin::setAddInFolder("");
    platform::setUiDriver(nullptr);
    platform::useShell(nullptr);
    plorin::reportedErrors().clear();
    EXPECT_FALSE(watching.reads.empty()) << "the presentation add-in looked at its files";
    EXPECT_EQ(watching.halfInstalledReads, std::vector<std::string>{});
    EXPECT_EQ(test_support::readFolder(root), before);
}

TEST_F(InterruptedInstall, TheNextStartFinishesAnInstallCutOffWhileClearingUp) {
    plorinrenew::InstallOptions options;
    options.settings = {{"autoUpdateProgramVersion", "1.0.0.5"}};
    // Every file in place and accepted; killed dropping the first kept file, before the
    // versions of this process were recorded anywhere but in the install record.
    ASSERT_TRUE(installAndDie(test_support::FsCall::deleteFile, 1, options));
    ASSERT_TRUE(fs::exists(journal));
    EXPECT_TRUE(plorinrenew::recoverInstall(journal));
    EXPECT_EQ(plorin::getRegistry("autoUpdateProgramVersion", "", ""), "1.0.0.5") << "never offered again";
    const auto after = test_support::readFolder(root);
    EXPECT_EQ(after.at("program/libplorin.so"), "new library");
    EXPECT_EQ(after.at("program/ui/extra.png"), "png");
    EXPECT_EQ(after.at("customization/copyright.txt"), "(c) new");
    for (const auto& [name, bytes] : after) EXPECT_EQ(name.find(".update-"), std::string::npos) << name;
    EXPECT_FALSE(fs::exists(journal));
}

TEST_F(InterruptedInstall, RecoveryActsOnlyInsideTheInstallationAndClearsLeftoverRecords) {
    write(base + "outside.txt", "keep");
    write(journal, "pending\nadd\t" + base +
                       "outside.txt\nadd\t../outside.txt\nadd\tprogram/../../outside.txt\n"
                       "replace\tprogram/libplorin.so\n");
    write(journal + ".tmp-99-0", "pending\nadd\tcustomization/copyright.txt\n");  // a rewrite cut off by a kill
    {
        // While this process installs, its own recovery (the reconnected main add-in's) waits
        // for nothing and leaves the record alone.
        plorin::UpdateLock installing(root + "program/");
        ASSERT_TRUE(installing.held());
        EXPECT_TRUE(plorinrenew::recoverInstall(journal));
        EXPECT_TRUE(fs::exists(journal + ".tmp-99-0"));
    }
    const auto before = test_support::readFolder(root);
    EXPECT_TRUE(plorinrenew::recoverInstall(journal));
    EXPECT_TRUE(fs::exists(base + "outside.txt"));
    auto after = test_support::readFolder(root);
    EXPECT_EQ(after.count("program/updatejournal.txt"), 0u);
    EXPECT_EQ(after.count("program/updatejournal.txt.tmp-99-0"), 0u);
    after["program/updatejournal.txt"] = before.at("program/updatejournal.txt");
    after["program/updatejournal.txt.tmp-99-0"] = before.at("program/updatejournal.txt.tmp-99-0");
    EXPECT_EQ(after, before);
}

TEST_F(InterruptedInstall, TheStagedFilesGoToTheDiskOnceBeforeAnyTakesItsPlace) {
    test_support::FaultyFileSystem order;
    platform::useFileSystem(&order);
    EXPECT_TRUE(plorinrenew::installFiles(source, root, list, journal, root + "log.txt"));
    platform::useFileSystem(nullptr);
    // Three copies, one flush, then the old library and copyright away and three files in.
    std::string steps;
    for (const auto& call : order.calls()) {
        using test_support::FsCall;
        if (call.kind == FsCall::copyFile || call.kind == FsCall::flushFolder || call.kind == FsCall::renameFile)
            steps += call.kind == FsCall::copyFile ? 'c' : call.kind == FsCall::flushFolder ? 'f' : 'r';
    }
    EXPECT_EQ(steps, "cccfrrrrr");
}

}  // namespace

namespace {

TEST_F(UpdateInstall, WithoutAUsableTemporaryFolderNothingIsDownloaded) {
    shell.temp = root + "no such folder/";
    const auto before = test_support::readFolder(root);
    runAndAgree();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].rfind(kDownloadError, 0), 0u);
    EXPECT_EQ(server.requests().size(), 1u) << "only the check went out";
    EXPECT_EQ(test_support::readFolder(root), before);
    EXPECT_TRUE(mainCalls.empty());
}

TEST_F(UpdateInstall, TheDownloadFolderIsPrivateAndGoesWithoutFollowingLinks) {
    const test_support::TempFolder keepFolder("varnotel-keep");
    const std::string keep = keepFolder.folder();
    std::ofstream(keep + "/precious.txt") << "keep me";
    std::string folder;
    fs::perms mode{};
    platform::ScriptedDriver watcher;
    watcher.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    watcher.queueForm("Install", [](platform::Form& f) { platform::driver::click(f, "btnOK"); });
    watcher.onEvents = [&] {
        if (!folder.empty()) return;
        for (const auto& entry : fs::directory_iterator(root + "tmp/")) folder = entry.path().string();
        if (folder.empty()) return;
        mode = fs::status(folder).permissions();
        fs::create_directory_symlink(keep, folder + "/link");  // something planted inside
    };
    platform::setUiDriver(&watcher);
    run(false);
    platform::setUiDriver(&driver);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(fs::path(folder).filename().string().rfind("plorin_update_", 0), 0u);
    EXPECT_EQ(mode & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(keep + "/precious.txt")) << "removal never follows a link";
}

}  // namespace
