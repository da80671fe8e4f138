// The mail program: its arguments, its compose step with a recording mailer, its messages,
// and the built program run against a stand-in for the desktop's mail hand-over.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "mailhelper/mapi.h"
#include "platform/mailer.h"
#include "platform/ui.h"

namespace fs = std::filesystem;
using platform::MailResult;
using platform::RecordingMailer;

namespace {

// ---- arguments ------------------------------------------------------------------------

TEST(MailArguments, ThreeArgumentsArriveAsTheyAreWithBlanksAndQuotes) {
    auto parsed = plorinpost::parseArguments({"Q3  review", "Q3 review_extract.pptx", "/tmp/my files/x 1.pptx"});
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->subject, "Q3  review");  // two blanks stay two blanks
    EXPECT_EQ(parsed->fileName, "Q3 review_extract.pptx");
    EXPECT_EQ(parsed->pathName, "/tmp/my files/x 1.pptx");

    for (std::string odd : {"say \"hi\"", "cost $HOME", "a; rm -rf ~", "`id`", "$(id)", "it's"}) {
        auto p = plorinpost::parseArguments({odd, odd + ".pptx", "/tmp/" + odd});
        ASSERT_TRUE(p) << odd;
        EXPECT_EQ(p->subject, odd);
        EXPECT_EQ(p->fileName, odd + ".pptx");
    }
}

TEST(MailArguments, WrongCountsAndUnsafeNamesAreRefused) {
    EXPECT_FALSE(plorinpost::parseArguments({}));
    EXPECT_FALSE(plorinpost::parseArguments({"s", "n.pptx"}));
    EXPECT_FALSE(plorinpost::parseArguments({"s", "n.pptx", "/tmp/x", "extra"}));
    // The whole old-style command line in one argument is one argument, not three.
    EXPECT_FALSE(plorinpost::parseArguments({"\"s\" \"n.pptx\" \"/tmp/x\""}));

    for (const std::string& bad : std::vector<std::string>{"", ".", "..", "../x.pptx", "a/b.pptx", "/etc/passwd", "line\nbreak", "tab\tname",
                            std::string("nul\0x", 5), "del\x7f"}) {
        EXPECT_FALSE(plorinpost::parseArguments({"s", bad, "/tmp/x"})) << bad;
    }
    EXPECT_FALSE(plorinpost::parseArguments({"s", "n.pptx", ""}));
    EXPECT_FALSE(plorinpost::parseArguments({"s", "n.pptx", "relative/x.pptx"}));
    EXPECT_FALSE(plorinpost::parseArguments({"s", "n.pptx", "--attach=/etc/passwd"}));
    // An empty subject is a message without a subject.
    EXPECT_TRUE(plorinpost::parseArguments({"", "n.pptx", "/tmp/x"}));
    // Dots inside a name are a name.
    EXPECT_TRUE(plorinpost::parseArguments({"s", "v1..2.pptx", "/tmp/x"}));
}

// ---- compose and messages ----------------------------------------------------------------

struct MailProgram : ::testing::Test {
    platform::ScriptedDriver ui;
    platform::ScopedUiDriver scope{ui};
    RecordingMailer mailer;

    MailProgram() { ui.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; }; }

    int run(std::vector<std::string> args = {"Q3 review", "Q3 review.pptx", "/tmp/plorin1.pptx"}) {
        return plorinpost::main(args, mailer);
    }
    std::string onlyMessage() {
        EXPECT_EQ(ui.messages.size(), 1u);
        if (ui.messages.empty()) return {};
        EXPECT_EQ(ui.messages[0].style, platform::vbCritical);
        EXPECT_EQ(ui.messages[0].title, "Varnotel Mail");
        return ui.messages[0].text;
    }
};

TEST_F(MailProgram, AGoodComposeHandsOverSubjectNameAndPathAndEndsSilently) {
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(mailer.calls, (std::vector<std::string>{"logon", "compose", "logoff"}));
    ASSERT_EQ(mailer.composed.size(), 1u);
    EXPECT_EQ(mailer.composed[0].subject, "Q3 review");
    EXPECT_EQ(mailer.composed[0].attachmentName, "Q3 review.pptx");
    EXPECT_EQ(mailer.composed[0].attachmentPath, "/tmp/plorin1.pptx");
}

TEST_F(MailProgram, WrongArgumentsShowTheStartMessageAndComposeNothing) {
    EXPECT_EQ(run({"only", "two"}), 1);
    EXPECT_EQ(onlyMessage(),
              "An error occurred starting Varnotel Mail.\r\nPlease try again and contact us at "
              "support@varnotel.example if the problem persists.");
    EXPECT_TRUE(mailer.calls.empty());
}

