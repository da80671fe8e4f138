// The library's one export: the host creates the add-in object through it by ProgID.
#include <strings.h>

#include "addin/connect.h"
#include "addin/error_dialog.h"

extern "C" __attribute__((visibility("default"))) host::AddIn* varnotel_create_addin(const char* progId) {
    if (!progId || strcasecmp(progId, plorin::kProgId) != 0) return nullptr;
    // Loaded by a host, the add-in reports through its error dialog.
    plorin::installErrorDialog();
    return new plorin::Connect();
}
