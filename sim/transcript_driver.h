// The simulator's user: every message box and dialog goes into the transcript. Answers and
// dialog steps come from the scenario's queues, or from the person at the terminal when the
// simulator runs interactively; otherwise an unanswered box or dialog fails the scenario.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/pointer.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

namespace sim {

// One thing done to a dialog's control: "click NAME", "text NAME VALUE", "check NAME 0|1|2",
// "choose NAME INDEX|ITEM", "scroll NAME VALUE", "label TREE TEXT" (types the label of the
// node being edited, or of the selected one), or "show NAME" to print what it shows (a tree's
// nodes too). Without a control: "keys TEXT", "wait MS", "pointer X,Y" (the mouse pointer
// moves to that screen pixel), "button left|right" (pressed and released where the pointer is).
struct FormStep {
    std::string action;
    std::string control;
    std::string value;
};

// A message box answer by name: ok, cancel, abort, retry, ignore, yes, no (any case);
// std::runtime_error for another word.
int parseAnswer(const std::string& word);

// An RGB colour 0x00BBGGRR as "#RRGGBB".
std::string colourText(std::uint32_t rgb);

// Reads steps from words ("text tbLeft 1.5 click btnOK"); throws std::runtime_error naming
// what is wrong.
std::vector<FormStep> parseFormSteps(const std::vector<std::string>& words, std::size_t first);

class TranscriptDriver : public platform::ScriptedDriver {
public:
    TranscriptDriver(std::ostream& out, bool interactive);

    // Shows the box; answers from messageAnswers, else from the terminal, else fails.
    int messageBox(const std::string& text, int style, const std::string& title) override;
    // Works a modal dialog by its queued steps. The error dialog, unscripted, is shown and
    // closed without sending; another unscripted dialog is worked at the terminal or fails.
    void runModal(platform::Form& form) override;
    // A window shown beside the presentation (not modally): its labels go into the
    // transcript, and the steps queued for its name, if any, work it; without any it stays open.
    void formShown(platform::Form& form) override;

    // Queues one showing's worth of steps for the dialog of that name.
    void queueSteps(const std::string& formName, std::vector<FormStep> steps);

    // The mouse pointer the dialog steps move and click (installed as the platform's pointer
    // by the simulator).
    platform::ScriptedPointer pointer;

    // Set when a box or dialog had nobody to answer it; the scenario fails at the end of
    // the command. Reading it clears it.
    bool takeUnanswered();

private:
    void apply(platform::Form& form, const FormStep& step);
    void show(platform::Form& form, const std::string& controlName);
    void movePointer(const std::string& where);
    // Down and up: says whether each reached the dialog or the window below, or was swallowed.
    void pressButton(platform::Form& form, const std::string& which);
    void workAtTerminal(platform::Form& form);
    std::ostream& out_;
    bool interactive_;
    bool unanswered_ = false;
};

}  // namespace sim
