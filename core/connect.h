// The presentation add-in object that the host creates by its ProgID "plorin.Connect":
// start-up and shut-down of everything the add-in keeps while it is loaded.
#pragma once

#include "host/host.h"

namespace core {

constexpr const char* kProductName = "Varnotel for presentations";
constexpr const char* kProgId = "plorin.Connect";

class Connect : public host::AddIn {
public:
    Connect() = default;
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    void OnConnection(host::HostObject& application, int connectMode, host::COMAddIn* addInInst) override;
    void OnDisconnection(int removeMode) override;
    void OnAddInsUpdate() override;
    void OnStartupComplete() override;
    void OnBeginShutdown() override;

    // Deletes the temporary slide extracts listed in the setting "slideExtracts".
    void killSlideExtracts();

private:
    void startUp();
};

}  // namespace core
