// Timers on forms, and the clock they run on.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui_forms.h"

namespace platform {

// The clock that timers run on. Tests and scenarios advance a virtual clock; the
// simulator's loop may run it against real time. One UI thread only.
class TimerClock {
public:
    TimerClock() = default;
    TimerClock(const TimerClock&) = delete;
    TimerClock& operator=(const TimerClock&) = delete;

    // Milliseconds since the clock started.
    std::int64_t now() const { return now_; }
    // Moves time forward by ms (negative counts as 0), firing each due timer in due-time
    // order (ties in the order the timers were enabled or restarted); a timer fires once
    // per elapsed interval, with now() at the tick's time. Ticks may start, stop or
    // restart timers, unload forms or destroy them. A tick that lets time pass (a modal
    // dialog whose driver advances the clock) sees the later ticks, its own timer's too,
    // inside that call; time never runs backwards.
    void advance(std::int64_t ms);
    // When the next tick is due, or nothing when no timer runs.
    std::optional<std::int64_t> nextDue() const;

private:
    friend class Timer;
    void add(Timer* t);
    void remove(Timer* t);
    std::vector<Timer*> timers_;
    std::int64_t now_ = 0;
    std::uint64_t sequence_ = 0;
};

TimerClock& timerClock();

class Timer : public Control {
public:
    // As placed on the form at design time: an enabled timer starts when its form loads.
    Timer(Form& form, std::string name, int interval, bool enabled);
    ~Timer() override;  // stops the timer
    const char* kind() const override { return "Timer"; }
    int Interval() const { return interval_; }
    // Restarts the count from now, also for the same interval; 0 stops the ticks;
    // a negative interval raises NumberedError 380.
    void setInterval(int ms);
    bool isEnabled() const { return enabled_; }  // Control::Enabled mirrors it
    // A timer only ticks while enabled, with an interval, and its form loaded; enabling a
    // stopped timer starts the count from now, enabling a running one changes nothing.
    void setEnabled(bool on);
    std::function<void()> onTimer;

private:
    friend class TimerClock;
    friend class Form;
    void reschedule();
    int interval_;
    bool enabled_;
    std::int64_t due_ = 0;
    std::uint64_t order_ = 0;
    bool scheduled_ = false;
};

}  // namespace platform
