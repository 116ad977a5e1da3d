// KesMfgAttDoubleParam: the parameterised real attribute.
//
// Index:
//   Helpers and trace
//   Construction and display
//   Value exchange
//   Parameter binding
//   Parameter creation
//   Step editing
#include "param/KesMfgAttDoubleParam.h"

#include "framework/KesMfgRealText.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgContextualMenu.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "platform/KesMfgSetting.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iostream>
#include <memory>
#include <utility>

// ---------------------------------------------------------------------------------------------
// Helpers and trace
// ---------------------------------------------------------------------------------------------
namespace {

constexpr const char* kNone = "none";
constexpr const char* kSettingFile = KesMfgAttDoubleParam::kStepSettingFile;
constexpr int kParameterType = 2; // d1 of the parameters this attribute offers and creates
constexpr int kParameterKind = 1; // d2
constexpr double kFallbackStep = 0.1;
constexpr int kBindingFieldWidth = 16; // a name pushed by the caller is padded to it
constexpr int kRecordTextWidth = 72;   // the binding text in a value record

KesUnicodeString FormatReal(double value) {
    KesUnicodeString text;
    text.BuildFromNum(value, "%g");
    return text;
}

KesUnicodeString Trimmed(const KesUnicodeString& text) {
    return text.Strip(3, KesUnicodeChar(' '));
}

bool IsUsableStep(double step) {
    return std::isfinite(step) && step > 0.0;
}

} // namespace

bool KesMfgAttDoubleParam::ParamTraceOn() {
    return GetDebug("Access") == 1;
}

void KesMfgAttDoubleParam::ParamTrace(const char* line) {
    if (ParamTraceOn()) {
        std::cout << line << std::endl;
    }
}

// ---------------------------------------------------------------------------------------------
// Construction and display
// ---------------------------------------------------------------------------------------------
KesMfgAttDoubleParam::KesMfgAttDoubleParam(KesUnicodeString name, KesUnicodeString label,
                                           double value, double minimum, double maximum,
                                           double stepHint, int firstUnitCode, int secondUnitCode,
                                           int thirdUnitCode, KesUnicodeString parameterName,
                                           KesDlgFrame* parent, int group, int unitFlag)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group), value_(value),
      minimum_(minimum), maximum_(maximum), stepHint_(stepHint), thirdUnitCode_(thirdUnitCode),
      firstUnitCode_(firstUnitCode), secondUnitCode_(secondUnitCode), unitFlag_(unitFlag),
      parameterName_(parameterName.IsEmpty() ? KesUnicodeString(kNone) : std::move(parameterName)),
      units_(firstUnitCode, secondUnitCode, thirdUnitCode, unitFlag) {
    value_ = KesMfgFiniteReal(units_.ToShown(value_));
    minimum_ = KesMfgFiniteLimit(units_.ToShown(minimum_), -DBL_MAX);
    maximum_ = KesMfgFiniteLimit(units_.ToShown(maximum_), DBL_MAX);
    stepHint_ = units_.ToShown(stepHint_);
}

KesMfgAttDoubleParam::~KesMfgAttDoubleParam() {
    MarkBeingDestroyed(); // closing the dialogs below must not reach this attribute's methods
    CloseCreationDialog();
    CloseStepDialog();
}

KesString KesMfgAttDoubleParam::GetResourceFilename(int level) const {
    if (level <= 0) {
        return "KesMfgAttDoubleParam";
    }
    return KesMfgAttribute::GetResourceFilename(level - 1);
}

KesUnicodeString KesMfgAttDoubleParam::StepSettingKey(const KesUnicodeString& name) {
    return KesUnicodeString("KesMfgAttDoubleParam.") + name + ".step";
}

KesUnicodeString KesMfgAttDoubleParam::GetStepKey() const {
    return StepSettingKey(name_);
}

double KesMfgAttDoubleParam::DisplaySpinnerStep() const {
    double step = KesMfgSpinnerStep(minimum_, maximum_);
    double stored = step;
    KesMfgSetting::ReadSetting(GetStepKey(), &stored, kSettingFile);
    if (IsUsableStep(stored)) {
        step = stored; // a damaged or hand-edited setting never reaches the spinner
    }
    if (step > maximum_ - minimum_) {
        step = kFallbackStep;
    }
    return step;
}

