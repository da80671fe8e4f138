// A shape's fill and line: colours, visibility and line weight, with the defaults a new
// shape of each type gets.
#include <cmath>

#include "host/host.h"

namespace host {

namespace {

// The default theme's colours, as RGB values 0x00BBGGRR.
constexpr std::uint32_t kAccentFill = 0xBD814F;  // blue
constexpr std::uint32_t kAccentLine = 0x8A5D38;  // darker blue
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr float kDefaultWeight = 0.75f;

bool filledByDefault(int type) { return type == msoAutoShape || type == msoCallout || type == msoFreeform; }
bool outlinedByDefault(int type) { return filledByDefault(type) || type == msoLine; }

int triState(int v, const char* member) {
    if (v == msoTrue || v == msoCTrue) return msoTrue;
    if (v == msoFalse) return msoFalse;
    throw HostError(E_FAIL, std::string(member) + " : The value is out of range.");
}

}  // namespace

void ColorFormat::setRGB(std::uint32_t rgb) {
    owner_->requireAlive();
    if (rgb > 0xFFFFFF) throw HostError(E_FAIL, "ColorFormat.RGB : The value is out of range.");
    rgb_ = rgb;
    scheme_ = 0;
    owner_->changed();
}

std::uint32_t schemeColorRGB(int index) {
    static constexpr std::uint32_t kScheme[] = {kWhite,      kBlack,   0x808080, kBlack,
                                                kAccentFill, 0x317DED, 0x50B000, 0xA5A5A5};
    if (index < 1 || index > 8) throw HostError(E_FAIL, "ColorFormat.SchemeColor : The value is out of range.");
    return kScheme[index - 1];
}

void ColorFormat::setSchemeColor(int index) {
    owner_->requireAlive();
    rgb_ = schemeColorRGB(index);
    scheme_ = index;
    owner_->changed();
}

FillFormat::FillFormat(Shape& owner)
    : owner_(&owner),
      foreColor_(owner, filledByDefault(owner.type_) ? kAccentFill : kWhite),
      visible_(filledByDefault(owner.type_) ? msoTrue : msoFalse) {}

void FillFormat::setVisible(int v) {
    owner_->requireAlive();
    visible_ = triState(v, "FillFormat.Visible");
    owner_->changed();
}

LineFormat::LineFormat(Shape& owner)
    : owner_(&owner),
      foreColor_(owner, outlinedByDefault(owner.type_) ? kAccentLine : kBlack),
      weight_(kDefaultWeight),
      visible_(outlinedByDefault(owner.type_) ? msoTrue : msoFalse) {}

void LineFormat::setWeight(float points) {
    owner_->requireAlive();
    if (!std::isfinite(points) || points < 0) throw HostError(E_FAIL, "LineFormat.Weight : The value is out of range.");
    weight_ = points;
    owner_->changed();
}

void LineFormat::setVisible(int v) {
    owner_->requireAlive();
    visible_ = triState(v, "LineFormat.Visible");
    owner_->changed();
}

}  // namespace host

namespace host {

std::uint32_t ExtraColors::Item(int index) const {
    if (index < 1 || index > Count()) throw HostError(E_INVALIDARG, "ExtraColors.Item : Index out of range.");
    return colors_[static_cast<std::size_t>(index - 1)];
}

void ExtraColors::Add(std::uint32_t rgb) {
    if (rgb > 0xFFFFFF) throw HostError(E_INVALIDARG, "ExtraColors.Add : The value is out of range.");
    if (colors_.size() >= static_cast<std::size_t>(kMaxColors)) colors_.erase(colors_.begin());
    colors_.push_back(rgb);
    owner_->changed();
}

void ExtraColors::Clear() {
    if (colors_.empty()) return;
    colors_.clear();
    owner_->changed();
}

RGBColor ColorScheme::Colors(int index) const {
    if (index < 1 || index > 8) throw HostError(E_INVALIDARG, "ColorScheme.Colors : Index out of range.");
    return RGBColor(schemeColorRGB(index));
}

ColorScheme SlideRange::ColorScheme() const {
    if (slides_.empty()) throw HostError(PP_E_INVALIDREQUEST, "SlideRange.ColorScheme : The range holds no slide.");
    return {};
}

}  // namespace host
