// One run of the agenda: the slides generated from it and the agenda stored in the
// presentation, as the dialog's OK and the upkeep (page numbers on save and print) start it;
// and what both read from a stored agenda. The upkeep runs without the dialog.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "agenda/agenda_generator.h"
#include "platform/ui_forms.h"
#include "platform/xml_dom.h"

namespace host {
class Presentation;
class Slide;
}  // namespace host

namespace plorin {

// The status window shown while a run goes.
class awStatus : public platform::Form {
public:
    awStatus();
    platform::Label lStatus{*this, "lStatus"};
    platform::ProgressBar progress{*this, "progress"};
};

// The subtitle field's text when the agenda's style has no subtitle box.
constexpr const char* kNoSubtitleText = "<not supported by your corporate layout>";

// The options an agenda holds on its element (flags 0, 1 or 2; 1 shows the column).
struct AgendaFields {
    int itemNumbers = 0, responsible = 0, timeSlots = 0, pageNumbers = 0;
    std::int64_t startMinutes = 0;
    std::string title, subtitle;
    bool hasSubtitle = false;  // the style has a subtitle box
};

// Parses the agenda from the text (path empty) or the file, mends it and reads its options.
// Nothing when it is not well-formed XML or holds no agenda; raises when an option or an item
// cannot be read. Both right-hand columns on show become page numbers only, in the document
// too.
std::unique_ptr<platform::DomDocument> readAgenda(const std::string& xml, const std::string& path,
                                                  AgendaFields& fields);

// The text of a leading XML declaration (with the blanks after it), kept so that the stored
// agenda goes back as it came.
std::string leadingDeclaration(const std::string& text);

// The position (from 0) among the styles of the one named, else of the first style; -1
// without styles.
int agendaStyleIndex(const std::string& wanted);

// The first selected slide of the active window (nothing when none can be had), and
// selecting it again after a run.
std::shared_ptr<host::Slide> firstSelectedSlide();
void selectSlideAgain(const std::shared_ptr<host::Slide>& slide);

// Tells the user when agenda slides were changed by hand: the next run overwrites that.
void warnOfManualChanges(host::Presentation& presentation);

// False, with a message, when the agenda needs more rows than a run draws; also when they
// could not be counted (reported as "AgendaWizard, OK").
bool agendaFitsOnSlides(const platform::DomDocument& agenda);

enum class AgendaRunEnd {
    measuringFailed,     // reported; nothing was touched
    done,                // slides made, agenda stored
    failedWhileDrawing,  // reported; the agenda was stored for the slides that exist
    failed,              // reported
};
// Measures, generates the slides and calls store, with the status window showing the
// progress. A failure is reported as "AgendaWizard, OK".
AgendaRunEnd runAgendaSlides(AgendaSlideOptions& options, AgendaMetrics& metrics, const std::function<void()>& store);

// Regenerates the slides of the active presentation's stored agenda without the dialog, as
// OK would after loading it: a stored agenda that cannot be read is told, one that has
// slides changed by hand gets the warning first. Nothing without a stored agenda.
void regenerateStoredAgenda();

}  // namespace plorin
