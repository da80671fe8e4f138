// Allowed: the simulator knows the add-in.
#include "addin/connect.h"
