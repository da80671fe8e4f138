#include "sim/simulator.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "core/sha256.h"
#include "host/autoshape.h"
#include "host/command_bars.h"
#include "host/host.h"
#include "host/render.h"
#include "host/ribbon_host.h"
#include "host/table.h"
#include "host/text.h"
#include "host/timeline.h"
#include "loopback/update_server.h"
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/input.h"
#include "platform/picture.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "platform/ui_timers.h"
#include "sim/bar_view.h"
#include "sim/desktop.h"
#include "sim/ribbon_view.h"
#include "sim/survey_server.h"
#include "sim/transcript_driver.h"

namespace sim {
namespace {

constexpr const char* kSettingsKey = "Software\\Varnotel\\Varnotel for presentations";
// How the transcript shows a loopback server's address, whose port differs from run to run.
constexpr const char* kLoopbackShown = "127.0.0.1:PORT";

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> std::quoted(w)) words.push_back(w);
    return words;
}

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string fmt(float v) {
    std::ostringstream o;
    o.imbue(std::locale::classic());
    o << std::fixed << std::setprecision(2) << v;
    return o.str();
}

// A language id as printed: mixed when the characters differ.
std::string languageText(int language) { return language > 0 ? std::to_string(language) : "mixed"; }

bool isNumber(const std::string& s) {
    std::istringstream in(s);
    in.imbue(std::locale::classic());
    double d;
    return (in >> d) && in.eof();
}

// Shape kinds by name: AutoShapes (shape type 1 with an AutoShape type) and other shape types.
struct ShapeKind {
    int type;
    int autoShapeType;
};

const std::map<std::string, ShapeKind>& shapeKinds() {
    static const std::map<std::string, ShapeKind> kinds = {
        {"rectangle", {host::msoAutoShape, host::msoShapeRectangle}},
        {"rounded", {host::msoAutoShape, host::msoShapeRoundedRectangle}},
        {"oval", {host::msoAutoShape, host::msoShapeOval}},
        {"rightarrow", {host::msoAutoShape, host::msoShapeRightArrow}},
        {"leftarrow", {host::msoAutoShape, host::msoShapeLeftArrow}},
        {"uparrow", {host::msoAutoShape, host::msoShapeUpArrow}},
        {"downarrow", {host::msoAutoShape, host::msoShapeDownArrow}},
        {"pentagon", {host::msoAutoShape, host::msoShapePentagon}},
        {"chevron", {host::msoAutoShape, host::msoShapeChevron}},
        {"textbox", {host::msoTextBox, 1}},
        {"placeholder", {host::msoPlaceholder, 1}},
        {"picture", {host::msoPicture, 1}},
        {"line", {host::msoLine, 1}},
    };
    return kinds;
}

const std::map<std::string, int>& viewTypes() {
    static const std::map<std::string, int> views = {
        {"slide", host::ppViewSlide},     {"master", host::ppViewSlideMaster}, {"notes", host::ppViewNotesPage},
        {"outline", host::ppViewOutline}, {"sorter", host::ppViewSlideSorter}, {"normal", host::ppViewNormal},
    };
    return views;
}

// Words of a line as `split` finds them, but with backslashes left for `scenarioText`: only
// \" inside quotes is taken as a quote.
std::vector<std::string> rawWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i >= line.size()) break;
        std::string w;
        if (line[i] == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '"') ++i;
                w += line[i];
            }
            ++i;
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) w += line[i++];
        }
        words.push_back(w);
    }
    return words;
}

// Text with backslash escapes: each escaped character goes through `meaning`; a lone
// backslash at the end stays.
template <class F>
std::string unescaped(const std::string& raw, F meaning) {
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 >= raw.size()) {
            text += raw[i];
            continue;
        }
        text += meaning(raw[++i]);
    }
    return text;
}

// Scenario text: \r (or \n) ends a paragraph, \v breaks a line inside one, \\ is a backslash.
std::string scenarioText(const std::string& raw) {
    return unescaped(raw, [](char c) { return c == 'r' || c == 'n' ? '\r' : c == 'v' ? '\v' : c; });
}

// A file's text in a scenario: \n is a line feed, \r a carriage return, \t a tab, \\ a backslash.
std::string fileText(const std::string& raw) {
    return unescaped(raw, [](char c) { return c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c; });
}

// The same escapes back, for printing.
std::string visibleText(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\r' ? "\\r" : c == '\v' ? "\\v" : c == '\\' ? "\\\\" : std::string(1, c);
    return out;
}

std::string outcomeText(host::RibbonHost::Outcome o) {
    using O = host::RibbonHost::Outcome;
    switch (o) {
        case O::done: return "";
        case O::failed: return "the add-in's callback failed; the host shows nothing";
        case O::notFound: return "no such control";
        case O::hidden: return "the control is hidden: nothing happens";
        case O::disabled: return "the control is disabled: nothing happens";
        case O::notClickable: return "that control cannot be clicked";
        case O::badItem: return "no such item";
    }
    return "";
}

// The transcript's user, who also answers input boxes: from the scenario's queue ('input'),
// else at the terminal, else the scenario fails.
class SimulatorDriver : public TranscriptDriver {
public:
    SimulatorDriver(std::ostream& out, bool interactive)
        : TranscriptDriver(out, interactive), out_(out), interactive_(interactive) {}

    // OK with `typed` as the box's text; OK without it keeps the offered text.
    struct InputAnswer {
        bool ok;
        std::optional<std::string> typed;
    };
    std::deque<InputAnswer> inputQueue;

    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override {
        out_ << "  [input box] " << title << ": " << prompt << " (offers \"" << defaultText << "\")\n";
        std::optional<std::string> answer;
        if (!inputQueue.empty()) {
            const InputAnswer queued = inputQueue.front();
            inputQueue.pop_front();
            if (queued.ok) answer = queued.typed.value_or(defaultText);
        } else if (interactive_) {
            out_ << "    text (an empty line takes the offered text, end of input cancels)? " << std::flush;
            std::string line;
            if (std::getline(std::cin, line)) answer = line.empty() ? defaultText : line;
        } else {
            out_ << "    (no answer queued)\n";
            unansweredInput_ = true;
            throw std::runtime_error("input box without a queued answer: " + prompt);
        }
        out_ << "    -> " << (answer ? "OK \"" + *answer + "\"" : std::string("Cancel")) << "\n";
        inputPrompts.push_back(prompt);
        return answer;
    }

    std::optional<std::string> fileDialog(const std::string& title, const std::string& initialPath) override {
        out_ << "  [file dialog] " << title << " (starts in \"" << shown(initialPath) << "\")\n";
        auto answer = takeText(fileAnswers, "file", "file dialog without a queued answer: " + title);
        out_ << "    -> " << (answer ? "OK \"" + shown(*answer) + "\"" : std::string("Cancel")) << "\n";
        fileDialogTitles.push_back(title);
        return answer;
    }

    // Paths inside the sandbox are shown relative to it, so that transcripts stay the same.
    std::string sandbox;
    std::string shown(const std::string& path) const {
        if (!sandbox.empty() && path.rfind(sandbox + "/", 0) == 0) return path.substr(sandbox.size() + 1);
        return path;
    }

    // Runs before every modal dialog: the screen then shows the window as it stands (composed
    // when first read).
    std::function<void()> beforeDialog;
    void runModal(platform::Form& form) override {
        if (beforeDialog) beforeDialog();
        TranscriptDriver::runModal(form);
    }

    // Like takeUnanswered, for message boxes, dialogs and input boxes alike.
    bool takeAnyUnanswered() {
        const bool input = unansweredInput_;
        unansweredInput_ = false;
        return takeUnanswered() || input;
    }

private:
    // The next queued text, else one typed at the terminal (an empty line is Cancel), else
    // the scenario fails with `failure`.
    std::optional<std::string> takeText(std::deque<std::optional<std::string>>& queue, const char* asked,
                                        const std::string& failure) {
        std::optional<std::string> answer;
        if (!queue.empty()) {
            answer = queue.front();
            queue.pop_front();
        } else if (interactive_) {
            out_ << "    " << asked << " (an empty line cancels)? " << std::flush;
            std::string line;
            if (std::getline(std::cin, line) && !line.empty()) answer = line;
        } else {
            out_ << "    (no answer queued)\n";
            unansweredInput_ = true;
            throw std::runtime_error(failure);
        }
        return answer;
    }

    std::ostream& out_;
    bool interactive_;
    bool unansweredInput_ = false;
};

// One command line as its handler sees it: the command's name (lower case), its words
// (quotes taken off) and the line itself.
struct Call {
    std::string name;
    std::vector<std::string> words;
    std::string line;

    const std::string& arg(std::size_t i) const {
        if (i >= words.size()) throw std::runtime_error("'" + name + "' needs more arguments (see --help)");
        return words[i];
    }
    float num(std::size_t i) const { return std::stof(arg(i)); }
    // The line after the command's name, as it stands (quotes kept), without the blanks around it.
    std::string rest() const {
        const std::size_t nameEnd = line.find_first_of(" \t");
        if (nameEnd == std::string::npos) return "";
        const std::size_t from = line.find_first_not_of(" \t", nameEnd);
        if (from == std::string::npos) return "";
        return line.substr(from, line.find_last_not_of(" \t") + 1 - from);
    }
};

// Passes what the simulator prints on to the transcript a line at a time, with what differs
// from run to run (the loopback servers' ports) put in words, and keeps a copy, so that an
// expectation can look at what the command before it printed.
class RecordingBuffer : public std::streambuf {
public:
    explicit RecordingBuffer(std::ostream& target) : target_(target.rdbuf()) {}
    std::string recorded;
    // Each text found is shown as the one beside it.
    std::vector<std::pair<std::string, std::string>> replacements;

protected:
    int overflow(int c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        pending_ += static_cast<char>(c);
        if (c == '\n') passOn();
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, static_cast<std::size_t>(n));
        if (pending_.find('\n') != std::string::npos) passOn();
        return n;
    }
    // A flush passes on a line begun, too: a question at the terminal waits for its answer.
    int sync() override {
        passOn(true);
        return target_->pubsync();
    }

