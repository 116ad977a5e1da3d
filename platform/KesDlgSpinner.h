// A spinner: a number shown in a field with arrows that step it between a minimum and a
// maximum.
//
// Style 0x40000 is an integer spinner, 0x60000 a real spinner. Once a range is set the value
// always stays inside it: values from the program and from the user are clamped to the range,
// and a new range clamps the value (silently). A NaN value or a range with a NaN or infinite
// limit is ignored; a range whose minimum is above its maximum is taken with its limits
// swapped. Before any range is set every finite value is kept.
#pragma once

#include "platform/KesDlgTextField.h"

#include <string>

class KesDlgSpinner : public KesDlgTextField {
public:
    KesDlgSpinner(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDlgTextField(parent, name, style, KesDlgKind::Spinner) {}

    // True for an integer spinner (style kes::kIntegerSpinnerStyle), false for a real one. The
    // static form reads a style word: observers told of a widget still being created know its
    // style, not yet its class.
    static bool IsIntegerStyle(unsigned long style) {
        return (style & kes::kRealSpinnerStyle) == kes::kIntegerSpinnerStyle;
    }
    bool IsIntegerSpinner() const { return IsIntegerStyle(GetStyle()); }

    // Range with the step of one arrow click. A step that is not a positive finite number
    // leaves the step as it was.
    void SetMinMaxStep(double minimum, double maximum, double step);
    // Range divided into `stepCount` steps (a count below 1 is taken as 1).
    void SetRange(double minimum, double maximum, int stepCount);
    // The printf-style format of the shown number (default "%g").
    void SetFormat(const char* format);

    // The value, clamped to the range; notify 1 raises the spinner-modify notification.
    void SetValue(double value, int notify);
    double GetValue() const { return value_; }
    void SetCurrentValue(double value, int notify) { SetValue(value, notify); }
    double GetCurrentValue() const { return value_; }

    bool HasRange() const { return hasRange_; }
    double GetMinimum() const { return minimum_; }
    double GetMaximum() const { return maximum_; }
    double GetStep() const { return step_; }
    const std::string& GetFormat() const { return format_; }
    // The number as the field shows it: written with the display format if set, else the
    // format, as a machinist reads it (see ShownNumber).
    KesUnicodeString GetText() const;
    // `value` written with the printf-style `format`, with no padding, at most `precision`
    // decimals when `precision` is above 0, and no trailing zeros after the point: "%12.7f"
    // shows 50 as "50" and 0.125 as "0.125". A format with an exponent is kept as written.
    static KesUnicodeString ShownNumber(double value, const std::string& format, int precision);

    KesNotification* GetSpinnerModifyNotification() { return &spinnerModify_; }

    // The user types a value into the field (clamped to the range) and confirms it. A NaN, or
    // an infinite value with no range set, is refused (false). Raises the spinner-modify
    // notification.
    bool UserSetValue(double value);
    // The user clicks an arrow `clicks` times (negative: downwards), one step a click.
    bool UserStep(int clicks);
    // The user types `text` over the field and confirms it (Return, or leaving the field). The
    // field takes only the keys a number is written with (see TypedText); what it then holds,
    // read as a number (ReadNumber), goes the way of UserSetValue. A text that is no number
    // changes nothing and raises nothing: the field shows the value again. False only when the
    // spinner takes no input.
    bool UserType(const KesUnicodeString& text);

    // What the field holds once `keys` are typed into it: the digits, signs, points, exponent
    // letters (e, E) and blanks, in order; any other key is not taken.
    static std::string TypedText(const std::string& keys);
    // Reads the field's text as a number: blanks around it, an optional sign, digits with a
    // point (not a comma) and an optional exponent, the whole text read, and a finite result.
    // Whatever the C library's locale says.
    static bool ReadNumber(const std::string& text, double& value);

private:
    double Clamp(double value) const;
    void ApplyRange(double minimum, double maximum);

    double value_ = 0.0;
    bool hasRange_ = false;
    double minimum_ = 0.0;
    double maximum_ = 0.0;
    double step_ = 1.0;
    std::string format_ = "%g";
    KesDlgNotification spinnerModify_{"KesDlgSpinnerModifyNotification"};
};
