#include "core/windowless_presentation.h"

#include "core/errors.h"

namespace plorin {

host::Presentation& WindowlessPresentation::open(host::Application& app, const std::string& path) {
    close();
    return hold(app.Presentations().Open(path, false, false, false));
}

host::Presentation& WindowlessPresentation::hold(std::shared_ptr<host::Presentation> presentation) {
    close();
    presentation_ = std::move(presentation);
    return *presentation_;
}

void WindowlessPresentation::close() noexcept {
    if (!presentation_) return;
    ignoreErrors([&] { presentation_->setSaved(true); });
    ignoreErrors([&] {
        if (!presentation_->closed()) presentation_->Close();
    });
    presentation_.reset();
}

}  // namespace plorin
