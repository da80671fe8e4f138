// Allowed: the simulator knows the add-in, the update add-in and the loopback servers.
#include "addin/connect.h"
#include "loopback/update_server.h"
#include "updater/update_addin.h"
