// The installed services. Defaults are made on first use, so that a process that installs its
// own never touches the user's registry file or the desktop.
#include "platform/services.h"

#include <atomic>
#include <utility>

#include "platform/picture.h"
#include "platform/ui_driver.h"

namespace platform {
namespace {

std::atomic<RegistryStore*> installedRegistry{nullptr};
std::atomic<unsigned long> registryGeneration{0};
std::atomic<FileSystem*> installedFileSystem{nullptr};
std::atomic<Shell*> installedShell{nullptr};
std::atomic<Input*> installedInput{nullptr};
std::atomic<Screen*> installedScreen{nullptr};
std::atomic<Pointer*> installedPointer{nullptr};

// The path is taken when the default is first needed; changing VARNOTEL_REGISTRY later has no effect.
RegistryStore& defaultRegistry() {
    static const std::unique_ptr<RegistryStore> store = makeFileRegistry(defaultRegistryPath());
    return *store;
}

Shell& defaultShell() {
    static const std::unique_ptr<Shell> desktop = makeDesktopShell();
    return *desktop;
}

Input& defaultInput() {
    static const std::unique_ptr<Input> desktop = makeDesktopInput();
    return *desktop;
}

Screen& defaultScreen() {
    static const std::unique_ptr<Screen> desktop = makeDesktopScreen();
    return *desktop;
}

Pointer& defaultPointer() {
    static const std::unique_ptr<Pointer> desktop = makeDesktopPointer();
    return *desktop;
}

}  // namespace

RegistryStore& registryStore() {
    RegistryStore* store = installedRegistry.load();
    return store ? *store : defaultRegistry();
}

RegistryStore* useRegistryStore(RegistryStore* store) {
    RegistryStore* previous = installedRegistry.exchange(store);
    ++registryGeneration;
    return previous;
}

unsigned long registryStoreGeneration() { return registryGeneration.load(); }

FileSystem& fileSystem() {
    FileSystem* fs = installedFileSystem.load();
    return fs ? *fs : realFileSystem();
}

FileSystem* useFileSystem(FileSystem* fs) { return installedFileSystem.exchange(fs); }

Shell& shell() {
    Shell* installed = installedShell.load();
    return installed ? *installed : defaultShell();
}

Shell* useShell(Shell* shell) { return installedShell.exchange(shell); }

Input& input() {
    Input* installed = installedInput.load();
    return installed ? *installed : defaultInput();
}

Input* useInput(Input* input) { return installedInput.exchange(input); }

Screen& screen() {
    Screen* installed = installedScreen.load();
    return installed ? *installed : defaultScreen();
}

Screen* useScreen(Screen* screen) { return installedScreen.exchange(screen); }

Pointer& pointer() {
    Pointer* installed = installedPointer.load();
    return installed ? *installed : defaultPointer();
}

Pointer* usePointer(Pointer* pointer) { return installedPointer.exchange(pointer); }

Services useServices(Services s) {
    Services previous;
    previous.registry = useRegistryStore(s.registry);
    previous.fileSystem = useFileSystem(s.fileSystem);
    previous.shell = useShell(s.shell);
    previous.input = useInput(s.input);
    previous.screen = useScreen(s.screen);
    previous.pointer = usePointer(s.pointer);
    previous.http = useHttpClient(s.http);
    previous.ui = setUiDriver(s.ui);
    previous.today = useToday(s.today);
    previous.clock = useClock(std::move(s.clock));
    previous.imageEncoders = useImageEncoders(std::move(s.imageEncoders));
    previous.decimalSeparator = setDecimalSeparator(s.decimalSeparator);
    return previous;
}

ScopedServices::ScopedServices(Services services) : previous_(useServices(std::move(services))) {}

ScopedServices::~ScopedServices() { useServices(std::move(previous_)); }

}  // namespace platform
