// The mail program: its arguments, its compose step with a recording mailer, its messages,
// and the built program run against a stand-in for the desktop's mail hand-over.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "mailhelper/compose_mail.h"
#include "platform/mailer.h"
#include "platform/shell.h"
#include "platform/ui_driver.h"
#include "tests/support/file_reading.h"
#include "tests/support/temp_folder.h"

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

    for (const std::string& bad :
         std::vector<std::string>{"", ".", "..", "../x.pptx", "a/b.pptx", "/etc/passwd", "line\nbreak", "tab\tname",
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

    MailProgram() {
        ui.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    }

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
    for (auto result :
         {MailResult::attachmentMissing, MailResult::attachmentUnreadable, MailResult::attachmentNotStaged}) {
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
    EXPECT_EQ(
        plorinpost::messageForCode(3),
        "No e-mail program is configured on this computer.\r\nPlease set up a default e-mail program and try again.");
    for (int code : {2, 10, 14, 26, -1})
        EXPECT_EQ(plorinpost::messageForCode(code)->rfind(
                      "An unexpected MAPI error occurred in Varnotel Mail (" + std::to_string(code) + ").", 0),
                  0u);
}

// ---- the names copies are staged under -------------------------------------------------------

// What may stand in a staged name: the desktop's mail hand-over passes the path inside a
// quoted, comma-separated argument and through URL and shell quoting.
bool carriedSafely(const std::string& name) {
    for (unsigned char c : name)
        if (c < 0x80 && !std::isalnum(c) && c != ' ' && c != '-' && c != '_' && c != '.') return false;
    return !name.empty() && name[0] != '.' && name[0] != '-' && name.size() <= 255;
}

TEST(StagedNames, StayReadableAndLoseWhatMailCommandLinesTreatSpecially) {
    const std::string longStem(200, 'a');
    const std::pair<std::string, std::string> table[] = {
        {"Q3 review_extract_2010-03-15_14-25-01.pptx", "Q3 review_extract_2010-03-15_14-25-01.pptx"},
        {"Bob's deck, final.pptx", "Bob_s deck_ final.pptx"},
        {"Q3',to='someone@example.org',x='.pptx", "Q3__to__someone_example.org__x__.pptx"},
        {"say \"hi\"; $(id) `id`.pptx", "say _hi__ __id_ _id_.pptx"},
        {"50% a+b=c & d#1 ~x*y? [z] {w} (v) !u ^t <s>|r\\q:p.pptx",
         "50_ a_b_c _ d_1 _x_y_ _z_ _w_ _v_ _u _t _s__r_q_p.pptx"},
        {"Prüfung Ärger 東京 ça.pptx", "Prüfung Ärger 東京 ça.pptx"},
        {"..pptx", "_.pptx"},
        {"-rf.pptx", "_rf.pptx"},
        {"two  blanks .pptx", "two  blanks .pptx"},
        // Turning the text's direction could disguise the extension; invisible ones hide letters.
        {"invoice\u202Extp.pptx", "invoice_xtp.pptx"},
        {"a\u200Bb\u00ADc\uFEFF.pptx", "a_b_c_.pptx"},
        {"broken\xFF\xC3.pptx", "broken__.pptx"},
        {"overlong\xC0\xAF.pptx", "overlong__.pptx"},
        {"c1\xC2\x85.pptx", "c1_.pptx"},
    };
    for (const auto& [name, staged] : table) {
        EXPECT_EQ(platform::stagedAttachmentName(name), staged) << name;
        EXPECT_TRUE(carriedSafely(staged)) << staged;
    }
    // Too long for a file name: cut where a letter starts, the extension kept.
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "é";
    const std::string cut = platform::stagedAttachmentName(wide + ".pptx");
    EXPECT_LE(cut.size(), 255u);
    EXPECT_EQ(cut, wide.substr(0, 250) + ".pptx");
    EXPECT_EQ(platform::stagedAttachmentName(longStem + longStem + ".pptx").size(), 255u);
}

// ---- the built program against a stand-in hand-over -------------------------------------------

std::vector<std::string> splitAtNul(const std::string& raw) {
    std::vector<std::string> args;
    std::size_t start = 0;
    for (std::size_t at = raw.find('\0'); at != std::string::npos; start = at + 1, at = raw.find('\0', start))
        args.push_back(raw.substr(start, at - start));
    return args;
}

// The attachments a mail client reads from the compose argument xdg-email gives it
// ("to='...',subject=...,attachment='a,b'"): fields end at a comma outside single quotes, a
// quoted value at the next quote, and the attachment field lists files separated by commas.
std::vector<std::string> composedAttachments(const std::string& compose) {
    std::vector<std::string> files;
    std::size_t at = 0;
    while (at < compose.size()) {
        const std::size_t equals = compose.find('=', at);
        if (equals == std::string::npos) break;
        const std::string key = compose.substr(at, equals - at);
        std::string value;
        std::size_t next = equals + 1;
        if (next < compose.size() && compose[next] == '\'') {
            const std::size_t close = compose.find('\'', next + 1);
            value = compose.substr(next + 1, close == std::string::npos ? std::string::npos : close - next - 1);
            next = close == std::string::npos ? compose.size() : close + 1;
        }
        const std::size_t comma = compose.find(',', next);
        if (value.empty())
            value = compose.substr(equals + 1, comma == std::string::npos ? std::string::npos : comma - equals - 1);
        if (key == "attachment")
            for (std::size_t start = 0, end;; start = end + 1) {
                end = value.find(',', start);
                files.push_back(value.substr(start, end == std::string::npos ? std::string::npos : end - start));
                if (end == std::string::npos) break;
            }
        at = comma == std::string::npos ? compose.size() : comma + 1;
    }
    return files;
}

// How xdg-email 1.1.3 writes the attachment for the mail client: the path, decoded again
// from its URL form, between single quotes.
std::string xdgEmailComposeArgument(const std::string& subject, const std::string& path) {
    return "subject=" + subject + ",attachment='" + path + "'";
}

// The names users give, or a received deck's own file name proposes.
const std::vector<std::string> kAwkwardNames = {
    "Bob's deck, final.pptx",
    "Q3',to='someone@example.org',x='.pptx",
    "say \"hi\"; $(touch pwned) `touch pwned2` $HOME.pptx",
    "Prüfung Ärger 東京.pptx",
    "two  blanks, 'quotes'.pptx",
};

// A folder with stand-ins, written with shell built-ins only, so that PATH may hold nothing
// else. Each writes its arguments, each ended by a NUL, to a file beside it ("argv" for
// xdg-email) and exits with the status written in "NAME.status" (0 when there is none).
struct DesktopHandOver : ::testing::Test {
    test_support::TempFolder folder{"plorinpost"};
    fs::path root;
    fs::path bin, cache, work;

    void SetUp() override {
        root = folder.folder();
        bin = root / "bin";
        cache = root / "cache";
        work = root / "work";
        fs::create_directories(bin);
        fs::create_directories(work);
        standIn("xdg-email", "argv");
    }

    void standIn(const std::string& program, const std::string& record) {
        std::ofstream(bin / program) << "#!/bin/sh\n"
                                        "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"${0%/*}/"
                                     << record
                                     << "\"\n"
                                        "s=0; [ -f \"$0.status\" ] && read s < \"$0.status\"\n"
                                        "exit $s\n";
        fs::permissions(bin / program, fs::perms::owner_all);
    }

    std::vector<std::string> recordedArgv(const std::string& record = "argv") {
        return splitAtNul(test_support::readFile(bin / record));
    }

    // The run folders left in the staging folder.
    std::size_t stagedRuns() {
        std::error_code ec;
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(cache / "varnotel" / "mail", ec)) n += e.is_directory() ? 1 : 0;
        return n;
    }

    // Runs the built program with the stand-ins first on PATH (or PATH as given), and
    // `extra` environment; its exit status, stderr in `err`.
    int runProgram(const std::vector<std::string>& args, std::string& err, std::vector<std::string> extra = {},
                   std::string path = {}) {
        if (path.empty()) path = bin.string() + ":/usr/bin:/bin";
        std::vector<std::string> env = {"PATH=" + path, "XDG_CACHE_HOME=" + cache.string(), "HOME=" + root.string()};
        env.insert(env.end(), extra.begin(), extra.end());
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
        err = test_support::readFile(errFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(DesktopHandOver, EveryNameReachesTheMailClientAsOneAttachmentWithTheBytesAndNoShell) {
    const std::string bytes = std::string("slide\0bytes\n", 12);
    std::ofstream(work / "plorin 1.pptx", std::ios::binary) << bytes;
    for (const std::string& name : kAwkwardNames) {
        SCOPED_TRACE(name);
        std::string err;
        ASSERT_EQ(runProgram({name, name, (work / "plorin 1.pptx").string()}, err), 0) << err;
        EXPECT_TRUE(err.empty()) << err;

        auto argv = recordedArgv();
        ASSERT_EQ(argv.size(), 5u);
        EXPECT_EQ(argv[0], "--utf8");
        EXPECT_EQ(argv[1], "--subject");
        EXPECT_EQ(argv[2], name);  // the subject is URL-encoded on its way: it stays as typed
        EXPECT_EQ(argv[3], "--attach");
        const fs::path staged = argv[4];
        EXPECT_EQ(staged.filename().string(), platform::stagedAttachmentName(name));
        EXPECT_TRUE(carriedSafely(staged.filename().string()));
        EXPECT_EQ(staged.parent_path().parent_path(), cache / "varnotel" / "mail");
        EXPECT_EQ(test_support::readFile(staged), bytes);
        // What the mail client makes of xdg-email's command line: exactly this one file.
        EXPECT_EQ(composedAttachments(xdgEmailComposeArgument("s", staged.string())),
                  std::vector<std::string>{staged.string()});
    }
    EXPECT_EQ(fs::status(cache / "varnotel" / "mail").permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(work / "pwned"));
    EXPECT_FALSE(fs::exists(root / "pwned"));
    EXPECT_FALSE(fs::exists(fs::current_path() / "pwned"));
    // The stand-in reads a compose line as the mail client does: a quote in the path cuts it short.
    EXPECT_EQ(composedAttachments(xdgEmailComposeArgument("s", "/c/Bob's deck, final.pptx")),
              std::vector<std::string>{"/c/Bob"});
    EXPECT_EQ(composedAttachments(xdgEmailComposeArgument("s", "/c/a,b.pptx")),
              (std::vector<std::string>{"/c/a", "b.pptx"}));
    EXPECT_EQ(composedAttachments("to='a@example.org',attachment='/c/x.pptx'"), std::vector<std::string>{"/c/x.pptx"});
}

TEST_F(DesktopHandOver, FailuresAreReportedAndLeaveNoStagedCopy) {
    std::string err;
    EXPECT_EQ(runProgram({"s", "n.pptx", (work / "missing.pptx").string()}, err), 1);
    EXPECT_NE(err.find("Varnotel Mail: An error occurred attaching your file."), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(bin / "argv"));

    std::ofstream(work / "x.pptx") << "x";
    const std::pair<const char*, const char*> refusals[] = {
        {"5", "An error occurred attaching your file."},                   // the file cannot be read
        {"4", "An unexpected MAPI error occurred in Varnotel Mail (2)."},  // the mail client failed
        {"3", "No e-mail program is configured on this computer."},        // none to hand it to
    };
    for (const auto& [status, message] : refusals) {
        std::ofstream(bin / "xdg-email.status") << status;
        EXPECT_EQ(runProgram({"s", "n.pptx", (work / "x.pptx").string()}, err), 1);
        EXPECT_NE(err.find(message), std::string::npos) << status << ": " << err;
        EXPECT_EQ(stagedRuns(), 0u) << status;
    }
    // No xdg-email at all: nothing is staged.
    fs::remove(bin / "xdg-email");
    fs::remove_all(cache);
    EXPECT_EQ(runProgram({"s", "n.pptx", (work / "x.pptx").string()}, err, {}, bin.string()), 1);
    EXPECT_NE(err.find("No e-mail program is configured on this computer."), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(cache / "varnotel" / "mail"));

    EXPECT_EQ(runProgram({"s", "../n.pptx", (work / "x.pptx").string()}, err), 1);
    EXPECT_NE(err.find("An error occurred starting Varnotel Mail."), std::string::npos) << err;
}

TEST_F(DesktopHandOver, MessageBoxesGoToADialogThenANotificationThenStandardError) {
    std::ofstream(work / "x.pptx") << "x";
    std::ofstream(bin / "xdg-email.status") << "3";  // every stand-in exits 3: no mail program
    const std::string expected =
        "No e-mail program is configured on this computer.\n"
        "Please set up a default e-mail program and try again.";
    standIn("zenity", "zenity.argv");
    standIn("notify-send", "notify-send.argv");
    std::string err;
    // A display: the dialog tool shows the box; it waits for the user.
    EXPECT_EQ(runProgram({"s", "n.pptx", (work / "x.pptx").string()}, err, {"DISPLAY=:7"}), 1);
    EXPECT_EQ(recordedArgv("zenity.argv"),
              (std::vector<std::string>{"--error", "--no-markup", "--title=Varnotel Mail", "--text=" + expected}));
    EXPECT_TRUE(err.empty()) << err;
    EXPECT_FALSE(fs::exists(bin / "notify-send.argv"));

    // No display: a notification.
    fs::remove(bin / "zenity.argv");
    EXPECT_EQ(runProgram({"only one"}, err), 1);
    EXPECT_FALSE(fs::exists(bin / "zenity.argv"));
    auto notified = recordedArgv("notify-send.argv");
    ASSERT_EQ(notified.size(), 5u);
    EXPECT_EQ(notified[0], "--urgency=critical");
    EXPECT_EQ(notified[3], "Varnotel Mail");
    EXPECT_EQ(notified[4].rfind("An error occurred starting Varnotel Mail.\nPlease try again", 0), 0u);
    EXPECT_TRUE(err.empty()) << err;

    // A tool that cannot show it hands the box on; without any, standard error has it.
    std::ofstream(bin / "zenity.status") << "9";
    std::ofstream(bin / "notify-send.status") << "9";
    EXPECT_EQ(runProgram({"only one"}, err, {"DISPLAY=:7"}), 1);
    EXPECT_NE(err.find("Varnotel Mail: An error occurred starting Varnotel Mail.\nPlease try again"), std::string::npos)
        << err;
}

TEST_F(DesktopHandOver, LogonPurgesOldStagedCopiesAndKeepsYoungOnes) {
    const fs::path staging = root / "staging";
    fs::create_directories(staging / "run-old123");
    fs::create_directories(staging / "run-new123");
    fs::create_directories(staging / "keepme");
    std::ofstream(staging / "run-old123" / "a.pptx") << "a";
    fs::last_write_time(staging / "run-old123", fs::file_time_type::clock::now() - std::chrono::hours(48));

    platform::DesktopMailerOptions options{staging.string() + "/", (bin / "xdg-email").string()};
    auto mailer = platform::makeDesktopMailer(options);
    ASSERT_EQ(mailer->logon(), MailResult::ok);
    EXPECT_FALSE(fs::exists(staging / "run-old123"));
    EXPECT_TRUE(fs::exists(staging / "run-new123"));
    EXPECT_TRUE(fs::exists(staging / "keepme"));
    // Two messages with the same name in one run do not meet.
    std::ofstream(work / "x.pptx") << "one";
    EXPECT_EQ(mailer->compose({"s", (work / "x.pptx").string(), "same.pptx"}), MailResult::ok);
    fs::path first = recordedArgv().at(4);
    std::ofstream(work / "x.pptx") << "two";
    EXPECT_EQ(mailer->compose({"s", (work / "x.pptx").string(), "same.pptx"}), MailResult::ok);
    fs::path second = recordedArgv().at(4);
    EXPECT_NE(first, second);
    EXPECT_EQ(test_support::readFile(first), "one");
    EXPECT_EQ(test_support::readFile(second), "two");
    // xdg-email refuses an empty subject: the message simply has none.
    EXPECT_EQ(mailer->compose({"", (work / "x.pptx").string(), "n.pptx"}), MailResult::ok);
    EXPECT_EQ(recordedArgv().at(1), "--attach");
}

TEST_F(DesktopHandOver, AStagingFolderThatIsALinkIsRefused) {
    fs::create_directories(root / "elsewhere");
    fs::create_symlink(root / "elsewhere", root / "linked");
    auto mailer = platform::makeDesktopMailer({(root / "linked").string() + "/", (bin / "xdg-email").string()});
    EXPECT_EQ(mailer->logon(), MailResult::failed);
    EXPECT_EQ(mailer->compose({"s", "/tmp/x", "n.pptx"}), MailResult::failed);
}

// Where xdg-email is installed, the program runs against it, with a stand-in mail client
// that xdg-email takes for Thunderbird (its compose line is the one that quotes paths), and
// the client's command line is read the way the client reads it.
TEST_F(DesktopHandOver, TheInstalledXdgEmailGivesTheMailClientOneAttachment) {
    const std::string installed = platform::findInPath("xdg-email");
    if (installed.empty()) GTEST_SKIP() << "xdg-email is not installed";
    fs::remove(bin / "xdg-email");
    std::ofstream(bin / "xdg-mime") << "#!/bin/sh\necho thunderbird.desktop\n";
    standIn("thunderbird", "client.argv");
    fs::permissions(bin / "xdg-mime", fs::perms::owner_all);
    fs::create_directories(root / "data" / "applications");
    std::ofstream(root / "data" / "applications" / "thunderbird.desktop")
        << "[Desktop Entry]\nType=Application\nName=Mail\nExec=thunderbird %u\n";
    const std::string path = bin.string() + ":" + fs::path(installed).parent_path().string() + ":/usr/bin:/bin";

    const std::string bytes = "the extract";
    std::ofstream(work / "plorin 1.pptx", std::ios::binary) << bytes;
    for (const std::string& name : kAwkwardNames) {
        SCOPED_TRACE(name);
        std::string err;
        ASSERT_EQ(runProgram({name, name, (work / "plorin 1.pptx").string()}, err,
                             {"XDG_DATA_HOME=" + (root / "data").string(), "XDG_DATA_DIRS=" + (root / "data").string()},
                             path),
                  0)
            << err;
        auto argv = recordedArgv("client.argv");
        ASSERT_EQ(argv.size(), 2u);
        EXPECT_EQ(argv[0], "-compose");
        auto attachments = composedAttachments(argv[1]);
        ASSERT_EQ(attachments.size(), 1u) << argv[1];
        EXPECT_EQ(fs::path(attachments[0]).filename().string(), platform::stagedAttachmentName(name));
        EXPECT_EQ(test_support::readFile(attachments[0]), bytes);
        EXPECT_EQ(argv[1].find("to="), std::string::npos) << argv[1];
    }
}

}  // namespace
