// One Unicode character, used to fill and to strip texts (blank, underscore).
#pragma once

namespace kes_detail {
constexpr char32_t kReplacementCharacter = 0xFFFD;
}

class KesUnicodeChar {
public:
    constexpr KesUnicodeChar() = default;
    // An 8-bit character is taken as Latin-1; a byte above 0x7F therefore names U+0080..U+00FF.
    constexpr KesUnicodeChar(char c) : code_(static_cast<unsigned char>(c)) {}
    // Surrogates and values above U+10FFFF are not characters: they become U+FFFD.
    constexpr KesUnicodeChar(char32_t code)
        : code_((code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                    ? kes_detail::kReplacementCharacter
                    : code) {}

    constexpr char32_t GetCode() const { return code_; }
    constexpr bool operator==(const KesUnicodeChar&) const = default;

private:
    char32_t code_ = U' ';
};