private:
    void passOn(bool all = false) {
        const std::size_t end = all ? pending_.size() : pending_.rfind('\n') + 1;
        std::string text = pending_.substr(0, end);
        pending_.erase(0, end);
        for (const auto& [found, shown] : replacements)
            for (std::size_t at = 0; (at = text.find(found, at)) != std::string::npos; at += shown.size())
                text.replace(at, found.size(), shown);
        recorded += text;
        target_->sputn(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::streambuf* target_;
    std::string pending_;
};

// The desktop's shell with GUIDs drawn from a seeded generator: the add-ins' new ids come out
// the same in every run of a scenario. What the add-ins ask the desktop to open (web pages,
// the help page, folders) is told in the transcript instead of opened.
class RepeatableShell : public platform::Shell {
public:
    explicit RepeatableShell(platform::Shell& desktop) : desktop_(desktop) {}
    std::function<void(const std::string&)> onOpen;
    int openDocument(const std::string& target) override {
        if (!onOpen) return desktop_.openDocument(target);
        onOpen(target);
        return 42;  // above 32: opened
    }
    bool startProcess(const std::string& program, const std::vector<std::string>& args) override {
        return desktop_.startProcess(program, args);
    }
    bool showHelp(const std::string& helpFile, std::int32_t contextId) override {
        return desktop_.showHelp(helpFile, contextId);
    }
    std::string tempFolder() override { return desktop_.tempFolder(); }
    std::string internetCacheFolder() override { return desktop_.internetCacheFolder(); }
    std::optional<std::array<std::uint8_t, 16>> newGuid() override {
        std::array<std::uint8_t, 16> guid{};
        for (auto& b : guid) b = static_cast<std::uint8_t>(engine_());
        guid[6] = static_cast<std::uint8_t>((guid[6] & 0x0F) | 0x40);  // version 4
        guid[8] = static_cast<std::uint8_t>((guid[8] & 0x3F) | 0x80);  // the RFC 4122 variant
        return guid;
    }
    std::uintptr_t createMutex(const std::string& name) override { return desktop_.createMutex(name); }
    void releaseMutex(std::uintptr_t handle) override { desktop_.releaseMutex(handle); }
    void closeHandle(std::uintptr_t handle) override { desktop_.closeHandle(handle); }

private:
    platform::Shell& desktop_;
    std::mt19937 engine_{20261209};
};

std::string pictureSize(const host::RibbonPicture& p) {
    if (!p || p->width <= 0) return "no picture";
    return "picture " + std::to_string(p->width) + "x" + std::to_string(p->height);
}

}  // namespace

struct Simulator::Impl {
    Options options;
    RecordingBuffer recorder;
    std::ostream out;  // the transcript, through the recorder
    SimulatorDriver driver;
    std::unique_ptr<host::Application> app;
    std::string sandbox;  // the copy of the installation the scenario runs from, if any
    // Environment variables the sandbox changed, with their values before (nothing: unset).
    std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment;
    std::unique_ptr<SurveyServer> surveyServer;            // the survey address on this machine, once asked for
    std::unique_ptr<loopback::UpdateServer> updateServer;  // a local update server, once asked for
    std::vector<loopback::UpdateServer::File> updateFiles;

    DesktopScreen screen{[this] { return app.get(); }};

    RepeatableShell shell{platform::shell()};
    platform::ScriptedInput keys;  // the keyboard: every key up until `helpmode on`
    // The registry file named now, not the one the process first used: every simulator in a
    // process (the tests run many) keeps its settings where its own environment says.
    std::unique_ptr<platform::RegistryStore> registry = platform::makeFileRegistry(platform::defaultRegistryPath());

    std::optional<platform::ScopedServices> services;

    Impl(Options o, std::ostream& os)
        : options(std::move(o)), recorder(os), out(&recorder), driver(out, options.interactive) {
        shell.onOpen = [this](std::string target) {
            // The installation (a sandbox's name changes from run to run) is shown by its role.
            std::string folder = options.installFolder;
            while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
            if (const auto at = target.find(folder); at != std::string::npos)
                target.replace(at, folder.size(), "<installation>");
            out << "  [shell] open " << target << "\n";
        };
        platform::Services own;
        own.registry = registry.get();
        own.shell = &shell;
        own.input = &keys;
        own.screen = &screen;
        own.pointer = &driver.pointer;
        own.ui = &driver;
        // Every run starts on the same day, so that dates the add-ins write repeat.
        own.today = std::chrono::sys_days(std::chrono::year(2026) / 12 / 9);
        services.emplace(std::move(own));
        driver.beforeDialog = [this] { screen.markStale(); };
    }
    ~Impl() {
        app.reset();
        out.flush();
        services.reset();  // the day a scenario named goes too
        surveyServer.reset();
        updateServer.reset();
        for (const auto& [name, value] : savedEnvironment) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
        if (!sandbox.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(sandbox, ec);
        }
    }

    // Copies the installation into a temporary folder and runs from there, so that what a
    // scenario writes into it (My Elements, thumbnails) goes when the simulator ends.
    void useSandbox() {
        if (app) throw std::runtime_error("'sandbox' must come before the host starts");
        if (!sandbox.empty()) return;
        // Beside the installation, not in the temporary folder: the add-in warns about
        // presentations saved there.
        std::filesystem::path install(options.installFolder);
        if (!install.has_filename()) install = install.parent_path();  // a trailing "/"
        std::string pattern = (install.parent_path() / "varnotel-sandbox-XXXXXX").string();
        const char* dir = mkdtemp(pattern.data());
        if (!dir) throw std::runtime_error("cannot make a folder beside " + install.string());
        sandbox = dir;
        std::filesystem::copy(options.installFolder, sandbox, std::filesystem::copy_options::recursive);
        options.installFolder = sandbox;
        // The copy may itself lie below the system's temporary folder (a build in /tmp), so the
        // host session gets a temporary folder of its own that holds no installation.
        const std::string temp = sandbox + "/temp";
        std::filesystem::create_directories(temp);
        changeEnvironment("TMPDIR", temp);
        // The mail program hands its messages to a recording stand-in for the desktop's mail
        // hand-over (which refuses them with the status in "xdg-email.status" beside it, as
        // `mailclient none` writes), shows its message boxes through recording stand-ins for
        // the desktop's dialog and notification tools, and keeps its staged copies in the
        // sandbox.
        std::filesystem::create_directories(sandbox + "/bin");
        std::filesystem::create_directories(sandbox + "/mail");
        const auto recorder = [&](const std::string& program, const std::string& kind, const std::string& refusal) {
            const std::string path = sandbox + "/bin/" + program;
            std::ofstream(path)
                << "#!/bin/sh\n"
                   "# Records the arguments, each ended by a NUL, as one "
                << kind << ".\n"
                << refusal
                << "f=\"$(dirname \"$0\")/../mail/$$\"\n"
                   "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$f.part\" && mv \"$f.part\" \"$f."
                << kind << "\"\n";
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        };
        recorder("xdg-email", "sent", "[ -f \"$0.status\" ] && exit \"$(cat \"$0.status\")\"\n");
        recorder("zenity", "box", "");
        recorder("notify-send", "box", "");
        const char* path = std::getenv("PATH");
        changeEnvironment("PATH", sandbox + "/bin" + (path ? std::string(":") + path : std::string()));
        changeEnvironment("XDG_CACHE_HOME", sandbox + "/cache");
        driver.sandbox = sandbox;
        out << "  running from a copy of the installation\n";
    }

    void changeEnvironment(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        savedEnvironment.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }

    // A relative path names a file in the sandbox, when there is one.
    std::string resolvePath(const std::string& path) const {
        return sandbox.empty() || path.empty() || path[0] == '/' ? path : sandbox + "/" + path;
    }

    // The messages the recording mail hand-over received and the message boxes the mail
    // program showed, oldest first; waits up to ten seconds for `expected` of them together,
    // since the add-in does not wait for the mail program.
    void printMails(std::size_t expected) {
        if (sandbox.empty()) throw std::runtime_error("'mails' needs the sandbox");
        namespace fs = std::filesystem;
        std::vector<fs::path> seen;
        for (int waited = 0;; waited += 50) {
            seen.clear();
            for (const auto& e : fs::directory_iterator(sandbox + "/mail"))
                if (e.path().extension() == ".sent" || e.path().extension() == ".box") seen.push_back(e.path());
            if (seen.size() >= expected || waited >= 10000) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        // The mail programs hold their extracts until they end: wait for that too, so that what
        // follows (a shut-down removing the extracts) meets them ended.
        const auto extractHeld = [&] {
            std::error_code ec;
            for (const auto& e : fs::recursive_directory_iterator(sandbox + "/temp", ec))
                if (e.is_regular_file() && platform::isFileHeld(e.path().string())) return true;
            return false;
        };
        for (int waited = 0; waited < 10000 && extractHeld(); waited += 50)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::sort(seen.begin(), seen.end(),
                  [](const fs::path& a, const fs::path& b) { return fs::last_write_time(a) < fs::last_write_time(b); });
        const auto messages =
            std::count_if(seen.begin(), seen.end(), [](const fs::path& p) { return p.extension() == ".sent"; });
        out << "  " << messages << " message(s) handed to the mail program\n";
        for (const auto& file : seen) {
            std::ifstream in(file, std::ios::binary);
            std::string raw((std::istreambuf_iterator<char>(in)), {});
            std::vector<std::string> args;
            for (std::size_t start = 0, end; (end = raw.find('\0', start)) != std::string::npos; start = end + 1)
                args.push_back(raw.substr(start, end - start));
            if (file.extension() == ".box") {
                printMailProgramBox(args);
                continue;
            }
            out << "    mail program arguments:";
            for (std::size_t i = 0; i < args.size(); ++i)
                out << " "
                    << (i + 1 == args.size() ? "\"" + fs::path(args[i]).filename().string() + "\" (staged)"
                                             : "\"" + args[i] + "\"");
            out << "\n";
            if (args.empty()) continue;
            auto attachment = host().Presentations().Open(args.back(), true, false, false);
            out << "    the attachment holds " << attachment->Slides().Count() << " slide(s):";
            for (const auto& slide : attachment->Slides().all()) out << " id " << slide->SlideID();
            out << "\n";
            attachment->Close();
        }
        if (seen.size() < expected) throw std::runtime_error("fewer messages than expected reached the mail program");
    }

    // A message box of the mail program, from the arguments of the dialog tool ("--title=",
    // "--text=") or of the notification tool (title and text last).
    void printMailProgramBox(const std::vector<std::string>& args) {
        std::string title, text;
        for (const auto& a : args) {
            if (a.rfind("--title=", 0) == 0) title = a.substr(8);
            if (a.rfind("--text=", 0) == 0) text = a.substr(7);
        }
        if (title.empty() && args.size() >= 2) {
            title = args[args.size() - 2];
            text = args.back();
        }
        out << "    [message box of the mail program] " << title << "\n";
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) out << "      | " << line << "\n";
    }

    // A gallery's items as the host shows them: index, label, picture.
    void printGallery(const std::string& id) {
        const auto* c = host().Ribbon().control(id);
        if (!c) throw std::runtime_error("the ribbon has no control " + id);
        if (c->kind != "gallery" && c->kind != "dropDown")
            throw std::runtime_error(id + " is a " + c->kind + ", not a gallery");
        out << "  " << describeControl(id) << ": " << c->items.size() << " item(s)\n";
        for (std::size_t i = 0; i < c->items.size(); ++i)
            out << "    " << i << ". " << c->items[i] << "  ("
                << pictureSize(i < c->itemImages.size() ? c->itemImages[i] : nullptr) << ")\n";
        for (const auto& f : c->failures) out << "    ! " << f << "\n";
    }

