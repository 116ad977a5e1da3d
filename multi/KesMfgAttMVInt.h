// KesMfgAttMVInt: a list of integers of any length (tool numbers, pass counts), shown in a window
// of a fixed number of value fields (5 unless set otherwise) with a scroll bar that moves the
// window over the list, and a context menu with "Add" (append the minimum) and "Remove" (drop
// the last value) unless the number of values is fixed.
//
// Fields: integer editors without limits (minimum and maximum both 0), integer spinners bounded
// by the limits, or, for an attribute set to be defined that has limits, bounded editors (empty
// at first). The kind is chosen once by Display. A spinner value is rounded down (3.7 gives 3,
// -2.5 gives -3); a number typed into a bounded editor is brought back to the nearer limit.
// Every edit stores every shown field again, writes one line "tempoval[i]= v" per value to
// standard output (whatever the trace switch) and notifies the parent frame.
//
// Value record: type code 1, the number of values, the values. Output reports the list when it
// differs from the constructor's list. SetAttValue takes the whole integer vector (an empty or
// null one only ends the to-be-defined state). The to-be-defined state ends once every value has
// been typed, on Add, on Remove and on SetAttValue.
//
// Values outside the limits given by the caller are kept as given until they are read back from
// a field: a spinner shows them clamped to its range and an edit stores what it shows. A visible
// field count of 0 or below builds no field. Remove on an empty list is ignored.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "multi/KesMfgValueList.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgSpinner.h"

class KesMfgAttMVInt : public KesMfgAttribute {
public:
    using List = KesMfgValueList<KesMfgAttMVInt, int, KesRawCollint>;

    KesMfgAttMVInt(KesUnicodeString name, KesUnicodeString label, KesRawCollint values, int minimum,
                   int maximum, int reserved, KesDlgFrame* parent, int group);
    ~KesMfgAttMVInt() override = default;

    void Display() override;
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // The current values become the whole of `ints`, shown from the first value; notify 1
    // notifies the parent frame. Ends the to-be-defined state in every case; an empty or null
    // `ints` changes nothing else. `reals` and `texts` are not read.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // One help text goes to the value frame, one short help text to every value field; both to
    // the option check button too. Lists of another size are ignored.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;

    // Number of value fields (5 by default; 0 or below: none). Call before
    // Display; ignored afterwards.
    virtual void SetNbVisibleVals(const int count);
    // 0 (default): the context menu with Add and Remove; any other value: the number of values
    // is fixed for the user. Call before Display; ignored afterwards.
    virtual void SetNbValModifMode(const int mode);
    // Callback of every value field: brings the field back to an integer (within the limits for
    // a bounded editor), then runs AttributeModified.
    virtual void ControlIntValue(KesCommand* sender, KesNotification* notification, void** data);
    // Stores every shown field, ends the to-be-defined state once every value is given, writes
    // the "tempoval[" lines and notifies the parent frame. Also bound to the option check button.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of "Add": appends the minimum; the window does not move.
    virtual void AddValue(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of "Remove": drops the last value.
    virtual void RemoveValue(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of the scroll bar: the fields follow the position. No value changes, nothing is
    // written or sent.
    virtual void ScrollModified(KesCommand* sender, KesNotification* notification, void** data);

    bool HasLimits() const { return minimum_ != 0 || maximum_ != 0; }
    int GetMinimum() const { return minimum_; }
    int GetMaximum() const { return maximum_; }
    const List& GetValueList() const { return list_; }

private:
    friend List;
    static constexpr KesMfgValueListRules kListRules{kIntegerType,
                                                     /*addRemoveDefine*/ true,
                                                     /*keepsDefinedFlags*/ true,
                                                     /*laysOut*/ true,
                                                     /*refreshesNotifying*/ false,
                                                     /*convertsUnits*/ false};

    KesMfgFieldKind DisplayedFieldKind() const;
    KesDialog* BuildField(KesDlgFrame* valueFrame, const int* reference);
    void ShowValue(KesDialog* field, const int& value, bool defined, int notify);
    KesMfgFieldSample<int> ReadField(const KesDialog* field) const;
    int FillerValue() const { return minimum_; }

    List list_;
    int minimum_;
    int maximum_;
    [[maybe_unused]] int reserved_; // kept for the caller, never read
};
