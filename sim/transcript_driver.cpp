#include "sim/transcript_driver.h"

#include "platform/picture.h"
#include "platform/ui_timers.h"

#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace sim {

namespace {

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

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isNumber(const std::string& s) {
    if (s.empty()) return false;
    std::size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

// Whether the control and every frame around it are visible.
bool onScreen(const platform::Control& c) {
    for (const platform::Control* at = &c; at; at = at->Container)
        if (!at->Visible) return false;
    return true;
}

// What a control shows, for the terminal.
std::string describe(const platform::Control& c) {
    std::string d = std::string(c.kind()) + " " + c.name();
    if (auto* t = dynamic_cast<const platform::TextBox*>(&c)) d += " = \"" + t->Text() + "\"";
    else if (auto* l = dynamic_cast<const platform::ListControl*>(&c)) d += " = \"" + l->Text() + "\"";
    else if (auto* b = dynamic_cast<const platform::CheckBox*>(&c)) d += " = " + std::to_string(b->Value());
    else if (auto* o = dynamic_cast<const platform::OptionButton*>(&c)) d += o->Value() ? " (chosen)" : "";
    else if (auto* s = dynamic_cast<const platform::ScrollBar*>(&c)) d += " = " + std::to_string(s->Value());
    else if (auto* t = dynamic_cast<const platform::TreeView*>(&c))
        d += " (" + std::to_string(t->nodes.size()) + " nodes)";
    else if (auto* v = dynamic_cast<const platform::ListView*>(&c))
        d += " (" + std::to_string(v->listItems.size()) + " rows)";
    else if (auto* p = dynamic_cast<const platform::PictureBox*>(&c))
        d += p->picture ? " showing " + (p->picture->source.empty() ? std::string("a picture") : p->picture->source)
                        : " (no picture)";
    else if (auto* s = dynamic_cast<const platform::ShapeControl*>(&c))
        d += " = " + colourText(s->FillColor) + " at left " + std::to_string(s->Left);
    if (!c.Caption.empty()) d += " \"" + c.Caption + "\"";
    if (!c.Enabled) d += " (disabled)";
    if (!onScreen(c)) d += " (hidden)";
    return d;
}

}  // namespace

std::string colourText(std::uint32_t rgb) {
    std::ostringstream o;
    o << "#" << std::uppercase << std::hex << std::setfill('0') << std::setw(2) << (rgb & 0xFF) << std::setw(2)
      << ((rgb >> 8) & 0xFF) << std::setw(2) << ((rgb >> 16) & 0xFF);
    return o.str();
}

int parseAnswer(const std::string& word) {
    static const std::map<std::string, int> answers = {{"ok", platform::vbOK},         {"cancel", platform::vbCancel},
                                                       {"abort", platform::vbAbort},   {"retry", platform::vbRetry},
                                                       {"ignore", platform::vbIgnore}, {"yes", platform::vbYes},
                                                       {"no", platform::vbNo}};
    auto it = answers.find(lower(word));
    if (it == answers.end()) throw std::runtime_error("unknown answer: " + word);
    return it->second;
}

std::vector<FormStep> parseFormSteps(const std::vector<std::string>& words, std::size_t first) {
    std::vector<FormStep> steps;
    for (std::size_t i = first; i < words.size();) {
        FormStep step;
        step.action = lower(words[i]);
        const bool withValue = step.action == "text" || step.action == "check" || step.action == "choose" ||
                               step.action == "scroll" || step.action == "label" || step.action == "mousedown" ||
                               step.action == "export" || step.action == "tick" || step.action == "untick";
        if (step.action == "keys" || step.action == "wait" || step.action == "pointer" || step.action == "button") {
            // No control: the form itself gets the keys, time passes, or the mouse acts.
            if (i + 1 >= words.size()) throw std::runtime_error("dialog step '" + words[i] + "' needs a value");
            step.value = words[i + 1];
            i += 2;
            steps.push_back(std::move(step));
            continue;
        }
        if (!withValue && step.action != "click" && step.action != "show")
            throw std::runtime_error("unknown dialog step '" + words[i] +
                                     "' (click, text, check, choose, scroll, label, tick, untick, show, keys, wait, "
                                     "mousedown, export, pointer, button)");
        if (i + 1 >= words.size()) throw std::runtime_error("dialog step '" + words[i] + "' needs a control name");
        step.control = words[i + 1];
        i += 2;
        if (withValue) {
            if (i >= words.size())
                throw std::runtime_error("dialog step '" + step.action + " " + step.control + "' needs a value");
            step.value = words[i++];
        }
        steps.push_back(std::move(step));
    }
    if (steps.empty()) throw std::runtime_error("a dialog needs at least one step");
    return steps;
}

TranscriptDriver::TranscriptDriver(std::ostream& out, bool interactive) : out_(out), interactive_(interactive) {}

bool TranscriptDriver::takeUnanswered() {
    const bool was = unanswered_;
    unanswered_ = false;
    return was;
}

int TranscriptDriver::messageBox(const std::string& text, int style, const std::string& title) {
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
        for (;;) {
            out_ << "    answer (" << buttonsText(style) << ")? " << std::flush;
            std::string reply;
            if (!std::getline(std::cin, reply)) throw std::runtime_error("no answer for the message box " + title);
            try {
                answer = parseAnswer(reply.empty() ? "ok" : reply);
                break;
            } catch (const std::exception& e) {
                out_ << "    " << e.what() << "\n";
            }
        }
    } else {
        out_ << "    (no answer queued)\n";
        unanswered_ = true;
        throw std::runtime_error("message box without a queued answer: " + title);
    }
    out_ << "    -> " << answerText(answer) << "\n";
    messages.push_back({text, style, title, answer});
    return answer;
}

