// KesMfgAttDouble: one real, shown in a free editor (no limits: minimum and maximum both 0.0)
// or in a spinner bounded by the limits, whose step follows the width of the range (the real
// spinner step rule). An attribute set to be defined with limits shows a bounded editor
// instead, for good. User input outside the limits is replaced by the nearer limit; every edit
// sends a KesMfgAttNotifyModif to the parent frame.
//
// Units: the attribute may show its value in another unit than the caller's (the unit
// conversion selected by the unit codes and the unit flag). The constructor and SetAttValue
// take the caller's unit; Output and GetAttValue with arguments give the caller's unit; the
// limits, the reference value and GetAttValue() are in the shown unit.
//
// Value record: type code 2, one real. Output reports the value when it is not exactly the
// reference value. The reference value is the constructor's value, replaced once by Display
// with what the field then shows: the free editor shows it with six significant digits ("%g")
// and the spinner brings it into its range.
//
// Numbers that are not finite: an infinite value or limit from the caller is taken as the
// largest finite real of its sign, a NaN limit as no bound on its side (the largest finite real
// of that side); a NaN value given to the constructor shows an empty free editor and, never
// equal to what is shown, is always reported; a NaN given to SetAttValue is ignored. An editor
// text that is not a finite number is replaced, after the edit, by the number the attribute
// reads it as (see KesMfgReadRealText), so the field always shows what Output reports.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "framework/KesMfgUnitConversion.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgSpinner.h"

class KesMfgAttDouble : public KesMfgAttribute {
public:
    // value, minimum, maximum and stepHint are in the caller's unit and converted to the shown
    // unit here.
    KesMfgAttDouble(KesUnicodeString name, KesUnicodeString label, double value, double minimum,
                    double maximum, double stepHint, int firstUnitCode, int secondUnitCode,
                    int thirdUnitCode, KesDlgFrame* parent, int group, int unitFlag);
    ~KesMfgAttDouble() override = default;

    void Display() override;
    // Appends the value, in the caller's unit, when it is not exactly the reference value (or
    // the option state changed, or output is forced). Nothing before Display.
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // Shows the single real of `reals` (caller's unit; other sizes and NaN are ignored). A free
    // editor takes any value; a bounded editor ignores a value outside the limits; a spinner
    // clamps it and raises its notification when notify is 1. Sends nothing itself; the
    // reference value does not change.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // One help text and one short help text go to the value widget (and the option check
    // button); lists of another size are ignored.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;

    // The value shown, in the shown unit; 0.0 while to be defined.
    virtual double GetAttValue();
    // Callback of the editor, the spinner and the option check button: brings a bounded
    // editor's text back within the limits (an unreadable text back to what it reads as), the
    // value is defined from now on, and the parent frame is notified.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);

    bool HasLimits() const { return minimum_ != 0.0 || maximum_ != 0.0; }
    double GetReferenceValue() const { return value_; }
    double GetMinimum() const { return minimum_; }
    double GetMaximum() const { return maximum_; }
    const KesMfgUnitConversion& GetUnitConversion() const { return units_; }
    KesDlgSpinner* GetSpinnerWidget() const { return spinner_; }
    KesDlgEditor* GetEditorWidget() const { return editor_; }

private:
    KesDlgEditor* CreateEditor();
    double CurrentValue() const;

    double value_;                       // reference value, shown unit
    double minimum_;                     // shown unit
    double maximum_;                     // shown unit
    [[maybe_unused]] double stepHint_;   // shown unit; kept for the caller, never read
    [[maybe_unused]] int thirdUnitCode_; // the unit codes and flag select units_
    [[maybe_unused]] int firstUnitCode_;
    [[maybe_unused]] int secondUnitCode_;
    [[maybe_unused]] int unitFlag_;
    KesMfgUnitConversion units_; // caller's unit <-> shown unit
    KesDlgSpinner* spinner_ = nullptr;
    KesDlgEditor* editor_ = nullptr;
};
