#include "host/timeline.h"

#include <algorithm>

namespace host {

host::TimeLine& Slide::TimeLine() {
    if (!parent_) throw HostError(E_FAIL, "Slide.TimeLine : The object does not exist.");
    if (!timeLine_) timeLine_ = std::make_shared<host::TimeLine>(this);
    return *timeLine_;
}

Effect::Effect(std::shared_ptr<host::Shape> shape, int type, int trigger)
    : shape_(std::move(shape)), type_(type), trigger_(trigger) {
    behaviors_.push_back(std::make_shared<AnimationBehavior>(this, msoAnimTypeMotion));
}

std::shared_ptr<AnimationBehavior> Effect::Behavior(int index) const {
    if (index < 1 || index > BehaviorCount()) throw HostError(E_FAIL, "Behaviors.Item : Index out of range.");
    return behaviors_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<AnimationBehavior> Effect::AddBehavior(int type, int index) {
    if (type != msoAnimTypeMotion) throw HostError(E_INVALIDARG, "Behaviors.Add : The behaviour type is not known.");
    if (index != -1 && (index < 1 || index > BehaviorCount() + 1))
        throw HostError(E_INVALIDARG, "Behaviors.Add : Index out of range.");
    auto behavior = std::make_shared<AnimationBehavior>(this, type);
    const auto at = index == -1 ? behaviors_.end() : behaviors_.begin() + (index - 1);
    behaviors_.insert(at, behavior);
    return behavior;
}

void AnimationBehavior::Delete() {
    if (!owner_) throw HostError(E_FAIL, "AnimationBehavior.Delete : The object does not exist.");
    auto& list = owner_->behaviors_;
    list.erase(std::remove_if(list.begin(), list.end(), [&](const auto& b) { return b.get() == this; }), list.end());
    owner_ = nullptr;
}

std::shared_ptr<Effect> Sequence::Item(int index) const {
    if (index < 1 || index > Count()) throw HostError(E_FAIL, "Sequence.Item : Index out of range.");
    return effects_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Effect> Sequence::AddEffect(const std::shared_ptr<host::Shape>& shape, int effectId, int level,
                                            int trigger, int index) {
    if (!shape || shape->Parent() != slide_)
        throw HostError(E_INVALIDARG, "Sequence.AddEffect : The shape is not on this slide.");
    if (level != 0) throw HostError(E_INVALIDARG, "Sequence.AddEffect : The level is not valid for this shape.");
    if (index != -1 && (index < 1 || index > Count() + 1))
        throw HostError(E_INVALIDARG, "Sequence.AddEffect : Index out of range.");
    auto effect = std::make_shared<Effect>(shape, effectId, trigger);
    effects_.insert(index == -1 ? effects_.end() : effects_.begin() + (index - 1), effect);
    return effect;
}

}  // namespace host
