// A feature reaching sideways into another without a call across; and back into the agenda,
// which uses the tools already: a two-way pair.
#include "agenda/agenda_generator.h"
#include "core/errors.h"
#include "libraries/menu_file.h"
