// What the agenda dialog asks of the slide generator and the slide upkeep. Finding an
// item's slide is built; measuring, generating and the manual-change scan come with the
// generator, and until then they count their calls and change no slide.
#pragma once

#include <memory>
#include <string>

namespace host {
class Presentation;
class Slide;
}  // namespace host

namespace plorin {

class AgendaWizard;

// The slide that belongs to an agenda item: a short identifier (fewer than 36 characters) is
// the host's numeric slide id; a longer one is looked up in the slides' tag
// "plorin_slideID" (exact match). Nothing when none fits.
std::shared_ptr<host::Slide> findSlide(host::Presentation& presentation, const std::string& slideId);

// Measures the agenda's rows; the number of items the agenda shows.
int calculateMetrics(AgendaWizard& form);
// Creates, updates and removes the agenda slides (also those on the obsolete list).
void createAgendaSlides(AgendaWizard& form);
// 0 nothing changed by hand, 1 texts, 2 positions, 3 both.
int checkForManualChanges(AgendaWizard& form);

// Calls so far, and what the last generation was handed.
struct AgendaGeneratorCalls {
    int calculateMetrics = 0;
    int createAgendaSlides = 0;
    int checkForManualChanges = 0;
    std::string obsoleteSlides;  // the obsolete list at the last createAgendaSlides
    int manualChangesResult = 0;  // what checkForManualChanges answers
};
AgendaGeneratorCalls& agendaGeneratorCalls();

}  // namespace plorin
