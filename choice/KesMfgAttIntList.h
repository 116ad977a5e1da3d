// KesMfgAttIntList: one integer chosen from a list of allowed values, each shown by a display
// text, in a read-only combo (presentation mode 0) or as one radio button per value (any other
// mode; button "rb" + value, titled by the display text). The value record (type code 1) carries
// the allowed value itself, never the text or the position.
//
// The allowed values and display texts are paired position by position; lists of unequal
// lengths are cut to the shorter one. A value that occurs more than once is acted on at each of
// its positions, in order.
//
// The attribute steers other attributes through its impact table (AddImpactedAttributes,
// ImpactAttributes; see framework/KesMfgImpactTable.h): every user selection re-applies the
// impacts. Display, SetAttValue and ModifyValueList do not: call ImpactAttributes after them
// when the impacts should follow.
//
// No selection. While nothing is selected (a reference value that is not allowed, or a radio
// presentation with no button on) the attribute has no value, as while it is to be defined:
// Output and GetAttValue append no record (GetAttValue still writes the group number), except
// that an unchecked optional attribute still reports its count 0 when due; GetAttValue()
// returns 0; ImpactAttributes leaves the impacted attributes' sensitivity as it is and still
// cascades.
//
// Trace: the switch GetDebug("AttIntList"), read at each use (construction, Display,
// ModifyValueList), traces when it is exactly 1. The base class's switch is not used here.
#pragma once

#include "choice/KesMfgChoiceList.h"
#include "framework/KesMfgImpactTable.h"
#include "framework/KesMfgAttribute.h"

class KesMfgAttIntList : public KesMfgAttribute {
public:
    // `value` is the reference value: Display selects it, Output compares with it; it never
    // changes. `values` and `displayTexts` are copied twice: the choices offered now, and the
    // construction lists from which ModifyValueList picks. `presentation` 0: combo; other:
    // radio buttons. `reserved` is kept and never read.
    KesMfgAttIntList(KesUnicodeString name, KesUnicodeString label, int value, KesRawCollint values,
                     KesListValKesUnicodeString displayTexts, int reserved, KesDlgFrame* parent,
                     int group, int presentation);
    ~KesMfgAttIntList() override = default;

    void Display() override;
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // Selects the single integer of `ints` at every position that holds it (radio button on,
    // or combo row selected) with the notify flag given, and clears the to-be-defined flag. A
    // value that is not allowed, or another number of integers, changes nothing. Sends no
    // notification itself and does not apply the impacts; with notify 1 the widget's own
    // notification reaches AttributeModified, which does both.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // Restricts the combo to the construction values named by `newValues` (decimal texts, in
    // order; a text that does not read as a number reads as 0). `selection` is -1 (keep the
    // selected value) or a position in the new list; a position outside the new list counts
    // as -1. Rows holding the value to select are selected without notification; when none
    // does, the first row is selected with notification (the parent is notified and the
    // impacts applied). A number that is not a construction value ends the list there: the
    // combo then holds exactly the values before it (with the trace switch on, two lines name
    // the number). Ignored on the radio presentation, with an empty list, or before Display.
    void ModifyValueList(KesRawCollint reserved, KesListValKesUnicodeString newValues,
                         int selection) override;
    // Radio presentation (mode exactly 1) only: button i gets icons[i] (and secondIcons[i]).
    void SetIconNames(KesListValKesUnicodeString* icons,
                      KesListValKesUnicodeString* secondIcons) override;
    // Mode 1: one text per radio button (the option check button gets the text when they are
    // all equal). Mode 0: the first texts go to the combo and the option check button. Other
    // modes: nothing. The label never gets help.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;
    // Replaces the impact lists: N attributes, M impact values, M rows of N sensitivity flags.
    using KesMfgAttribute::AddImpactedAttributes;
    void AddImpactedAttributes(KesListPtrKesMfgAttribute attributes, KesRawCollint reserved,
                               KesRawCollint impactValues, KesRawCollint sensitivities) override;
    void ImpactAttributes() override;

    // The selected value; 0 while to be defined or when nothing is selected.
    virtual int GetAttValue();
    // Callback of the combo, the radio buttons and the option check button: a radio button
    // switched off does nothing; otherwise the value is defined from now on, the parent frame
    // is notified and the impacts are applied.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);

    int GetPresentationMode() const { return presentation_; }
    int GetReferenceValue() const { return value_; }
    const KesRawCollint& GetAllowedValues() const { return choices_.GetAllowedValues(); }
    const KesListValKesUnicodeString& GetDisplayTexts() const { return choices_.GetDisplayTexts(); }
    const KesRawCollint& GetConstructionValues() const { return choices_.GetConstructionValues(); }
    KesDlgCombo* GetComboWidget() const { return choices_.GetCombo(); }
    const KesListPtrKesDialog& GetRadioButtons() const { return choices_.GetRadioButtons(); }
    const KesMfgImpactTable<KesRawCollint>& GetImpacts() const { return impacts_; }

private:
    // The selected value; nothing while to be defined or when nothing is selected.
    std::optional<int> CurrentValue() const;
    static bool TraceOn();

    int presentation_;                        // 0 combo, other radio buttons
    int value_;                               // reference value
    KesMfgChoiceList<KesRawCollint> choices_; // values, texts, construction copies, widgets
    [[maybe_unused]] int reserved_;           // kept for the caller, never read
    KesMfgImpactTable<KesRawCollint> impacts_;
};