void TranscriptDriver::queueSteps(const std::string& formName, std::vector<FormStep> steps) {
    queueForm(formName, [this, steps = std::move(steps)](platform::Form& form) {
        for (const auto& step : steps) apply(form, step);
    });
}

void TranscriptDriver::apply(platform::Form& form, const FormStep& step) {
    out_ << "  [dialog " << form.name() << "] " << step.action << (step.control.empty() ? "" : " " + step.control);
    // The control's caption beside its name, as the user sees the control.
    if (const platform::Control* named = step.control.empty() ? nullptr : form.control(step.control);
        named && !named->Caption.empty())
        out_ << " \"" << named->Caption << "\"";
    if (!step.value.empty()) out_ << " " << step.value;
    // The line ends first: the step may show message boxes of its own.
    out_ << "\n";
    bool done = false;
    if (step.action == "show") return show(form, step.control);
    if (step.action == "keys") {
        // "{ENTER}" and "{ESC}" work the default and the cancel button.
        if (!platform::driver::typeKeys(form, step.value)) out_ << "    (ignored: the control is not available)\n";
        return;
    }
    if (step.action == "wait") return platform::timerClock().advance(std::stoll(step.value));
    if (step.action == "pointer") return movePointer(step.value);
    if (step.action == "button") return pressButton(form, step.value);
    if (step.action == "export") {
        // "export PICTUREBOX FILE": the picture it shows, as PNG; "export FORM FILE": what the
        // form drew on itself.
        const auto picture =
            step.control == form.name() ? form.drawing() : form.get<platform::PictureBox>(step.control).picture;
        if (!picture || !platform::savePng(*picture, step.value))
            throw std::runtime_error("cannot write " + step.value);
        out_ << "    " << step.control << " written to " << step.value << " (" << picture->width << "x"
             << picture->height << ")\n";
        return;
    }
    if (step.action == "mousedown") {
        // "mousedown CONTROL X,Y": the left button at that pixel.
        const auto comma = step.value.find(',');
        if (comma == std::string::npos) throw std::runtime_error("mousedown needs X,Y");
        const platform::Control* c = form.control(step.control);
        if (!c) throw std::runtime_error("form " + form.name() + " has no control " + step.control);
        if (c->interactive() && c->onMouseDown)
            c->onMouseDown(1, 0, std::stoi(step.value.substr(0, comma)), std::stoi(step.value.substr(comma + 1)));
        else out_ << "    (ignored: the control is not available)\n";
        return;
    }
    if (step.action == "click") done = platform::driver::click(form, step.control);
    else if (step.action == "text") done = platform::driver::setText(form, step.control, step.value);
    else if (step.action == "check") done = platform::driver::check(form, step.control, std::stoi(step.value));
    else if (step.action == "label") done = platform::driver::editLabel(form, step.control, step.value);
    else if (step.action == "scroll") done = platform::driver::scroll(form, step.control, std::stoi(step.value));
    else if (step.action == "tick" || step.action == "untick")
        done = platform::driver::checkItem(form, step.control, step.value, step.action == "tick");
    else if (step.action == "choose")
        done = isNumber(step.value) ? platform::driver::choose(form, step.control, std::stoi(step.value))
                                    : platform::driver::choose(form, step.control, step.value);
    if (!done) out_ << "    (ignored: the control is not available)\n";
}

void TranscriptDriver::movePointer(const std::string& where) {
    const auto comma = where.find(',');
    if (comma == std::string::npos) throw std::runtime_error("pointer needs X,Y");
    const int x = std::stoi(where.substr(0, comma)), y = std::stoi(where.substr(comma + 1));
    if (!pointer.moveTo(x, y)) out_ << "    (a hook kept the pointer where it was)\n";
}

