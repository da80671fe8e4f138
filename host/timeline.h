// A slide's animations: the main sequence of effects, each with its behaviours. The stand-in
// keeps what a command sets and checks its arguments; it plays nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host.h"

namespace host {

enum MsoAnimEffect : int { msoAnimEffectCustom = 0, msoAnimEffectPathDown = 127 };
enum MsoAnimType : int { msoAnimTypeNone = 0, msoAnimTypeMotion = 1 };
enum MsoAnimTriggerType : int { msoAnimTriggerOnPageClick = 1 };

struct MotionEffect {
    std::string Path;  // the motion path's text, in fractions of the slide size
};

struct AnimationTiming {
    bool SmoothStart = false;
    bool SmoothEnd = false;
};

class Effect;

class AnimationBehavior {
public:
    int Type() const { return type_; }
    host::MotionEffect& MotionEffect() { return motion_; }
    host::AnimationTiming& Timing() { return timing_; }
    // Removes the behaviour from its effect; HostError(E_FAIL) when already removed.
    void Delete();

    AnimationBehavior(Effect* owner, int type) : owner_(owner), type_(type) {}

private:
    friend class Effect;
    Effect* owner_;
    int type_;
    host::MotionEffect motion_;
    host::AnimationTiming timing_;
};

class Effect {
public:
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;
    std::shared_ptr<host::Shape> Shape() const { return shape_; }
    int EffectType() const { return type_; }
    int Trigger() const { return trigger_; }
    int BehaviorCount() const { return static_cast<int>(behaviors_.size()); }
    // Behaviors(index), 1-based; HostError(E_FAIL) when out of range.
    std::shared_ptr<AnimationBehavior> Behavior(int index) const;
    // Behaviors.Add: a new behaviour of that type at `index` (1-based, -1 appends);
    // HostError(E_INVALIDARG) for an unknown type or an index out of range.
    std::shared_ptr<AnimationBehavior> AddBehavior(int type, int index = -1);

    Effect(std::shared_ptr<host::Shape> shape, int type, int trigger);

private:
    friend class AnimationBehavior;
    std::shared_ptr<host::Shape> shape_;
    int type_;
    int trigger_;
    std::vector<std::shared_ptr<AnimationBehavior>> behaviors_;
};

class Sequence {
public:
    int Count() const { return static_cast<int>(effects_.size()); }
    std::shared_ptr<Effect> Item(int index) const;  // 1-based
    // A new effect for a live shape of the sequence's slide, with the one behaviour its type
    // brings (a motion for the path effects and the custom one). index -1 appends.
    // HostError(E_INVALIDARG) for a shape of another slide, a deleted shape, a level other
    // than 0 or an index out of range.
    std::shared_ptr<Effect> AddEffect(const std::shared_ptr<host::Shape>& shape, int effectId, int level = 0,
                                      int trigger = msoAnimTriggerOnPageClick, int index = -1);

    explicit Sequence(Slide* slide) : slide_(slide) {}

private:
    Slide* slide_;
    std::vector<std::shared_ptr<Effect>> effects_;
};

class TimeLine {
public:
    host::Sequence& MainSequence() { return main_; }
    explicit TimeLine(Slide* slide) : main_(slide) {}

private:
    host::Sequence main_;
};

}  // namespace host
