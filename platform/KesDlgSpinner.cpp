#include "platform/KesDlgSpinner.h"

#include <algorithm>
#include <cmath>
#include <string>

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
