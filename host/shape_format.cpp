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