    void startHost(const std::string& version) {
        app.reset();
        app = std::make_unique<host::Application>(version);
        app->Ribbon().onLog = [this](const std::string& line) { out << "  [ribbon] " << line << "\n"; };
        std::string reg = options.installFolder + "/program/addins.txt";
        int n = app->COMAddIns().loadRegistrations(reg);
        out << "host " << version << " started; " << n << " add-in(s) registered"
            << (app->Ribbon().drawsRibbon() ? "; it draws a ribbon" : "; it shows command bars") << "\n";
    }

    host::Application& host() {
        if (!app) startHost(options.hostVersion);
        return *app;
    }

    host::DocumentWindow& window() { return *host().ActiveWindow(); }

    // Shape number `word` of the shown slide, with its text frame.
    std::shared_ptr<host::Shape> textShape(const std::string& word) {
        auto shape = slide()->Shapes().Item(std::stoi(word));
        if (shape->HasTextFrame() == host::msoFalse) throw std::runtime_error("shape " + word + " holds no text");
        return shape;
    }

    // Each paragraph with its level and first character's size, then as an indented outline.
    void printParagraphs(host::Shape& shape) {
        const host::TextRange all = shape.TextFrame().TextRange();
        const int count = all.Paragraphs().Count();
        if (count == 0) out << "  (no text)\n";
        for (int i = 1; i <= count; ++i) {
            const host::TextRange p = all.Paragraphs(i);
            std::string text = p.Text();
            if (!text.empty() && text.back() == '\r') text.pop_back();
            const int level = p.IndentLevel();
            out << "  " << i << ". level " << level << ", " << fmt(p.Characters(1, 1).Font().Size()) << " pt  |"
                << std::string(static_cast<std::size_t>(2 * level), ' ') << "- " << visibleText(text) << "\n";
        }
    }

    // The frame: its inner margins in points and centimetres, fit and wrap, and the language.
    void printFrame(const std::string& label, host::Shape& shape) {
        const host::TextFrame f = shape.TextFrame();
        auto side = [](float points) { return fmt(points) + " (" + fmt(static_cast<float>(points / 28.35)) + " cm)"; };
        out << "  " << label << ": margins left " << side(f.MarginLeft()) << " top " << side(f.MarginTop()) << " right "
            << side(f.MarginRight()) << " bottom " << side(f.MarginBottom()) << "\n"
            << "    fit shape to text " << (f.AutoSize() == host::ppAutoSizeShapeToFitText ? "on" : "off")
            << ", wrap text " << (f.WordWrap() == host::msoFalse ? "off" : "on") << ", language "
            << languageText(f.TextRange().LanguageID()) << "\n";
    }

    // The notes page of a slide: each shape's text and language.
    void printNotes(const std::shared_ptr<host::Slide>& s) {
        const auto page = s->NotesPage().Item(1);
        out << "  notes of slide " << s->SlideIndex() << ":\n";
        int i = 0;
        for (auto& sh : page->Shapes().all()) {
            ++i;
            if (sh->HasTextFrame() == host::msoFalse) continue;
            const host::TextRange text = sh->TextFrame().TextRange();
            out << "    " << i << ". \"" << visibleText(text.Text()) << "\" language "
                << languageText(text.LanguageID()) << "\n";
        }
    }

    void printRuler(host::Shape& shape) {
        const host::RulerLevels levels = shape.TextFrame().Ruler().Levels();
        for (int n = 1; n <= levels.Count(); ++n)
            out << "  level " << n << ": first " << fmt(levels.Item(n).FirstMargin()) << " left "
                << fmt(levels.Item(n).LeftMargin()) << "\n";
    }

    std::shared_ptr<host::Slide> slide() {
        auto s = window().currentSlide();
        if (!s) throw std::runtime_error("no slide is shown");
        return s;
    }

    std::shared_ptr<host::Slide> slideNumber(const std::string& word) {
        return host().ActivePresentation()->Slides().Item(std::stoi(word));
    }

    void printShapes(const std::shared_ptr<host::Slide>& s) {
        out << "  slide " << s->SlideIndex() << " (id " << s->SlideID() << "):";
        if (s->Background().BlackWhiteMode() != host::msoBlackWhiteAutomatic)
            out << " background black-and-white mode " << s->Background().BlackWhiteMode();
        out << "\n";
        printShapeList(*s);
    }

    // Every design with the shapes of its slide master and title master.
    void printMasters() {
        auto p = host().ActivePresentation();
        for (int d = 1; d <= p->Designs().Count(); ++d) {
            auto design = p->Designs().Item(d);
            out << "  design " << d << " \"" << design->Name() << "\" slide master:\n";
            printShapeList(*design->SlideMaster());
            if (design->HasTitleMaster() == host::msoTrue) {
                out << "  design " << d << " \"" << design->Name() << "\" title master:\n";
                printShapeList(*design->TitleMaster());
            }
        }
    }

    void printShapeList(host::Slide& slide) {
        int i = 0;
        for (auto& sh : slide.Shapes().all()) printShape(std::to_string(++i), *sh, 4);
    }

    // One shape on a line, then a group's members and a table's cells below it, indented.
    void printShape(const std::string& number, host::Shape& sh, std::size_t indent) {
        out << std::string(indent, ' ') << number << ". " << (sh.Name().empty() ? "shape" : sh.Name()) << " type "
            << sh.Type() << "/" << sh.AutoShapeType() << " left " << fmt(sh.Left()) << " top " << fmt(sh.Top())
            << " width " << fmt(sh.Width()) << " height " << fmt(sh.Height()) << " rotation " << fmt(sh.Rotation());
        if (sh.HasTextFrame() == host::msoTrue) {
            const std::string text = sh.TextFrame().TextRange().Text();
            if (!text.empty()) {
                out << " text \"" << visibleText(text) << "\" language "
                    << languageText(sh.TextFrame().TextRange().LanguageID());
            }
        }
        if (sh.Visible() == host::msoFalse) out << " hidden";
        if (sh.BlackWhiteMode() != host::msoBlackWhiteAutomatic) out << " black-and-white mode " << sh.BlackWhiteMode();
        for (auto& [name, value] : sh.Tags().all()) out << " tag " << name << "=\"" << value << "\"";
        if (sh.Fill().Visible() == host::msoTrue && sh.Type() != host::msoGroup)
            out << " fill " << colourText(sh.Fill().ForeColor().RGB());
        if (sh.HorizontalFlip() == host::msoTrue) out << " flipped horizontally";
        if (sh.VerticalFlip() == host::msoTrue) out << " flipped vertically";
        if (sh.HasTable() == host::msoTrue) {
            const host::Table table = sh.Table();
            out << " table " << table.Rows().Count() << "x" << table.Columns().Count() << "\n";
            for (int r = 1; r <= table.Rows().Count(); ++r)
                for (int c = 1; c <= table.Columns().Count(); ++c) {
                    const std::string text = table.Cell(r, c).Shape()->TextFrame().TextRange().Text();
                    if (!text.empty())
                        out << std::string(indent + 3, ' ') << "cell (" << r << ", " << c << ") \"" << visibleText(text)
                            << "\"\n";
                }
            return;
        }
        out << "\n";
        if (sh.Type() != host::msoGroup) return;
        int m = 0;
        const host::ShapeRange members = sh.GroupItems();
        for (const auto& member : members.all()) printShape(number + "." + std::to_string(++m), *member, indent + 3);
    }

    // Shape number `word` of the shown slide, or a group's member as "GROUP.MEMBER" ("3.2").
    std::shared_ptr<host::Shape> shapeNumbered(const std::string& word) {
        std::istringstream parts(word);
        std::string part;
        std::shared_ptr<host::Shape> shape;
        while (std::getline(parts, part, '.')) {
            if (!isNumber(part)) throw std::runtime_error("'" + word + "' is no shape number");
            shape = shape ? shape->GroupItems().Item(std::stoi(part)) : slide()->Shapes().Item(std::stoi(part));
        }
        if (!shape) throw std::runtime_error("'" + word + "' is no shape number");
        return shape;
    }

    void writeSetting(const std::string& name, const std::string& value) {
        if (!platform::registryStore().setValue(platform::RootKey::CurrentUser, kSettingsKey, name,
                                                {platform::REG_SZ, value + '\0'}))
            throw std::runtime_error("the setting " + name + " could not be written to the registry");
    }

    loopback::UpdateServer& localUpdateServer() {
        if (!updateServer) {
            updateServer = std::make_unique<loopback::UpdateServer>();
            recorder.replacements.emplace_back(updateServer->hostPort(), kLoopbackShown);
            writeSetting("webHost", updateServer->hostPort());
            out << "  update server listening on the loopback interface; webHost = \"" << updateServer->hostPort()
                << "\"\n";
        }
        return *updateServer;
    }

    void printSettings(platform::RootKey root, const std::string& key, int depth) {
        auto& store = platform::registryStore();
        for (auto& name : store.valueNames(root, key)) {
            auto v = store.queryValue(root, key, name);
            std::string text = v ? v->data : "";
            if (!text.empty() && text.back() == '\0') text.pop_back();
            out << "  " << std::string(depth * 2, ' ') << name << " = \"" << text << "\"\n";
        }
        for (auto& sub : store.subKeyNames(root, key)) {
            out << "  " << std::string(depth * 2, ' ') << "[" << sub << "]\n";
            printSettings(root, key + "\\" + sub, depth + 1);
        }
    }

    // A click, a choice or an opening, with what came of it. Only a control that is not there
    // fails the scenario; a disabled or hidden one just does nothing, as for a user.
    void report(const std::string& id, host::RibbonHost::Outcome outcome) {
        if (outcome == host::RibbonHost::Outcome::notFound) throw std::runtime_error("the ribbon has no control " + id);
        const std::string text = outcomeText(outcome);
        if (!text.empty()) out << "  " << id << ": " << text << "\n";
    }

    std::string describeControl(const std::string& id) {
        const auto* c = host().Ribbon().control(id);
        return c && !c->label.empty() ? id + " \"" + c->label + "\"" : id;
    }

    bool execute(const std::string& rawLine);

    // What the last command other than an expectation printed, and the command itself.
    std::string lastOutput;
    std::string lastCommand;
    int failedExpectations = 0;
    bool expectationFailed = false;  // the step just run was an expectation that failed
    void expectOutput(const Call& c, bool present);

