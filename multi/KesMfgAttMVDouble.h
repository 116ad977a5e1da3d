// KesMfgAttMVDouble: a list of reals of any length (depths, feeds), shown in a window of a fixed
// number of value fields (5 unless set otherwise) with a scroll bar that moves the window over the
// list, and a context menu with "Add" (append the minimum) and "Remove" (drop the last value)
// unless the number of values is fixed.
//
// Units: the unit codes and the unit flag given to the constructor may select a shown unit other
// than the caller's (KesMfgUnitConversion): the constructor's values and limits and the values
// given to SetAttValue are converted to the shown unit, the values of Output and GetAttValue back
// to the caller's unit. Everything else (fields, limits, comparisons, the spinner step) works in
// the shown unit.
//
// Fields: real editors without limits (minimum and maximum both 0.0), real spinners bounded by
// the limits with the step of KesMfgSpinnerStep, or, for an attribute set to be defined that has
// limits, bounded editors (empty at first). Editors show values with "%g" (six significant
// digits), and an edit stores every shown field as it reads, so the neighbours of an edited value
// are kept as they are shown. A number typed into a bounded editor beyond a limit is replaced by
// that limit. Every edit writes one line "SCROLL POS :" p to standard output, whatever the trace
// switch, and notifies the parent frame.
//
// Value record: type code 2, the number of values, the values in the caller's unit. Output
// reports the list when it differs from the constructor's list (compared exactly, in the shown
// unit). The to-be-defined state ends once every value has been typed and on SetAttValue, not on
// Add or Remove.
//
// Numbers that are not finite: an infinite value or limit from the caller, and a value whose
// conversion overflows, is taken as the largest finite real of its sign; a NaN limit is no bound
// on its side; a NaN value is kept (and, never equal, always reported). Editor texts are read as
// every real field reads them (KesMfgReadRealText): a number too large for a real as the
// largest finite real of its sign, any other text that is not a number as 0.
//
// A visible field count of 0 or below builds no field; Remove on an empty list is ignored.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "framework/KesMfgRealText.h"
#include "framework/KesMfgUnitConversion.h"
#include "multi/KesMfgValueList.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgSpinner.h"

class KesMfgAttMVDouble : public KesMfgAttribute {
public:
    using List = KesMfgValueList<KesMfgAttMVDouble, double, KesRawColldouble>;

    KesMfgAttMVDouble(KesUnicodeString name, KesUnicodeString label, KesRawColldouble values,
                      double minimum, double maximum, double stepHint, int firstUnitCode,
                      int secondUnitCode, int thirdUnitCode, KesDlgFrame* parent, int group,
                      int unitFlag);
    ~KesMfgAttMVDouble() override = default;

    void Display() override;
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // The current values become the whole of `reals`, converted to the shown unit and shown from
    // the first value; notify 1 notifies the parent frame. Ends the to-be-defined state in every
    // case; an empty or null `reals` changes nothing else. `ints` and `texts` are not read.
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
    // Callback of every value field and of the option check button: brings a bounded editor
    // back within the limits, writes the scroll position line, stores every shown field and
    // notifies the parent frame.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of "Add": appends the minimum; the window does not move.
    virtual void AddValue(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of "Remove": drops the last value.
    virtual void RemoveValue(KesCommand* sender, KesNotification* notification, void** data);
    // Callback of the scroll bar: the fields follow the position. No value changes, nothing is
    // written or sent.
    virtual void ScrollModified(KesCommand* sender, KesNotification* notification, void** data);

    bool HasLimits() const { return minimum_ != 0.0 || maximum_ != 0.0; }
    // Limits and step hint in the shown unit.
    double GetMinimum() const { return minimum_; }
    double GetMaximum() const { return maximum_; }
    double GetStepHint() const { return stepHint_; }
    const KesMfgUnitConversion& GetUnitConversion() const { return conversion_; }
    const List& GetValueList() const { return list_; }

private:
    friend List;
    static constexpr KesMfgValueListRules kListRules{kRealType,
                                                     /*addRemoveDefine*/ false,
                                                     /*keepsDefinedFlags*/ true,
                                                     /*laysOut*/ true,
                                                     /*refreshesNotifying*/ false,
                                                     /*convertsUnits*/ true};

    static KesRawColldouble ToShownValues(const KesRawColldouble& values,
                                          const KesMfgUnitConversion& conversion);
    KesMfgFieldKind DisplayedFieldKind() const;
    KesDialog* BuildField(KesDlgFrame* valueFrame, const double* reference);
    void ShowValue(KesDialog* field, const double& value, bool defined, int notify);
    KesMfgFieldSample<double> ReadField(const KesDialog* field) const;
    double FillerValue() const { return minimum_; }
    double ToShown(double value) const { return KesMfgFiniteReal(conversion_.ToShown(value)); }
    double ToCaller(double value) const { return KesMfgFiniteReal(conversion_.ToCaller(value)); }

    KesMfgUnitConversion conversion_;
    List list_;
    double minimum_;
    double maximum_;
    double stepHint_; // converted with the limits; the spinner step comes from the step rule
};
