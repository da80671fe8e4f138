// The simulator reaching into the tests' own support.
#include "tests/support/png_files.h"