    // The commands, one per row of the command table.
    void cmdEcho(const Call& c);
    void cmdHost(const Call& c);
    void cmdConnect(const Call& c);
    void cmdAddins(const Call& c);
    void cmdNew(const Call& c);
    void cmdOpen(const Call& c);
    void cmdSave(const Call& c);
    void cmdClose(const Call& c);
    void cmdSlide(const Call& c);
    void cmdMove(const Call& c);
    void cmdShow(const Call& c);
    void cmdShape(const Call& c);
    void cmdSelect(const Call& c);
    void cmdText(const Call& c);
    void cmdParagraphs(const Call& c);
    void cmdRuler(const Call& c);
    void cmdFrame(const Call& c);
    void cmdNotes(const Call& c);
    void cmdNotestext(const Call& c);
    void cmdView(const Call& c);
    void cmdPane(const Call& c);
    void cmdShapes(const Call& c);
    void cmdDesign(const Call& c);
    void cmdMaster(const Call& c);
    void cmdMasters(const Call& c);
    void cmdCopy(const Call& c);
    void cmdAnimations(const Call& c);
    void cmdColors(const Call& c);
    void cmdScreen(const Call& c);
    void cmdTags(const Call& c);
    void cmdTag(const Call& c);
    void cmdSettings(const Call& c);
    void cmdSet(const Call& c);
    void cmdToday(const Call& c);
    void cmdReadfile(const Call& c);
    void cmdServer(const Call& c);
    void cmdStartup(const Call& c);
    void cmdUpdateserver(const Call& c);
    void cmdUpdatefile(const Call& c);
    void cmdAnswer(const Call& c);
    void cmdForm(const Call& c);
    void cmdInput(const Call& c);
    void cmdFile(const Call& c);
    void cmdMails(const Call& c);
    void cmdMailclient(const Call& c);
    void cmdPresentations(const Call& c);
    void cmdSandbox(const Call& c);
    void cmdGallery(const Call& c);
    void cmdRibbon(const Call& c);
    void cmdBars(const Call& c);
    void cmdBarexport(const Call& c);
    void cmdBarclick(const Call& c);
    void cmdBarstyle(const Call& c);
    void cmdClick(const Call& c);
    void cmdChoose(const Call& c);
    void cmdMenu(const Call& c);
    void cmdExport(const Call& c);
    void cmdWait(const Call& c);
    void cmdHelpmode(const Call& c);
    void cmdMacros(const Call& c);
    void cmdAdjust(const Call& c);
    void cmdFreeform(const Call& c);
    void cmdNodes(const Call& c);
    // A dialog's steps written on lines of their own, up to a line "end".
    struct Block {
        std::string form;
        std::vector<FormStep> steps;
    };
    std::optional<Block> openBlock;
    bool continueBlock(const std::string& line);

    void cmdGroup(const Call& c);
    void cmdTable(const Call& c);
    void cmdFill(const Call& c);
    void cmdFlip(const Call& c);
    void cmdExpect(const Call& c) { expectOutput(c, true); }
    void cmdExpectNot(const Call& c) { expectOutput(c, false); }
};

namespace {

using Handler = void (Simulator::Impl::*)(const Call&);

// A command of the scenario language: its name, how it is written, what it does (for
// --help) and what runs it. A row without usage is another name of the row before it.
struct Command {
    const char* name;
    const char* usage;
    const char* help;
    Handler handler;
};

using I = Simulator::Impl;

const std::vector<Command>& commandTable() {
    static const std::vector<Command> table = {
        // The host and its add-ins.
        {"host", "host VERSION", "start the host with that version (\"11.0\", \"14.0\", ...)", &I::cmdHost},
        {"sandbox", "sandbox",
         "(before the host starts) run from a temporary copy of the installation: what the scenario adds "
         "there goes at the end",
         &I::cmdSandbox},
        {"connect", "connect [PROGID]", "connect an add-in (default plorin.Connect)", &I::cmdConnect},
        {"disconnect", "disconnect [PROGID]", "disconnect it", &I::cmdConnect},
        {"addins", "addins", "list the COM add-ins", &I::cmdAddins},
        {"startup", "startup",
         "the host's own start: connect every registered add-in, then tell each that the start is complete",
         &I::cmdStartup},
        {"macros", "macros", "list the macros the host ran", &I::cmdMacros},
        // Presentations and slides.
        {"new", "new", "a new presentation in a window", &I::cmdNew},
        {"open", "open PATH", "open a presentation (a relative PATH lies in the sandbox)", &I::cmdOpen},
        {"save", "save [PATH]", "save the active presentation, under PATH when given", &I::cmdSave},
        {"close", "close", "close the active presentation", &I::cmdClose},
        {"presentations", "presentations", "list the open presentations with their slide ids", &I::cmdPresentations},
        {"slide", "slide [LAYOUT]", "add a slide at the end and show it", &I::cmdSlide},
        {"move", "move N TO", "move slide N to position TO", &I::cmdMove},
        {"show", "show SLIDE", "show slide number SLIDE", &I::cmdShow},
        {"view", "view slide|normal|sorter|outline|notes|master|NUMBER", "switch the window's view", &I::cmdView},
        {"pane", "pane N",
         "make pane N of the view the active one (normal view: 1 thumbnails, 2 slide, 3 notes; slide master: "
         "1 thumbnails)",
         &I::cmdPane},
        {"design", "design NAME [title]", "add a design (with a title master)", &I::cmdDesign},
        {"master", "master DESIGN L T W H [TEXT]", "add a text box to that design's slide master", &I::cmdMaster},
        // Shapes and text.
        {"shape", "shape KIND L T W H [ROT] [TEXT]",
         "add a shape: rectangle, rounded, oval, chevron, pentagon, rightarrow, ... textbox, placeholder, "
         "picture, line, an AutoShape type number, or TYPE/AUTOSHAPETYPE",
         &I::cmdShape},
        {"group", "group SHAPE SHAPE...",
         "group those shapes of the shown slide into one (the group takes the "
         "topmost one's place); a group's members are numbered GROUP.MEMBER (\"3.2\") where a SHAPE is asked for",
         &I::cmdGroup},
        {"table", "table ROWS COLUMNS L T W H [TEXT]...",
         "add a table; the TEXTs go into its cells row by row (\\r ends a paragraph, as for text)", &I::cmdTable},
        {"fill", "fill SHAPE #RRGGBB|none", "fill a shape with that colour, or take its fill away", &I::cmdFill},
        {"flip", "flip SHAPE horizontal|vertical", "flip a shape (a second flip turns it back)", &I::cmdFlip},
        {"adjust", "adjust SHAPE [INDEX VALUE]...", "set adjustment values of a shape, then print them all",
         &I::cmdAdjust},
        {"freeform", "freeform X Y X Y ...", "add a freeform through the points (repeat the first to close it)",
         &I::cmdFreeform},
        {"nodes", "nodes SHAPE [INDEX X Y]...", "move nodes of a freeform, then print them all", &I::cmdNodes},
        {"select", "select shapes N... | slides N... | text SHAPE [START LENGTH] | none",
         "select; text positions count characters from 1, marks included", &I::cmdSelect},
        {"copy", "copy", "put the selected shapes on the clipboard", &I::cmdCopy},
        {"text", "text SHAPE TEXT [SIZE]",
         "put text into shape SHAPE of the shown slide: in TEXT \\r ends a paragraph, \\v breaks a line, "
         "\\\\ is a backslash; SIZE in points",
         &I::cmdText},
        {"notes", "notes [SLIDE [TEXT]]",
         "print the speaker notes of the shown (or that) slide; with TEXT set them first", &I::cmdNotes},
        {"notestext", "notestext START LENGTH", "select that text of the shown slide's notes, in the notes pane",
         &I::cmdNotestext},
        // What there is to see.
        {"shapes", "shapes [SLIDE]",
         "print the shapes of the shown (or that) slide, with their fills and flips, a group's members and a "
         "table's cells below it",
         &I::cmdShapes},
        {"masters", "masters", "print every design's slide and title master shapes", &I::cmdMasters},
        {"paragraphs", "paragraphs SHAPE", "print its paragraphs with their levels and sizes", &I::cmdParagraphs},
        {"ruler", "ruler SHAPE", "print the levels of its ruler", &I::cmdRuler},
        {"frame", "frame SHAPE",
         "print its margins, fit and wrap state and language (of each cell of a table, "
         "each member of a group)",
         &I::cmdFrame},
        {"animations", "animations",
         "list the current slide's effects and motion paths, and say whether the animation pane is shown",
         &I::cmdAnimations},
        {"colors", "colors", "list the active presentation's extra colours, oldest first", &I::cmdColors},
        {"tags", "tags", "print the presentation's tags", &I::cmdTags},
        {"tag", "tag NAME VALUE", "give the active presentation a tag, as a presentation made elsewhere may carry it",
         &I::cmdTag},
        {"settings", "settings", "print the add-in's settings", &I::cmdSettings},
        {"set", "set NAME VALUE", "write a setting", &I::cmdSet},
        {"export", "export SLIDE FILE.png [SCALE] [blackwhite]",
         "draw a slide into a PNG file, in its colours or as the black-and-white view shows it", &I::cmdExport},
        {"screen", "screen [FILE.png]",
         "show what the screen holds now (two monitors, the window with its slide on the primary one) and "
         "write it as PNG",
         &I::cmdScreen},
        // The ribbon and the command bars.
        {"ribbon", "ribbon [ID|LABEL]", "print the ribbon's controls and their state", &I::cmdRibbon},
        {"click", "click ID|LABEL", "click a ribbon control (a toggle button toggles)", &I::cmdClick},
        {"choose", "choose ID|LABEL INDEX|ITEM", "choose an item of a drop-down or gallery", &I::cmdChoose},
        {"menu", "menu ID|LABEL", "open a dynamic menu and print what it holds", &I::cmdMenu},
        {"gallery", "gallery ID|LABEL [FILE.png]",
         "list a gallery's items (open its menu first) with their pictures; with FILE, also write their pictures "
         "side by side into it as a contact sheet",
         &I::cmdGallery},
        {"bars", "bars [NAME]",
         "print the command bars (hosts 9.0-11.0) as a tree; \"icon 16x16 with mask\" marks a button's picture",
         &I::cmdBars},
        {"barexport", "barexport NAME FILE.png",
         "draw the command bar whose name holds NAME as the user sees it (each button's picture) into a PNG file",
         &I::cmdBarexport},
        {"barclick", "barclick TOOLID|CAPTION|PATH",
         "click a command-bar button; PATH is captions joined by \"/\" (\"Tools/Settings\", "
         "\"My Elements/Miscellaneous/Logo\"); \"bar\" is the same command",
         &I::cmdBarclick},
        {"bar", "", "", &I::cmdBarclick},
        {"barstyle", "barstyle INDEX|ITEM", "pick an item of the command bars' style drop-down (from 1)",
         &I::cmdBarstyle},
        // Answers for what the add-in will ask.
        {"answer", "answer ok|cancel|yes|no...", "queue answers for the next message boxes", &I::cmdAnswer},
        {"form", "form NAME STEP...",
         "queue the steps for the next showing of dialog NAME (\"form NAME\" alone: the steps follow on lines "
         "of their own, one or more a line, up to a line \"end\"): click CONTROL, text CONTROL VALUE, check "
         "CONTROL 0|1|2, choose CONTROL INDEX|ITEM, scroll CONTROL VALUE, show CONTROL, label TREE TEXT (edit "
         "the label of the chosen node), keys TEXT ({ENTER} and {ESC} press the default and the cancel button), wait "
         "MS, pointer X,Y (move the mouse pointer to that "
         "screen pixel), button left|right (press and release it there), export PICTUREBOX|DIALOG FILE.png (a "
         "picture, or what the dialog drew), tick LIST ROW, untick LIST ROW (a row's check box)",
         &I::cmdForm},
        {"input", "input ok [TEXT] | input cancel",
         "queue the answer for the next input box: OK with TEXT typed, OK on the offered text, or Cancel",
         &I::cmdInput},
        {"file", "file ok FILE | file cancel",
         "queue the answer for the next file dialog (a relative FILE lies in the sandbox, as for open and save)",
         &I::cmdFile},
        // The world around the add-in.
        {"today", "today YYYY-MM-DD",
         "fix the date the add-ins see (a scenario starts on 2026-12-09, at 09:00 for whatever tells the time)",
         &I::cmdToday},
        {"wait", "wait MS", "let time pass for the timers", &I::cmdWait},
        {"helpmode", "helpmode on|off",
         "hold Ctrl and Shift down (on) or let them up (off) and let the timers run: on a command-bar host "
         "a bar click then opens the button's help instead of its command",
         &I::cmdHelpmode},
        {"server", "server [REPLY] | server log",
         "start the survey server on this machine and point the setting webHost at it: it answers the ping "
         "with \"ping\" and a survey with REPLY (default \"success\"); \"server log\" prints what it received "
         "since the last log",
         &I::cmdServer},
        {"updateserver", "updateserver [REPLY]",
         "start an update server on the loopback interface and point the setting webHost at it; REPLY answers "
         "the version check; without REPLY print the requests it got",
         &I::cmdUpdateserver},
        {"updatefile", "updatefile PATH TEXT [tampered]",
         "add a file to the update the server offers, listed with its SHA-256; in TEXT \\n is a line feed, "
         "\\r a carriage return, \\t a tab; \"tampered\": the package carries it with its first byte altered",
         &I::cmdUpdatefile},
        {"mails", "mails [COUNT]",
         "(sandbox) print what the mail program handed over and the message boxes it showed, waiting for "
         "COUNT of them",
         &I::cmdMails},
        {"mailclient", "mailclient none|ready", "(sandbox) the desktop has no mail client set up, or has one again",
         &I::cmdMailclient},
        {"readfile", "readfile PATH",
         "print a text file (a relative PATH lies in the sandbox), a line at a time; \\r and \\t show as "
         "such, other control characters as \\xHH",
         &I::cmdReadfile},
        // The scenario itself.
        {"echo", "echo TEXT", "print TEXT", &I::cmdEcho},
        {"expect", "expect TEXT | expect /REGEX/",
         "check the output of the command before (expectations in between do not count): it must contain "
         "TEXT, taken as it stands to the end of the line, or match the ECMAScript regular expression REGEX "
         "(^ and $ match at every line)",
         &I::cmdExpect},
        {"expect-not", "expect-not TEXT | expect-not /REGEX/",
         "the same check, passing when the output does not contain TEXT (or match REGEX)", &I::cmdExpectNot},
    };
    return table;
}

const Command* findCommand(const std::string& name) {
    for (const auto& c : commandTable())
        if (c.name == name) return &c;
    return nullptr;
}

// Help text in lines of at most `width` characters, each continued line indented by `indent`.
void wrapHelp(std::ostream& out, const std::string& text, std::size_t column, std::size_t width) {
    std::istringstream words(text);
    std::string word;
    std::size_t at = column;
    bool first = true;
    while (words >> word) {
        if (!first && at + 1 + word.size() > width) {
            out << "\n" << std::string(column, ' ');
            at = column;
            first = true;
        }
        if (!first) {
            out << ' ';
            ++at;
        }
        out << word;
        at += word.size();
        first = false;
    }
    out << "\n";
}

}  // namespace

