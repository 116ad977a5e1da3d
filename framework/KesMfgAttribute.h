// KesMfgAttribute: the abstract attribute, a frame that shows and edits one named, typed value
// of a machining operation.
//
// Lifecycle: construct (the frame becomes a child of the parent frame), configure
// (SetOptionMode, SetAttToBeDefined, SetVisibleTextWidth, class setters), Display once (a
// second Display is ignored), then use: setters, SetAttValue, Output and GetAttValue. The
// parent frame owns the attribute: create it with new.
//
// Value records. The caller passes the same six value vectors to every attribute of a panel;
// each appends its record: the name to `names`, the type code (0 boolean, 1 integer, 2 real,
// 3 text) to `typeCodes`, the value count to `counts` (0 for an unchecked optional attribute),
// then that many values to the vector of its type. Output appends only for its group and only
// when the value or the option state changed since construction, or the attribute was set to
// be defined (forced output); GetAttValue appends whenever the value is defined. A null
// vector pointer among those a record needs makes the call append nothing at all.
//
// Errors: requests that do not apply are ignored silently; operations that need the widgets
// (SetOptionalCheck, SetHelp, SetAttValue, Output, GetAttValue) do nothing before Display.
//
// Trace: while the process-wide switch _debug (read once from GetDebug("Access")) is non-zero,
// the base operations write "YYYYYYYYYYYYYYYYYYYY " and their name to standard output.
#pragma once

#include "framework/KesListPtrKesMfgAttribute.h"
#include "platform/KesDlgCheckButton.h"
#include "platform/KesDlgFrame.h"
#include "platform/KesDlgLabel.h"
#include "platform/KesListValKesUnicodeString.h"
#include "platform/KesRawColldouble.h"
#include "platform/KesRawCollint.h"

class KesMfgAttribute : public KesDlgFrame {
public:
    // Type codes of value records.
    static constexpr int kBooleanType = 0;
    static constexpr int kIntegerType = 1;
    static constexpr int kRealType = 2;
    static constexpr int kTextType = 3;

    // The frame is identified by the name without underscores and blanks; the name itself is
    // kept unchanged for the value records.
    KesMfgAttribute(KesUnicodeString name, KesUnicodeString label, KesDlgFrame* parent, int group);
    // From here on no user action on the attribute's widgets is carried out and no
    // notification reaches it. An attribute class whose destructor does work calls
    // MarkBeingDestroyed() first thing, so that this holds while its own part is torn down.
    ~KesMfgAttribute() override;

    // The virtual operations, declared in slot order: a subclass and a caller compiled against
    // this header find each operation at its place in the table of virtual functions, after
    // the frame operations inherited from the toolkit. Keep the order; subclasses append their
    // own virtual operations after these.

