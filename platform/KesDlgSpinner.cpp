#include "platform/KesDlgSpinner.h"

#include <algorithm>
#include <cmath>

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
    const std::string& format = GetDisplayFormat().empty() ? format_ : GetDisplayFormat();
    KesUnicodeString text;
    text.BuildFromNum(value_, format.c_str());
    return text;
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
