// The Application: active window, event sinks, macros, and an orderly end.
#include <charconv>

#include "host/ascii.h"
#include "host/host.h"

namespace host {

// ext_RemoveMode: the host is shutting down.
constexpr int kHostShutdown = 0;

namespace {

// "14.0" -> 14; 0 when the text is not a number as a whole.
double parseVersion(const std::string& v) {
    double number = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), number);
    return ec == std::errc() && end == v.data() + v.size() ? number : 0;
}

}  // namespace

Application::Application(std::string version)
    : version_(std::move(version)), versionNumber_(parseVersion(version_)), presentations_(this), addIns_(this) {}

Application::~Application() {
    auto& addIns = addIns_.items_;
    for (auto it = addIns.rbegin(); it != addIns.rend(); ++it) {
        if (!(*it)->connected_) continue;
        try {
            (*it)->addIn_->OnBeginShutdown();
        } catch (...) {
            // The host goes down regardless.
        }
    }
    for (auto it = addIns.rbegin(); it != addIns.rend(); ++it) (*it)->disconnect(kHostShutdown);

    for (auto& w : windows_.items_) w->closed_ = true;
    windows_.items_.clear();
    active_.reset();
    for (auto& p : presentations_.items_) p->closed_ = true;
    presentations_.items_.clear();
    sinks_.clear();
}

std::shared_ptr<DocumentWindow> Application::ActiveWindow() const {
    auto window = active_.lock();
    if (!window || window->closed_)
        throw HostError(PP_E_INVALIDREQUEST,
                        "Application.ActiveWindow : Invalid request.  There is no currently active document window.");
    return window;
}

std::shared_ptr<Presentation> Application::ActivePresentation() const {
    auto window = active_.lock();
    if (!window || window->closed_)
        throw HostError(PP_E_INVALIDREQUEST,
                        "Application.ActivePresentation : Invalid request.  There is no active presentation.");
    return window->presentation_;
}

std::string Application::Run(const std::string& macroName, const std::vector<std::string>& /*args*/) {
    const auto bang = macroName.find('!');
    std::string file = bang == std::string::npos ? std::string() : macroName.substr(0, bang);
    if (file.size() >= 2 && file.front() == '\'' && file.back() == '\'') file = file.substr(1, file.size() - 2);
    const bool open = !file.empty() && bang + 1 < macroName.size() &&
                      std::any_of(presentations_.items_.begin(), presentations_.items_.end(),
                                  [&](const auto& p) { return detail::equalsNoCase(p->Name(), file); });
    if (!open)
        throw HostError(E_FAIL,
                        "Application.Run : Cannot run the macro '" + macroName +
                            "'. The macro may not be available in this presentation or all macros may be disabled.");
    macrosRun_.push_back(macroName);
    return {};
}

void Application::advise(ApplicationEvents* sink) {
    if (sink && std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) sinks_.push_back(sink);
}

void Application::unadvise(ApplicationEvents* sink) {
    sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void Application::printPresentation(Presentation& p) {
    fire([&](ApplicationEvents& s) { s.PresentationPrint(p); });
}

void Application::beginSlideShow() {
    fire([](ApplicationEvents& s) { s.SlideShowBegin(); });
}

void Application::endSlideShow() {
    fire([](ApplicationEvents& s) { s.SlideShowEnd(); });
}

}  // namespace host
