// KesMfgAttDoubleParam: a real value that may be bound to a named parameter of the
// manufacturing model.
//
// Widgets, children of the attribute's frame in this order: the option check button (optional
// attributes), the label "labelatt", the value widget, then the parameter combo "comboatt"
// (editable, style 0x140000). The value widget is a real editor "editoratt" followed by the
// separator label "labelsep" when the attribute has no limits (minimum = maximum = 0) or is
// displayed while still to be defined; otherwise a real spinner "spinneratt" whose context
// menu "contextstep" holds the item "defstep" (edit the spinner step). The combo's context menu
// "contextpar" holds the item "createpar" (create a parameter through a small dialog).
//
// Units. Values enter and leave in the caller's unit and are shown in the shown unit
// (KesMfgUnitConversion: unit codes 0, 0, -1 divide by 360; 0, 0, 1 with unit flag 1 multiply
// by 60). Values read from and written to the model are in the caller's unit. A shown value
// whose conversion to the caller's unit overflows goes into the value record as the largest
// finite real of its sign (the model refuses it when a parameter is created from it).
//
// Binding. The combo's field holds "none" for a plain value, or the name of the bound
// parameter. The binding text is that field with the ASCII letters upper-cased, "NONE" read as
// "none". Value record: type code 2; an unchecked optional attribute gives count 0; a plain
// value count 1 and the current value (caller's unit) in `reals`; a bound value count -1 and
// the binding text padded or cut to 72 characters in `texts` (a name the model takes is never
// longer). Output reports when the current
// value differs from the reference value (the value shown at Display), the binding text from
// the constructor's parameter name, the option state from its initial state, or the output is
// forced. Null vectors among those a record needs make the call append nothing.
//
// Parameter binding, driven by the user through the combo:
//   - opening the list (DropParameters) lists "none" and every compatible parameter: a real
//     (type 2, kind 1) with this attribute's three unit codes, holding at least one real, whose
//     first real lies within the limits when the attribute has a range;
//   - selecting a line (DisplayParameter) shows the parameter's first real and notifies the
//     parent; "none" only notifies. A name that the model does not know, or whose parameter
//     holds no finite real (a name given by the constructor or SetAttValue, for instance),
//     keeps the binding and leaves the value widget as it is; the parent is still notified;
//   - typing a name (EntryCreateParameter) binds a compatible parameter of that name, else
//     creates one holding the current value; "none" or an empty field unbinds;
//   - editing the value (UnParametrize) unbinds.
// Codes shown through KesMfgBaseGII: 20001 when the model answers that the name exists
// (9620), 20002 when a parameter was created and bound, the model's own code when writing the
// value fails or when a creation from the dialog fails. A creation typed into the field that
// fails for another reason than 9620 returns to "none" without a report.
//
// Spinner step. Display starts the spinner with the step stored under the key
// "KesMfgAttDoubleParam." + name + ".step" in the setting file "MFGPROG" (KesMfgSetting), or
// else the default step of the range (KesMfgSpinnerStep). A step greater than the range becomes
// 0.1; a stored step that is not a positive finite number is ignored. "defstep" opens the step
// dialog "StepEditorDlg" (one step editor "StepEditor"); OK stores and applies a step that is a
// positive finite number below the range and refuses any other silently; the dialog closes
// either way. Cancel only hides the dialog, which the next "defstep" shows again as it was.
//
// The attribute owns its two dialogs: the creation dialog "CreateParameter" and the step
// dialog, children of its frame while they exist, deleted by the attribute (also from inside
// their own OK and Cancel callbacks) or with it.
//
// Trace: while GetDebug("Access") answers exactly 1 (asked afresh at every call) the
// operations write "XXXXXXXXXXXXXX" lines naming themselves to standard output.
//
// Before Display, value exchange, help and the callbacks do nothing (GetAttValue still writes
// the group number).
#pragma once