    // Builds the child widgets once: the option check button (child 0, when optional), the
    // label "labelatt", then the value widgets with their callbacks. A second call is ignored.
    virtual void Display() = 0;
    // Appends the value record when asked for the attribute's group and the value or the option
    // state differs from the one given at construction, or output is forced; nothing while the
    // value is still to be given.
    virtual void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                        KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                        KesListValKesUnicodeString* texts) = 0;
    // Writes the group number (when `group` is not null) and appends the record whenever the
    // value is defined.
    virtual void GetAttValue(int* group, KesListValKesUnicodeString* names,
                             KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint* ints,
                             KesRawColldouble* reals, KesListValKesUnicodeString* texts) = 0;
    // Shows a value given by the caller, read from the vector of the attribute's own type.
    // `notify` goes to the widget setter as its notify flag, or decides whether the attribute
    // notifies its parent frame (each class says which).
    virtual void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                             KesListValKesUnicodeString* texts, int notify) = 0;
    // Replaces the list of choices: the choice lists do; here only a trace line.
    virtual void ModifyValueList(KesRawCollint reserved, KesListValKesUnicodeString newValues,
                                 int selection);
    // A copy of the name given to the constructor.
    virtual KesUnicodeString GetAttributeName();
    // The value is still to be given: no value shown, no record until an edit; Output
    // reports the attribute on every call from then on. Call before Display.
    virtual void SetAttToBeDefined();
    // Read-only (0) or editable (1). Mode 0 makes every child but the label (and a trailing
    // scroll bar) insensitive; mode 1 only records the mode.
    virtual void SetEditMode(int mode);
    // The frame's own sensitivity, passed to the frame only while the edit mode is 1.
    void SetSensitivity(unsigned long sensitivity) override;
    // Makes the attribute optional (mode 1) with an initial state: checked (1) or unchecked
    // (0); another initial state is taken as 1. Call before Display.
    virtual void SetOptionMode(int mode, int initialState);
    // Builds the option check button (child 0); called by Display.
    virtual void DisplayOptionalCheck();
    // Checks (state 1) or unchecks the option check button from the program. With notify 1
    // the button notifies as if clicked; with 0 (or any flag but 1) the widgets follow
    // silently.
    virtual void SetOptionalCheck(int state, int notify);
    // Callback of the option check button: applies the option state to the widgets.
    virtual void OptionCheckModified(KesCommand* sender, KesNotification* notification,
                                     void** data);
    // Access 1 makes the attribute sensitive (an unchecked optional one keeps its value
    // widgets off), 0 insensitive; other values are only stored. Acts only in edit mode 1.
    virtual void SetContextAccess(int access);
    // The context access last given to SetContextAccess (1 at construction).
    virtual int GetContextAccess();
    // Icons of the choices and their second icons: the choice lists and the booleans use them;
    // here only a trace line.
    virtual void SetIconNames(KesListValKesUnicodeString* icons,
                              KesListValKesUnicodeString* secondIcons);
    // Help and short help of the widgets: every attribute class overrides it; here only a
    // trace line.
    virtual void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp);
    // Width in characters of text fields; takes effect at the next Display.
    virtual void SetVisibleTextWidth(int width);
    // The icon of the link's push button: the link attribute uses it; here only a trace line.
    virtual void SetIconName(KesString name);
    // The attributes this one steers and how: for each impact value (an integer value, or a
    // text value in the second form) the sensitivity it gives them. Nothing here; the
    // attributes that steer others override them.
    virtual void AddImpactedAttributes(KesListPtrKesMfgAttribute attributes, KesRawCollint reserved,
                                       KesRawCollint impactValues, KesRawCollint sensitivities);
    virtual void AddImpactedAttributes(KesListPtrKesMfgAttribute attributes, KesRawCollint reserved,
                                       KesListValKesUnicodeString impactValues,
                                       KesRawCollint sensitivities);
    // Applies the sensitivities due to the current value to the steered attributes. Nothing
    // here; the attributes that steer others override it.
    virtual void ImpactAttributes();

    // State, for callers, tools and tests (none of these writes a trace line).
    // The name written into value records, as given to the constructor.
    const KesUnicodeString& GetRecordName() const { return name_; }
    const KesUnicodeString& GetLabel() const { return label_; }
    int GetGroup() const { return group_; }
    KesDlgFrame* GetParentFrame() const { return parentFrame_; }
    int IsToBeDefined() const { return toBeDefined_; }
    int IsForcedOutput() const { return forcedOutput_; }
    int GetEditMode() const { return editMode_; }
    int GetOptionMode() const { return optionMode_; }
    int GetOptionState() const { return optionState_; }
    int GetInitialOptionState() const { return initialOptionState_; }
    int GetVisibleTextWidth() const { return visibleTextWidth_; }
    int HasTrailingScrollBar() const { return trailingScrollBar_; }
    KesDlgCheckButton* GetOptionCheckButton() const { return optionCheck_; }
    KesDlgLabel* GetLabelWidget() const { return labelWidget_; }
    bool IsDisplayed() const { return displayed_; }

    // The trace switch shared by all attributes: -1 until first read from GetDebug("Access").
    // Hosts and tests may set it back to -1 to have it read again.
    static int _debug;