void KesMfgAttDoubleParam::Display() {
    if (!StartDisplay(&KesMfgAttDoubleParam::AttributeModified)) {
        return;
    }
    if (!HasLimits() || toBeDefined_ == 1) {
        editor_ = new KesDlgEditor(this, "editoratt", kes::kRealEditorStyle);
        if (toBeDefined_ == 0) {
            // The reference value becomes exactly what the editor shows.
            editor_->SetText(std::isfinite(value_) ? FormatReal(value_) : KesUnicodeString());
            value_ = editor_->GetFloatValue();
        }
        editor_->SetVisibleTextWidth(12);
        editor_->SetPrecision(10);
        editor_->SetDisplayFormat("%12.7f");
        AddAnalyseNotificationCB(editor_, editor_->GetEditModifyNotification(),
                                 &KesMfgAttDoubleParam::UnParametrize, nullptr);
        (new KesDlgLabel(this, "labelsep", kes::kPlainStyle))->SetTitle("  ");
    } else {
        spinner_ = new KesDlgSpinner(this, "spinneratt", kes::kRealSpinnerStyle);
        spinner_->SetMinMaxStep(minimum_, maximum_, DisplaySpinnerStep());
        spinner_->SetValue(value_, kes::kNoNotify);
        value_ = spinner_->GetValue();
        spinner_->SetVisibleTextWidth(12);
        spinner_->SetPrecision(10);
        spinner_->SetDisplayFormat("%12.7f");
        AddAnalyseNotificationCB(spinner_, spinner_->GetSpinnerModifyNotification(),
                                 &KesMfgAttDoubleParam::UnParametrize, nullptr);
        auto* stepMenu = new KesDlgContextualMenu(spinner_, "contextstep", kes::kPlainStyle);
        auto* defineStep = new KesDlgPushItem(stepMenu, "defstep", kes::kPlainStyle);
        AddAnalyseNotificationCB(defineStep, defineStep->GetMenuIActivateNotification(),
                                 &KesMfgAttDoubleParam::DefineStep, nullptr);
    }

    combo_ = new KesDlgCombo(this, "comboatt", kes::kEditableComboStyle);
    parameterName_ = Trimmed(parameterName_);
    if (parameterName_.IsEmpty()) {
        parameterName_ = kNone;
    }
    if (!(parameterName_ == kNone)) {
        AppendParameterLine(kNone);
    }
    BindTo(parameterName_, kes::kNoNotify);
    combo_->SetVisibleTextWidth(visibleTextWidth_ > 0 ? visibleTextWidth_ : 16);
    combo_->SetVisibleTextHeight(5);
    AddAnalyseNotificationCB(combo_, combo_->GetComboDropNotification(),
                             &KesMfgAttDoubleParam::DropParameters, nullptr);
    AddAnalyseNotificationCB(combo_, combo_->GetComboSelectNotification(),
                             &KesMfgAttDoubleParam::DisplayParameter, nullptr);
    AddAnalyseNotificationCB(combo_, combo_->GetComboModifyNotification(),
                             &KesMfgAttDoubleParam::EntryCreateParameter, nullptr);
    auto* parameterMenu = new KesDlgContextualMenu(combo_, "contextpar", kes::kPlainStyle);
    auto* createParameter = new KesDlgPushItem(parameterMenu, "createpar", kes::kPlainStyle);
    AddAnalyseNotificationCB(createParameter, createParameter->GetMenuIActivateNotification(),
                             &KesMfgAttDoubleParam::CreateParameter, nullptr);
    FinishDisplay();
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
double KesMfgAttDoubleParam::GetShownValue() const {
    if (editor_ != nullptr) {
        return editor_->GetFloatValue();
    }
    if (spinner_ != nullptr) {
        return spinner_->GetValue();
    }
    return 0.0;
}

KesUnicodeString KesMfgAttDoubleParam::GetBindingText() const {
    if (combo_ == nullptr) {
        return kNone;
    }
    const KesUnicodeString binding = KesToAsciiUpper(combo_->GetField());
    return binding == "NONE" ? KesUnicodeString(kNone) : binding;
}

KesUnicodeString KesMfgAttDoubleParam::GetBoundParameterName() const {
    return Trimmed(GetBindingText());
}

void KesMfgAttDoubleParam::AppendRecord(KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                                        KesRawCollint* counts, KesRawColldouble* reals,
                                        KesListValKesUnicodeString* texts) const {
    if (names == nullptr || typeCodes == nullptr || counts == nullptr) {
        return;
    }
    const KesUnicodeString binding = GetBindingText();
    if (optionState_ != 0 && binding == kNone) {
        AppendSingleRecord(names, typeCodes, counts, kRealType, reals,
                           KesMfgFiniteReal(units_.ToCaller(GetShownValue())));
        return;
    }
    if (optionState_ != 0 && texts == nullptr) {
        return;
    }
    names->Append(name_);
    typeCodes->Append(kRealType);
    if (optionState_ == 0) {
        counts->Append(0);
        return;
    }
    counts->Append(-1); // bound: the parameter's name stands for the value
    KesUnicodeString padded = binding;
    texts->Append(padded.Resize(kRecordTextWidth, KesUnicodeChar(' '), 1));
}

void KesMfgAttDoubleParam::Output(int group, KesListValKesUnicodeString* names,
                                  KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint*,
                                  KesRawColldouble* reals, KesListValKesUnicodeString* texts) {
    ParamTrace("XXXXXXXXXXXXXX Output");
    if (!IsDisplayed() || !OutputConcerns(group)) {
        return;
    }
    const bool valueChanged = GetShownValue() != value_;
    const bool bindingChanged = !(GetBindingText() == parameterName_);
    if (RecordDue(valueChanged || bindingChanged)) {
        AppendRecord(names, typeCodes, counts, reals, texts);
    }
}

void KesMfgAttDoubleParam::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                       KesRawCollint* typeCodes, KesRawCollint* counts,
                                       KesRawCollint*, KesRawColldouble* reals,
                                       KesListValKesUnicodeString* texts) {
    ParamTrace("XXXXXXXXXXXXXX GetAttValue");
    if (group != nullptr) {
        *group = group_;
    }
    if (!IsDisplayed() || toBeDefined_ != 0) {
        return;
    }
    AppendRecord(names, typeCodes, counts, reals, texts);
}

