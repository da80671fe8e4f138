#include "core/guid.h"

#include <cstdio>

#include "core/errors.h"
#include "platform/services.h"

namespace plorin {

std::string padHex(std::int32_t number, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<std::uint32_t>(number));
    std::string s = buf;
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
    return s;
}

std::string padHex(std::int16_t number, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<std::uint16_t>(number)));
    std::string s = buf;
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
    return s;
}

std::string getGUID() {
    std::string result;
    trap("ApiHelpers, getGUID", [&] {
        auto g = platform::shell().newGuid();
        if (!g) return;
        const auto& b = *g;
        // The first three fields are stored little-endian, as the system's GUID record is.
        auto data1 = static_cast<std::int32_t>(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                                               std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
        auto data2 = static_cast<std::int16_t>(b[4] | b[5] << 8);
        auto data3 = static_cast<std::int16_t>(b[6] | b[7] << 8);
        std::string s = padHex(data1, 8) + "-" + padHex(data2, 4) + "-" + padHex(data3, 4) + "-" +
                        padHex(std::int32_t(b[8]), 2) + padHex(std::int32_t(b[9]), 2) + "-";
        for (int i = 10; i < 16; ++i) s += padHex(std::int32_t(b[i]), 2);
        result = s;
    });
    return result;
}

}  // namespace plorin
