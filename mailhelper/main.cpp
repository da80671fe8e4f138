// The executable plorinpost: plorinpost SUBJECT ATTACHMENT-NAME ATTACHMENT-PATH.
// It has no windows of its own; its messages go to the standard error stream.
#include <iostream>
#include <string>
#include <vector>

#include "mailhelper/mapi.h"
#include "platform/mailer.h"
#include "platform/services.h"
#include "platform/ui.h"

namespace {

class StderrDriver final : public platform::UiDriver {
public:
    int messageBox(const std::string& text, int, const std::string& title) override {
        std::string shown = text;
        for (auto at = shown.find("\r\n"); at != std::string::npos; at = shown.find("\r\n", at)) shown.erase(at, 1);
        std::cerr << title << ": " << shown << std::endl;
        return platform::vbOK;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> fileDialog(const std::string&, const std::string&) override { return std::nullopt; }
    void runModal(platform::Form&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    StderrDriver driver;
    platform::ScopedUiDriver scope(driver);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::string cache = platform::shell().internetCacheFolder();
    auto mailer = platform::makeDesktopMailer({cache.empty() ? std::string() : cache + "mail/"});
    return plorinpost::main(args, *mailer);
}
