// KesMfgAttMVCharList: several entries picked from a fixed list of allowed texts (the machining
// strategies an operation may use), in one multiple-selection list "SelList". Each line shows a
// display text and stands for the allowed value at the same position; the attribute's value is
// the list of allowed values of the selected lines, in the order the selector list reports them.
// There is no window of fields, scroll bar or menu: the user adds and removes values by
// selecting and deselecting lines, and can never leave the list with no line selected (the
// previous selection comes back, without notification).
//
// A value's line is the first allowed value equal to it (exactly). A value with no line is left
// out of the selection and reported on standard output, whatever the trace switch:
// " val et dicovals pas coherents !!! " at Display, " StrList et dicovals pas coherents !!! "
// afterwards; it stays among the current values until the user changes the selection.
//
// Display texts and allowed values are meant to be parallel lists. When their lengths differ,
// only the lines that have both a display text and an allowed value stand for a value: a line
// beyond the allowed values is shown but selecting it adds no value (a selection of such lines
// only counts as no selection), and an allowed value beyond the display texts has no line.
//
// Value record: type code 3, the number of values, the values unchanged (not padded). Output
// reports the list when it differs from the constructor's list, text by text and exactly. The
// to-be-defined state ends at the first selection event or SetAttValue.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "platform/KesDlgSelectorList.h"

#include <string>
#include <unordered_map>
#include <vector>

class KesMfgAttMVCharList : public KesMfgAttribute {
public:
    KesMfgAttMVCharList(KesUnicodeString name, KesUnicodeString label,
                        KesListValKesUnicodeString values, KesListValKesUnicodeString allowedValues,
                        KesListValKesUnicodeString displayTexts, KesUnicodeString secondary,
                        KesDlgFrame* parent, int group);
    ~KesMfgAttMVCharList() override = default;

    void Display() override;
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // The current values become the whole of `texts` (values that are not allowed included) and
    // their lines the selection; notify 1 notifies the parent frame. Ends the to-be-defined
    // state in every case; an empty or null `texts` changes nothing else, except that the lines
    // of the current values, not shown while the value was to be defined, are selected. `ints`
    // and `reals` are not read.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // One help text goes to the selector list; one short help text to the selector list and the
    // option check button. Lists of another size are ignored.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;

    // Number of lines shown at once (6 by default). Call before Display.
    virtual void SetNbVisibleVals(const int count);
    // Callback of the selector list and of the option check button: the current values become
    // those of the selected lines, and the parent frame is notified; an empty selection is
    // undone instead.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);

    const KesListValKesUnicodeString& GetReferenceValues() const { return reference_; }
    const KesListValKesUnicodeString& GetCurrentValues() const { return current_; }
    const KesListValKesUnicodeString& GetAllowedValues() const { return allowedValues_; }
    const KesListValKesUnicodeString& GetDisplayTexts() const { return displayTexts_; }
    const KesUnicodeString& GetSecondaryText() const { return secondary_; }
    int GetNbVisibleVals() const { return visibleLineCount_; }
    KesDlgSelectorList* GetSelectorList() const { return selectorList_; }

private:
    // The 0-based line of a value, or -1 when it has none.
    int RowOf(const KesUnicodeString& value) const;
    // Selects the lines of the current values, writing `message` once per value without a line.
    void SelectCurrentValues(const char* message);

    KesListValKesUnicodeString reference_;
    KesListValKesUnicodeString displayTexts_;
    KesListValKesUnicodeString allowedValues_;
    KesListValKesUnicodeString current_;
    KesUnicodeString secondary_; // kept for the caller, never read
    int visibleLineCount_ = 6;
    KesDlgSelectorList* selectorList_ = nullptr;
    // Allowed value -> its first 0-based position, so that finding the lines of a list of values
    // is linear.
    std::unordered_map<std::string, int> firstPosition_;
};