#include "framework/KesMfgAttribute.h"
#include "framework/KesMfgUnitConversion.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgDialog.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgSpinner.h"
#include "platform/KesMfgDialogEditor.h"

class KesMfgAttDoubleParam : public KesMfgAttribute {
public:
    // Value, limits and step hint in the caller's unit; an empty parameter name means "none".
    // An infinite value or limit is taken as the largest finite real of its sign, a NaN limit
    // as no bound on its side (the largest finite real of that side).
    KesMfgAttDoubleParam(KesUnicodeString name, KesUnicodeString label, double value,
                         double minimum, double maximum, double stepHint, int firstUnitCode,
                         int secondUnitCode, int thirdUnitCode, KesUnicodeString parameterName,
                         KesDlgFrame* parent, int group, int unitFlag);
    // Deletes the dialogs still open.
    ~KesMfgAttDoubleParam() override;

    // "KesMfgAttDoubleParam" at level 0 or below; the toolkit's answer for level - 1 above.
    KesString GetResourceFilename(int level) const override;

    void Display() override;
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // A single real (caller's unit) is shown: an editor takes it clamped to the limits and the
    // value counts as defined; a spinner takes it with `notify` (1 raises the spinner's
    // modification, which unbinds and notifies the parent). Unless notify is 1 the combo is set
    // to "none" silently. A real that is not a finite number in the shown unit is ignored.
    // A single text binds: a name shorter than 16 characters is padded with blanks to 16
    // (the field's width), a longer one is kept whole (the model takes names of up to 72, and
    // the record then names the parameter as pushed); "none" is kept as it is. The text is
    // appended to the combo and selected silently; an empty or blank text stands for "none".
    // The model is not asked and the value widget is not changed: push the parameter's value
    // along with its name. Both run, the
    // real first, when both vectors hold one element; other sizes are ignored. ints is not
    // read. Sends no notification itself.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // One help text and one short help text go to the value widget only; other sizes are
    // ignored.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;

    // Brings a bounded editor's text back within the limits, clears the to-be-defined flag and
    // notifies the parent frame. Bound to the option check button.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);
    // Does nothing.
    virtual void ListParameters();
    // The combo's list was opened: rebuilt as "none" and the compatible parameters, the field's
    // text selected again. Changes neither the value nor the binding; notifies nobody.
    virtual void DropParameters(KesCommand* sender, KesNotification* notification, void** data);
    // A line was selected (or a binding was just made): shows the bound parameter's value and
    // runs AttributeModified.
    virtual void DisplayParameter(KesCommand* sender, KesNotification* notification, void** data);
    // The value was edited: the binding returns to "none"; runs AttributeModified.
    virtual void UnParametrize(KesCommand* sender, KesNotification* notification, void** data);
    // "createpar": opens the creation dialog, or shows the one already open.
    virtual void CreateParameter(KesCommand* sender, KesNotification* notification, void** data);
    // A name was typed into the combo's field: unbind, bind or create (see above).
    virtual void EntryCreateParameter(KesCommand* sender, KesNotification* notification,
                                      void** data);
    // OK in the creation dialog: creates the typed parameter with the current value and binds
    // it. An empty field does nothing; a name that exists leaves the dialog open; any other
    // failure closes it with the binding unchanged.
    virtual void YesCreateParameter(KesCommand* sender, KesNotification* notification, void** data);
    // Cancel in the creation dialog: closes it; the binding does not change.
    virtual void NoCreateParameter(KesCommand* sender, KesNotification* notification, void** data);
    // "defstep": opens the step dialog showing the stored step (0.1 when none is stored), or
    // shows the one already open.
    virtual void DefineStep(KesCommand* sender, KesNotification* notification, void** data);
    // OK in the step dialog: stores and applies the typed step when it is a positive finite
    // number below the range; closes the dialog.
    virtual void OkStep(KesCommand* sender, KesNotification* notification, void** data);

