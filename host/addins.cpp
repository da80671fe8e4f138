// COM add-ins: registration (in process or from a registration file), connecting and
// disconnecting, and loading add-in libraries with dlopen.
#include <dlfcn.h>

#include <cerrno>

#include <filesystem>
#include <sstream>

#include "host/ascii.h"
#include "host/host.h"
#include "host/ribbon_host.h"
#include "platform/filesystem.h"
#include "platform/text_files.h"

namespace host {

namespace {

// ext_ConnectMode / ext_RemoveMode values the host passes.
constexpr int kAfterStartup = 0;
constexpr int kStartup = 1;
constexpr int kUserClosed = 1;
// A registration file holds a line per add-in: a megabyte is far more than any needs.
constexpr std::size_t kMaxRegistrationBytes = 1 << 20;

using CreateAddIn = AddIn* (*)(const char* progId);

// Inside a catch: rethrows what an add-in threw as a HostError, keeping its number if it has one.
[[noreturn]] void rethrowAsHostError(const std::string& progId) {
    try {
        throw;
    } catch (const HostError&) {
        throw;
    } catch (const platform::NumberedError& e) {
        throw HostError(e.number(), e.what());
    } catch (const std::exception& e) {
        throw HostError(E_FAIL, e.what());
    } catch (...) {
        throw HostError(E_FAIL, "The add-in " + progId + " failed without saying why.");
    }
}

// Loads the library on first use. The library is never closed: the add-in's objects,
// event handlers and anything it handed to the platform may outlive any one Application.
AddInFactory libraryFactory(std::string library, std::string progId) {
    auto handle = std::make_shared<void*>(nullptr);
    return [library = std::move(library), progId = std::move(progId), handle]() -> std::unique_ptr<AddIn> {
        if (!*handle) {
            void* h = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!h) {
                const char* why = ::dlerror();
                throw HostError(E_FAIL, why ? why : library + ": cannot be loaded");
            }
            *handle = h;
        }
        ::dlerror();
        auto create = reinterpret_cast<CreateAddIn>(::dlsym(*handle, "varnotel_create_addin"));
        if (!create) {
            const char* why = ::dlerror();
            throw HostError(E_FAIL, why ? why : library + ": varnotel_create_addin is missing");
        }
        AddIn* addIn = create(progId.c_str());
        if (!addIn) throw HostError(E_FAIL, library + " does not provide the add-in " + progId);
        return std::unique_ptr<AddIn>(addIn);
    };
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

}  // namespace

COMAddIn::COMAddIn(Application* app, std::string progId, std::string description, AddInFactory factory)
    : app_(app), progId_(std::move(progId)), description_(std::move(description)), factory_(std::move(factory)) {}

void COMAddIn::setConnect(bool on) {
    if (busy_ || on == connected_) return;
    if (!on) return disconnect(kUserClosed);
    connect(kAfterStartup);
}

void COMAddIn::connect(int connectMode) {
    if (busy_ || connected_) return;
    busy_ = true;
    struct Idle {
        bool& busy;
        ~Idle() { busy = false; }
    } idle{busy_};
    std::unique_ptr<AddIn> addIn;
    try {
        if (factory_) addIn = factory_();
        if (!addIn) throw HostError(E_FAIL, "The add-in " + progId_ + " could not be created.");
        addIn->OnConnection(*app_, connectMode, this);
    } catch (...) {
        addIn.reset();  // released before the caller hears of the failure
        rethrowAsHostError(progId_);
    }
    addIn_ = std::move(addIn);
    connected_ = true;
    // A ribbon host then loads the add-in's ribbon; what fails there only shows nothing.
    if (IRibbonExtensibility* ribbon = addIn_->ribbon()) app_->Ribbon().attach(progId_, *ribbon);
}

void COMAddIn::disconnect(int removeMode) {
    if (busy_ || !connected_) return;
    busy_ = true;
    struct Idle {
        bool& busy;
        ~Idle() { busy = false; }
    } idle{busy_};
    auto addIn = std::move(addIn_);
    connected_ = false;
    try {
        addIn->OnDisconnection(removeMode);
    } catch (...) {
        // The add-in is released either way; there is nobody to tell.
    }
    app_->Ribbon().detach(progId_);  // its ribbon goes before the add-in object
    addIn.reset();
}

std::shared_ptr<AutomationObject> COMAddIn::Object() const { return connected_ && addIn_ ? addIn_->object() : nullptr; }

COMAddIn& COMAddIns::Item(int index) {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "COMAddIns.Item : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return *items_[static_cast<std::size_t>(index - 1)];
}

COMAddIn& COMAddIns::Item(const std::string& progId) {
    for (auto& a : items_)
        if (detail::equalsNoCase(a->ProgId(), progId)) return *a;
    throw HostError(E_FAIL, "COMAddIns.Item : Item " + progId + " not found in the COMAddIns collection.");
}

COMAddIn& COMAddIns::add(const std::string& progId, const std::string& description, AddInFactory factory) {
    if (progId.empty()) throw HostError(E_FAIL, "COMAddIns.add : An add-in needs a ProgID.");
    for (auto& a : items_)
        if (detail::equalsNoCase(a->ProgId(), progId))
            throw HostError(E_FAIL, "COMAddIns.add : " + progId + " is already registered.");
    items_.push_back(std::make_unique<COMAddIn>(app_, progId, description, std::move(factory)));
    return *items_.back();
}

int COMAddIns::startUp() {
    std::vector<COMAddIn*> started;
    for (auto& a : items_) {
        if (a->Connect()) continue;
        try {
            a->connect(kStartup);
        } catch (...) {
            // The host's start goes on without that add-in.
        }
        if (a->Connect()) started.push_back(a.get());
    }
    for (COMAddIn* a : started) {
        if (!a->connected_ || !a->addIn_) continue;  // an earlier add-in's start-up may disconnect it
        try {
            a->addIn_->OnStartupComplete();
        } catch (...) {
        }
    }
    return static_cast<int>(started.size());
}

int COMAddIns::loadRegistrations(const std::string& registrationFile) {
    const std::string cannotRead = "COMAddIns : cannot read the add-in registrations " + registrationFile;
    // Read as every installation file is: a FIFO or device in its place is refused instead of
    // blocking the start, and a runaway file is not read whole.
    int error = 0;
    const auto bytes = platform::readFileBytes(registrationFile, error, nullptr, kMaxRegistrationBytes);
    if (!bytes) throw HostError(E_FAIL, cannotRead + (error == EFBIG ? " (it is too large)." : "."));
    const auto text = platform::decodeTextFile(*bytes);
    if (!text) throw HostError(E_FAIL, cannotRead + " (it is neither UTF-8 nor UTF-16 text).");
    std::error_code ec;
    const auto folder = std::filesystem::absolute(registrationFile, ec).parent_path();

    int count = 0, lineNumber = 0;
    std::istringstream in(*text);
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const auto fields = splitTabs(line);
        if (fields.size() < 2 || fields[0].empty() || fields[1].empty())
            throw HostError(E_FAIL, registrationFile + ":" + std::to_string(lineNumber) +
                                        ": expected ProgID<TAB>library<TAB>description.");
        const std::filesystem::path library(fields[1]);
        const auto resolved = library.is_absolute() ? library : (folder / library).lexically_normal();
        add(fields[0], fields.size() > 2 ? fields[2] : std::string(), libraryFactory(resolved.string(), fields[0]));
        ++count;
    }
    return count;
}

}  // namespace host