void KesMfgAttDoubleParam::SetAttValue(KesRawCollint*, KesRawColldouble* reals,
                                       KesListValKesUnicodeString* texts, int notify) {
    ParamTrace("XXXXXXXXXXXXXX SetAttValue");
    if (!IsDisplayed()) {
        return;
    }
    if (reals != nullptr && reals->Size() == 1 && std::isfinite(units_.ToShown((*reals)[1]))) {
        double shown = units_.ToShown((*reals)[1]);
        if (editor_ != nullptr) {
            if (HasLimits()) {
                shown = shown < minimum_ ? minimum_ : shown;
                shown = shown > maximum_ ? maximum_ : shown;
            }
            editor_->SetText(FormatReal(shown));
            toBeDefined_ = 0;
        } else {
            const std::shared_ptr<const bool> alive = GetAliveToken();
            spinner_->SetValue(shown, notify);
            if (!*alive) {
                return; // the notification's receiver deleted the attribute
            }
        }
        if (notify != 1) {
            combo_->SetSelect(kNone, kes::kNoNotify); // a value pushed silently unbinds silently
        }
    }
    if (texts != nullptr && texts->Size() == 1) {
        KesUnicodeString parameter = (*texts)[1];
        if (Trimmed(parameter).IsEmpty()) {
            parameter = kNone; // as in the constructor, no name means no binding
        }
        if (!(parameter == kNone) && parameter.GetLengthInChar() < kBindingFieldWidth) {
            // Padded to the field's width, never cut: a longer name is a parameter of its own.
            parameter.Resize(kBindingFieldWidth, KesUnicodeChar(' '), 1);
        }
        ParamTrace("je fais le set select");
        if (ParamTraceOn()) {
            std::cout << "!" << parameter.Str() << "!" << std::endl;
        }
        BindTo(parameter, kes::kNoNotify);
        ParamTrace("Drop Parm OK");
    }
}

void KesMfgAttDoubleParam::AttributeModified(KesCommand*, KesNotification*, void**) {
    ParamTrace("XXXXXXXXXXXXXX AttributeModified");
    if (editor_ != nullptr && HasLimits()) {
        const double typed = editor_->GetFloatValue();
        if (typed < minimum_) {
            editor_->SetText(FormatReal(minimum_));
        }
        if (typed > maximum_) {
            editor_->SetText(FormatReal(maximum_));
        }
    }
    toBeDefined_ = 0;
    SendModification();
}

