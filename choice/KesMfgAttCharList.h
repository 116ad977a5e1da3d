// KesMfgAttCharList: one text chosen from a list of allowed values, each shown by a display
// text, in a read-only combo (presentation mode 0), an editable combo (mode 2: the user may
// also type a value that is not in the list) or as one radio button per value (any other mode;
// button "rb" + value, titled by the display text). The value record (type code 3) carries the
// allowed value, or the typed text, unpadded; never the display text of a row.
//
// The allowed values and the reference value are kept without their surrounding blanks;
// display texts are kept as given. In the editable combo the value is what the field stands
// for: a field showing a line's display text (the selected line's, else the first line's that
// has it) stands for that line's allowed value, any other text (typed) for itself. So a field
// shows "Flood" for the value FLOOD, and Output compares FLOOD with the reference value. Lists
// of unequal lengths are cut to the shorter one; a value that occurs more than once is acted
// on at each of its positions, in order.
//
// The attribute steers other attributes through its impact table (see
// framework/KesMfgImpactTable.h), comparing the text impact values exactly with the selected
// value: every selection from the list re-applies the impacts, a typed text does not.
//
// No selection. While nothing is selected (a reference value that is not allowed, or a radio
// presentation with no button on) the attribute has no value, as while it is to be defined:
// Output and GetAttValue append no record (GetAttValue still writes the group number), except
// that an unchecked optional attribute still reports its count 0 when due; GetAttValue()
// returns the empty text; ImpactAttributes leaves the impacted attributes' sensitivity as it is
// and still cascades. The editable combo always has a value: its field.
//
// Trace: Display reads GetDebug("KesMfgAttCharList") and, when it is exactly 1, writes a line
// per radio button built. The two lines about a text rejected by ModifyValueList are written
// whatever the switches say.
#pragma once

#include "choice/KesMfgChoiceList.h"
#include "framework/KesMfgAttribute.h"
#include "framework/KesMfgImpactTable.h"

class KesMfgAttCharList : public KesMfgAttribute {
public:
    static constexpr int kComboMode = 0;
    static constexpr int kEditableComboMode = 2;

    // `value`, the reference value, and each of `values` are stripped of surrounding blanks.
    // `values` (stripped) and `displayTexts` are copied twice: the choices offered now and the
    // construction lists from which ModifyValueList picks. `secondary` is kept, never read.
    KesMfgAttCharList(KesUnicodeString name, KesUnicodeString label, KesUnicodeString value,
                      KesListValKesUnicodeString values, KesListValKesUnicodeString displayTexts,
                      KesUnicodeString secondary, KesDlgFrame* parent, int group, int presentation);
    ~KesMfgAttCharList() override = default;

    void Display() override;
    // The selected value is compared with the reference value exactly (blanks included).
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // Selects the single text of `texts`, compared exactly (not stripped), at every position
    // that holds it, with the notify flag given, and clears the to-be-defined flag. A text that
    // is not allowed (in the editable combo too), or another number of texts, changes nothing.
    // Sends no notification itself; with notify 1 the widget's notification does.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // Restricts the read-only combo to the construction values named by `newValues` (each
    // stripped), in order. `selection` is -1 (keep the selected value) or a position in the new
    // list; a position outside the new list counts as -1. Rows holding the value to select are
    // selected with notification (also when it was selected before); when none does, the first
    // row is. A text that is not a construction value ends the list there: the combo then holds
    // exactly the values before it, and two lines naming the text go to standard output.
    // Ignored outside presentation mode 0, with an empty list, or before Display.
    void ModifyValueList(KesRawCollint reserved, KesListValKesUnicodeString newValues,
                         int selection) override;
    // Radio presentation (mode exactly 1) only: button i gets icons[i] (and secondIcons[i]).
    void SetIconNames(KesListValKesUnicodeString* icons,
                      KesListValKesUnicodeString* secondIcons) override;
    // Mode 1: one text per radio button (the option check button gets the text when they are
    // all equal). Modes 0 and 2: the first texts go to the combo and the option check button.
    // Other modes: nothing.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;
    // Replaces the impact lists: N attributes, M text impact values, M rows of N flags.
    using KesMfgAttribute::AddImpactedAttributes;
    void AddImpactedAttributes(KesListPtrKesMfgAttribute attributes, KesRawCollint reserved,
                               KesListValKesUnicodeString impactValues,
                               KesRawCollint sensitivities) override;
    void ImpactAttributes() override;

    // The selected value (what the editable combo's field stands for); the empty text while to
    // be defined or when nothing is selected.
    virtual KesUnicodeString GetAttValue();
    // Replaces the read-only combo's choices by `newValues`, unstripped, each its own display
    // text; then selects as ModifyValueList does. The construction lists are kept, so a later
    // ModifyValueList still picks from them. Ignored outside presentation mode 0, with an empty
    // list, or before Display.
    virtual void NewValueList(KesRawCollint reserved, KesListValKesUnicodeString newValues,
                              int selection);
    // Callback of the combo's selection, the radio buttons and the option check button: the
    // value is defined from now on; unless a radio button was switched off, the parent frame
    // is notified and the impacts are applied.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of the editable combo's field: the typed text, stripped, is selected (and added
    // as a new last line when no line holds it) and the parent frame is notified. The text does
    // not enter the allowed values and the impacts are not applied.
    virtual void AttributeModifiedWithNewVal(KesCommand* sender, KesNotification* notification,
                                             void** data);

    int GetPresentationMode() const { return presentation_; }
    const KesUnicodeString& GetReferenceValue() const { return value_; }
    const KesListValKesUnicodeString& GetAllowedValues() const {
        return choices_.GetAllowedValues();
    }
    const KesListValKesUnicodeString& GetDisplayTexts() const { return choices_.GetDisplayTexts(); }
    const KesListValKesUnicodeString& GetConstructionValues() const {
        return choices_.GetConstructionValues();
    }
    KesDlgCombo* GetComboWidget() const { return choices_.GetCombo(); }
    const KesListPtrKesDialog& GetRadioButtons() const { return choices_.GetRadioButtons(); }
    const KesMfgImpactTable<KesListValKesUnicodeString>& GetImpacts() const { return impacts_; }

private:
    bool IsRadioPresentation() const {
        return presentation_ != kComboMode && presentation_ != kEditableComboMode;
    }
    // The selected value; nothing while to be defined or when nothing is selected.
    std::optional<KesUnicodeString> CurrentValue() const;
    // The value the editable combo's field stands for.
    KesUnicodeString ValueInField(const KesDlgCombo& combo) const;

    KesUnicodeString value_;                               // reference value, stripped
    KesMfgChoiceList<KesListValKesUnicodeString> choices_; // values, texts, copies, widgets
    [[maybe_unused]] KesUnicodeString secondary_;          // kept for the caller, never read
    int presentation_;                                     // 0 combo, 2 editable combo, other radio
    KesMfgImpactTable<KesListValKesUnicodeString> impacts_;
};
