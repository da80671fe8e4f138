// The platform reaching up to the host.
#include "host/host.h"
