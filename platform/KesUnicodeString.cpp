// KesUnicodeString: UTF-8 validation, number formatting and parsing, strip and resize.
//
// Index:
//   UTF-8 helpers
//   Construction and comparison
//   BuildFromNum (format checking)
//   ConvertToNum
//   Strip, Resize, Append
#include "platform/KesUnicodeString.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <system_error>
#include <vector>

// ---------------------------------------------------------------------------------------------
// UTF-8 helpers
// ---------------------------------------------------------------------------------------------
namespace {

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Decodes one character at `pos` of valid-or-not UTF-8; returns its code (U+FFFD for a bad
// byte) and advances `pos` past it (by one byte for a bad byte).
char32_t DecodeOne(std::string_view text, size_t& pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kes_detail::kReplacementCharacter;
    }
    if (pos + static_cast<size_t>(length) > text.size()) {
        ++pos;
        return kes_detail::kReplacementCharacter;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + static_cast<size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kes_detail::kReplacementCharacter;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++pos;
        return kes_detail::kReplacementCharacter;
    }
    pos += static_cast<size_t>(length);
    return code;
}

std::string Sanitise(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        // Fast path for runs of ASCII.
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            out.push_back(text[pos++]);
            continue;
        }
        AppendUtf8(out, DecodeOne(text, pos));
    }
    return out;
}

std::vector<char32_t> Decode(const std::string& text) {
    std::vector<char32_t> codes;
    codes.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        codes.push_back(DecodeOne(text, pos));
    }
    return codes;
}

std::string Encode(const std::vector<char32_t>& codes, size_t begin, size_t end) {
    std::string out;
    for (size_t i = begin; i < end; ++i) {
        AppendUtf8(out, codes[i]);
    }
    return out;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction and comparison
// ---------------------------------------------------------------------------------------------
KesUnicodeString::KesUnicodeString(const char* utf8)
    : KesUnicodeString(std::string_view(utf8 ? utf8 : "")) {}

KesUnicodeString::KesUnicodeString(std::string_view utf8) : text_(Sanitise(utf8)) {}

bool KesUnicodeString::operator==(const char* other) const {
    return text_ == (other ? other : "");
}

int KesUnicodeString::GetLengthInChar() const {
    int count = 0;
    for (char c : text_) {
        // Every character has exactly one byte that is not a continuation byte.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

// ---------------------------------------------------------------------------------------------
// BuildFromNum
// ---------------------------------------------------------------------------------------------
namespace {

enum class ConversionKind { Invalid, Integer, Real };

struct CheckedFormat {
    ConversionKind kind = ConversionKind::Invalid;
    std::string printfFormat; // the format rewritten for an int or a double argument
};

// Accepts literal text, "%%", and exactly one conversion with flags, width and precision of at
// most 100, an optional length modifier, and one of d i u o x X (integer) or f F e E g G a A.
CheckedFormat CheckFormat(const char* format) {
    CheckedFormat result;
    if (format == nullptr) {
        return result;
    }
    std::string out;
    int conversions = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            out.push_back(*p);
            continue;
        }
        ++p;
        if (*p == '%') {
            out += "%%";
            continue;
        }
        std::string conversion = "%";
        while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) {
            conversion.push_back(*p++);
        }
        int width = 0;
        while (*p >= '0' && *p <= '9') {
            width = width * 10 + (*p - '0');
            if (width > 100) {
                return result;
            }
            conversion.push_back(*p++);
        }
        if (*p == '.') {
            conversion.push_back(*p++);
            int precision = 0;
            while (*p >= '0' && *p <= '9') {
                precision = precision * 10 + (*p - '0');
                if (precision > 100) {
                    return result;
                }
                conversion.push_back(*p++);
            }
        }
        while (*p == 'l' || *p == 'L' || *p == 'h') {
            ++p; // the argument type is decided below, not by the modifier
        }
        if (*p == '\0') {
            return result;
        }
        if (std::strchr("diuoxX", *p) != nullptr) {
            result.kind = ConversionKind::Integer;
        } else if (std::strchr("fFeEgGaA", *p) != nullptr) {
            result.kind = ConversionKind::Real;
        } else {
            return CheckedFormat{};
        }
        conversion.push_back(*p);
        out += conversion;
        ++conversions;
    }
    if (conversions != 1) {
        return CheckedFormat{};
    }
    result.printfFormat = std::move(out);
    return result;
}

int SaturateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

// printf writes the decimal point of the C library's numeric locale, which a host may have
// switched (a Qt application takes the system's locale at start-up). The toolkit's texts always
// use '.', as its readers (from_chars) and every value record expect.
void UsePointAsDecimalPoint(std::string& text) {
    const char* point = std::localeconv()->decimal_point;
    if (point == nullptr || *point == '\0' || std::strcmp(point, ".") == 0) {
        return;
    }
    const size_t length = std::strlen(point);
    for (size_t at = text.find(point); at != std::string::npos; at = text.find(point, at + 1)) {
        text.replace(at, length, ".");
    }
}

template <class Number> std::string FormatWith(const std::string& format, Number value) {
    char buffer[512];
    // The format was checked: one conversion, width and precision at most 100, so the text
    // fits unless the real is huge in %f; then the longer buffer below is used.
    const int needed = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
    if (needed < 0) {
        return std::string();
    }
    std::string text;
    if (static_cast<size_t>(needed) < sizeof buffer) {
        text.assign(buffer, static_cast<size_t>(needed));
    } else {
        text.assign(static_cast<size_t>(needed) + 1, '\0');
        std::snprintf(text.data(), text.size(), format.c_str(), value);
        text.resize(static_cast<size_t>(needed));
    }
    UsePointAsDecimalPoint(text);
    return text;
}

} // namespace

