// KesMfgAttInt: one integer, shown in a free editor (no limits: minimum and maximum both 0) or
// in a spinner bounded by the limits. An attribute set to be defined with limits shows a
// bounded editor instead, for good. User input outside the limits is replaced by the nearer
// limit; every edit sends a KesMfgAttNotifyModif to the parent frame.
//
// Value record: type code 1, one integer. Output reports the value when it differs from the
// constructor's value (the reference value, never changed).
#pragma once

#include "framework/KesMfgAttribute.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgSpinner.h"

class KesMfgAttInt : public KesMfgAttribute {
public:
    KesMfgAttInt(KesUnicodeString name, KesUnicodeString label, int value, int minimum, int maximum,
                 int reserved, KesDlgFrame* parent, int group);
    ~KesMfgAttInt() override = default;

    void Display() override;
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // Shows the single integer of `ints` (other sizes are ignored). A free editor takes any
    // value; a bounded editor ignores a value outside the limits; a spinner clamps it and
    // raises its notification when notify is 1. Sends nothing itself.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // One help text and one short help text go to the value widget (and the option check
    // button); lists of another size are ignored.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;

    // The value shown; 0 while to be defined (the constructor's value before Display).
    virtual int GetAttValue();
    // Callback of the editor or spinner: brings the field back to an integer within the
    // limits, then runs AttributeModified.
    virtual void ControlIntValue(KesCommand* sender, KesNotification* notification, void** data);
    // The value is defined from now on; notifies the parent frame.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);

    bool HasLimits() const { return minimum_ != 0 || maximum_ != 0; }
    int GetReferenceValue() const { return value_; }
    int GetMinimum() const { return minimum_; }
    int GetMaximum() const { return maximum_; }
    KesDlgSpinner* GetSpinnerWidget() const { return spinner_; }
    KesDlgEditor* GetEditorWidget() const { return editor_; }

private:
    int CurrentValue() const;
    int Clamp(int value) const;

    int value_; // reference value
    int minimum_;
    int maximum_;
    [[maybe_unused]] int reserved_; // kept for the caller, never read
    KesDlgSpinner* spinner_ = nullptr;
    KesDlgEditor* editor_ = nullptr;
};
