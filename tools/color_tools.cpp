// The presentation's extra colours: reset from the palette in the setting "customColors",
// and picked from anywhere on the screen with the colour picker.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/product_name.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"
#include "tools/pick_color.h"

namespace plorin {

namespace {

void inform(const std::string& text) { platform::MsgBox(text, platform::vbInformation, kProductName); }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::uint32_t> EfficiencyTools::customColor(std::string_view entry) {
    // One leading character (a whole UTF-8 character), then RRGGBB.
    if (entry.empty()) return std::nullopt;
    std::size_t lead = 1;
    while (lead < entry.size() && (static_cast<unsigned char>(entry[lead]) & 0xC0) == 0x80) ++lead;
    const std::string_view digits = entry.substr(lead);
    if (digits.size() != 6) return std::nullopt;
    std::uint32_t bytes[3];
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(digits[2 * i]), low = hexDigit(digits[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[i] = static_cast<std::uint32_t>(high * 16 + low);
    }
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16);
}

void EfficiencyTools::resetCustomColors() {
    trap("EfficiencyTools, resetCustomColors", [&] {
        const std::string setting = getRegistry("customColors", "", "");
        if (setting.empty()) return inform("Custom colors are not configured.");
        // Every entry is checked before the extra colours are touched: pushing them out is
        // not undone, so a bad entry must not leave the user with filler colours.
        std::vector<std::uint32_t> colors;
        for (std::size_t start = 0;;) {
            const std::size_t comma = setting.find(',', start);
            const std::string entry = setting.substr(start, comma == std::string::npos ? comma : comma - start);
            const auto color = customColor(entry);
            if (!color)
                return inform("The custom colors could not be reset: the entry \"" + entry +
                              "\" of the setting \"customColors\" is not a color. Each entry is one character "
                              "such as \"#\" followed by six hexadecimal digits (RRGGBB), entries separated by "
                              "commas without blanks.\r\nThe presentation's custom colors have not been changed.");
            colors.push_back(*color);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        host::ExtraColors& extra = hostApplication().ActivePresentation()->ExtraColors();
        // Emptied rather than pushed out with filler colours, which a palette of fewer than
        // eight would leave in the user's list: afterwards it holds exactly the palette (the
        // host keeps the last eight).
        extra.Clear();
        for (std::uint32_t color : colors) extra.Add(color);
        inform("Custom colors have been reset.");
    });
}

void EfficiencyTools::pickColorFromScreen() {
    trap("EfficiencyTools, pickColorFromScreen", [&] {
        host::Application& app = hostApplication();
        if (app.Presentations().Count() == 0) return inform("Please open a presentation first.");
        int slides = 0;
        try {
            slides = app.ActiveWindow()->Selection().SlideRange().Count();
        } catch (...) {
            if (currentError().Number != host::PP_E_INVALIDREQUEST) throw;
        }
        if (slides == 0)
            return inform("Current color scheme could not be identified. Please select a slide or shape first.");
        PickColor picker;
        picker.Show(true);
        picker.Unload();
    });
}

using E = EfficiencyTools;
const std::vector<EfficiencyTools::MethodEntry> kColorToolMethods = {
    {"resetCustomColors", &E::resetCustomColors, nullptr},
    {"pickColorFromScreen", &E::pickColorFromScreen, nullptr},
};

}  // namespace plorin