    // State, for callers, tools and tests.
    bool HasLimits() const { return minimum_ != 0.0 || maximum_ != 0.0; }
    double GetReferenceValue() const { return value_; }
    double GetMinimum() const { return minimum_; }
    double GetMaximum() const { return maximum_; }
    const KesUnicodeString& GetReferenceParameterName() const { return parameterName_; }
    // The binding text ("none" before Display): the combo's field upper-cased, with the
    // padding of a pushed name.
    KesUnicodeString GetBindingText() const;
    // The name of the bound parameter as the model knows it: the binding text without its
    // padding; "none" when unbound.
    KesUnicodeString GetBoundParameterName() const;
    // The value shown, in the shown unit (0 before Display).
    double GetShownValue() const;
    // The key of the stored spinner step: StepSettingKey of the attribute's name.
    KesUnicodeString GetStepKey() const;
    // The key under which the spinner step of an attribute named `name` (as given to the
    // constructor, unstripped) is stored in the setting file "MFGPROG", for a caller that
    // reads or presets it before the attribute exists.
    static KesUnicodeString StepSettingKey(const KesUnicodeString& name);
    // The setting file of the spinner steps.
    static constexpr const char* kStepSettingFile = "MFGPROG";
    KesDlgSpinner* GetSpinnerWidget() const { return spinner_; }
    KesDlgEditor* GetEditorWidget() const { return editor_; }
    KesDlgCombo* GetParameterCombo() const { return combo_; }
    // Whether the model holds a parameter this attribute offers and accepts by name (same
    // type, units and, with limits, a value within them) whose trimmed name is `name`: one the
    // person may bind to by typing its name. Asks the model; changes nothing.
    bool FindCompatible(const KesUnicodeString& name) const;
    // Whether the value shown is the one binding to the parameter named by the parameter
    // combo's field shows (as DisplayParameter puts it there); true while unbound or when the
    // model has no real value for the name. Asks the model; changes nothing.
    bool ShowsParameterValue() const;
    KesMfgDialogEditor* GetCreationDialog() const { return creationDialog_; }
    KesDlgDialog* GetStepDialog() const { return stepDialog_; }
    KesDlgEditor* GetStepEditor() const { return stepEditor_; }

private:
    // The model's answer to creating a parameter and writing the current value into it.
    struct CreationOutcome {
        int error;       // 0 when both succeeded
        bool atCreation; // the error came from the creation, not from the value write
    };

    double DisplaySpinnerStep() const;
    void AppendRecord(KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                      KesRawCollint* counts, KesRawColldouble* reals,
                      KesListValKesUnicodeString* texts) const;
    void AppendParameterLine(const KesUnicodeString& text);
    // Appends `name` to the combo and selects it with `notify`.
    void BindTo(const KesUnicodeString& name, int notify);
    bool IsCompatible(const KesUnicodeString& parameter) const;
    CreationOutcome CreateWithCurrentValue(const KesUnicodeString& name);
    void CloseCreationDialog();
    void CloseStepDialog();

    // Trace of this class: asked afresh at every call.
    static bool ParamTraceOn();
    static void ParamTrace(const char* line);

    double value_;                     // reference value, shown unit
    double minimum_;                   // shown unit
    double maximum_;                   // shown unit
    [[maybe_unused]] double stepHint_; // shown unit; kept for the caller, never read
    int thirdUnitCode_;
    int firstUnitCode_;
    int secondUnitCode_;
    [[maybe_unused]] int unitFlag_;  // read through units_
    KesUnicodeString parameterName_; // the constructor's binding; "none" when unbound
    KesMfgUnitConversion units_;
    KesDlgSpinner* spinner_ = nullptr;
    KesDlgEditor* editor_ = nullptr;
    KesDlgCombo* combo_ = nullptr;
    KesMfgDialogEditor* creationDialog_ = nullptr; // owned while open
    KesDlgDialog* stepDialog_ = nullptr;           // owned while open
    KesDlgEditor* stepEditor_ = nullptr;           // child of the step dialog
};
