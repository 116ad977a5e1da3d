#include "framework/KesMfgRealText.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string_view>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lowerCase) {
    if (text.size() != lowerCase.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const char c =
            text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != lowerCase[i]) {
            return false;
        }
    }
    return true;
}

// +1 or -1 when `text` is an infinity or a decimal number whose magnitude is at least 1 (the
// caller asks only about texts that did not parse as a finite real, so such a number is too
// large for one); 0 for any other text.
int OverflowSign(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    int sign = 1;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    if (EqualsIgnoringCase(text, "inf") || EqualsIgnoringCase(text, "infinity")) {
        return sign;
    }

    // Digits, an optional fraction and an optional exponent. `leading` is the decimal exponent
    // of the first significant digit as written, before the exponent part.
    size_t pos = 0;
    bool anyDigit = false;
    bool significant = false;
    long long leading = 0;
    long long integerDigits = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        anyDigit = true;
        if (significant || text[pos] != '0') {
            significant = true;
            ++integerDigits;
        }
    }
    if (significant) {
        leading = integerDigits - 1;
    }
    if (pos < text.size() && text[pos] == '.') {
        long long zeros = 0;
        for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos) {
            anyDigit = true;
            if (significant) {
                continue;
            }
            if (text[pos] == '0') {
                ++zeros;
            } else {
                significant = true;
                leading = -(zeros + 1);
            }
        }
    }
    if (!anyDigit) {
        return 0;
    }
    long long exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        long long exponentSign = 1;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            exponentSign = text[pos] == '-' ? -1 : 1;
            ++pos;
        }
        if (pos == text.size() || !IsDigit(text[pos])) {
            return 0;
        }
        for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
            // Saturated: far beyond any real's exponent, and far from overflowing.
            exponent = std::min(exponent * 10 + (text[pos] - '0'), 1'000'000'000LL);
        }
        exponent *= exponentSign;
    }
    if (pos != text.size() || !significant) {
        return 0;
    }
    return leading + exponent >= 0 ? sign : 0;
}

} // namespace

bool KesMfgReadRealText(const KesUnicodeString& text, double* value) {
    if (value == nullptr) {
        return false;
    }
    double parsed = 0.0;
    if (text.ConvertToNum(&parsed, "%le")) {
        *value = parsed + 0.0; // -0 reads as 0
        return true;
    }
    *value = OverflowSign(text.Str()) * DBL_MAX;
    return false;
}

double KesMfgFiniteReal(double value) {
    return std::isinf(value) ? std::copysign(DBL_MAX, value) : value;
}

double KesMfgFiniteLimit(double limit, double unbounded) {
    return std::isnan(limit) ? unbounded : KesMfgFiniteReal(limit);
}
