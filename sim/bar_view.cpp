#include "sim/bar_view.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "host/command_bars.h"
#include "platform/picture.h"

namespace sim {

namespace {

std::string folded(const std::string& caption) {
    std::string out;
    for (char c : caption)
        if (c != '&') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Every control of every bar in tree order, with the captions leading to it (bar first).
struct Placed {
    std::shared_ptr<host::CommandBarControl> control;
    std::vector<std::string> path;
};

void collect(const host::CommandBarControls& controls, std::vector<std::string>& path, std::vector<Placed>& out) {
    for (const auto& c : controls.all()) {
        path.push_back(c->Caption());
        out.push_back({c, path});
        if (auto* popup = dynamic_cast<host::CommandBarPopup*>(c.get())) collect(popup->Controls(), path, out);
        path.pop_back();
    }
}

std::vector<Placed> everyControl(host::CommandBars& bars) {
    std::vector<Placed> out;
    for (const auto& bar : bars.all()) {
        std::vector<std::string> path{bar->Name()};
        collect(bar->Controls(), path, out);
    }
    return out;
}

std::string joined(const std::vector<std::string>& path) {
    std::string out;
    for (const auto& p : path) out += (out.empty() ? "" : "/") + p;
    return out;
}

const char* positionName(int position) {
    switch (position) {
        case host::msoBarLeft: return "docked left";
        case host::msoBarTop: return "docked top";
        case host::msoBarRight: return "docked right";
        case host::msoBarBottom: return "docked bottom";
        case host::msoBarFloating: return "floating";
        default: return "menu";
    }
}

void printControl(std::ostream& out, const host::CommandBarControl& c, int depth) {
    out << "  " << std::string(static_cast<std::size_t>(depth) * 2 + 2, ' ');
    if (c.Id() != 1) {
        out << "built-in " << c.Id();
    } else if (c.Type() == host::msoControlPopup) {
        out << "popup \"" << c.Caption() << "\"";
    } else if (auto* box = dynamic_cast<const host::CommandBarComboBox*>(&c)) {
        out << "drop-down [";
        for (int i = 1; i <= box->ListCount(); ++i) out << (i > 1 ? ", " : "") << box->List(i);
        out << "] selected " << box->ListIndex();
    } else {
        out << "button \"" << c.Caption() << "\"";
    }
    if (c.HelpContextId() != 0) out << " tool " << c.HelpContextId();
    if (auto* b = dynamic_cast<const host::CommandBarButton*>(&c); b && c.Id() == 1) {
        if (b->Picture() != 0) out << " pic " << b->Picture();
        else if (b->FaceId() != 0) out << " face " << b->FaceId();
        if (b->PictureImage()) out << " icon " << b->PictureImage()->width << "x" << b->PictureImage()->height;
        if (b->MaskImage()) out << " with mask";
        if (b->State() == host::msoButtonDown) out << " down";
    }
    if (!c.Parameter().empty()) out << " -> " << c.Parameter();
    if (c.BeginGroup()) out << " (group)";
    if (!c.Enabled()) out << " disabled";
    if (!c.Visible()) out << " hidden";
    out << "\n";
}

void printControls(std::ostream& out, const host::CommandBarControls& controls, int depth) {
    for (const auto& c : controls.all()) {
        printControl(out, *c, depth);
        if (auto* popup = dynamic_cast<host::CommandBarPopup*>(c.get()))
            printControls(out, popup->Controls(), depth + 1);
    }
}

}  // namespace

void printBars(std::ostream& out, host::CommandBars& bars, const std::string& filter) {
    if (bars.Count() == 0) {
        out << "  (the host shows no command bars)\n";
        return;
    }
    int shown = 0;
    for (const auto& bar : bars.all()) {
        if (!filter.empty() && folded(bar->Name()).find(folded(filter)) == std::string::npos) continue;
        ++shown;
        out << "  bar \"" << bar->Name() << "\": " << positionName(bar->Position()) << ", left " << bar->Left()
            << ", top " << bar->Top() << ", row " << bar->RowIndex() << ", height " << bar->Height()
            << (bar->Visible() ? ", shown" : ", hidden") << (bar->Temporary() ? ", temporary" : "") << "\n";
        printControls(out, bar->Controls(), 0);
    }
    if (shown == 0) throw std::runtime_error("no command bar is named like '" + filter + "'");
}

platform::Picture drawBar(host::CommandBars& bars, const std::string& filter) {
    for (const auto& bar : bars.all()) {
        if (folded(bar->Name()).find(folded(filter)) == std::string::npos) continue;
        // 16-pixel pictures on 22-pixel buttons, a separator of 6 pixels before each group.
        constexpr int kButton = 22, kSeparator = 6, kPad = 3;
        std::vector<std::shared_ptr<host::CommandBarControl>> shown;
        int width = 2 * kPad;
        for (const auto& c : bar->Controls().all()) {
            if (!c->Visible()) continue;
            width += kButton + (c->BeginGroup() && !shown.empty() ? kSeparator : 0);
            shown.push_back(c);
        }
        platform::Canvas canvas(std::max(width, 2 * kPad + 1), kButton + 2 * kPad);
        canvas.fill(0xFFF0F0F0u);
        int x = kPad;
        bool first = true;
        for (const auto& c : shown) {
            if (c->BeginGroup() && !first) {
                canvas.fillRect(x + kSeparator / 2, kPad + 2, 1, kButton - 4, 0xFFA0A0A0u);
                x += kSeparator;
            }
            first = false;
            auto* button = dynamic_cast<host::CommandBarButton*>(c.get());
            if (button && button->PictureImage()) {
                // The mask decides which pixels of the picture show, as the host draws it.
                platform::Picture masked = *button->PictureImage();
                if (const auto& mask = button->MaskImage(); mask && mask->pixels.size() == masked.pixels.size())
                    for (std::size_t i = 0; i < masked.pixels.size(); ++i)
                        if (mask->pixels[i] == 0xFFFFFFFFu) masked.pixels[i] = 0;
                canvas.drawPicture(masked, x + 3, kPad + 3, 16, 16);
            } else {
                canvas.fillRect(x + 3, kPad + 3, 16, 16, c->Enabled() ? 0xFFC8C8C8u : 0xFFE0E0E0u);
            }
            x += kButton;
        }
        return canvas.toPicture();
    }
    throw std::runtime_error("no command bar is named like '" + filter + "'");
}

std::shared_ptr<host::CommandBarButton> resolveBarButton(host::CommandBars& bars, const std::string& word) {
    const auto all = everyControl(bars);
    const bool toolId = !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
    if (toolId) {
        for (const auto& p : all)
            if (p.control->Type() == host::msoControlButton && p.control->HelpContextId() == std::stol(word))
                return std::static_pointer_cast<host::CommandBarButton>(p.control);
    }
    // The words of the path must end the control's path.
    std::vector<std::string> wanted;
    for (std::size_t from = 0;;) {
        const std::size_t at = word.find('/', from);
        wanted.push_back(folded(word.substr(from, at - from)));
        if (at == std::string::npos) break;
        from = at + 1;
    }
    std::vector<const Placed*> found;
    auto fits = [&](const Placed& p) {
        if (p.path.size() < wanted.size()) return false;
        const std::size_t offset = p.path.size() - wanted.size();
        for (std::size_t i = 0; i < wanted.size(); ++i)
            if (folded(p.path[offset + i]) != wanted[i]) return false;
        return true;
    };
    // A whole caption holding "/" is tried before the path.
    for (const auto& p : all)
        if (p.control->Type() == host::msoControlButton && folded(p.control->Caption()) == folded(word))
            found.push_back(&p);
    if (found.empty())
        for (const auto& p : all)
            if (p.control->Type() == host::msoControlButton && fits(p)) found.push_back(&p);
    if (found.size() == 1) return std::static_pointer_cast<host::CommandBarButton>(found.front()->control);
    if (found.empty()) throw std::runtime_error("no command-bar button is named '" + word + "'");
    std::string paths;
    for (const auto* p : found) paths += "\n    " + joined(p->path);
    throw std::runtime_error("several command-bar buttons are named '" + word +
                             "'; name one by its popup or bar:" + paths);
}

std::string barPath(host::CommandBars& bars, const host::CommandBarButton& button) {
    for (const auto& p : everyControl(bars))
        if (p.control.get() == &button) return joined(p.path);
    return button.Caption();
}

std::shared_ptr<host::CommandBarComboBox> barDropdown(host::CommandBars& bars) {
    for (const auto& p : everyControl(bars))
        if (p.control->Type() == host::msoControlDropdown)
            return std::static_pointer_cast<host::CommandBarComboBox>(p.control);
    throw std::runtime_error("the command bars hold no drop-down");
}

}  // namespace sim
