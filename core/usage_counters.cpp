#include "core/usage_counters.h"

#include <cmath>
#include <iterator>
#include <map>
#include <optional>
#include <string>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/registry.h"
#include "core/variant.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "platform/ui_timers.h"

namespace plorin {

namespace {

// The raises not written yet, for the settings store they were made against.
struct PendingRaises {
    std::map<std::string, long long> counts;
    std::optional<std::int64_t> oldest;  // timer-clock time of the oldest raise kept
    unsigned long store = 0;
};

// Never destroyed: a host that disconnects the add-in while the process exits (its own
// destructor runs after this file's statics are gone) still flushes into live memory.
PendingRaises& pending() {
    static PendingRaises* raises = new PendingRaises;
    return *raises;
}

// A hidden form for the timer that writes the raises kept a while after the first of them.
class FlushTimerForm : public platform::Form {
public:
    FlushTimerForm() : platform::Form("usageCounters") {
        flushTimer.onTimer = [] { flushUsageCounters(); };
        Load();
    }
    platform::Timer flushTimer{*this, "flushTimer", static_cast<int>(kUsageCountersFlushMs), false};
};

platform::Timer& flushTimer() {
    static FlushTimerForm* form = new FlushTimerForm;
    return form->flushTimer;
}

// Raises kept for a store no longer in use are dropped: they must not count in another's.
void forgetRaisesOfAnotherStore(PendingRaises& p) {
    const unsigned long store = platform::registryStoreGeneration();
    if (p.store == store) return;
    p.counts.clear();
    p.oldest.reset();
    p.store = store;
}

long long storedCount(const char* setting) {
    try {
        const double stored = toNumber(getRegistry(setting, "", "0"));
        if (std::isfinite(stored) && stored >= 0 && stored < 9e15) return static_cast<long long>(roundHalfEven(stored));
    } catch (...) {
    }
    return 0;  // not a count: start again
}

}  // namespace

const char* usageCounterFor(int n) {
    if (n == 1018 || n == 1020 || n == 1021) return "statsAgendaWizard";
    if (n == 1027 || n == 1028 || n == 1029) return "statsMyElements";
    if (n > 2000) return "statsSlideWizard";
    if (n >= 1031) return "statsEfficiencyTools";
    return nullptr;
}

void raiseUsageCounter(const char* setting) {
    try {
        static const bool hooked = (platform::setAfterModalForm(&flushUsageCounters), true);
        (void)hooked;
        PendingRaises& p = pending();
        forgetRaisesOfAnotherStore(p);
        ++p.counts[setting];
        const std::int64_t now = platform::timerClock().now();
        if (!p.oldest) {
            p.oldest = now;
            flushTimer().setEnabled(true);
        }
        if (now - *p.oldest >= kUsageCountersFlushMs) flushUsageCounters();
    } catch (...) {
        // The counter is a statistic; the command runs whatever happens to it.
    }
}

void flushUsageCounters() {
    try {
        PendingRaises& p = pending();
        forgetRaisesOfAnotherStore(p);
        for (auto it = p.counts.begin(); it != p.counts.end();) {
            // A count may miss its last raises after a power cut; the settings beside it may
            // not, and each of their writes takes the file's rename to the disk too.
            const bool written = trap("Globals, setRegistry", [&] {
                Registry reg;
                reg.SectionKey = kSettingsKey;
                reg.ValueKey = it->first;
                reg.setValue(Variant(std::to_string(storedCount(it->first.c_str()) + it->second)),
                             platform::Durability::flushed);
            });
            it = written ? p.counts.erase(it) : std::next(it);
        }
        p.oldest.reset();
        flushTimer().setEnabled(!p.counts.empty());
        if (!p.counts.empty()) p.oldest = platform::timerClock().now();
    } catch (...) {
        // Statistics again: whatever failed is tried at the next write.
    }
}

}  // namespace plorin
