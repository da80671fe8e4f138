// A feature reaching sideways into another without a call across.
#include "core/errors.h"
#include "libraries/menu_file.h"
