// The update add-in library's one export: the host creates the add-in object by ProgID.
#include <strings.h>

#include "core/registry.h"
#include "updater/error_box.h"
#include "updater/update_addin.h"

extern "C" __attribute__((visibility("default"))) host::AddIn* varnotel_create_addin(const char* progId) {
    if (!progId || strcasecmp(progId, plorinrenew::kProgId) != 0) return nullptr;
    // This library's shared routines report through the update add-in's own error box.
    plorinrenew::installErrorBox();
    plorin::setProgramName("plorinrenew");
    return new plorinrenew::Connect();
}
