// KesFuzzChecks: what each fuzz target does with one input, and the checks it makes. Each
// function answers an empty text when every check holds, else the first fault found. The fuzz
// targets (fuzz/*.cpp) stop the process on a fault; the replay test
// (tests/robustness/KesFuzzReplayTest.cpp) runs every committed input of fuzz/corpus/ and
// fuzz/regressions/ through the same functions in the ordinary test build.
//
// Index
//   Panel session     the input as the monkey's steps over a panel of every attribute class
//   Number texts      ConvertToNum and BuildFromNum on arbitrary bytes and formats
//   String operations construction from bytes, Strip, Resize, Append, upper case
//   Panel files       any bytes read as a panel file; a file accepted is written, read back and
//                     built
#pragma once

#include "platform/KesDlgFrame.h"
#include "platform/KesMfgModel.h"
#include "platform/KesUnicodeString.h"
#include "tests/robustness/KesMonkeyTestPanel.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelFile.h"
#include "tools/KesPanelMonkey.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kes_fuzz {

// =============================================================================================
// Panel session
// =============================================================================================

// The steps one input may hold at most, so that one input stays quick.
constexpr int kMaxSessionSteps = 3000;

// The first byte picks the configuration of the test panel, the others the monkey's steps,
// every check made after every step. The settings folder (KES_SETTINGS_DIR) is the caller's: it
// should be empty at each input, so that an input replays alike.
inline std::string PanelSession(const uint8_t* data, size_t size) {
    const uint32_t configuration = size > 0 ? data[0] : 0;
    KesPanelMonkey monkey([configuration](KesDlgTestFrame& frame) {
        return KesBuildMonkeyTestPanel(frame, configuration);
    });
    KesByteSource source(size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
    const KesPanelMonkey::Result result = monkey.Run(source, kMaxSessionSteps, false);
    if (!result.failure) {
        return std::string();
    }
    return "step " + std::to_string(result.failure->step) + " (" + result.failure->line +
           "): " + result.failure->fault.Text();
}

// =============================================================================================
// Shared helpers
// =============================================================================================

// An independent check that bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF); counts the characters.
inline bool IsValidUtf8(std::string_view text, int* characters = nullptr) {
    int count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        const auto byte = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        char32_t code = 0;
        if (byte < 0x80) {
            length = 1;
            code = byte;
        } else if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
            code = byte & 0x1F;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            code = byte & 0x0F;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
            code = byte & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    if (characters != nullptr) {
        *characters = count;
    }
    return true;
}

// The characters (code points) of valid UTF-8.
inline std::vector<std::string> Characters(std::string_view text) {
    std::vector<std::string> characters;
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        characters.emplace_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

// Reads the input from the front: fixed-size numbers first, the rest as text.
class KesInput {
public:
    KesInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    template <class T> T Take() {
        T value{};
        unsigned char bytes[sizeof(T)] = {};
        for (size_t i = 0; i < sizeof(T) && position_ < size_; ++i) {
            bytes[i] = data_[position_++];
        }
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }
    // The next `count` bytes (fewer at the end).
    std::string TakeText(size_t count) {
        const size_t taken = std::min(count, size_ - position_);
        std::string text(reinterpret_cast<const char*>(data_ + position_), taken);
        position_ += taken;
        return text;
    }
    std::string Rest() { return TakeText(size_ - position_); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

inline bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A sign, then digits: what an integer target takes.
inline bool IsDecimalInteger(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    return AllDigits(text);
}

// A sign, digits, and an optional fraction, no exponent: a real that must always parse.
inline bool IsPlainDecimal(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    const size_t point = text.find('.');
    if (point == std::string_view::npos) {
        return AllDigits(text);
    }
    const std::string_view fraction = text.substr(point + 1);
    return AllDigits(text.substr(0, point)) && (fraction.empty() || AllDigits(fraction));
}

// Whether a printf format holds a conversion that reads a width, a precision or an argument of
// another kind than a number ("%*d", "%.*f", "%s", "%n", ...).
inline bool ReadsOtherArguments(std::string_view format) {
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t k = i + 1;
        while (k < format.size() && format[k] != '\0' &&
               std::strchr("-+ #0123456789.lLhqjzt", format[k]) != nullptr) {
            ++k;
        }
        if (k < format.size() && format[k] != '\0' &&
            std::strchr("*nspcCSm", format[k]) != nullptr) {
            return true;
        }
        i = k;
    }
    return false;
}

// =============================================================================================
// Number texts
// =============================================================================================

// Input: a selector byte, an int and a double to format, a format text of up to 24 bytes, and
// the rest as the text to parse.
inline std::string NumberText(const uint8_t* data, size_t size) {
    KesInput input(data, size);
    const auto selector = input.Take<uint8_t>();
    const auto integer = input.Take<int32_t>();
    const auto real = input.Take<double>();
    std::string format = input.TakeText(selector % 25);
    format.resize(std::strlen(format.c_str())); // what BuildFromNum sees of it
    const std::string raw = input.Rest();
    const KesUnicodeString text(raw);
    if (!IsValidUtf8(text.Str())) {
        return "a text built from bytes is not UTF-8";
    }

    // ConvertToNum into an int: untouched on failure, the decimal value on success.
    constexpr int kUntouched = 0x5EED5EED;
    int parsedInt = kUntouched;
    const bool intParsed = text.ConvertToNum(&parsedInt, "%d");
    const std::string_view trimmed = TrimBlanks(text.Str());
    if (!intParsed && parsedInt != kUntouched) {
        return "a failed integer conversion changed its target";
    }
    if (IsDecimalInteger(trimmed) && trimmed.size() < 30) {
        const long long expected = std::strtoll(std::string(trimmed).c_str(), nullptr, 10);
        const bool fits = expected >= INT32_MIN && expected <= INT32_MAX;
        if (fits != intParsed || (fits && parsedInt != expected)) {
            return "the integer text \"" + std::string(trimmed) + "\" is converted wrongly";
        }
    } else if (intParsed && !IsDecimalInteger(trimmed)) {
        return "\"" + std::string(trimmed) + "\" converted as an integer";
    }

    // ConvertToNum into a real: untouched on failure; finite, and equal to what the C library
    // reads, on success; a plain decimal always parses.
    const double untouched = -0.0;
    double parsedReal = untouched;
    const bool realParsed = text.ConvertToNum(&parsedReal, "%le");
    if (!realParsed && !(parsedReal == 0.0 && std::signbit(parsedReal))) {
        return "a failed real conversion changed its target";
    }
    if (realParsed) {
        if (!std::isfinite(parsedReal)) {
            return "\"" + std::string(trimmed) + "\" converted to a real that is not finite";
        }
        const std::string copy(trimmed);
        char* end = nullptr;
        const double expected = std::strtod(copy.c_str(), &end);
        if (end != copy.c_str() + copy.size() || expected != parsedReal) {
            return "\"" + copy + "\" converted to a real the C library reads otherwise";
        }
    } else if (IsPlainDecimal(trimmed) && trimmed.size() < 300) {
        return "the plain decimal \"" + std::string(trimmed) + "\" did not convert";
    }

    // BuildFromNum with the formats the library uses gives what printf gives, and reads back.
    char expected[512];
    std::snprintf(expected, sizeof expected, "%d", integer);
    if (KesUnicodeString().BuildFromNum(static_cast<int>(integer), "%d") != expected) {
        return "BuildFromNum(int, %d) differs from printf";
    }
    if (std::isfinite(real)) {
        for (const char* realFormat : {"%g", "%le", "%12.7f", "%.17g"}) {
            std::snprintf(expected, sizeof expected, realFormat, real);
            if (std::strlen(expected) < sizeof expected - 1 &&
                KesUnicodeString().BuildFromNum(real, realFormat) != expected) {
                return std::string("BuildFromNum(double, ") + realFormat + ") differs from printf";
            }
        }
        double back = 0.0;
        if (!KesUnicodeString().BuildFromNum(real, "%.17g").ConvertToNum(&back, "%le") ||
            back != real) {
            return "a real formatted with %.17g does not read back";
        }
    }
    int intBack = 0;
    if (!KesUnicodeString()
             .BuildFromNum(static_cast<int>(integer), "%d")
             .ConvertToNum(&intBack, "%d") ||
        intBack != integer) {
        return "an integer formatted with %d does not read back";
    }

    // BuildFromNum with any format: no crash, UTF-8, and no longer than the format's own text
    // plus one conversion of width and precision of at most 100.
    for (const KesUnicodeString& built :
         {KesUnicodeString().BuildFromNum(real, format.c_str()),
          KesUnicodeString().BuildFromNum(static_cast<int>(integer), format.c_str())}) {
        if (!IsValidUtf8(built.Str())) {
            return "BuildFromNum gave a text that is not UTF-8";
        }
        if (built.Str().size() > format.size() * 3 + 420) {
            return "BuildFromNum gave " + std::to_string(built.Str().size()) + " bytes for \"" +
                   format + "\"";
        }
    }
    // A format that reads arguments other than the one number gives the empty text.
    if (ReadsOtherArguments(format) &&
        !KesUnicodeString().BuildFromNum(real, format.c_str()).IsEmpty()) {
        return "BuildFromNum took the format \"" + format + "\"";
    }
    return std::string();
}

// =============================================================================================
// String operations
// =============================================================================================

// Input: a mode byte, a character (32 bits), a length (16 bits, signed), then the text.
inline std::string StringOperations(const uint8_t* data, size_t size) {
    KesInput input(data, size);
    const auto mode = static_cast<int>(input.Take<uint8_t>() % 7); // 0..6: 1-4 and others
    const auto code = input.Take<uint32_t>();
    const auto length = static_cast<int>(input.Take<int16_t>());
    const std::string raw = input.Rest();

    const KesUnicodeString text(raw);
    int characters = 0;
    if (!IsValidUtf8(text.Str(), &characters)) {
        return "a text built from bytes is not UTF-8";
    }
    if (IsValidUtf8(raw) && text.Str() != raw) {
        return "valid UTF-8 was changed when the text was built";
    }
    if (text.GetLengthInChar() != characters) {
        return "GetLengthInChar counts " + std::to_string(text.GetLengthInChar()) + ", not " +
               std::to_string(characters);
    }
    const std::vector<std::string> pieces = Characters(text.Str());

    // Strip: what is left is UTF-8 and lacks the character where the mode says.
    const KesUnicodeChar character = (code & 0x80000000u) != 0
                                         ? KesUnicodeChar(static_cast<char>(code & 0xFF))
                                         : KesUnicodeChar(static_cast<char32_t>(code & 0x1FFFFF));
    const std::string stripped = KesUnicodeString().Append(character).Str();
    const KesUnicodeString result = text.Strip(mode, character);
    if (!IsValidUtf8(result.Str())) {
        return "Strip gave a text that is not UTF-8";
    }
    size_t first = 0;
    size_t last = pieces.size();
    const bool fromStart = mode == 1 || mode == 3;
    const bool fromEnd = mode == 2 || mode == 3;
    while (fromStart && first < last && pieces[first] == stripped) {
        ++first;
    }
    while (fromEnd && last > first && pieces[last - 1] == stripped) {
        --last;
    }
    std::string expected;
    for (size_t i = first; i < last; ++i) {
        if (mode != 4 || pieces[i] != stripped) {
            expected += pieces[i];
        }
    }
    if (result.Str() != expected) {
        return "Strip in mode " + std::to_string(mode) + " gave another text";
    }

    // Resize: exactly max(length, 0) characters, the text's first ones, then the filler.
    KesUnicodeString resized = text;
    resized.Resize(length, character, mode);
    std::string padded;
    const int wanted = std::max(length, 0);
    for (int i = 0; i < wanted; ++i) {
        padded += i < static_cast<int>(pieces.size()) ? pieces[static_cast<size_t>(i)] : stripped;
    }
    if (resized.Str() != padded || resized.GetLengthInChar() != wanted) {
        return "Resize to " + std::to_string(length) + " gave another text";
    }

    // Append, +, == and the upper case keep UTF-8 and lengths.
    KesUnicodeString joined = text;
    joined.Append(result).Append(character);
    if (joined.Str() != text.Str() + result.Str() + stripped ||
        !(joined == text + result + KesUnicodeString(stripped))) {
        return "Append and + disagree";
    }
    const KesUnicodeString upper = KesToAsciiUpper(text);
    if (upper.GetLengthInChar() != characters || !IsValidUtf8(upper.Str())) {
        return "the upper case changed the length or broke the UTF-8";
    }
    return std::string();
}

// =============================================================================================
// Panel files
// =============================================================================================

// The bytes as a panel file: a refusal names the file and leaves the description as it was; a
// file accepted writes as UTF-8, reads back to the same file, and builds (into an empty model)
// every attribute it describes.
inline std::string PanelFile(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    KesPanelDescription description;
    const std::string fault = KesPanelFile::Parse(text, "fuzz.json", description);
    if (!fault.empty()) {
        return fault.rfind("fuzz.json", 0) == 0 && description.attributes.empty() &&
                       description.title.empty()
                   ? std::string()
                   : "a refusal that does not name the file or changed the description: " + fault;
    }
    const std::string written = KesPanelFile::Write(description);
    KesPanelDescription again;
    const std::string rereading = KesPanelFile::Parse(written, "written.json", again);
    if (!rereading.empty() || KesPanelFile::Write(again) != written || !IsValidUtf8(written)) {
        return "the written file does not read back the same: " + rereading;
    }
    KesMfgModel::Clear();
    KesDlgFrame frame(nullptr, "Panel");
    KesPanelBuilder builder;
    const std::string building = builder.BuildOverModel(description, frame);
    // A file may bind a parameter of the host's model, which this empty model lacks: that
    // alone is no fault of the file.
    const bool hostsParameter =
        building.find("is neither in the model nor among the file's modelParameters") !=
        std::string::npos;
    if (hostsParameter
            ? !builder.Attributes().empty()
            : !building.empty() || builder.Attributes().size() != description.attributes.size()) {
        return "a file accepted did not build: " + building;
    }
    return std::string();
}

} // namespace kes_fuzz
