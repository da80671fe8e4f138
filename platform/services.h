// Where the system finds the platform's services. Each has a real default; tests and the
// simulator install their own. The pointers are not owned.
#pragma once

#include "platform/filesystem.h"
#include "platform/input.h"
#include "platform/pointer.h"
#include "platform/registry_store.h"
#include "platform/screen.h"
#include "platform/shell.h"

namespace platform {

// The per-user registry (a file registry at defaultRegistryPath() unless replaced).
RegistryStore& registryStore();
void useRegistryStore(RegistryStore* store);  // nullptr restores the default
// Changes with every useRegistryStore: what was read from or kept for one store is not
// taken for another one's.
unsigned long registryStoreGeneration();

FileSystem& fileSystem();
void useFileSystem(FileSystem* fs);  // nullptr restores the disk

Shell& shell();
void useShell(Shell* shell);  // nullptr restores the desktop shell

// Keyboard state and input injection (the desktop's unless replaced).
Input& input();
void useInput(Input* input);  // nullptr restores the desktop input

// The screen's pixels and the mouse pointer with its hooks (the desktop's unless replaced).
Screen& screen();
void useScreen(Screen* screen);  // nullptr restores the desktop screen
Pointer& pointer();
void usePointer(Pointer* pointer);  // nullptr restores the desktop pointer

}  // namespace platform
