// Timers on a virtual clock: the clock keeps the running timers and fires them in
// due-time order when someone moves time forward.
#include "platform/ui_timers.h"

#include <algorithm>
#include <limits>

#include "platform/errors.h"

namespace platform {

TimerClock& timerClock() {
    // Never destroyed: a form kept in a static of its own (the icons form of an add-in still
    // connected at exit) stops its timers after this function's statics would be gone.
    static TimerClock* clock = new TimerClock;
    return *clock;
}

void TimerClock::add(Timer* t) {
    if (!t->scheduled_) timers_.push_back(t);
    t->scheduled_ = true;
    t->due_ = now_ + t->interval_;
    t->order_ = ++sequence_;
}

void TimerClock::remove(Timer* t) {
    if (!t->scheduled_) return;
    std::erase(timers_, t);
    t->scheduled_ = false;
}

std::optional<std::int64_t> TimerClock::nextDue() const {
    std::optional<std::int64_t> next;
    for (const Timer* t : timers_)
        if (!next || t->due_ < *next) next = t->due_;
    return next;
}

void TimerClock::advance(std::int64_t ms) {
    // Time ends at the largest count rather than wrapping round into the past.
    const std::int64_t step = std::max<std::int64_t>(ms, 0);
    const std::int64_t target =
        step > std::numeric_limits<std::int64_t>::max() - now_ ? std::numeric_limits<std::int64_t>::max() : now_ + step;
    // The running set is looked up afresh before every tick: a tick may have stopped,
    // restarted or destroyed any timer, its own included.
    for (;;) {
        Timer* next = nullptr;
        for (Timer* t : timers_) {
            if (t->due_ > target) continue;
            if (!next || t->due_ < next->due_ || (t->due_ == next->due_ && t->order_ < next->order_)) next = t;
        }
        if (!next) break;
        // A nested advance (inside an earlier tick) may have gone further already.
        now_ = std::max(now_, next->due_);
        next->due_ += next->interval_;
        if (next->onTimer) {
            auto handler = next->onTimer;  // the timer may not outlive its tick
            handler();
        }
    }
    now_ = std::max(now_, target);
}

Timer::Timer(Form& form, std::string name, int interval, bool enabled)
    : Control(form, std::move(name)), interval_(interval), enabled_(enabled) {
    if (interval < 0) {
        throw NumberedError(380, "Invalid property value (" + this->name() + ")", form.name());
    }
    Enabled = enabled;
    form.registerTimer(this);
    reschedule();
}

Timer::~Timer() {
    timerClock().remove(this);
    form().unregisterTimer(this);
}

void Timer::reschedule() {
    TimerClock& clock = timerClock();
    if (enabled_ && interval_ > 0 && form().loaded()) clock.add(this);
    else clock.remove(this);
}

void Timer::setInterval(int ms) {
    if (ms < 0) throw NumberedError(380, "Invalid property value (" + name() + ")", form().name());
    interval_ = ms;
    reschedule();
}

void Timer::setEnabled(bool on) {
    Enabled = on;
    if (on == enabled_) return;
    enabled_ = on;
    reschedule();
}

}  // namespace platform
