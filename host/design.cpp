// Designs with their masters, shape visibility and the black-and-white modes.
#include "host/host.h"

namespace host {

namespace {
int blackWhiteValue(int mode, const char* member) {
    if (mode < msoBlackWhiteAutomatic || mode > msoBlackWhiteDontShow)
        throw HostError(E_FAIL, std::string(member) + " : The value is out of range.");
    return mode;
}
}  // namespace

void Shape::setVisible(int v) {
    requireAlive();
    if (v != msoTrue && v != msoCTrue && v != msoFalse)
        throw HostError(E_FAIL, "Shape.Visible : The value is out of range.");
    visible_ = v == msoFalse ? msoFalse : msoTrue;
    changed();
}

void Shape::setBlackWhiteMode(int mode) {
    requireAlive();
    blackWhiteMode_ = blackWhiteValue(mode, "Shape.BlackWhiteMode");
    changed();
}

void ShapeRange::setVisible(int v) const {
    for (const auto& s : shapes_) s->setVisible(v);
}

void ShapeRange::setBlackWhiteMode(int mode) const {
    for (const auto& s : shapes_) s->setBlackWhiteMode(mode);
}

int SlideBackground::BlackWhiteMode() const { return slide_->backgroundBlackWhiteMode_; }

void SlideBackground::setBlackWhiteMode(int mode) {
    if (!slide_->parent_) throw HostError(E_FAIL, "Background.BlackWhiteMode : The object does not exist.");
    slide_->backgroundBlackWhiteMode_ = blackWhiteValue(mode, "Background.BlackWhiteMode");
    slide_->parent_->changed();
}

Design::Design(Presentation* presentation, std::string name)
    : presentation_(presentation), name_(std::move(name)), slideMaster_(std::make_shared<Slide>(presentation, 0, 0)) {}

std::shared_ptr<Slide> Design::TitleMaster() const {
    if (!titleMaster_) throw HostError(E_FAIL, "Design.TitleMaster : This design does not have a title master.");
    return titleMaster_;
}

std::shared_ptr<Slide> Design::AddTitleMaster() {
    if (!titleMaster_) {
        titleMaster_ = std::make_shared<Slide>(presentation_, 0, 0);
        presentation_->changed();
    }
    return titleMaster_;
}

std::shared_ptr<Design> Designs::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "Designs.Item : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return items_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Design> Designs::Add(const std::string& designName) {
    auto design = std::make_shared<Design>(owner_, designName);
    items_.push_back(design);
    owner_->changed();
    return design;
}

}  // namespace host
