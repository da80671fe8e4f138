// The user's number format: the decimal separator numbers are shown in and typed with.
// It starts as "."; tests and the simulator set "," to work as a user of a comma locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

char decimalSeparator();
// '.' or ','; any other character is ignored. Returns the separator before.
char setDecimalSeparator(char separator);

// Sets the separator for a scope (a test) and puts the previous one back afterwards.
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(char separator) : previous_(decimalSeparator()) { setDecimalSeparator(separator); }
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;
    ~ScopedDecimalSeparator() { setDecimalSeparator(previous_); }

private:
    char previous_;
};

// A number the user typed: blanks around it, an optional sign, digits with at most one
// decimal mark (the locale's separator, or "." which the dialogs show), an optional
// exponent. Thousands separators and anything else make it no number (nothing returned).
std::optional<double> readUserNumber(std::string_view text);

// The number with up to `digits` significant digits, as the locale shows it (no exponent
// for everyday magnitudes, no trailing zeros).
std::string formatUserNumber(double value, int digits);

}  // namespace platform