bool Simulator::Impl::execute(const std::string& rawLine) {
    expectationFailed = false;
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (openBlock) return continueBlock(line);
    auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') return true;
    std::vector<std::string> words;
    try {
        words = split(line);
    } catch (...) {
    }
    if (words.empty()) return true;
    out << "> " << line.substr(first) << "\n";
    Call call{lower(words[0]), words, line.substr(first)};
    const Command* command = findCommand(call.name);
    // An expectation looks at what the command before it printed; it prints only when it fails.
    const bool checks = command && (command->handler == &I::cmdExpect || command->handler == &I::cmdExpectNot);
    recorder.recorded.clear();
    bool ok = true;
    try {
        if (!command) throw std::runtime_error("unknown command '" + words[0] + "' (see --help)");
        (this->*(command->handler))(call);
    } catch (const std::exception& e) {
        out << "  ERROR: " << e.what() << "\n";
        driver.takeAnyUnanswered();
        ok = false;
    }
    if (ok && driver.takeAnyUnanswered()) {
        out << "  ERROR: a message box or dialog had no answer (queue one with 'answer', 'input' or 'form')\n";
        ok = false;
    }
    out.flush();
    if (!checks) {
        lastOutput = std::move(recorder.recorded);
        lastCommand = call.line;
    }
    recorder.recorded.clear();
    return ok && !expectationFailed;
}

void Simulator::Impl::expectOutput(const Call& c, bool present) {
    const std::string wanted = c.rest();
    if (wanted.empty()) throw std::runtime_error("'" + c.name + "' needs a text or a /pattern/ (see --help)");
    bool found = false;
    const bool pattern = wanted.size() >= 2 && wanted.front() == '/' && wanted.back() == '/';
    if (pattern) {
        std::regex re;
        try {
            re = std::regex(wanted.substr(1, wanted.size() - 2), std::regex::ECMAScript | std::regex::multiline);
        } catch (const std::regex_error& e) {
            throw std::runtime_error("the pattern " + wanted + " is not a regular expression: " + e.what());
        }
        found = std::regex_search(lastOutput, re);
    } else {
        found = lastOutput.find(wanted) != std::string::npos;
    }
    if (found == present) return;
    ++failedExpectations;
    expectationFailed = true;
    out << "  EXPECTATION FAILED: expected the output of \"" << lastCommand << "\" " << (present ? "to " : "not to ")
        << (pattern ? "match " + wanted : "contain \"" + wanted + "\"") << "\n"
        << "    it printed" << (lastOutput.empty() ? " nothing" : ":") << "\n";
    std::istringstream printed(lastOutput);
    for (std::string l; std::getline(printed, l);) out << "    |" << l << "\n";
}

void Simulator::Impl::cmdEcho(const Call& c) {
    out << "  " << (c.line.size() > 5 ? c.line.substr(5) : std::string()) << "\n";
}

void Simulator::Impl::cmdHost(const Call& c) { startHost(c.arg(1)); }

void Simulator::Impl::cmdConnect(const Call& c) {
    std::string progId = c.words.size() > 1 ? c.words[1] : "plorin.Connect";
    host().COMAddIns().Item(progId).setConnect(c.name == "connect");
    out << "  " << progId << (c.name == "connect" ? " connected" : " disconnected") << "\n";
    if (c.name == "connect")
        for (const auto& missing : host().Ribbon().missingCallbacks(progId))
            out << "  [ribbon] missing callback: " << missing << "\n";
}

void Simulator::Impl::cmdAddins(const Call&) {
    auto& list = host().COMAddIns();
    for (int i = 1; i <= list.Count(); ++i)
        out << "  " << list.Item(i).ProgId() << ": " << (list.Item(i).Connect() ? "connected" : "not connected")
            << "\n";
}

void Simulator::Impl::cmdNew(const Call&) {
    auto p = host().Presentations().Add(true);
    out << "  new presentation " << p->Name() << "\n";
}

void Simulator::Impl::cmdOpen(const Call& c) {
    auto p = host().Presentations().Open(resolvePath(c.arg(1)));
    out << "  opened " << driver.shown(p->FullName()) << " with " << p->Slides().Count() << " slide(s)\n";
}

void Simulator::Impl::cmdSave(const Call& c) {
    auto p = host().ActivePresentation();
    if (c.words.size() > 1) p->SaveAs(resolvePath(c.words[1]));
    else p->Save();
    out << "  saved as " << driver.shown(p->FullName()) << "\n";
}

void Simulator::Impl::cmdClose(const Call&) {
    host().ActivePresentation()->Close();
    out << "  closed\n";
}

void Simulator::Impl::cmdSlide(const Call& c) {
    auto p = host().ActivePresentation();
    int layout = c.words.size() > 1 ? std::stoi(c.words[1]) : 12;
    auto s = p->Slides().Add(p->Slides().Count() + 1, layout);
    window().showSlide(s);
    out << "  slide " << s->SlideIndex() << " added (id " << s->SlideID() << ")\n";
}

void Simulator::Impl::cmdMove(const Call& c) {
    auto s = slideNumber(c.arg(1));
    s->MoveTo(std::stoi(c.arg(2)));
    out << "  slide " << c.words[1] << " moved to " << s->SlideIndex() << "\n";
}

void Simulator::Impl::cmdShow(const Call& c) {
    window().showSlide(slideNumber(c.arg(1)));
    out << "  slide " << c.words[1] << " shown\n";
}

void Simulator::Impl::cmdShape(const Call& c) {
    std::string kind = lower(c.arg(1));
    auto it = shapeKinds().find(kind);
    ShapeKind k{host::msoAutoShape, 0};
    if (it != shapeKinds().end()) {
        k = it->second;
    } else if (auto slash = kind.find('/');
               slash != std::string::npos && isNumber(kind.substr(0, slash)) && isNumber(kind.substr(slash + 1))) {
        k = {std::stoi(kind.substr(0, slash)), std::stoi(kind.substr(slash + 1))};
    } else if (isNumber(kind)) {
        k.autoShapeType = std::stoi(kind);
    } else {
        std::string known;
        for (const auto& [name, _] : shapeKinds()) known += (known.empty() ? "" : ", ") + name;
        throw std::runtime_error("no shape kind is called '" + c.words[1] + "' (" + known +
                                 ", an AutoShape type number, or TYPE/AUTOSHAPETYPE)");
    }
    auto s = slide();
    auto sh = k.type == host::msoAutoShape
                  ? s->Shapes().AddShape(k.autoShapeType, c.num(2), c.num(3), c.num(4), c.num(5))
                  : s->Shapes().addOfType(k.type, k.autoShapeType, c.num(2), c.num(3), c.num(4), c.num(5));
    std::size_t next = 6;
    if (c.words.size() > next && isNumber(c.words[next])) sh->setRotation(c.num(next++));
    if (c.words.size() > next) sh->TextFrame().TextRange().setText(c.words[next]);
    out << "  shape " << s->Shapes().Count() << " added\n";
}

