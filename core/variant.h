// A value of any of the kinds the system stores and compares: nothing, a number, a text
// or bytes. Numbers compare numerically, texts as texts, and a number sorts before a text.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace plorin {

using Bytes = std::vector<std::uint8_t>;

class Variant {
public:
    Variant() = default;
    Variant(int v) : v_(static_cast<double>(v)) {}
    Variant(long v) : v_(static_cast<double>(v)) {}
    Variant(long long v) : v_(static_cast<double>(v)) {}
    Variant(double v) : v_(v) {}
    Variant(std::string v) : v_(std::move(v)) {}
    Variant(const char* v) : v_(std::string(v)) {}
    Variant(Bytes v) : v_(std::move(v)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool isNumber() const { return std::holds_alternative<double>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }
    bool isBytes() const { return std::holds_alternative<Bytes>(v_); }

    double number() const { return std::get<double>(v_); }
    const std::string& text() const { return std::get<std::string>(v_); }
    const Bytes& bytes() const { return std::get<Bytes>(v_); }

    // The value as text: numbers without a needless fraction ("5", "2.5"), bytes as they are.
    std::string toText() const;

    // Strict ordering for sorting: empty < numbers < texts < bytes.
    bool lessThan(const Variant& other) const;

private:
    std::variant<std::monostate, double, std::string, Bytes> v_;
};

}  // namespace plorin
