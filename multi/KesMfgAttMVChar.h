// KesMfgAttMVChar: a list of free texts of any length (comments, names), shown in a window of a
// fixed number of text editors (5 unless set otherwise) with a scroll bar that moves the window
// over the list, and a context menu with "Add" (append the new-value text given to the
// constructor) and "Remove" (drop the last text) unless the number of values is fixed.
//
// Display shows each reference text without the blanks around it, in an editor of its own width
// (from the base's visible text width: -1 gives the text's length brought into 10..34, a width
// of 1 or more is taken as it is up to 72, anything else gives 34); editors take at most 72
// characters. Later refreshes show the texts exactly as stored. Every edit stores every shown
// editor's text as typed (no stripping, no padding), writes one line "SCROLL POS :" p to
// standard output, whatever the trace switch, and notifies the parent frame.
//
// Value record: type code 3, the number of texts, the texts unchanged (not padded). Output
// reports the list when it differs from the constructor's list, text by text and exactly (blanks
// count). The to-be-defined state ends once every text has been typed (an editor emptied again
// counts as not given) and on SetAttValue, not on Add or Remove.
//
// A visible field count of 0 or below builds no field; Remove on an empty list is ignored.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "multi/KesMfgValueList.h"
#include "platform/KesDlgEditor.h"

class KesMfgAttMVChar : public KesMfgAttribute {
public:
    using List = KesMfgValueList<KesMfgAttMVChar, KesUnicodeString, KesListValKesUnicodeString>;

    KesMfgAttMVChar(KesUnicodeString name, KesUnicodeString label,
                    KesListValKesUnicodeString values, KesUnicodeString newValueText,
                    KesDlgFrame* parent, int group);
    ~KesMfgAttMVChar() override = default;

    void Display() override;
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // The current values become the whole of `texts`, shown from the first text; notify 1
    // notifies the parent frame. Ends the to-be-defined state in every case; an empty or null
    // `texts` changes nothing else. `ints` and `reals` are not read.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // One help text goes to the value frame, one short help text to every editor; both to the
    // option check button too. Lists of another size are ignored.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;

    // Number of editors (5 by default; 0 or below: none). Call before
    // Display; ignored afterwards.
    virtual void SetNbVisibleVals(const int count);
    // 0 (default): the context menu with Add and Remove; any other value: the number of values
    // is fixed for the user. Call before Display; ignored afterwards.
    virtual void SetNbValModifMode(const int mode);
    // Callback of every editor and of the option check button: writes the scroll position line,
    // stores every shown editor's text and notifies the parent frame.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of "Add": appends the new-value text; the window does not move.
    virtual void AddValue(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of "Remove": drops the last text.
    virtual void RemoveValue(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of the scroll bar: the editors follow the position. No value changes, nothing is
    // written or sent.
    virtual void ScrollModified(KesCommand* sender, KesNotification* notification, void** data);

    const KesUnicodeString& GetNewValueText() const { return newValueText_; }
    const List& GetValueList() const { return list_; }

private:
    friend List;
    static constexpr KesMfgValueListRules kListRules{kTextType,
                                                     /*addRemoveDefine*/ false,
                                                     /*keepsDefinedFlags*/ true,
                                                     /*laysOut*/ true,
                                                     /*refreshesNotifying*/ false,
                                                     /*convertsUnits*/ false};

    KesMfgFieldKind DisplayedFieldKind() const { return KesMfgFieldKind::FreeEditor; }
    KesDialog* BuildField(KesDlgFrame* valueFrame, const KesUnicodeString* reference);
    // The width of an editor whose first text has `length` characters.
    int FieldWidth(int length);
    void ShowValue(KesDialog* field, const KesUnicodeString& value, bool defined, int notify);
    KesMfgFieldSample<KesUnicodeString> ReadField(const KesDialog* field) const;
    KesUnicodeString FillerValue() const { return newValueText_; }

    List list_;
    KesUnicodeString newValueText_; // what Add appends and hidden editors carry
};
