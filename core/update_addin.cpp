#include "core/update_addin.h"

#include "core/shared_state.h"
#include "host/host.h"

namespace plorin {

host::COMAddIn* findUpdateAddIn() {
    host::COMAddIns& addIns = hostApplication().COMAddIns();
    for (int i = 1; i <= addIns.Count(); ++i)
        if (addIns.Item(i).ProgId() == kUpdateAddInProgId) return &addIns.Item(i);
    return nullptr;
}

}  // namespace plorin