TEST_F(MailProgram, CancellingTheMessageEndsSilently) {
    mailer.composeResult = MailResult::cancelled;
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MailProgram, AttachmentFailuresShowTheAttachmentMessage) {
    for (auto result : {MailResult::attachmentMissing, MailResult::attachmentUnreadable, MailResult::attachmentNotStaged}) {
        ui.messages.clear();
        mailer.composeResult = result;
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(onlyMessage().rfind("An error occurred attaching your file.\r\nPlease try again", 0), 0u);
    }
}

TEST_F(MailProgram, OtherFailuresShowTheUnexpectedMessageWithTheCode) {
    mailer.composeResult = MailResult::failed;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(onlyMessage().rfind("An unexpected MAPI error occurred in Varnotel Mail (2).\r\n", 0), 0u);
}

TEST_F(MailProgram, AFailedLogonStopsBeforeComposing) {
    mailer.logonResult = MailResult::failed;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(mailer.calls, std::vector<std::string>{"logon"});
    EXPECT_NE(onlyMessage().find("(2)"), std::string::npos);
}

TEST_F(MailProgram, AFailedLogoffAfterAGoodComposeIsNoError) {
    mailer.logoffResult = MailResult::failed;
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MailProgram, ARunTimeErrorWhileComposingShowsOneErrorBoxAndEndsTheSession) {
    struct Throwing : RecordingMailer {
        MailResult compose(const platform::MailMessage& m) override {
            RecordingMailer::compose(m);
            throw std::runtime_error("the mail program went away");
        }
    } throwing;
    EXPECT_EQ(plorinpost::main({"s", "n.pptx", "/tmp/x"}, throwing), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Error: \r\ncomposeEmail (5, the mail program went away)");
    EXPECT_EQ(throwing.calls.back(), "logoff");
}

TEST(MailMessages, CodeTable) {
    EXPECT_FALSE(plorinpost::messageForCode(0));
    EXPECT_FALSE(plorinpost::messageForCode(1));
    for (int code : {11, 12, 13})
        EXPECT_EQ(plorinpost::messageForCode(code)->rfind("An error occurred attaching your file.", 0), 0u);
    for (int code : {2, 3, 10, 14, 26, -1})
        EXPECT_EQ(plorinpost::messageForCode(code)->rfind(
                      "An unexpected MAPI error occurred in Varnotel Mail (" + std::to_string(code) + ").", 0),
                  0u);
}

// ---- the built program against a stand-in hand-over -------------------------------------------

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A folder with a stand-in xdg-email that writes its arguments, each ended by a NUL, to
// "argv" beside it and exits with the status written in "status" (0 when there is none).
struct DesktopHandOver : ::testing::Test {
    fs::path root;
    fs::path bin, cache, work;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "plorinpost-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        root = pattern;
        bin = root / "bin";
        cache = root / "cache";
        work = root / "work";
        fs::create_directories(bin);
        fs::create_directories(work);
        std::ofstream(bin / "xdg-email") << "#!/bin/sh\n"
                                            "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$(dirname \"$0\")/argv\"\n"
                                            "[ -f \"$(dirname \"$0\")/status\" ] && exit $(cat \"$(dirname \"$0\")/status\")\n"
                                            "exit 0\n";
        fs::permissions(bin / "xdg-email", fs::perms::owner_all);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::vector<std::string> recordedArgv() {
        std::string raw = slurp(bin / "argv");
        std::vector<std::string> args;
        std::size_t start = 0;
        for (std::size_t at = raw.find('\0'); at != std::string::npos; start = at + 1, at = raw.find('\0', start))
            args.push_back(raw.substr(start, at - start));
        return args;
    }

    // Runs the built program with the stand-in first on PATH; its exit status, stderr in `err`.
    int runProgram(const std::vector<std::string>& args, std::string& err) {
        std::vector<std::string> env = {"PATH=" + bin.string() + ":/usr/bin:/bin", "XDG_CACHE_HOME=" + cache.string(),
                                        "HOME=" + root.string()};
        if (const char* asan = std::getenv("ASAN_OPTIONS")) env.push_back(std::string("ASAN_OPTIONS=") + asan);
        std::vector<std::string> line{VARNOTEL_PLORINPOST};
        line.insert(line.end(), args.begin(), args.end());
        std::vector<char*> argv, envp;
        for (auto& a : line) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        std::string errFile = (root / "stderr").string();
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (started != 0) return -1;
        int status = 0;
        ::waitpid(pid, &status, 0);
        err = slurp(errFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(DesktopHandOver, TheProgramStagesTheFileUnderItsNameAndHandsItOverWithoutAShell) {
    const std::string bytes = std::string("slide\0bytes\n", 12);
    std::ofstream(work / "plorin 1.pptx", std::ios::binary) << bytes;
    const std::string subject = "Q3 \"review\"; $(touch pwned) `touch pwned2` $HOME";
    const std::string name = "Q3 review; $x `y` 'z'.pptx";
    std::string err;
    ASSERT_EQ(runProgram({subject, name, (work / "plorin 1.pptx").string()}, err), 0) << err;
    EXPECT_TRUE(err.empty()) << err;

    auto argv = recordedArgv();
    ASSERT_EQ(argv.size(), 5u);
    EXPECT_EQ(argv[0], "--utf8");
    EXPECT_EQ(argv[1], "--subject");
    EXPECT_EQ(argv[2], subject);
    EXPECT_EQ(argv[3], "--attach");
    fs::path staged = argv[4];
    EXPECT_EQ(staged.filename().string(), name);
    EXPECT_EQ(staged.parent_path().parent_path(), cache / "varnotel" / "mail");
    EXPECT_EQ(slurp(staged), bytes);
    EXPECT_EQ(fs::status(cache / "varnotel" / "mail").permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(work / "pwned"));
    EXPECT_FALSE(fs::exists(root / "pwned"));
    EXPECT_FALSE(fs::exists(fs::current_path() / "pwned"));
}

TEST_F(DesktopHandOver, AMissingFileAndARefusedHandOverAreReported) {
    std::string err;
    EXPECT_EQ(runProgram({"s", "n.pptx", (work / "missing.pptx").string()}, err), 1);
    EXPECT_NE(err.find("Varnotel Mail: An error occurred attaching your file."), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(bin / "argv"));

    std::ofstream(work / "x.pptx") << "x";
    std::ofstream(bin / "status") << "5";
    EXPECT_EQ(runProgram({"s", "n.pptx", (work / "x.pptx").string()}, err), 1);
    EXPECT_NE(err.find("attaching your file"), std::string::npos) << err;

    std::ofstream(bin / "status") << "3";  // no mail program on the desktop
    EXPECT_EQ(runProgram({"s", "n.pptx", (work / "x.pptx").string()}, err), 1);
    EXPECT_NE(err.find("An unexpected MAPI error occurred in Varnotel Mail (2)."), std::string::npos) << err;

    EXPECT_EQ(runProgram({"s", "../n.pptx", (work / "x.pptx").string()}, err), 1);
    EXPECT_NE(err.find("An error occurred starting Varnotel Mail."), std::string::npos) << err;
}

TEST_F(DesktopHandOver, LogonPurgesOldStagedCopiesAndKeepsYoungOnes) {
    const fs::path staging = root / "staging";
    fs::create_directories(staging / "run-old123");
    fs::create_directories(staging / "run-new123");
    fs::create_directories(staging / "keepme");
    std::ofstream(staging / "run-old123" / "a.pptx") << "a";
    fs::last_write_time(staging / "run-old123", fs::file_time_type::clock::now() - std::chrono::hours(48));

    auto mailer = platform::makeDesktopMailer({staging.string() + "/"});
    ASSERT_EQ(mailer->logon(), MailResult::ok);
    EXPECT_FALSE(fs::exists(staging / "run-old123"));
    EXPECT_TRUE(fs::exists(staging / "run-new123"));
    EXPECT_TRUE(fs::exists(staging / "keepme"));
    // Two messages with the same name in one run do not meet.
    std::ofstream(work / "x.pptx") << "one";
    platform::DesktopMailerOptions options{staging.string() + "/", (bin / "xdg-email").string()};
    auto desktop = platform::makeDesktopMailer(options);
    ASSERT_EQ(desktop->logon(), MailResult::ok);
    EXPECT_EQ(desktop->compose({"s", (work / "x.pptx").string(), "same.pptx"}), MailResult::ok);
    fs::path first = recordedArgv().at(4);
    std::ofstream(work / "x.pptx") << "two";
    EXPECT_EQ(desktop->compose({"s", (work / "x.pptx").string(), "same.pptx"}), MailResult::ok);
    fs::path second = recordedArgv().at(4);
    EXPECT_NE(first, second);
    EXPECT_EQ(slurp(first), "one");
    EXPECT_EQ(slurp(second), "two");
}

TEST_F(DesktopHandOver, AStagingFolderThatIsALinkIsRefused) {
    fs::create_directories(root / "elsewhere");
    fs::create_symlink(root / "elsewhere", root / "linked");
    auto mailer = platform::makeDesktopMailer({(root / "linked").string() + "/"});
    EXPECT_EQ(mailer->logon(), MailResult::failed);
    EXPECT_EQ(mailer->compose({"s", "/tmp/x", "n.pptx"}), MailResult::failed);
}

}  // namespace
