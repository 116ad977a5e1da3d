#include "platform/KesDlgSpinner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>

double KesDlgSpinner::Clamp(double value) const {
    return hasRange_ ? std::clamp(value, minimum_, maximum_) : value;
}

void KesDlgSpinner::ApplyRange(double minimum, double maximum) {
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    hasRange_ = true;
    minimum_ = minimum;
    maximum_ = maximum;
    Changed(KesDlgProperty::Range);
    const double clamped = Clamp(value_);
    if (clamped != value_) {
        value_ = clamped;
        Changed(KesDlgProperty::Value);
    }
}

void KesDlgSpinner::SetMinMaxStep(double minimum, double maximum, double step) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) {
        return;
    }
    if (std::isfinite(step) && step > 0.0) {
        step_ = step;
    }
    ApplyRange(minimum, maximum);
}

void KesDlgSpinner::SetRange(double minimum, double maximum, int stepCount) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) {
        return;
    }
    const double width = std::fabs(maximum - minimum);
    const double step = width / static_cast<double>(std::max(stepCount, 1));
    if (std::isfinite(step) && step > 0.0) {
        step_ = step;
    }
    ApplyRange(minimum, maximum);
}

void KesDlgSpinner::SetFormat(const char* format) {
    if (format != nullptr) {
        format_ = format;
        Changed(KesDlgProperty::Format);
    }
}

void KesDlgSpinner::SetValue(double value, int notify) {
    if (std::isnan(value)) {
        return;
    }
    const double clamped = Clamp(value);
    if (!std::isfinite(clamped)) {
        return; // an infinite value with no range to bring it back
    }
    value_ = clamped;
    Changed(KesDlgProperty::Value);
    if (notify == 1) {
        Raise(spinnerModify_);
    }
}

KesUnicodeString KesDlgSpinner::GetText() const {
    return ShownNumber(value_, GetDisplayFormat().empty() ? format_ : GetDisplayFormat(),
                       GetPrecision());
}

KesUnicodeString KesDlgSpinner::ShownNumber(double value, const std::string& format,
                                            int precision) {
    KesUnicodeString text;
    text.BuildFromNum(value, format.c_str());
    std::string shown = text.Str();
    const size_t first = shown.find_first_not_of(' ');
    shown.erase(0, std::min(first, shown.size()));
    shown.erase(std::min(shown.find_last_not_of(' ') + 1, shown.size()));
    const size_t point = shown.find('.');
    if (point == std::string::npos ||
        shown.find_first_not_of("0123456789", point + 1) != std::string::npos) {
        return KesUnicodeString(shown); // no decimals, an exponent, or text after the number
    }
    if (precision > 0 && shown.size() - point - 1 > static_cast<size_t>(precision)) {
        const std::string fewer = "%." + std::to_string(std::min(precision, 100)) + "f";
        return ShownNumber(value, fewer, 0);
    }
    const size_t last = shown.find_last_not_of('0');
    shown.erase(last == point ? point : last + 1);
    if (shown == "-0") {
        shown = "0";
    }
    return KesUnicodeString(shown);
}

bool KesDlgSpinner::UserSetValue(double value) {
    if (!AcceptsUserInput() || std::isnan(value) || (!hasRange_ && !std::isfinite(value))) {
        return false;
    }
    SetValue(value, 1);
    return true;
}

bool KesDlgSpinner::UserStep(int clicks) {
    if (!AcceptsUserInput()) {
        return false;
    }
    SetValue(value_ + static_cast<double>(clicks) * step_, 1);
    return true;
}

bool KesDlgSpinner::UserType(const KesUnicodeString& text) {
    if (!AcceptsUserInput()) {
        return false;
    }
    double value = 0.0;
    if (ReadNumber(TypedText(text.Str()), value)) {
        SetValue(value, 1);
    }
    return true;
}

std::string KesDlgSpinner::TypedText(const std::string& keys) {
    std::string kept;
    for (const char key : keys) {
        if ((key >= '0' && key <= '9') ||
            std::string_view("+-.eE ").find(key) != std::string_view::npos) {
            kept += key;
        }
    }
    return kept;
}

bool KesDlgSpinner::ReadNumber(const std::string& text, double& value) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return false;
    }
    const size_t end = text.find_last_not_of(' ') + 1;
    size_t start = first;
    if (text[start] == '+') {
        ++start; // the reader takes a minus sign only
        if (start < end && text[start] == '-') {
            return false;
        }
    }
    // Neither a hexadecimal number nor an infinity or NaN: only digits, a point, an exponent.
    if (text.find_first_not_of("0123456789+-.eE", start) < end) {
        return false;
    }
    const char* from = text.data() + start;
    const char* to = text.data() + end;
    double read = 0.0;
    const std::from_chars_result result = std::from_chars(from, to, read);
    if (result.ec != std::errc() || result.ptr != to || !std::isfinite(read)) {
        return false;
    }
    value = read;
    return true;
}
