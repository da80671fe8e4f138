// Agenda upkeep that the save and print handlers ask for: updating the agenda's page
// numbers and regenerating the agenda slides, both through the agenda dialog's OK run
// without showing the dialog.
#pragma once

namespace plorin {

// Updates the page numbers on the agenda slides of the active presentation.
void agendaUpdatePagenumbers();

// Regenerates all agenda slides of the active presentation.
void regenerateAgendaSlides();

}  // namespace plorin