protected:
    // Display contract, steps 1 and 2: the option check button (with `attributeModified`
    // bound to it as well) and the label widget. Returns false, building nothing, when Display
    // already ran.
    template <class Attribute>
    bool StartDisplay(void (Attribute::*attributeModified)(KesCommand*, KesNotification*, void**)) {
        if (displayed_) {
            return false;
        }
        displayed_ = true;
        if (optionMode_ == 1) {
            DisplayOptionalCheck();
            AddAnalyseNotificationCB(optionCheck_, optionCheck_->GetChkBModifyNotification(),
                                     attributeModified, nullptr);
        }
        CreateLabelWidget();
        return true;
    }
    // For an attribute whose Display builds its own widgets outside the display contract (no
    // option check button, no label widget): marks Display as done. Returns false when Display
    // already ran.
    bool MarkDisplayed() {
        if (displayed_) {
            return false;
        }
        displayed_ = true;
        return true;
    }
    // Display contract, step 4: applies the option state to the widgets just built.
    void FinishDisplay();
    void CreateLabelWidget();

    // Gives `target` (and the option check button, in option mode) the help text and the
    // short help text when each list holds exactly one text.
    void GiveSingleHelp(KesDialog* target, const KesListValKesUnicodeString& help,
                        const KesListValKesUnicodeString& shortHelp);

    // Sends a new modification notification to the parent frame.
    void SendModification();

    // Value records.
    // Output's first test: asked for this group and the value is defined.
    bool OutputConcerns(int group) const { return group == group_ && toBeDefined_ == 0; }
    // Output's second test: something is to be reported.
    bool RecordDue(bool valueChanged) const {
        return valueChanged || optionState_ != initialOptionState_ || forcedOutput_ == 1;
    }
    // Appends the name, the type code and the count of a record: 0 while unchecked (then no
    // value follows and false is returned), else `count`. Appends nothing, and returns false,
    // when a vector the record needs is null.
    bool AppendRecordHead(KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                          KesRawCollint* counts, const void* values, int typeCode,
                          int count) const {
        if (names == nullptr || typeCodes == nullptr || counts == nullptr || values == nullptr) {
            return false;
        }
        names->Append(name_);
        typeCodes->Append(typeCode);
        counts->Append(optionState_ == 0 ? 0 : count);
        return optionState_ != 0;
    }
    // Appends a record of one value.
    template <class Vector, class Value>
    void AppendSingleRecord(KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                            KesRawCollint* counts, int typeCode, Vector* values,
                            const Value& value) const {
        if (AppendRecordHead(names, typeCodes, counts, values, typeCode, 1)) {
            values->Append(value);
        }
    }
    // Appends a record of a list of values.
    template <class Vector>
    void AppendListRecord(KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                          KesRawCollint* counts, int typeCode, Vector* values,
                          const Vector& list) const {
        if (AppendRecordHead(names, typeCodes, counts, values, typeCode, list.Size())) {
            values->Append(list);
        }
    }

    // Trace.
    static bool TraceOn();
    static void Trace(const char* operation);

    KesUnicodeString name_;
    KesUnicodeString label_;
    int group_;
    int toBeDefined_ = 0;        // 1 while the attribute has no value yet
    int forcedOutput_ = 0;       // 1 once set to be defined: Output always reports
    int editMode_ = 1;           // 1 editable, 0 read-only
    int optionMode_ = 0;         // 1 when the attribute shows the option check button
    int optionState_ = 1;        // 1 checked (in use), 0 unchecked
    int initialOptionState_ = 1; // the state given to SetOptionMode
    int contextAccess_ = 1;      // 1 accessible, 0 not
    int visibleTextWidth_ = -1;  // -1: the class's own width rule
    int trailingScrollBar_ = 0;  // 1: the last child keeps its sensitivity
    KesDlgCheckButton* optionCheck_ = nullptr;
    KesDlgFrame* parentFrame_;
    KesDlgLabel* labelWidget_ = nullptr;

private:
    // Children 0..n-1 less a trailing scroll bar.
    int SensitivityLoopEnd() const;

    bool displayed_ = false;
};
