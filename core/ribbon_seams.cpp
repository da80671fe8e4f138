// Ribbon callbacks that the ribbon definition binds but whose features arrive later: the
// Slide Wizard, copyright and My Elements menus. Until then they answer as an empty library
// would (empty menus). Each feature replaces its rows with its own table in
// core/ribbon_callbacks.cpp.
#include "core/ribbon_callbacks.h"

namespace core {

namespace {
// An empty dynamic menu in the host's ribbon namespace.
constexpr const char* kEmptyMenu = "<menu xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" ></menu>";

host::RibbonValue emptyMenu(Connect&, const host::IRibbonControl&, const RibbonArgs&) {
    return std::string(kEmptyMenu);
}
}  // namespace

const std::vector<RibbonCallback> kPendingLibraryCallbacks = {
    {"slideWizard_getContent", &emptyMenu},
    {"copyright_getContent", &emptyMenu},
    {"myElements_getContent", &emptyMenu},
};

}  // namespace core