void Simulator::Impl::cmdSelect(const Call& c) {
    std::string what = lower(c.arg(1));
    if (what == "none") {
        window().selectNone();
    } else if (what == "shapes") {
        std::vector<std::shared_ptr<host::Shape>> shapes;
        for (std::size_t i = 2; i < c.words.size(); ++i)
            shapes.push_back(slide()->Shapes().Item(std::stoi(c.words[i])));
        window().selectShapes(shapes);
    } else if (what == "slides") {
        std::vector<std::shared_ptr<host::Slide>> slides;
        for (std::size_t i = 2; i < c.words.size(); ++i) slides.push_back(slideNumber(c.words[i]));
        window().selectSlides(slides);
    } else if (what == "text") {
        auto sh = slide()->Shapes().Item(std::stoi(c.arg(2)));
        const int start = c.words.size() > 3 ? std::stoi(c.words[3]) : 1;
        const int length = c.words.size() > 4 ? std::stoi(c.words[4]) : 1 << 30;
        window().selectText(sh, start, length);
    } else {
        throw std::runtime_error("select shapes N... | slides N... | text SHAPE [START LENGTH] | none");
    }
    out << "  selection type " << window().Selection().Type() << "\n";
}

void Simulator::Impl::cmdText(const Call& c) {
    const auto raw = rawWords(c.line);
    if (raw.size() < 3) throw std::runtime_error("'text' needs a shape and a text (see --help)");
    auto sh = textShape(raw[1]);
    host::TextRange all = sh->TextFrame().TextRange();
    all.setText(scenarioText(raw[2]));
    if (raw.size() > 3) all.Font().setSize(std::stof(raw[3]));
    out << "  shape " << raw[1] << " holds " << all.Paragraphs().Count() << " paragraph(s)\n";
}

void Simulator::Impl::cmdParagraphs(const Call& c) { printParagraphs(*textShape(c.arg(1))); }

void Simulator::Impl::cmdRuler(const Call& c) { printRuler(*textShape(c.arg(1))); }

void Simulator::Impl::cmdFrame(const Call& c) {
    auto shape = shapeNumbered(c.arg(1));
    if (shape->HasTable() == host::msoTrue) {
        const host::Table table = shape->Table();
        for (int r = 1; r <= table.Rows().Count(); ++r)
            for (int col = 1; col <= table.Columns().Count(); ++col)
                printFrame("shape " + c.words[1] + " cell (" + std::to_string(r) + ", " + std::to_string(col) + ")",
                           *table.Cell(r, col).Shape());
    } else if (shape->Type() == host::msoGroup) {
        int m = 0;
        const host::ShapeRange members = shape->GroupItems();
        for (const auto& member : members.all()) {
            ++m;
            if (member->HasTextFrame() == host::msoTrue)
                printFrame("shape " + c.words[1] + "." + std::to_string(m), *member);
        }
    } else if (shape->HasTextFrame() == host::msoTrue) {
        printFrame("shape " + c.words[1], *shape);
    } else {
        throw std::runtime_error("shape " + c.words[1] + " holds no text");
    }
}

void Simulator::Impl::cmdGroup(const Call& c) {
    std::vector<std::shared_ptr<host::Shape>> members;
    for (std::size_t i = 1; i < c.words.size(); ++i) members.push_back(slide()->Shapes().Item(std::stoi(c.words[i])));
    if (members.size() < 2) throw std::runtime_error("'group' needs two shapes or more (see --help)");
    const auto group = host::ShapeRange(members).Group();
    out << "  shape " << group->ZOrderPosition() << " is the group of " << members.size() << " shapes\n";
}

void Simulator::Impl::cmdTable(const Call& c) {
    const int rows = std::stoi(c.arg(1)), columns = std::stoi(c.arg(2));
    if (rows < 1 || columns < 1) throw std::runtime_error("a table needs a row and a column at least");
    if (c.words.size() > 7 + static_cast<std::size_t>(rows * columns))
        throw std::runtime_error("more cell texts than the table has cells");
    auto s = slide();
    auto shape = s->Shapes().AddTable(rows, columns, c.num(3), c.num(4), c.num(5), c.num(6));
    const host::Table table = shape->Table();
    const auto texts = rawWords(c.line);  // escapes kept for scenarioText
    for (std::size_t i = 7; i < texts.size(); ++i) {
        const int cell = static_cast<int>(i - 7);
        table.Cell(cell / columns + 1, cell % columns + 1)
            .Shape()
            ->TextFrame()
            .TextRange()
            .setText(scenarioText(texts[i]));
    }
    out << "  shape " << s->Shapes().Count() << " added: a table of " << rows << " x " << columns << "\n";
}

void Simulator::Impl::cmdFill(const Call& c) {
    auto shape = shapeNumbered(c.arg(1));
    const std::string colour = lower(c.arg(2));
    if (colour == "none") {
        shape->Fill().setVisible(host::msoFalse);
        out << "  shape " << c.words[1] << " has no fill\n";
        return;
    }
    unsigned rgb = 0;
    std::size_t used = 0;
    if (colour.size() == 7 && colour[0] == '#') rgb = static_cast<unsigned>(std::stoul(colour.substr(1), &used, 16));
    if (used != 6) throw std::runtime_error("fill SHAPE #RRGGBB|none");
    // #RRGGBB as the host keeps it, red in the lowest byte.
    shape->Fill().ForeColor().setRGB(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
    shape->Fill().setVisible(host::msoTrue);
    out << "  shape " << c.words[1] << " filled " << colourText(shape->Fill().ForeColor().RGB()) << "\n";
}

void Simulator::Impl::cmdFlip(const Call& c) {
    auto shape = shapeNumbered(c.arg(1));
    const std::string how = lower(c.arg(2));
    if (how != "horizontal" && how != "vertical") throw std::runtime_error("flip SHAPE horizontal|vertical");
    shape->Flip(how == "horizontal" ? 0 : 1);
    out << "  shape " << c.words[1] << " flipped " << how << "ly\n";
}

void Simulator::Impl::cmdNotes(const Call& c) {
    auto s = c.words.size() > 1 ? slideNumber(c.words[1]) : slide();
    if (c.words.size() > 2) {
        auto body = s->NotesPage().Item(1)->Shapes().Item(1);
        body->TextFrame().TextRange().setText(scenarioText(rawWords(c.line)[2]));
    }
    printNotes(s);
}

void Simulator::Impl::cmdNotestext(const Call& c) {
    // Text selected in the notes of the shown slide, the notes pane active.
    auto body = slide()->NotesPage().Item(1)->Shapes().Item(1);
    window().selectText(body, std::stoi(c.arg(1)), std::stoi(c.arg(2)));
    window().setViewType(host::ppViewNormal);
    window().Panes().Item(3).Activate();
    out << "  notes text " << c.words[1] << " to " << std::stoi(c.words[1]) + std::stoi(c.words[2]) - 1
        << " selected in the notes pane\n";
}

void Simulator::Impl::cmdView(const Call& c) {
    std::string v = lower(c.arg(1));
    auto it = viewTypes().find(v);
    window().setViewType(it != viewTypes().end() ? it->second : std::stoi(v));
    out << "  view " << window().ViewType() << "\n";
}

void Simulator::Impl::cmdPane(const Call& c) {
    host::Pane& pane = window().Panes().Item(std::stoi(c.arg(1)));
    pane.Activate();
    out << "  pane " << c.words[1] << " (view " << pane.ViewType() << ") active\n";
}

void Simulator::Impl::cmdShapes(const Call& c) { printShapes(c.words.size() > 1 ? slideNumber(c.words[1]) : slide()); }

void Simulator::Impl::cmdDesign(const Call& c) {
    auto p = host().ActivePresentation();
    auto design = p->Designs().Add(c.arg(1));
    if (c.words.size() > 2 && lower(c.words[2]) == "title") design->AddTitleMaster();
    out << "  design " << p->Designs().Count() << " added\n";
}

void Simulator::Impl::cmdMaster(const Call& c) {
    auto design = host().ActivePresentation()->Designs().Item(std::stoi(c.arg(1)));
    auto box = design->SlideMaster()->Shapes().AddTextbox(1, c.num(2), c.num(3), c.num(4), c.num(5));
    if (c.words.size() > 6) box->TextFrame().TextRange().setText(c.words[6]);
    out << "  master shape " << design->SlideMaster()->Shapes().Count() << " added\n";
}

void Simulator::Impl::cmdMasters(const Call&) { printMasters(); }

void Simulator::Impl::cmdCopy(const Call&) {
    const host::ShapeRange selected = window().Selection().ShapeRange();
    selected.Copy();
    out << "  " << selected.Count() << " shape(s) on the clipboard\n";
}

void Simulator::Impl::cmdAnimations(const Call&) {
    auto& sequence = slide()->TimeLine().MainSequence();
    for (int i = 1; i <= sequence.Count(); ++i) {
        auto effect = sequence.Item(i);
        out << "  " << i << ". " << effect->Shape()->Name() << " effect " << effect->EffectType();
        for (int b = 1; b <= effect->BehaviorCount(); ++b)
            out << " path \"" << effect->Behavior(b)->MotionEffect().Path << "\"";
        out << "\n";
    }
    const bool paneShown = host().CommandBars().Item("Custom Animation")->Visible();
    out << "  the animation pane is " << (paneShown ? "shown" : "hidden") << "\n";
}

void Simulator::Impl::cmdColors(const Call&) {
    const host::ExtraColors& extra = host().ActivePresentation()->ExtraColors();
    out << "  " << extra.Count() << " extra colour(s):";
    for (std::uint32_t rgb : extra.all()) out << " " << colourText(rgb);
    out << "\n";
}

void Simulator::Impl::cmdScreen(const Call& c) {
    screen.markStale();
    const platform::PixelRect all = screen.virtualScreen();
    out << "  virtual screen (" << all.left << ", " << all.top << ") to (" << all.right << ", " << all.bottom
        << "); primary monitor " << kPrimaryWidth << " x " << kPrimaryHeight << "; the slide shown at (" << kSlideLeft
        << ", " << kSlideTop << "), one pixel per point\n";
    if (c.words.size() > 1) {
        if (!platform::savePng(screen.composed().picture(), resolvePath(c.words[1])))
            throw std::runtime_error("cannot write " + c.words[1]);
        out << "  screen written to " << c.words[1] << "\n";
    }
}

void Simulator::Impl::cmdTags(const Call&) {
    auto p = host().ActivePresentation();
    for (auto& [n, v] : p->Tags().all()) out << "  " << n << " = \"" << v << "\"\n";
}

void Simulator::Impl::cmdTag(const Call& c) {
    host().ActivePresentation()->Tags().Add(c.arg(1), c.arg(2));
    out << "  tag " << c.arg(1) << " set (" << c.arg(2).size() << " characters)\n";
}

void Simulator::Impl::cmdSettings(const Call&) { printSettings(platform::RootKey::CurrentUser, kSettingsKey, 0); }

void Simulator::Impl::cmdSet(const Call& c) {
    std::string value = c.arg(2);
    writeSetting(c.arg(1), value);
    out << "  " << c.words[1] << " = \"" << value << "\"\n";
}

void Simulator::Impl::cmdToday(const Call& c) {
    std::istringstream in(c.arg(1));
    int y = 0;
    unsigned m = 0, d = 0;
    char dash1 = 0, dash2 = 0;
    in >> y >> dash1 >> m >> dash2 >> d;
    const std::chrono::year_month_day day{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
    if (!in || dash1 != '-' || dash2 != '-' || !day.ok()) throw std::runtime_error("today YYYY-MM-DD");
    platform::useToday(std::chrono::sys_days(day));
    out << "  today is " << c.words[1] << "\n";
}

void Simulator::Impl::cmdReadfile(const Call& c) {
    constexpr std::uintmax_t kMostShown = 64 * 1024;
    const std::string path = resolvePath(c.arg(1));
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) throw std::runtime_error("cannot read " + c.words[1] + ": " + ec.message());
    if (size > kMostShown)
        throw std::runtime_error(c.words[1] + " holds " + std::to_string(size) + " bytes, more than readfile shows");
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    out << "  " << c.words[1] << " (" << bytes.size() << " bytes):\n";
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        out << "    | ";
        for (const char ch : line) {
            const auto byte = static_cast<unsigned char>(ch);
            if (ch == '\r') out << "\\r";
            else if (ch == '\t') out << "\\t";
            else if (byte < 0x20 || byte == 0x7f)
                out << "\\x"
                    << "0123456789ABCDEF"[byte >> 4] << "0123456789ABCDEF"[byte & 15];
            else out << ch;
        }
        out << "\n";
    }
}

