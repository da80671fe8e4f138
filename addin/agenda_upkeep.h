// Agenda upkeep that the save and print handlers and the ribbon ask for: updating the
// agenda's page numbers by regenerating the agenda slides from the stored agenda, without
// the agenda dialog.
#pragma once

namespace plorin {

// The agenda commands work on the active window's presentation: without one they say so,
// as the agenda dialog does, and give false.
bool havePresentationWindow();

// Updates the page numbers on the agenda slides of the active presentation (the command
// "agendaUpdatePagenumbers"). Without a stored agenda the user is told there is none.
void agendaUpdatePagenumbers();

// Regenerates all agenda slides of the active presentation.
void regenerateAgendaSlides();

}  // namespace plorin
