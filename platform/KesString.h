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