void Simulator::Impl::cmdServer(const Call& c) {
    if (c.words.size() > 1 && lower(c.words[1]) == "log") {
        const auto requests = surveyServer ? surveyServer->takeRequests() : std::vector<std::string>();
        if (requests.empty()) out << "  [server] nothing received\n";
        for (const auto& r : requests) out << "  [server] " << r << "\n";
    } else {
        if (!surveyServer) {
            surveyServer = std::make_unique<SurveyServer>();
            recorder.replacements.emplace_back(surveyServer->hostPort(), kLoopbackShown);
        }
        const std::string reply = c.words.size() > 1 ? c.words[1] : "success";
        surveyServer->setReply(reply);
        platform::registryStore().setValue(platform::RootKey::CurrentUser, kSettingsKey, "webHost",
                                           {platform::REG_SZ, surveyServer->hostPort() + '\0'});
        out << "  survey server listening (webHost set); it answers the ping and then \"" << reply << "\"\n";
    }
}

void Simulator::Impl::cmdStartup(const Call&) {
    const int started = host().COMAddIns().startUp();
    out << "  the host's start connected " << started << " add-in(s) and told them it is complete\n";
}

void Simulator::Impl::cmdUpdateserver(const Call& c) {
    auto& server = localUpdateServer();
    if (c.words.size() > 1) {
        server.setVersionReply(c.words[1]);
        out << "  it answers the check with \"" << c.words[1] << "\"\n";
    } else {
        for (const auto& request : server.requests()) out << "  " << request.requestLine << "\n";
    }
}

void Simulator::Impl::cmdUpdatefile(const Call& c) {
    const auto raw = rawWords(c.line);
    if (raw.size() < 3) throw std::runtime_error("'updatefile' needs a path and a text (see --help)");
    const bool tampered = raw.size() > 3 && raw[3] == "tampered";
    if (raw.size() > 3 && !tampered) throw std::runtime_error("'updatefile' knows only \"tampered\" after the text");
    updateFiles.push_back({raw[1], fileText(raw[2])});
    localUpdateServer().setFiles(updateFiles);
    if (tampered) localUpdateServer().tamper(raw[1]);
    out << "  the update holds " << updateFiles.size() << " file(s); " << raw[1] << " has "
        << updateFiles.back().bytes.size() << " byte(s), SHA-256 " << plorin::sha256Hex(updateFiles.back().bytes)
        << (tampered ? "; the package carries it altered" : "") << "\n";
}

void Simulator::Impl::cmdAnswer(const Call& c) {
    for (std::size_t i = 1; i < c.words.size(); ++i) driver.messageAnswers.push_back(parseAnswer(c.words[i]));
}

void Simulator::Impl::cmdForm(const Call& c) {
    if (c.words.size() == 2) {
        // The steps follow on lines of their own, up to "end".
        openBlock = Block{c.words[1], {}};
        return;
    }
    driver.queueSteps(c.arg(1), parseFormSteps(c.words, 2));
}

bool Simulator::Impl::continueBlock(const std::string& line) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') return true;
    const std::string step = line.substr(first);
    out << ">   " << step << "\n";
    if (lower(step) == "end") {
        if (openBlock->steps.empty()) {
            out << "  ERROR: a dialog needs at least one step\n";
            openBlock.reset();
            return false;
        }
        driver.queueSteps(openBlock->form, std::move(openBlock->steps));
        openBlock.reset();
        return true;
    }
    try {
        for (auto& parsed : parseFormSteps(split(step), 0)) openBlock->steps.push_back(std::move(parsed));
    } catch (const std::exception& e) {
        out << "  ERROR: " << e.what() << "\n";
        openBlock.reset();
        return false;
    }
    return true;
}

void Simulator::Impl::cmdInput(const Call& c) {
    const std::string how = lower(c.arg(1));
    if (how == "ok")
        driver.inputQueue.push_back({true, c.words.size() > 2 ? std::optional<std::string>(c.words[2]) : std::nullopt});
    else if (how == "cancel") driver.inputQueue.push_back({false, std::nullopt});
    else throw std::runtime_error("input ok [TEXT] | input cancel");
}

void Simulator::Impl::cmdFile(const Call& c) {
    const std::string how = lower(c.arg(1));
    if (how == "ok") driver.fileAnswers.emplace_back(resolvePath(c.arg(2)));
    else if (how == "cancel") driver.fileAnswers.emplace_back(std::nullopt);
    else throw std::runtime_error("file ok FILE | file cancel");
}

void Simulator::Impl::cmdMails(const Call& c) {
    printMails(c.words.size() > 1 ? static_cast<std::size_t>(std::stoul(c.words[1])) : 0);
}

void Simulator::Impl::cmdMailclient(const Call& c) {
    if (sandbox.empty()) throw std::runtime_error("'mailclient' needs the sandbox");
    const std::string status = sandbox + "/bin/xdg-email.status";
    const std::string how = lower(c.arg(1));
    if (how == "none") {
        std::ofstream(status) << "3\n";  // the desktop's "a required tool could not be found"
        out << "  no mail client is set up on the desktop\n";
    } else if (how == "ready") {
        std::filesystem::remove(status);
        out << "  the desktop's mail client is ready\n";
    } else {
        throw std::runtime_error("mailclient none | mailclient ready");
    }
}

void Simulator::Impl::cmdPresentations(const Call&) {
    for (const auto& p : host().Presentations().all()) {
        out << "  " << driver.shown(p->FullName()) << ": " << p->Slides().Count() << " slide(s):";
        for (const auto& slide : p->Slides().all()) out << " id " << slide->SlideID();
        out << "\n";
    }
}

void Simulator::Impl::cmdSandbox(const Call&) { useSandbox(); }

void Simulator::Impl::cmdGallery(const Call& c) {
    const std::string id = resolveControl(host().Ribbon(), c.arg(1));
    printGallery(id);
    if (c.words.size() < 3) return;
    // Four pictures a row, each in a cell of the largest one's size with a white margin.
    const auto& pictures = host().Ribbon().control(id)->itemImages;
    int cellWidth = 1, cellHeight = 1;
    for (const auto& p : pictures)
        if (p) cellWidth = std::max(cellWidth, p->width), cellHeight = std::max(cellHeight, p->height);
    constexpr int kColumns = 4, kMargin = 8;
    const int count = static_cast<int>(pictures.size());
    const int columns = std::clamp(count, 1, kColumns), rows = std::max(1, (count + kColumns - 1) / kColumns);
    platform::Canvas sheet(columns * (cellWidth + kMargin) + kMargin, rows * (cellHeight + kMargin) + kMargin);
    sheet.fill(0xFFFFFFFF);
    for (int i = 0; i < count; ++i)
        if (const auto& p = pictures[static_cast<std::size_t>(i)])
            sheet.drawPicture(*p, kMargin + (i % kColumns) * (cellWidth + kMargin),
                              kMargin + (i / kColumns) * (cellHeight + kMargin), p->width, p->height);
    const platform::Picture picture = sheet.toPicture();
    if (!platform::savePng(picture, resolvePath(c.words[2]))) throw std::runtime_error("cannot write " + c.words[2]);
    out << "  " << count << " picture(s) written to " << c.words[2] << " (" << picture.width << "x" << picture.height
        << ")\n";
}

void Simulator::Impl::cmdRibbon(const Call& c) {
    printRibbon(out, host().Ribbon(), c.words.size() > 1 ? c.words[1] : std::string());
}

void Simulator::Impl::cmdBars(const Call& c) {
    printBars(out, host().CommandBars(), c.words.size() > 1 ? c.words[1] : std::string());
}

void Simulator::Impl::cmdBarclick(const Call& c) {
    auto& bars = host().CommandBars();
    const auto button = resolveBarButton(bars, c.arg(1));
    out << "  click " << barPath(bars, *button) << "\n";
    if (!button->Enabled() || !button->Visible())
        out << "  the button is " << (button->Visible() ? "disabled" : "hidden") << ": nothing happens\n";
    else if (bars.click(*button) == 0)
        out << "  no click event serves the tag \"" << button->Tag() << "\": nothing happens\n";
}

void Simulator::Impl::cmdBarstyle(const Call& c) {
    const auto dropdown = barDropdown(host().CommandBars());
    int index = 0;
    if (isNumber(c.arg(1))) {
        index = std::stoi(c.words[1]);
    } else {
        for (int i = 1; i <= dropdown->ListCount(); ++i)
            if (lower(dropdown->List(i)) == lower(c.words[1])) index = i;
    }
    if (index < 1 || index > dropdown->ListCount())
        throw std::runtime_error("the drop-down has no item '" + c.words[1] + "'");
    out << "  choose item " << index << " \"" << dropdown->List(index) << "\" of the style drop-down\n";
    dropdown->userSelect(index);
}

void Simulator::Impl::cmdClick(const Call& c) {
    const std::string id = resolveControl(host().Ribbon(), c.arg(1));
    out << "  click " << describeControl(id) << "\n";
    report(id, host().Ribbon().click(id));
}

