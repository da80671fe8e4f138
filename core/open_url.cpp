#include "core/open_url.h"

#include "core/errors.h"
#include "platform/services.h"

namespace plorin {

void openURL(const std::string& url) {
    trap("ShellEx, openURL", [&] {
        int code = platform::shell().openDocument(url);
        if (code <= 32) reportError("ShellExecute for URL " + url + " failed [" + std::to_string(code) + "]", nullptr);
    });
}

}  // namespace plorin
