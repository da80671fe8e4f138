// The tool object: every one-click command on shapes, text, slides and presentations is
// one of its public methods.
#pragma once

namespace core {

class EfficiencyTools {
public:
    EfficiencyTools() = default;
    EfficiencyTools(const EfficiencyTools&) = delete;
    EfficiencyTools& operator=(const EfficiencyTools&) = delete;
};

}  // namespace core
