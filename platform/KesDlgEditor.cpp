#include "platform/KesDlgEditor.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace {

int SaturatingTruncate(double value) {
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

} // namespace

KesUnicodeString KesDlgEditor::Cut(const KesUnicodeString& text) const {
    if (maxCharacterWidth_ <= 0 || text.GetLengthInChar() <= maxCharacterWidth_) {
        return text;
    }
    KesUnicodeString cut = text;
    cut.Resize(maxCharacterWidth_, KesUnicodeChar(' '), 1);
    return cut;
}

void KesDlgEditor::SetText(const KesUnicodeString& text) {
    text_ = Cut(text);
    Changed(KesDlgProperty::Text);
}

KesUnicodeString KesDlgEditor::GetLine(int line) const {
    if (line == -1) {
        return text_;
    }
    if (line < 0) {
        return KesUnicodeString();
    }
    const std::string& text = text_.Str();
    size_t begin = 0;
    for (int i = 0; i < line; ++i) {
        const size_t end = text.find('\n', begin);
        if (end == std::string::npos) {
            return KesUnicodeString();
        }
        begin = end + 1;
    }
    const size_t end = text.find('\n', begin);
    return KesUnicodeString(std::string_view(text).substr(
        begin, end == std::string::npos ? std::string::npos : end - begin));
}

void KesDlgEditor::SetValue(int value, int notify) {
    SetText(KesUnicodeString().BuildFromNum(value, "%d"));
    if (notify == 1) {
        Raise(editModify_);
    }
}

void KesDlgEditor::SetValue(double value, int notify) {
    if (!std::isfinite(value)) {
        return;
    }
    if (IsIntegerEditor()) {
        SetValue(SaturatingTruncate(value), notify);
        return;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    SetText(KesUnicodeString(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer))));
    if (notify == 1) {
        Raise(editModify_);
    }
}

double KesDlgEditor::GetValue() const {
    double value = 0.0;
    text_.ConvertToNum(&value, "%le");
    return value;
}

int KesDlgEditor::GetIntegerValue() const {
    int value = 0;
    if (text_.ConvertToNum(&value, "%d")) {
        return value;
    }
    double real = 0.0;
    if (text_.ConvertToNum(&real, "%le")) {
        return SaturatingTruncate(real);
    }
    // A decimal integer too long for a real (or for int): saturate by its sign.
    std::string_view digits = text_.Str();
    while (!digits.empty() && digits.front() == ' ') {
        digits.remove_prefix(1);
    }
    while (!digits.empty() && digits.back() == ' ') {
        digits.remove_suffix(1);
    }
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        digits.remove_prefix(1);
    }
    if (digits.empty()) {
        return 0;
    }
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return 0;
        }
    }
    return negative ? INT_MIN : INT_MAX;
}

void KesDlgEditor::SetMaxCharacterWidth(int characters) {
    maxCharacterWidth_ = characters;
    Changed(KesDlgProperty::MaxCharacterWidth);
    const KesUnicodeString cut = Cut(text_);
    if (!(cut == text_)) {
        text_ = cut;
        Changed(KesDlgProperty::Text);
    }
}

bool KesDlgEditor::UserType(const KesUnicodeString& text) {
    if (!AcceptsUserInput()) {
        return false;
    }
    SetText(text);
    Raise(editModify_);
    return true;
}