void KesMfgAttDoubleParam::SetHelp(KesListValKesUnicodeString help,
                                   KesListValKesUnicodeString shortHelp) {
    ParamTrace("XXXXXXXXXXXXXX SetHelp");
    KesDialog* target = editor_ != nullptr ? static_cast<KesDialog*>(editor_) : spinner_;
    if (target == nullptr) {
        return;
    }
    if (help.Size() == 1) {
        target->SetHelp(help[1]);
    }
    if (shortHelp.Size() == 1) {
        target->SetShortHelp(shortHelp[1]);
    }
}

// ---------------------------------------------------------------------------------------------
// Parameter binding
// ---------------------------------------------------------------------------------------------
void KesMfgAttDoubleParam::AppendParameterLine(const KesUnicodeString& text) {
    combo_->SetLine(text, kes::kAppendLine, kes::kChoiceLineFlags);
}

void KesMfgAttDoubleParam::BindTo(const KesUnicodeString& name, int notify) {
    AppendParameterLine(name);
    combo_->SetSelect(name, notify);
}

bool KesMfgAttDoubleParam::IsCompatible(const KesUnicodeString& parameter) const {
    int type = 0, kind = 0, first = 0, second = 0, third = 0, reserved1 = 0, reserved2 = 0;
    KesRawCollint ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;
    KesMfgModel::ReadParameterDesc(parameter, type, kind, first, second, third, reserved1,
                                   reserved2, ints, reals, texts);
    if (KesMfgModel::GetError() != KesMfgModel::kNoError) {
        return false;
    }
    ints.RemoveAll();
    reals.RemoveAll();
    texts.RemoveAll();
    KesMfgModel::ReadParameter(parameter, ints, reals, texts);
    if (reals.Size() < 1 || type != kParameterType || kind != kParameterKind ||
        first != firstUnitCode_ || second != secondUnitCode_ || third != thirdUnitCode_) {
        return false;
    }
    if (minimum_ == maximum_) {
        return true; // no range to respect
    }
    const double shown = units_.ToShown(reals[1]);
    return shown >= minimum_ && shown <= maximum_;
}

bool KesMfgAttDoubleParam::FindCompatible(const KesUnicodeString& name) const {
    const std::unique_ptr<KesListValKesUnicodeString> parameters(KesMfgModel::GetParameters());
    for (int i = 1; i <= parameters->Size(); ++i) {
        if (Trimmed((*parameters)[i]) == name && IsCompatible((*parameters)[i])) {
            return true;
        }
    }
    return false;
}

bool KesMfgAttDoubleParam::ShowsParameterValue() const {
    if (combo_ == nullptr || combo_->GetField() == kNone) {
        return true;
    }
    KesRawCollint ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;
    KesMfgModel::ReadParameter(Trimmed(KesToAsciiUpper(combo_->GetField())), ints, reals, texts);
    const double shown = reals.Size() >= 1 ? units_.ToShown(reals[1]) : 0.0;
    if (reals.Size() < 1 || !std::isfinite(shown)) {
        return true;
    }
    if (editor_ != nullptr) {
        return editor_->GetText() == FormatReal(shown);
    }
    return spinner_ == nullptr || spinner_->GetValue() == std::clamp(shown, minimum_, maximum_);
}

void KesMfgAttDoubleParam::ListParameters() {}

void KesMfgAttDoubleParam::DropParameters(KesCommand*, KesNotification*, void**) {
    ParamTrace("XXXXXXXXXXXXXXDropParameters ");
    if (combo_ == nullptr) {
        return;
    }
    const KesUnicodeString kept = combo_->GetField();
    combo_->ClearLine();
    combo_->ClearSelect();
    AppendParameterLine(kNone);
    const std::unique_ptr<KesListValKesUnicodeString> parameters(KesMfgModel::GetParameters());
    for (int i = 1; i <= parameters->Size(); ++i) {
        if (IsCompatible((*parameters)[i])) {
            AppendParameterLine((*parameters)[i]);
        }
    }
    combo_->SetSelect(kept, kes::kNoNotify);
}