KesUnicodeString& KesUnicodeString::BuildFromNum(int value, const char* format) {
    const CheckedFormat checked = CheckFormat(format);
    switch (checked.kind) {
    case ConversionKind::Integer:
        text_ = Sanitise(FormatWith(checked.printfFormat, value));
        break;
    case ConversionKind::Real:
        text_ = Sanitise(FormatWith(checked.printfFormat, static_cast<double>(value)));
        break;
    case ConversionKind::Invalid:
        text_.clear();
        break;
    }
    return *this;
}

KesUnicodeString& KesUnicodeString::BuildFromNum(double value, const char* format) {
    const CheckedFormat checked = CheckFormat(format);
    switch (checked.kind) {
    case ConversionKind::Integer:
        text_ = Sanitise(FormatWith(checked.printfFormat, SaturateToInt(value)));
        break;
    case ConversionKind::Real:
        text_ = Sanitise(FormatWith(checked.printfFormat, value));
        break;
    case ConversionKind::Invalid:
        text_.clear();
        break;
    }
    return *this;
}

// ---------------------------------------------------------------------------------------------
// ConvertToNum
// ---------------------------------------------------------------------------------------------
bool KesUnicodeString::ConvertToNum(int* target, const char* /*format*/) const {
    if (target == nullptr) {
        return false;
    }
    std::string_view text = TrimBlanks(text_);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            return false;
        }
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return false;
    }
    *target = value;
    return true;
}

bool KesUnicodeString::ConvertToNum(double* target, const char* /*format*/) const {
    if (target == nullptr) {
        return false;
    }
    std::string_view text = TrimBlanks(text_);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            return false;
        }
    }
    if (text.empty()) {
        return false;
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return false;
    }
    *target = value;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Strip, Resize, Append
// ---------------------------------------------------------------------------------------------
KesUnicodeString KesUnicodeString::Strip(int mode, KesUnicodeChar character) const {
    if (mode < 1 || mode > 4) {
        return *this;
    }
    const std::vector<char32_t> codes = Decode(text_);
    const char32_t c = character.GetCode();
    KesUnicodeString result;
    if (mode == 4) {
        for (char32_t code : codes) {
            if (code != c) {
                AppendUtf8(result.text_, code);
            }
        }
        return result;
    }
    size_t begin = 0;
    size_t end = codes.size();
    if (mode == 1 || mode == 3) {
        while (begin < end && codes[begin] == c) {
            ++begin;
        }
    }
    if (mode == 2 || mode == 3) {
        while (end > begin && codes[end - 1] == c) {
            --end;
        }
    }
    result.text_ = Encode(codes, begin, end);
    return result;
}

KesUnicodeString& KesUnicodeString::Resize(int length, KesUnicodeChar filler, int /*mode*/) {
    const size_t wanted = length > 0 ? static_cast<size_t>(length) : 0;
    size_t count = 0;
    size_t pos = 0;
    while (pos < text_.size() && count < wanted) {
        DecodeOne(text_, pos); // the text is valid UTF-8, so this steps one whole character
        ++count;
    }
    text_.resize(pos);
    for (; count < wanted; ++count) {
        AppendUtf8(text_, filler.GetCode());
    }
    return *this;
}

KesUnicodeString& KesUnicodeString::Append(const KesUnicodeString& other) {
    text_ += other.text_;
    return *this;
}

KesUnicodeString& KesUnicodeString::Append(KesUnicodeChar character) {
    AppendUtf8(text_, character.GetCode());
    return *this;
}

KesUnicodeString KesUnicodeString::operator+(const KesUnicodeString& other) const {
    KesUnicodeString result(*this);
    result.text_ += other.text_;
    return result;
}

KesUnicodeString KesUnicodeString::operator+(const char* other) const {
    return *this + KesUnicodeString(other);
}

KesUnicodeString KesToAsciiUpper(const KesUnicodeString& text) {
    std::string upper = text.Str();
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return KesUnicodeString(upper);
}
