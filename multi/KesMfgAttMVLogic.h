// KesMfgAttMVLogic: a list of booleans of any length (an on/off switch per pass), shown in a
// window of a fixed number of check buttons without titles (5 unless set otherwise) with a
// scroll bar that moves the window over the list, and a context menu with "Add" (append false)
// and "Remove" (drop the last value) unless the number of values is fixed.
//
// A value shows checked when it is 1 and unchecked otherwise. Every edit stores every shown
// button again at its value's position (1 checked, 0 unchecked), writes one line "SCROLL POS :" p
// to standard output, whatever the trace switch, and notifies the parent frame.
//
// The refreshes after scrolling, adding and removing set the buttons with notification: each
// button whose state changes runs the edit once (its line, its notification to the parent
// frame). Those edits run when the refresh is over, so they only store what the buttons show for
// the new window: scrolling, adding and removing change no value (apart from a number other than
// 0 and 1 in the window, which an edit stores as 0). SetAttValue refreshes without notification.
//
// Value record: type code 0, the number of values, the values as stored (a number given by the
// caller stays as it is until an edit reads its button). Output reports the list when it differs
// from the constructor's list. The attribute keeps no defined flags: the buttons show the values
// even when it was set to be defined, and Display ends that state (the forced output stays).
//
// The presentation mode, the reserved integer and the value titles are kept for the caller and
// never read. A visible field count of 0 or below builds no button; Remove on an empty list is
// ignored.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "multi/KesMfgValueList.h"
#include "platform/KesDlgCheckButton.h"

class KesMfgAttMVLogic : public KesMfgAttribute {
public:
    using List = KesMfgValueList<KesMfgAttMVLogic, int, KesRawCollint>;

    // `titles` is kept as given (not copied, never read).
    KesMfgAttMVLogic(KesUnicodeString name, KesUnicodeString label, KesRawCollint values,
                     int reserved, KesDlgFrame* parent, int group, int presentation,
                     KesListValKesUnicodeString* titles);
    ~KesMfgAttMVLogic() override = default;

    void Display() override;
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // The current values become the whole of `ints` (numbers other than 0 and 1 included), shown
    // from the first value without button notifications; notify 1 notifies the parent frame. An
    // empty or null `ints` changes nothing. `reals` and `texts` are not read.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // Does nothing: the buttons carry no icon.
    void SetIconNames(KesListValKesUnicodeString* icons,
                      KesListValKesUnicodeString* secondIcons) override;
    // One help text goes to the value frame, one short help text to every check button; both to
    // the option check button too. Lists of another size are ignored.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;

    // Number of check buttons (5 by default; 0 or below: none). Call before
    // Display; ignored afterwards.
    virtual void SetNbVisibleVals(const int count);
    // 0 (default): the context menu with Add and Remove; any other value: the number of values
    // is fixed for the user. Call before Display; ignored afterwards.
    virtual void SetNbValModifMode(const int mode);
    // Callback of every check button and of the option check button: writes the scroll
    // position line, stores every shown button and notifies the parent frame.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of "Add": appends false; the window does not move.
    virtual void AddValue(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of "Remove": drops the last value.
    virtual void RemoveValue(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of the scroll bar: the buttons follow the position.
    virtual void ScrollModified(KesCommand* sender, KesNotification* notification, void** data);

    int GetPresentationMode() const { return presentation_; }
    KesListValKesUnicodeString* GetValueTitles() const { return titles_; }
    const List& GetValueList() const { return list_; }

private:
    friend List;
    static constexpr KesMfgValueListRules kListRules{kBooleanType,
                                                     /*addRemoveDefine*/ false,
                                                     /*keepsDefinedFlags*/ false,
                                                     /*laysOut*/ false,
                                                     /*refreshesNotifying*/ true,
                                                     /*convertsUnits*/ false};

    KesMfgFieldKind DisplayedFieldKind() const { return KesMfgFieldKind::CheckButton; }
    KesDialog* BuildField(KesDlgFrame* valueFrame, const int* reference);
    void ShowValue(KesDialog* field, const int& value, bool defined, int notify);
    KesMfgFieldSample<int> ReadField(const KesDialog* field) const;
    int FillerValue() const { return 0; }

    int presentation_; // the fields are always check buttons
    List list_;
    [[maybe_unused]] int reserved_;      // kept for the caller, never read
    KesListValKesUnicodeString* titles_; // kept for the caller, never read
};
