// Allowed: tests know everything.
#include "addin/connect.h"
#include "tools/efficiency_tools.h"
