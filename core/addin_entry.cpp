// The library's one export: the host creates the add-in object through it by ProgID.
#include <strings.h>

#include "core/connect.h"
#include "core/err_form.h"

extern "C" __attribute__((visibility("default"))) host::AddIn* varnotel_create_addin(const char* progId) {
    if (!progId || strcasecmp(progId, core::kProgId) != 0) return nullptr;
    // Loaded by a host, the add-in reports through its error dialog.
    core::installErrorDialog();
    return new core::Connect();
}
