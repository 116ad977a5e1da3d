// 8-bit text for widget identifiers and icon names.
#pragma once

#include <string>
#include <string_view>

class KesString {
public:
    KesString() = default;
    // A null pointer gives the empty name.
    KesString(const char* text) : text_(text ? text : "") {}
    KesString(std::string text) : text_(std::move(text)) {}

    const char* CastToCharPtr() const { return text_.c_str(); }
    const std::string& Str() const { return text_; }
    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }

    bool operator==(const KesString& other) const { return text_ == other.text_; }
    bool operator==(const char* other) const { return text_ == (other ? other : ""); }
    bool operator<(const KesString& other) const { return text_ < other.text_; }

private:
    std::string text_;
};

// `text` without the blanks, tabs and line ends around it (8-bit text: command words, switch
// names and values).
inline std::string KesTrimBlanks(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) {
        return std::string();
    }
    const size_t end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(begin, end - begin + 1));
}
