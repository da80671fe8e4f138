// The other end of the user interface, headless: message boxes, input boxes and file
// dialogs, and who works the modal forms. Whoever sits there (a test, the simulator, a person
// at a terminal) is a UiDriver: it answers message boxes and works modal forms.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Message box styles and answers, with the values the system's code has always used.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

class Form;

struct MessageBoxCall {
    std::string text;
    int style = 0;
    std::string title;
    int answer = 0;
};

// The other end of the user interface. A driver must answer every call; one that cannot
// (a test that queued nothing) throws, which the system sees as a failed call.
class UiDriver {
public:
    UiDriver() = default;
    UiDriver(const UiDriver&) = delete;
    UiDriver& operator=(const UiDriver&) = delete;
    virtual ~UiDriver() = default;

    virtual int messageBox(const std::string& text, int style, const std::string& title) = 0;
    // The typed text, or nothing for Cancel.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    // A chosen file path, or nothing for Cancel.
    virtual std::optional<std::string> fileDialog(const std::string& title, const std::string& initialPath) = 0;
    // Works a form shown modally: sets texts, clicks buttons, lets time pass. Returns when
    // the driver is done; the form should then be hidden or unloaded.
    virtual void runModal(Form& form) = 0;
    // A form shown modelessly or hidden; drivers may note it.
    virtual void formShown(Form&) {}
    // The host lets pending window messages run (a long task keeping its dialogs alive): a
    // driver may act on modeless forms now. Nothing by default.
    virtual void processEvents() {}
};

// A driver fed by a test or a scenario: answers are queued in advance; each modal form is
// worked by the next action queued for its name (or for any form, under the name "*").
class ScriptedDriver : public UiDriver {
public:
    std::deque<int> messageAnswers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::map<std::string, std::deque<std::function<void(Form&)>>> formActions;
    std::vector<MessageBoxCall> messages;  // every message box, with the answer given
    std::vector<std::string> inputPrompts;
    std::vector<std::string> fileDialogTitles;
    std::vector<std::string> modalForms;  // names of forms shown modally, in order
    // Asked when a queue is empty; without it the call throws.
    std::function<int(const MessageBoxCall&)> onUnansweredMessage;
    std::function<void(Form&)> onUnscriptedForm;
    // Called by processEvents, when set: what the user does while a long task runs.
    std::function<void()> onEvents;

    void queueForm(const std::string& formName, std::function<void(Form&)> action) {
        formActions[formName].push_back(std::move(action));
    }

    // Each pops its queue and records the call; with the queue empty (and no fallback
    // handler) it throws std::runtime_error naming the unanswered text.
    int messageBox(const std::string& text, int style, const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::optional<std::string> fileDialog(const std::string& title, const std::string& initialPath) override;
    // Records the name, then runs the next action for the form's name, else for "*", else
    // onUnscriptedForm; throws std::runtime_error when there is none of these.
    void runModal(Form& form) override;
    void processEvents() override {
        if (onEvents) onEvents();
    }
};

// The driver in use (a ScriptedDriver with empty queues until someone installs another).
UiDriver& uiDriver();
// nullptr restores the default; the caller keeps ownership. Returns the driver installed before.
UiDriver* setUiDriver(UiDriver* driver);

// Installs a driver for a scope (a test) and puts the previous one back afterwards.
class ScopedUiDriver {
public:
    explicit ScopedUiDriver(UiDriver& driver);
    ScopedUiDriver(const ScopedUiDriver&) = delete;
    ScopedUiDriver& operator=(const ScopedUiDriver&) = delete;
    ~ScopedUiDriver();

private:
    UiDriver* previous_;
};

// The system's entry points.
int MsgBox(const std::string& text, int style, const std::string& title);
std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& defaultText = {});
// Lets pending window messages run (the driver's processEvents).
void DoEvents();
// What runs each time a modal form has closed, when nobody waits on a click: the system
// writes what it keeps in memory then. One hook, none by default; it must not throw.
void setAfterModalForm(void (*hook)());

}  // namespace platform