void Simulator::Impl::cmdChoose(const Call& c) {
    auto& ribbon = host().Ribbon();
    const std::string id = resolveControl(ribbon, c.arg(1));
    int index = -1;
    if (isNumber(c.arg(2))) {
        index = std::stoi(c.words[2]);
    } else if (const auto* control = ribbon.control(id)) {
        for (std::size_t i = 0; i < control->items.size(); ++i)
            if (lower(control->items[i]) == lower(c.words[2])) index = static_cast<int>(i);
    }
    out << "  choose item " << index << " of " << describeControl(id) << "\n";
    report(id, ribbon.choose(id, index));
}

void Simulator::Impl::cmdMenu(const Call& c) {
    auto& ribbon = host().Ribbon();
    const std::string id = resolveControl(ribbon, c.arg(1));
    auto outcome = ribbon.openMenu(id);
    report(id, outcome);
    if (outcome == host::RibbonHost::Outcome::done) printRibbon(out, ribbon, id);
}

void Simulator::Impl::cmdExport(const Call& c) {
    auto s = slideNumber(c.arg(1));
    double scale = 1.0;
    auto view = host::ColorView::color;
    for (std::size_t i = 3; i < c.words.size(); ++i) {
        if (lower(c.words[i]) == "blackwhite") view = host::ColorView::blackAndWhite;
        else scale = c.num(i);
    }
    const platform::Picture picture = host::renderSlide(*s, scale, view);
    if (!platform::savePng(picture, resolvePath(c.arg(2)))) throw std::runtime_error("cannot write " + c.words[2]);
    out << "  slide " << c.words[1] << (view == host::ColorView::blackAndWhite ? " in black and white" : "")
        << " written to " << c.words[2] << " (" << picture.width << "x" << picture.height << ")\n";
}

void Simulator::Impl::cmdBarexport(const Call& c) {
    const platform::Picture picture = sim::drawBar(host().CommandBars(), c.arg(1));
    if (!platform::savePng(picture, resolvePath(c.arg(2)))) throw std::runtime_error("cannot write " + c.words[2]);
    out << "  bar \"" << c.words[1] << "\" written to " << c.words[2] << " (" << picture.width << "x" << picture.height
        << ")\n";
}

void Simulator::Impl::cmdWait(const Call& c) { platform::timerClock().advance(std::stoll(c.arg(1))); }

void Simulator::Impl::cmdHelpmode(const Call& c) {
    const std::string how = c.arg(1);
    if (how == "on") {
        keys.press(platform::VK_CONTROL);
        keys.press(platform::VK_SHIFT);
    } else if (how == "off") {
        keys.release(platform::VK_CONTROL);
        keys.release(platform::VK_SHIFT);
    } else {
        throw std::runtime_error("helpmode on|off");
    }
    platform::timerClock().advance(100);
    out << "  Ctrl and Shift " << (how == "on" ? "held down" : "let up") << "\n";
}

void Simulator::Impl::cmdMacros(const Call&) {
    for (auto& m : host().macrosRun()) out << "  " << m << "\n";
}

void Simulator::Impl::cmdAdjust(const Call& c) {
    auto sh = slide()->Shapes().Item(std::stoi(c.arg(1)));
    for (std::size_t i = 2; i + 1 < c.words.size(); i += 2)
        sh->Adjustments().setItem(std::stoi(c.words[i]), c.num(i + 1));
    out << "  shape " << c.words[1] << " adjustments:";
    for (int i = 1; i <= sh->Adjustments().Count(); ++i) out << " " << fmt(sh->Adjustments().Item(i));
    out << "\n";
}

void Simulator::Impl::cmdFreeform(const Call& c) {
    std::vector<std::pair<float, float>> points;
    for (std::size_t i = 1; i + 1 < c.words.size(); i += 2) points.emplace_back(c.num(i), c.num(i + 1));
    slide()->Shapes().AddPolyline(points);
    out << "  shape " << slide()->Shapes().Count() << " added\n";
}

void Simulator::Impl::cmdNodes(const Call& c) {
    auto sh = slide()->Shapes().Item(std::stoi(c.arg(1)));
    for (std::size_t i = 2; i + 2 < c.words.size(); i += 3)
        sh->Nodes().SetPosition(std::stoi(c.words[i]), c.num(i + 1), c.num(i + 2));
    out << "  shape " << c.words[1] << " nodes:";
    for (int i = 1; i <= sh->Nodes().Count(); ++i) {
        const auto [x, y] = sh->Nodes().Item(i).Points();
        out << " (" << fmt(x) << ", " << fmt(y) << ")";
    }
    out << "\n";
}

Simulator::Simulator(Options options, std::ostream& out) : impl_(std::make_unique<Impl>(std::move(options), out)) {}
Simulator::~Simulator() = default;

bool Simulator::execute(const std::string& line) { return impl_->execute(line); }

bool Simulator::run(std::istream& scenario) {
    bool ok = true;
    std::string line;
    // A failed expectation changes nothing, so the scenario goes on and tells every one.
    while (std::getline(scenario, line)) {
        if (execute(line)) continue;
        if (!impl_->expectationFailed) return false;
        ok = false;
    }
    if (impl_->openBlock) {
        impl_->out << "  ERROR: the steps for dialog " << impl_->openBlock->form << " have no line \"end\"\n";
        return false;
    }
    if (impl_->failedExpectations > 0) impl_->out << impl_->failedExpectations << " expectation(s) failed\n";
    return ok;
}

std::string Simulator::help() {
    constexpr std::size_t kColumn = 31, kWidth = 100;
    std::ostringstream out;
    out << "Commands (one per line; '#' starts a comment; quote words with blanks):\n";
    for (const auto& c : commandTable()) {
        if (!*c.usage) continue;
        std::string usage = std::string("  ") + c.usage;
        if (usage.size() + 1 > kColumn) usage += "\n" + std::string(kColumn, ' ');
        else usage += std::string(kColumn - usage.size(), ' ');
        out << usage;
        wrapHelp(out, c.help, kColumn, kWidth);
    }
    out << "A failed expectation prints what was expected and what the command printed; the scenario goes\n"
           "on, and the simulator ends with status 1.\n"
           "A message box or dialog without a queued answer is asked at the terminal when the\n"
           "scenario comes from an interactive standard input, and fails the scenario otherwise.\n";
    return out.str();
}

std::string builtInDemo(const std::string& picturesFolder) {
    // Pictures go where the user can open them; the scenario quotes the paths.
    const auto picture = [&](const char* name) { return "\"" + picturesFolder + name + "\""; };
    return "# A short tour of Varnotel for presentations. It runs from a copy of the installation\n"
           "# (the sandbox), so nothing it adds stays; its pictures go to the pictures folder.\n"
           "sandbox\n"
           "echo == 1. The ribbon: the add-in's tab on a host that draws one\n"
           "host 14.0\n"
           "connect\n"
           "new\n"
           "slide\n"
           "choose vn_1025 \"Corporate Blue\"\n"
           "echo Nothing is selected yet: the shape commands wait for a selection.\n"
           "ribbon Align\n"
           "expect-not /Align top .*enabled/\n"
           "echo\n"
           "echo == 2. A deck tidied with the shape commands\n"
           "shape rounded 60 90 210 110 \"Plan\"\n"
           "shape rounded 300 130 170 150 \"Build\"\n"
           "shape rounded 500 105 190 90 \"Launch\"\n"
           "fill 2 #70AD47\n"
           "shape rightarrow 80 330 180 70\n"
           "flip 4 horizontal\n"
           "export 1 " +
           picture("tidy-before.png") +
           "\n"
           "echo Three boxes selected, the last one the master: same height, tops aligned, stacked.\n"
           "select shapes 1 2 3\n"
           "click \"Same height\"\n"
           "click \"Align top\"\n"
           "click \"Stack horizontally\"\n"
           "click \"Same corners\"\n"
           "shapes\n"
           "expect /1\\. AutoShape .* top 105\\.00 .*height 90\\.00/\n"
           "export 1 " +
           picture("tidy-after.png") +
           "\n"
           "echo The black-and-white view: white background, black outlines around white fills.\n"
           "select shapes 1 2 3 4\n"
           "form BlackWhiteMode choose cbBack White choose cbShapes \"Black with White Fill\" click btnOK\n"
           "answer ok\n"
           "click vn_1110\n"
           "export 1 " +
           picture("black-white.png") +
           " 1 blackwhite\n"
           "echo\n"
           "echo == 3. An agenda of four items, generated into agenda slides\n"
           "answer ok\n"
           "form AgendaWizard\n"
           "  text tbAgendaItem \"Welcome\" text tbDuration 10\n"
           "  click btnAddItem text tbAgendaItem \"Market review\" text tbResponsible Sales text tbDuration 45\n"
           "  click btnAddItem text tbAgendaItem \"Coffee break\" check cbBreak 1 text tbDuration 15\n"
           "  click btnAddItem text tbAgendaItem \"Next steps\" text tbDuration 20\n"
           "  check cbShowPageNumbers 1\n"
           "  click btnOK\n"
           "end\n"
           "click \"Agenda Wizard\"\n"
           "expect New agenda slides have been inserted at the end of the presentation.\n"
           "shapes 3\n"
           "expect Market review\n"
           "export 3 " +
           picture("agenda.png") +
           "\n"
           "echo\n"
           "echo == 4. The Slide Wizard: a gallery of ready-made slides, a thumbnail each\n"
           "slide\n"
           "menu vn_2001\n"
           "gallery slideWizard_1_1 " +
           picture("gallery.png") +
           "\n"
           "choose slideWizard_1_1 \"Four steps\"\n"
           "expect choose item\n"
           "disconnect\n"
           "echo\n"
           "echo == 5. The same add-in on host 11.0, which shows command bars instead of a ribbon\n"
           "host 11.0\n"
           "connect\n"
           "barexport \"Efficiency Tools\" " +
           picture("command-bar.png") +
           "\n"
           "new\n"
           "slide\n"
           "shape rectangle 60 80 200 100 \"Master\"\n"
           "shape rectangle 300 200 120 60 \"Follower\"\n"
           "echo A button of the Efficiency Tools bar aligns the follower to the master, selected last.\n"
           "select shapes 2 1\n"
           "barclick \"Align left to master left\"\n"
           "shapes\n"
           "expect /left 60\\.00 top 200\\.00 .*\"Follower\"/\n"
           "disconnect\n"
           "echo\n"
           "echo == 6. A check for updates against the local update server\n"
           "set autoUpdateProgramVersion 1.0.0.0\n"
           "set autoUpdateReminder 0\n"
           "updateserver \"programVersion:1.0.1.0;314573;customizationVersion:0;0;\"\n"
           "host 14.0\n"
           "startup\n"
           "echo A second after the start the update add-in asks the server and offers 1.0.1.0.\n"
           "form Install check obOptions(1) 1 click btnOK\n"
           "wait 1000\n"
           "expect Remind me tomorrow\n"
           "echo\n"
           "echo The pictures are in " +
           picturesFolder + "\n";
}

}  // namespace sim
