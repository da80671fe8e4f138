// Where the system finds the platform's services: every slot that tests and the simulator
// replace is listed here. Each has a real default; the pointers are not owned. Every use…
// returns what was installed before, so that a scope can put it back (ScopedServices).
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/http.h"
#include "platform/input.h"
#include "platform/locale.h"
#include "platform/pointer.h"
#include "platform/registry_store.h"
#include "platform/screen.h"
#include "platform/shell.h"

namespace platform {

class UiDriver;

// The per-user registry (a file registry at defaultRegistryPath() unless replaced).
RegistryStore& registryStore();
RegistryStore* useRegistryStore(RegistryStore* store);  // nullptr restores the default
// Changes with every useRegistryStore: what was read from or kept for one store is not
// taken for another one's.
unsigned long registryStoreGeneration();

FileSystem& fileSystem();
FileSystem* useFileSystem(FileSystem* fs);  // nullptr restores the disk

Shell& shell();
Shell* useShell(Shell* shell);  // nullptr restores the desktop shell

// Keyboard state and input injection (the desktop's unless replaced).
Input& input();
Input* useInput(Input* input);  // nullptr restores the desktop input

// The screen's pixels and the mouse pointer with its hooks (the desktop's unless replaced).
Screen& screen();
Screen* useScreen(Screen* screen);  // nullptr restores the desktop screen
Pointer& pointer();
Pointer* usePointer(Pointer* pointer);  // nullptr restores the desktop pointer

// Declared beside their services:
//   httpClient / useHttpClient           platform/http.h
//   uiDriver / setUiDriver               platform/ui_driver.h
//   today / useToday, localNow / useClock platform/clock.h
//   imageEncoders / useImageEncoders     platform/picture.h
//   decimalSeparator / setDecimalSeparator platform/locale.h
// Above this layer, each add-in library keeps its own error sink (core/errors.h, setErrorSink),
// so that the two add-ins in one host report each through its own dialog.

// Every slot at once. A null pointer or an empty value is the default.
struct Services {
    RegistryStore* registry = nullptr;
    FileSystem* fileSystem = nullptr;
    Shell* shell = nullptr;
    Input* input = nullptr;
    Screen* screen = nullptr;
    Pointer* pointer = nullptr;
    HttpClient* http = nullptr;
    UiDriver* ui = nullptr;
    std::optional<std::chrono::sys_days> today;
    LocalClock clock;
    std::optional<std::vector<std::string>> imageEncoders;
    char decimalSeparator = '.';
};

// Installs `services` for a scope (a test, a simulator) and puts back, at its end, what every
// slot held before, including what was installed during the scope.
class ScopedServices {
public:
    explicit ScopedServices(Services services = {});
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;
    ~ScopedServices();

private:
    Services previous_;
};

// Installs every slot and returns what they held before.
Services useServices(Services services);

}  // namespace platform
