// KesMfgAttLogic: one boolean (1 true, 0 false), shown as a check button "chkbtnatt"
// (presentation mode 0) or as a pair of radio buttons, rb1 for true and rb0 for false
// (presentation mode 1). A boolean still to be defined is always shown as the radio pair with
// neither button on, and its presentation mode becomes 1. Other presentation modes build no
// value widget; the boolean then keeps its reference value (see below).
//
// Value record: type code 0, the value 1 or 0. The current state is that of the true button or
// of the check button: 1 when it is on, 0 otherwise. A radio pair with neither button on gives
// different answers: Output appends the count 0 and no value, GetAttValue the count 1 and the
// value 0. Without a value widget (before Display, or a presentation mode other than 0 and 1)
// the reference value stands for the state: 1 when it is 1, else 0.
//
// The boolean steers other attributes through its impact table with the integer impact values
// 1 and 0 (see framework/KesMfgImpactTable.h); the impacts are re-applied on every notification of
// its buttons, also that of a radio button being switched off.
#pragma once

#include "framework/KesMfgImpactTable.h"
#include "framework/KesMfgAttribute.h"
#include "platform/KesListPtrKesDialog.h"

class KesMfgAttLogic : public KesMfgAttribute {
public:
    // `value` is the reference value (1 true, 0 false); it sets the initial state and never
    // changes. `presentation` 0: check button, 1: radio pair. `titles`, when it holds exactly two
    // texts, titles the false button (text 1) and the true button (text 2); it may be null, is
    // neither copied nor owned, and must stay alive until Display has run. `reserved` is kept
    // and never read.
    KesMfgAttLogic(KesUnicodeString name, KesUnicodeString label, int value, int reserved,
                   KesDlgFrame* parent, int group, int presentation,
                   KesListValKesUnicodeString* titles);
    ~KesMfgAttLogic() override = default;

    void Display() override;
    // Reports the state when it differs from the reference value (or the option state
    // changed, or the output is forced); a radio pair with neither button on reports the
    // count 0 and no value.
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // The single integer of `ints`: 1 is true, every other value false (other sizes are
    // ignored); clears the to-be-defined flag. The radio pair is set with the notify flag
    // given (true button first); the check button always with notification, so that a change
    // of state reaches the parent frame and the impacts even when notify is 0. The reference
    // value is not changed. Ignored before Display and without a value widget.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // `icons` of exactly two names: the radio pair's true button gets icons[2] (with
    // secondIcons[2] when `secondIcons` holds two names) and the false button icons[1] (with
    // secondIcons[1]); the check button gets icons[1] and icons[2]. Otherwise nothing.
    void SetIconNames(KesListValKesUnicodeString* icons,
                      KesListValKesUnicodeString* secondIcons) override;
    // Radio pair only: two texts, help[2] to the true button and help[1] to the false button;
    // the option check button gets the text when both are equal. The same for the short help.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;
    // Replaces the impact lists: N attributes, M impact values (1 or 0), M rows of N flags.
    using KesMfgAttribute::AddImpactedAttributes;
    void AddImpactedAttributes(KesListPtrKesMfgAttribute attributes, KesRawCollint reserved,
                               KesRawCollint impactValues, KesRawCollint sensitivities) override;
    void ImpactAttributes() override;

    // 1 or 0; 0 while to be defined.
    virtual int GetAttValue();
    // Callback of the buttons and the option check button. Unless a radio button was switched
    // off, the value is defined from now on and the parent frame is notified; in every case
    // the impacts are then applied.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);

    int GetPresentationMode() const { return presentation_; }
    int GetReferenceValue() const { return value_; }
    KesDlgCheckButton* GetCheckButtonWidget() const { return checkButton_; }
    // Position 1: the true button rb1; position 2: the false button rb0.
    const KesListPtrKesDialog& GetRadioButtons() const { return radioButtons_; }
    const KesMfgImpactTable<KesRawCollint>& GetImpacts() const { return impacts_; }

private:
    KesDlgStateButton* TrueButton() const;
    KesDlgStateButton* FalseButton() const;
    // The state of the true button or the check button; without them, the reference value's.
    unsigned long TrueState() const;
    bool NeitherRadioButtonOn() const;
    // Builds one button of the radio pair. `title` may be null (the default title is kept);
    // `state` 0 leaves the default state.
    void AddRadioButton(int value, const KesUnicodeString* title, unsigned long state);

    int presentation_;                   // 0 check button, 1 radio pair
    int value_;                          // reference value
    [[maybe_unused]] int reserved_;      // kept for the caller, never read
    KesListValKesUnicodeString* titles_; // caller's list, read by Display only
    KesDlgCheckButton* checkButton_ = nullptr;
    KesListPtrKesDialog radioButtons_; // 1: true button, 2: false button
    KesMfgImpactTable<KesRawCollint> impacts_;
};
