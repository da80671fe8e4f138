// SHA-256, for checking that downloaded files are the ones their publisher listed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plorin {

class Sha256 {
public:
    Sha256();
    // Adds bytes; may be called any number of times.
    void update(const void* data, std::size_t size);
    void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }
    // The digest of everything added, as 64 lower-case hexadecimal digits. Ends the hashing:
    // the object starts over afterwards.
    std::string hexDigest();

private:
    void block(const std::uint8_t* p);
    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

// The digest of one text.
std::string sha256Hex(std::string_view bytes);

}  // namespace plorin
