// The installed services. Defaults are made on first use, so that a process that installs its
// own never touches the user's registry file or the desktop.
#include "platform/services.h"

#include <atomic>

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

void useRegistryStore(RegistryStore* store) {
    installedRegistry.store(store);
    ++registryGeneration;
}

unsigned long registryStoreGeneration() { return registryGeneration.load(); }

FileSystem& fileSystem() {
    FileSystem* fs = installedFileSystem.load();
    return fs ? *fs : realFileSystem();
}

void useFileSystem(FileSystem* fs) { installedFileSystem.store(fs); }

Shell& shell() {
    Shell* installed = installedShell.load();
    return installed ? *installed : defaultShell();
}

void useShell(Shell* shell) { installedShell.store(shell); }

Input& input() {
    Input* installed = installedInput.load();
    return installed ? *installed : defaultInput();
}

void useInput(Input* input) { installedInput.store(input); }

Screen& screen() {
    Screen* installed = installedScreen.load();
    return installed ? *installed : defaultScreen();
}

void useScreen(Screen* screen) { installedScreen.store(screen); }

Pointer& pointer() {
    Pointer* installed = installedPointer.load();
    return installed ? *installed : defaultPointer();
}

void usePointer(Pointer* pointer) { installedPointer.store(pointer); }

}  // namespace platform