void KesMfgAttDoubleParam::DisplayParameter(KesCommand*, KesNotification*, void**) {
    ParamTrace("XXXXXXXXXXXXXX DisplayParameter");
    if (combo_ == nullptr) {
        return;
    }
    const KesUnicodeString field = combo_->GetField();
    if (!(field == kNone)) {
        // Model names hold no blanks: the padding of a name pushed by the caller is dropped.
        KesRawCollint ints;
        KesRawColldouble reals;
        KesListValKesUnicodeString texts;
        KesMfgModel::ReadParameter(Trimmed(KesToAsciiUpper(field)), ints, reals, texts);
        const double shown = reals.Size() >= 1 ? units_.ToShown(reals[1]) : 0.0;
        if (reals.Size() >= 1 && std::isfinite(shown)) {
            const KesUnicodeString text = FormatReal(shown);
            if (ParamTraceOn()) {
                std::cout << "VAL String :" << text.Str() << std::endl;
            }
            if (editor_ != nullptr) {
                editor_->SetText(text);
            } else if (spinner_ != nullptr) {
                spinner_->SetValue(shown, kes::kNoNotify);
            }
        }
        // Otherwise the model has no value for the name: the widget keeps what it shows.
    }
    AttributeModified(nullptr, nullptr, nullptr);
}

