// Unicode text: labels, values, names, help and messages.
//
// The text is kept as valid UTF-8. Bytes that do not form valid UTF-8 (stray continuation bytes,
// overlong forms, surrogates, truncated sequences) are each replaced by U+FFFD when the text is
// built, so every later operation works on whole characters. Lengths, cuts and padding count
// characters (code points), never bytes, and never split a character.
#pragma once

#include "platform/KesString.h"
#include "platform/KesUnicodeChar.h"

#include <string>
#include <string_view>

class KesUnicodeString {
public:
    KesUnicodeString() = default;
    // A null pointer gives the empty text.
    KesUnicodeString(const char* utf8);
    KesUnicodeString(std::string_view utf8);
    KesUnicodeString(const std::string& utf8) : KesUnicodeString(std::string_view(utf8)) {}
    explicit KesUnicodeString(const KesString& text) : KesUnicodeString(text.Str()) {}

    // Formats a number with a printf-style format holding exactly one conversion ("%d", "%g",
    // "%le", "%12.7f", ...), replacing this text. An integer conversion given a real formats the
    // real rounded toward zero and saturated to the int range (NaN gives 0); a real conversion
    // given an integer formats it as a real. Field width and precision are capped at 100. A
    // format that is not of that shape gives the empty text. Returns this text.
    KesUnicodeString& BuildFromNum(int value, const char* format);
    KesUnicodeString& BuildFromNum(double value, const char* format);

    // Parses the whole text (blanks around it allowed) as a number. An integer target takes a
    // decimal integer with an optional sign; a text outside the int range does not parse. A real
    // target takes a finite decimal or exponent form; "nan", "inf" and texts outside the range of
    // reals, too large ("1e999") or too small ("1e-999"), do not parse. The format only documents
    // the caller's intent. Returns true and writes the target when the text parses; otherwise
    // returns false and leaves the target untouched. A null target is refused.
    bool ConvertToNum(int* target, const char* format) const;
    bool ConvertToNum(double* target, const char* format) const;

    // Returns a copy without the given character. Mode 1: at the start; 2: at the end; 3: at
    // both ends (surrounding characters); 4: everywhere. Any other mode: an unchanged copy.
    KesUnicodeString Strip(int mode, KesUnicodeChar character) const;

    // Pads with the filler, or cuts, to exactly `length` characters (0 for a negative length).
    // The mode is accepted for compatibility; every mode pads and cuts at the end. Returns this.
    KesUnicodeString& Resize(int length, KesUnicodeChar filler, int mode);

    int GetLengthInChar() const;
    int GetLengthInBytes() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    const char* CastToCharPtr() const { return text_.c_str(); }
    const std::string& Str() const { return text_; }
    KesString ToKesString() const { return KesString(text_); }

    KesUnicodeString& Append(const KesUnicodeString& other);
    KesUnicodeString& Append(KesUnicodeChar character);
    KesUnicodeString operator+(const KesUnicodeString& other) const;
    KesUnicodeString operator+(const char* other) const;

    bool operator==(const KesUnicodeString& other) const { return text_ == other.text_; }
    bool operator==(const char* other) const;
    bool operator<(const KesUnicodeString& other) const { return text_ < other.text_; }

private:
    std::string text_; // always valid UTF-8
};

// ASCII letters a..z to A..Z; every other character is left as it is.
KesUnicodeString KesToAsciiUpper(const KesUnicodeString& text);
