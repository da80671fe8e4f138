#include "sim/simulator.h"

#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <vector>

#include "host/host.h"
#include "platform/services.h"
#include "platform/ui.h"

namespace sim {
namespace {

constexpr const char* kSettingsKey = "Software\\Varnotel\\Varnotel for presentations";

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

const std::map<std::string, int>& shapeNames() {
    static const std::map<std::string, int> names = {
        {"rectangle", host::msoShapeRectangle}, {"rounded", host::msoShapeRoundedRectangle},
        {"oval", host::msoShapeOval},           {"rightarrow", host::msoShapeRightArrow},
        {"leftarrow", host::msoShapeLeftArrow}, {"uparrow", host::msoShapeUpArrow},
        {"downarrow", host::msoShapeDownArrow}, {"pentagon", host::msoShapePentagon},
        {"chevron", host::msoShapeChevron},
    };
    return names;
}

std::string buttonsText(int style) {
    switch (style & 7) {
        case platform::vbOKCancel: return "OK/Cancel";
        case platform::vbYesNoCancel: return "Yes/No/Cancel";
        case platform::vbYesNo: return "Yes/No";
        case platform::vbRetryCancel: return "Retry/Cancel";
        case platform::vbAbortRetryIgnore: return "Abort/Retry/Ignore";
        default: return "OK";
    }
}

std::string iconText(int style) {
    switch (style & 0x70) {
        case platform::vbCritical: return "critical";
        case platform::vbQuestion: return "question";
        case platform::vbExclamation: return "exclamation";
        case platform::vbInformation: return "information";
        default: return "no icon";
    }
}

std::string answerText(int answer) {
    static const char* names[] = {"?", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
    return answer >= 1 && answer <= 7 ? names[answer] : "?";
}

int parseAnswer(const std::string& word) {
    static const std::map<std::string, int> answers = {
        {"ok", platform::vbOK}, {"cancel", platform::vbCancel}, {"abort", platform::vbAbort},
        {"retry", platform::vbRetry}, {"ignore", platform::vbIgnore}, {"yes", platform::vbYes},
        {"no", platform::vbNo}};
    auto it = answers.find(lower(word));
    if (it == answers.end()) throw std::runtime_error("unknown answer: " + word);
    return it->second;
}

// Shows every message box in the transcript; answers come from the scenario's queue, or
// from the person at the terminal.
class TranscriptDriver : public platform::ScriptedDriver {
public:
    TranscriptDriver(std::ostream& out, bool interactive) : out_(out), interactive_(interactive) {}

    int messageBox(const std::string& text, int style, const std::string& title) override {
        out_ << "  [message box] " << title << " (" << iconText(style) << ", " << buttonsText(style) << ")\n";
        std::istringstream lines(text);
        std::string l;
        while (std::getline(lines, l)) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            out_ << "    | " << l << "\n";
        }
        int answer = 0;
        if (!messageAnswers.empty()) {
            answer = messageAnswers.front();
            messageAnswers.pop_front();
        } else if (interactive_) {
            out_ << "    answer (" << buttonsText(style) << ")? " << std::flush;
            std::string reply;
            std::getline(std::cin, reply);
            answer = parseAnswer(reply.empty() ? "ok" : reply);
        } else {
            out_ << "    (no answer queued)\n";
            throw std::runtime_error("message box without a queued answer: " + title);
        }
        out_ << "    -> " << answerText(answer) << "\n";
        messages.push_back({text, style, title, answer});
        return answer;
    }

    // The add-in's error dialog, when the scenario has not said what to do with it: its text
    // goes into the transcript and it is closed without sending anything.
    void runModal(platform::Form& form) override {
        auto queued = [this](const std::string& key) {
            auto it = formActions.find(key);
            return it != formActions.end() && !it->second.empty();
        };
        const bool scripted = queued(form.name()) || queued("*") || onUnscriptedForm;
        if (form.name() != "ErrForm" || scripted) {
            platform::ScriptedDriver::runModal(form);
            return;
        }
        modalForms.push_back(form.name());
        out_ << "  [error dialog] " << form.get<platform::Label>("errDescription").Caption << "\n";
        platform::driver::click(form, "btnCancel");
    }

private:
    std::ostream& out_;
    bool interactive_;
};

}  // namespace

struct Simulator::Impl {
    Options options;
    std::ostream& out;
    TranscriptDriver driver;
    std::unique_ptr<host::Application> app;