void KesMfgAttDoubleParam::UnParametrize(KesCommand*, KesNotification*, void**) {
    ParamTrace("XXXXXXXXXXXXXXUnParametrize ");
    if (combo_ == nullptr) {
        return;
    }
    combo_->SetField(kNone);
    combo_->SetSelect(kNone, kes::kNoNotify);
    AttributeModified(nullptr, nullptr, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Parameter creation
// ---------------------------------------------------------------------------------------------
KesMfgAttDoubleParam::CreationOutcome
KesMfgAttDoubleParam::CreateWithCurrentValue(const KesUnicodeString& name) {
    int type = kParameterType, kind = kParameterKind, first = firstUnitCode_,
        second = secondUnitCode_, third = thirdUnitCode_, reserved1 = 0, reserved2 = 0;
    KesMfgModel::CreateParameter(name, type, kind, first, second, third, reserved1, reserved2,
                                 KesRawCollint(), KesRawColldouble(), KesListValKesUnicodeString());
    const int created = KesMfgModel::GetError();
    if (created != KesMfgModel::kNoError) {
        return {created, true};
    }
    KesRawColldouble value;
    value.Append(units_.ToCaller(GetShownValue()));
    KesMfgModel::ModifyParameterValue(name, KesRawCollint(), value, KesListValKesUnicodeString());
    return {KesMfgModel::GetError(), false};
}

void KesMfgAttDoubleParam::EntryCreateParameter(KesCommand*, KesNotification*, void**) {
    ParamTrace("XXXXXXXXXXXXXXEntryCreateParameter ");
    if (combo_ == nullptr) {
        return;
    }
    KesUnicodeString typed = Trimmed(combo_->GetField());
    // "none" is recognised before upper-casing: "None" is the name NONE.
    if (typed.IsEmpty() || typed == kNone) {
        UnParametrize(nullptr, nullptr, nullptr);
        return;
    }
    typed = KesToAsciiUpper(typed);
    if (FindCompatible(typed)) {
        BindTo(typed, kes::kNoNotify);
        DisplayParameter(nullptr, nullptr, nullptr);
        return;
    }
    const CreationOutcome outcome = CreateWithCurrentValue(typed);
    if (outcome.error == KesMfgModel::kNoError) {
        const std::shared_ptr<const bool> alive = GetAliveToken();
        BindTo(typed, kes::kNotify);
        if (!*alive) {
            return; // a receiver of the notification deleted the attribute
        }
        DisplayParameter(nullptr, nullptr, nullptr);
        KesMfgBaseGII::SetGIIError(KesMfgBaseGII::kParameterCreated, 0);
        return;
    }
    if (outcome.atCreation && outcome.error == KesMfgModel::kParameterExists) {
        KesMfgBaseGII::SetGIIError(KesMfgBaseGII::kParameterNameTaken, 0);
    } else if (!outcome.atCreation) {
        KesMfgBaseGII::SetGIIError(outcome.error, 0);
    }
    combo_->SetSelect(kNone, kes::kNotify); // back to a plain value, through DisplayParameter
}

void KesMfgAttDoubleParam::CreateParameter(KesCommand*, KesNotification*, void**) {
    ParamTrace("XXXXXXXXXXXXXXCreateParameter ");
    if (!IsDisplayed()) {
        return;
    }
    if (creationDialog_ == nullptr) {
        // One text field 16 characters wide that takes a name as long as the model takes one:
        // cut to 16, a longer name would create another parameter than the one typed.
        creationDialog_ = new KesMfgDialogEditor(
            this, "CreateParameter", kes::kParameterDialogStyle, kBindingFieldWidth,
            KesMfgModel::kMaxNameLength, 1, kes::kTextEditorStyle, "ParameterName",
            KesMfgDialogEditor::kNoOptions);
        AddAnalyseNotificationCB(creationDialog_, creationDialog_->GetDiaOKNotification(),
                                 &KesMfgAttDoubleParam::YesCreateParameter, nullptr);
        AddAnalyseNotificationCB(creationDialog_, creationDialog_->GetDiaCANCELNotification(),
                                 &KesMfgAttDoubleParam::NoCreateParameter, nullptr);
    }
    creationDialog_->SetVisibility(kes::kShown);
}

void KesMfgAttDoubleParam::YesCreateParameter(KesCommand*, KesNotification*, void**) {
    ParamTrace("XXXXXXXXXXXXXXYesCreateParameter ");
    if (creationDialog_ == nullptr || combo_ == nullptr) {
        return;
    }
    const std::unique_ptr<KesListValKesUnicodeString> texts(creationDialog_->GetEditorTexts());
    if (texts == nullptr || texts->Size() == 0) {
        return; // nothing typed: the dialog stays open
    }
    const KesUnicodeString name = KesToAsciiUpper(Trimmed((*texts)[1]));
    const CreationOutcome outcome = CreateWithCurrentValue(name);
    if (outcome.error == KesMfgModel::kNoError) {
        CloseCreationDialog();
        BindTo(name, kes::kNoNotify);
        DisplayParameter(nullptr, nullptr, nullptr);
        KesMfgBaseGII::SetGIIError(KesMfgBaseGII::kParameterCreated, 0);
        return;
    }
    if (outcome.atCreation && outcome.error == KesMfgModel::kParameterExists) {
        KesMfgBaseGII::SetGIIError(KesMfgBaseGII::kParameterNameTaken, 0);
        return; // the dialog stays open for another name
    }
    KesMfgBaseGII::SetGIIError(outcome.error, 0);
    CloseCreationDialog();
}

void KesMfgAttDoubleParam::NoCreateParameter(KesCommand*, KesNotification*, void**) {
    ParamTrace("XXXXXXXXXXXXXX NoCreateParameter");
    CloseCreationDialog();
}

void KesMfgAttDoubleParam::CloseCreationDialog() {
    delete std::exchange(creationDialog_, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Step editing
// ---------------------------------------------------------------------------------------------
void KesMfgAttDoubleParam::DefineStep(KesCommand*, KesNotification*, void**) {
    if (!IsDisplayed()) {
        return;
    }
    if (stepDialog_ != nullptr) {
        stepDialog_->SetVisibility(kes::kShown); // shown as it was; the setting is not read again
        return;
    }
    stepDialog_ = new KesDlgDialog(this, "StepEditorDlg", kes::kStepDialogStyle);
    stepEditor_ = new KesDlgEditor(stepDialog_, "StepEditor", kes::kStepEditorStyle);
    AddAnalyseNotificationCB(stepDialog_, stepDialog_->GetDiaOKNotification(),
                             &KesMfgAttDoubleParam::OkStep, nullptr);
    double step = kFallbackStep;
    KesMfgSetting::ReadSetting(GetStepKey(), &step, kSettingFile);
    stepEditor_->SetValue(step, kes::kNoNotify);
    if (spinner_ != nullptr && !stepDialog_->GetHelp().IsEmpty()) {
        // The prompt of the resource file, with the step the arrows use now.
        stepDialog_->SetHelp(stepDialog_->GetHelp() + " " + FormatReal(spinner_->GetStep()));
    }
    stepDialog_->SetVisibility(kes::kShown);
}

void KesMfgAttDoubleParam::OkStep(KesCommand*, KesNotification*, void**) {
    if (stepDialog_ == nullptr) {
        return;
    }
    double step = stepEditor_->GetValue();
    // Text that is not a number reads as 0 and is refused with zero, negative and infinite
    // steps, like a step that does not fit in the range.
    if (IsUsableStep(step) && step < maximum_ - minimum_) {
        KesMfgSetting::WriteSetting(GetStepKey(), &step, kSettingFile);
        if (spinner_ != nullptr) {
            spinner_->SetMinMaxStep(minimum_, maximum_, step);
        }
    }
    CloseStepDialog();
}

void KesMfgAttDoubleParam::CloseStepDialog() {
    stepEditor_ = nullptr; // deleted with its dialog
    delete std::exchange(stepDialog_, nullptr);
}
