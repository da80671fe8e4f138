// A feature reaching up to the front end.
#include "addin/ribbon_callbacks.h"
