#include "core/usage_counters.h"

#include <cmath>

#include "core/globals.h"
#include "core/registry.h"
#include "core/whole_numbers.h"

namespace plorin {

const char* usageCounterFor(int n) {
    if (n == 1018 || n == 1020 || n == 1021) return "statsAgendaWizard";
    if (n == 1027 || n == 1028 || n == 1029) return "statsMyElements";
    if (n > 2000) return "statsSlideWizard";
    if (n >= 1031) return "statsEfficiencyTools";
    return nullptr;
}

void raiseUsageCounter(const char* setting) {
    try {
        long long count = 0;
        try {
            const double stored = toNumber(getRegistry(setting, "", "0"));
            if (std::isfinite(stored) && stored >= 0 && stored < 9e15) count = static_cast<long long>(roundHalfEven(stored));
        } catch (...) {
            count = 0;  // not a count: start again
        }
        // A count may miss its last clicks after a power cut; the settings beside it may not,
        // and each of their writes takes the file's rename to the disk too.
        setRegistry(setting, std::to_string(count + 1), "", platform::Durability::flushed);
    } catch (...) {
        // The counter is a statistic; the command runs whatever happens to it.
    }
}

}  // namespace plorin