    Impl(Options o, std::ostream& os) : options(std::move(o)), out(os), driver(os, options.interactive) {
        platform::setUiDriver(&driver);
    }
    ~Impl() {
        app.reset();
        platform::setUiDriver(nullptr);
    }

    void startHost(const std::string& version) {
        app.reset();
        app = std::make_unique<host::Application>(version);
        std::string reg = options.installFolder + "/program/addins.txt";
        int n = app->COMAddIns().loadRegistrations(reg);
        out << "host " << version << " started; " << n << " add-in(s) registered\n";
    }

    host::Application& host() {
        if (!app) startHost(options.hostVersion);
        return *app;
    }

    host::DocumentWindow& window() { return *host().ActiveWindow(); }

    std::shared_ptr<host::Slide> slide() {
        auto s = window().currentSlide();
        if (!s) throw std::runtime_error("no slide is shown");
        return s;
    }

    void printShapes() {
        auto s = slide();
        out << "  slide " << s->SlideIndex() << " (id " << s->SlideID() << "):\n";
        int i = 0;
        for (auto& sh : s->Shapes().all()) {
            ++i;
            out << "    " << i << ". " << (sh->Name().empty() ? "shape" : sh->Name()) << " type " << sh->Type()
                << "/" << sh->AutoShapeType() << " left " << fmt(sh->Left()) << " top " << fmt(sh->Top())
                << " width " << fmt(sh->Width()) << " height " << fmt(sh->Height()) << " rotation "
                << fmt(sh->Rotation()) << "\n";
        }
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

    bool execute(const std::string& rawLine);
};

bool Simulator::Impl::execute(const std::string& rawLine) {
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') return true;
    auto words = split(line);
    if (words.empty()) return true;
    std::string cmd = lower(words[0]);
    auto arg = [&](std::size_t i) -> const std::string& {
        if (i >= words.size()) throw std::runtime_error("'" + cmd + "' needs more arguments (see --help)");
        return words[i];
    };
    auto num = [&](std::size_t i) { return std::stof(arg(i)); };
    out << "> " << line.substr(first) << "\n";
    try {
        if (cmd == "echo") {
            out << "  " << line.substr(line.find("echo") + 4 + (line.size() > line.find("echo") + 4 ? 1 : 0)) << "\n";
        } else if (cmd == "host") {
            startHost(arg(1));
        } else if (cmd == "connect" || cmd == "disconnect") {
            std::string progId = words.size() > 1 ? words[1] : "plorin.Connect";
            host().COMAddIns().Item(progId).setConnect(cmd == "connect");
            out << "  " << progId << (cmd == "connect" ? " connected" : " disconnected") << "\n";
        } else if (cmd == "addins") {
            auto& list = host().COMAddIns();
            for (int i = 1; i <= list.Count(); ++i)
                out << "  " << list.Item(i).ProgId() << ": " << (list.Item(i).Connect() ? "connected" : "not connected")
                    << "\n";
        } else if (cmd == "new") {
            auto p = host().Presentations().Add(true);
            out << "  new presentation " << p->Name() << "\n";
        } else if (cmd == "open") {
            auto p = host().Presentations().Open(arg(1));
            out << "  opened " << p->FullName() << " with " << p->Slides().Count() << " slide(s)\n";
        } else if (cmd == "save") {
            auto p = host().ActivePresentation();
            if (words.size() > 1) p->SaveAs(words[1]);
            else p->Save();
            out << "  saved as " << p->FullName() << "\n";
        } else if (cmd == "close") {
            host().ActivePresentation()->Close();
            out << "  closed\n";
        } else if (cmd == "slide") {
            auto p = host().ActivePresentation();
            int layout = words.size() > 1 ? std::stoi(words[1]) : 12;
            auto s = p->Slides().Add(p->Slides().Count() + 1, layout);
            window().showSlide(s);
            out << "  slide " << s->SlideIndex() << " added (id " << s->SlideID() << ")\n";
        } else if (cmd == "shape") {
            std::string kind = lower(arg(1));
            auto it = shapeNames().find(kind);
            int type = it != shapeNames().end() ? it->second : std::stoi(kind);
            auto sh = slide()->Shapes().AddShape(type, num(2), num(3), num(4), num(5));
            if (words.size() > 6) sh->setRotation(num(6));
            out << "  shape " << slide()->Shapes().Count() << " added\n";
        } else if (cmd == "select") {
            std::string what = lower(arg(1));
            if (what == "none") {
                window().selectNone();
            } else if (what == "shapes") {
                std::vector<std::shared_ptr<host::Shape>> shapes;
                for (std::size_t i = 2; i < words.size(); ++i) shapes.push_back(slide()->Shapes().Item(std::stoi(words[i])));
                window().selectShapes(shapes);
            } else if (what == "slides") {
                std::vector<std::shared_ptr<host::Slide>> slides;
                auto p = host().ActivePresentation();
                for (std::size_t i = 2; i < words.size(); ++i) slides.push_back(p->Slides().Item(std::stoi(words[i])));
                window().selectSlides(slides);
            } else {
                throw std::runtime_error("select shapes|slides|none");
            }
            out << "  selection type " << window().Selection().Type() << "\n";
        } else if (cmd == "shapes") {
            printShapes();
        } else if (cmd == "tags") {
            auto p = host().ActivePresentation();
            for (auto& [n, v] : p->Tags().all()) out << "  " << n << " = \"" << v << "\"\n";
        } else if (cmd == "settings") {
            printSettings(platform::RootKey::CurrentUser, kSettingsKey, 0);
        } else if (cmd == "set") {
            std::string value = arg(2);
            platform::registryStore().setValue(platform::RootKey::CurrentUser, kSettingsKey, arg(1),
                                               {platform::REG_SZ, value + '\0'});
            out << "  " << words[1] << " = \"" << value << "\"\n";
        } else if (cmd == "answer") {
            for (std::size_t i = 1; i < words.size(); ++i) driver.messageAnswers.push_back(parseAnswer(words[i]));
        } else if (cmd == "wait") {
            platform::timerClock().advance(std::stoll(arg(1)));
        } else if (cmd == "macros") {
            for (auto& m : host().macrosRun()) out << "  " << m << "\n";
        } else {
            throw std::runtime_error("unknown command '" + words[0] + "' (see --help)");
        }
    } catch (const std::exception& e) {
        out << "  ERROR: " << e.what() << "\n";
        return false;
    }
    return true;
}

Simulator::Simulator(Options options, std::ostream& out) : impl_(std::make_unique<Impl>(std::move(options), out)) {}
Simulator::~Simulator() = default;

bool Simulator::execute(const std::string& line) { return impl_->execute(line); }

bool Simulator::run(std::istream& scenario) {
    std::string line;
    while (std::getline(scenario, line))
        if (!execute(line)) return false;
    return true;
}

const char* Simulator::help() {
    return "Commands (one per line; '#' starts a comment; quote words with blanks):\n"
           "  host VERSION                 start the host with that version (\"11.0\", \"14.0\", ...)\n"
           "  connect [PROGID]             connect an add-in (default plorin.Connect)\n"
           "  disconnect [PROGID]          disconnect it\n"
           "  addins                       list the COM add-ins\n"
           "  new                          a new presentation in a window\n"
           "  open PATH | save [PATH] | close\n"
           "  slide [LAYOUT]               add a slide at the end and show it\n"
           "  shape KIND L T W H [ROT]     add an AutoShape (rectangle, rounded, oval, chevron,\n"
           "                               pentagon, rightarrow, ... or a type number)\n"
           "  select shapes N... | select slides N... | select none\n"
           "  shapes                       print the shapes of the shown slide\n"
           "  tags                         print the presentation's tags\n"
           "  settings                     print the add-in's settings\n"
           "  set NAME VALUE               write a setting\n"
           "  answer ok|cancel|yes|no...   queue answers for the next message boxes\n"
           "  wait MS                      let time pass for the timers\n"
           "  macros                       list the macros the host ran\n"
           "  echo TEXT\n";
}

const char* builtInDemo() {
    return "# The add-in loads into a command-bar host and a ribbon host, and unloads again.\n"
           "host 11.0\n"
           "addins\n"
           "connect\n"
           "new\n"
           "slide\n"
           "shape rectangle 100 100 200 100\n"
           "shape chevron 350 100 120 80 45\n"
           "select shapes 1 2\n"
           "shapes\n"
           "disconnect\n"
           "host 14.0\n"
           "connect\n"
           "new\n"
           "slide\n"
           "shape rounded 50 60 300 150\n"
           "shapes\n"
           "settings\n"
           "disconnect\n"
           "addins\n";
}

}  // namespace sim