void TranscriptDriver::pressButton(platform::Form& form, const std::string& which) {
    const std::string name = lower(which);
    if (name != "left" && name != "right") throw std::runtime_error("button left|right");
    const bool left = name == "left";
    const platform::ScreenPoint at = pointer.cursorPos();
    const bool down = pointer.button(left ? platform::WM_LBUTTONDOWN : platform::WM_RBUTTONDOWN);
    const bool up = pointer.button(left ? platform::WM_LBUTTONUP : platform::WM_RBUTTONUP);
    const std::string below = form.windowRect.contains(at.x, at.y) ? "the dialog" : "the window below";
    out_ << "    at (" << at.x << ", " << at.y << "): press "
         << (down ? "reached " + below : std::string("swallowed by a hook")) << ", release "
         << (up ? "reached " + below : std::string("swallowed by a hook")) << "\n";
}

void TranscriptDriver::show(platform::Form& form, const std::string& controlName) {
    const platform::Control* c = form.control(controlName);
    if (!c) throw std::runtime_error("form " + form.name() + " has no control " + controlName);
    out_ << "    " << describe(*c) << "\n";
    // A tree shows its nodes as they stand, children indented under their parents.
    if (auto* tree = dynamic_cast<const platform::TreeView*>(c)) {
        for (std::size_t i = 0; i < tree->nodes.size(); ++i) {
            const auto& node = tree->nodes[i];
            out_ << "      " << (static_cast<int>(i) == tree->selectedIndex ? "> " : "  ")
                 << (node.parentKey.empty() ? "" : "    ") << node.text
                 << (static_cast<int>(i) == tree->editingIndex() ? "   (label being edited)" : "") << "\n";
        }
    }
    // A list view shows its rows, with their check boxes when it has them.
    if (auto* view = dynamic_cast<const platform::ListView*>(c)) {
        for (const auto& row : view->listItems)
            out_ << "      " << (view->Checkboxes ? (row.checked ? "[x] " : "[ ] ") : "") << row.text << "\n";
    }
}

void TranscriptDriver::runModal(platform::Form& form) {
    auto queued = [this](const std::string& key) {
        auto it = formActions.find(key);
        return it != formActions.end() && !it->second.empty();
    };
    out_ << "  [dialog " << form.name() << "]" << (form.Caption.empty() ? "" : " \"" + form.Caption + "\"")
         << " opens\n";
    if (queued(form.name()) || queued("*") || onUnscriptedForm) {
        platform::ScriptedDriver::runModal(form);
        return;
    }
    if (form.name() == "ErrForm") {
        // The error dialog, when the scenario has not said what to do with it: its text goes
        // into the transcript and it is closed without sending anything.
        modalForms.push_back(form.name());
        out_ << "  [error dialog] " << form.get<platform::Label>("errDescription").Caption << "\n";
        platform::driver::click(form, "btnCancel");
        return;
    }
    modalForms.push_back(form.name());
    if (interactive_) return workAtTerminal(form);
    out_ << "    (no steps queued for " << form.name() << ")\n";
    unanswered_ = true;
    throw std::runtime_error("dialog without queued steps: " + form.name());
}

void TranscriptDriver::formShown(platform::Form& form) {
    if (!form.loaded() || !form.Visible()) return;  // hidden or unloaded: nothing to show or work
    out_ << "  [window " << form.name() << "]" << (form.Caption.empty() ? "" : " \"" + form.Caption + "\"")
         << " opens beside the presentation\n";
    for (auto* c : form.controls())
        if (c->Visible && std::string(c->kind()) == "Label") out_ << "    " << describe(*c) << "\n";
    auto it = formActions.find(form.name());
    if (it == formActions.end() || it->second.empty()) return;
    auto action = std::move(it->second.front());
    it->second.pop_front();
    action(form);
}

void TranscriptDriver::workAtTerminal(platform::Form& form) {
    for (auto* c : form.controls())
        if (onScreen(*c) && std::string(c->kind()) != "Timer") out_ << "    " << describe(*c) << "\n";
    out_ << "    steps (click NAME, text NAME VALUE, check NAME N, choose NAME ITEM, scroll NAME N,\n"
            "    label TREE TEXT, tick LIST ROW, untick LIST ROW; an empty line leaves the dialog):\n";
    while (form.loaded() && form.Visible()) {
        out_ << "    > " << std::flush;
        std::string line;
        if (!std::getline(std::cin, line) || line.empty()) return;
        std::istringstream in(line);
        std::vector<std::string> words;
        std::string w;
        while (in >> std::quoted(w)) words.push_back(w);
        try {
            for (const auto& step : parseFormSteps(words, 0)) apply(form, step);
        } catch (const std::exception& e) {
            out_ << "    " << e.what() << "\n";
        }
    }
}

}  // namespace sim
