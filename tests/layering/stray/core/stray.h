// A stray include for the layering check: core/ reaching up to the add-in and a feature.
#include "addin/connect.h"
#include "host/host.h"
#include "tools/efficiency_tools.h"
