// Opening a web page, a document or a mail through the shell.
#pragma once

#include <string>

namespace plorin {

// Asks the shell to open a URL, file or mailto link. Any failure of the opener is reported
// ("ShellExecute for URL ... failed [code]").
void openURL(const std::string& url);

}  // namespace plorin
