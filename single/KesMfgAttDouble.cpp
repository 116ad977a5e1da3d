#include "single/KesMfgAttDouble.h"

#include "framework/KesMfgRealText.h"

#include <cfloat>
#include <cmath>

namespace {

KesUnicodeString Shown(double value) {
    return KesUnicodeString().BuildFromNum(value, "%g");
}

} // namespace

KesMfgAttDouble::KesMfgAttDouble(KesUnicodeString name, KesUnicodeString label, double value,
                                 double minimum, double maximum, double stepHint, int firstUnitCode,
                                 int secondUnitCode, int thirdUnitCode, KesDlgFrame* parent,
                                 int group, int unitFlag)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group), value_(value),
      minimum_(minimum), maximum_(maximum), stepHint_(stepHint), thirdUnitCode_(thirdUnitCode),
      firstUnitCode_(firstUnitCode), secondUnitCode_(secondUnitCode), unitFlag_(unitFlag),
      units_(firstUnitCode, secondUnitCode, thirdUnitCode, unitFlag) {
    value_ = KesMfgFiniteReal(units_.ToShown(value_));
    minimum_ = KesMfgFiniteLimit(units_.ToShown(minimum_), -DBL_MAX);
    maximum_ = KesMfgFiniteLimit(units_.ToShown(maximum_), DBL_MAX);
    stepHint_ = units_.ToShown(stepHint_);
}

// ---------------------------------------------------------------------------------------------
// Display
// ---------------------------------------------------------------------------------------------
KesDlgEditor* KesMfgAttDouble::CreateEditor() {
    editor_ = new KesDlgEditor(this, "editoratt", kes::kRealEditorStyle);
    return editor_;
}

void KesMfgAttDouble::Display() {
    if (!StartDisplay(&KesMfgAttDouble::AttributeModified)) {
        return;
    }
    KesDlgTextField* field = nullptr;
    if (!HasLimits()) {
        field = CreateEditor();
        // The reference value becomes what the editor shows. A NaN has nothing to show; it is
        // kept, so that Output reports whatever the field holds.
        if (toBeDefined_ == 0 && !std::isnan(value_)) {
            editor_->SetText(Shown(value_));
            editor_->GetText().ConvertToNum(&value_, "%le");
        }
    } else if (toBeDefined_ == 1) {
        field = CreateEditor();
    } else {
        spinner_ = new KesDlgSpinner(this, "spinneratt", kes::kRealSpinnerStyle);
        field = spinner_;
        spinner_->SetMinMaxStep(minimum_, maximum_, KesMfgSpinnerStep(minimum_, maximum_));
        spinner_->SetValue(value_, kes::kNoNotify);
        value_ = spinner_->GetValue(); // what the spinner accepted
    }
    field->SetVisibleTextWidth(12);
    field->SetPrecision(10);
    field->SetDisplayFormat("%12.7f");
    if (editor_ != nullptr) {
        AddAnalyseNotificationCB(editor_, editor_->GetEditModifyNotification(),
                                 &KesMfgAttDouble::AttributeModified, nullptr);
    } else {
        AddAnalyseNotificationCB(spinner_, spinner_->GetSpinnerModifyNotification(),
                                 &KesMfgAttDouble::AttributeModified, nullptr);
    }
    FinishDisplay();
}

// ---------------------------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------------------------
double KesMfgAttDouble::CurrentValue() const {
    double current = 0.0;
    if (editor_ != nullptr) {
        KesMfgReadRealText(editor_->GetText(), &current);
    } else if (spinner_ != nullptr) {
        current = spinner_->GetValue();
    } else if (!std::isnan(value_)) {
        current = value_; // not displayed yet
    }
    return current;
}

void KesMfgAttDouble::Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                             KesRawCollint* counts, KesRawCollint*, KesRawColldouble* reals,
                             KesListValKesUnicodeString*) {
    if (!IsDisplayed() || !OutputConcerns(group)) {
        return;
    }
    const double current = CurrentValue();
    // Exact comparison: a NaN reference value is never equal.
    if (RecordDue(!(current == value_))) {
        AppendSingleRecord(names, typeCodes, counts, kRealType, reals,
                           KesMfgFiniteReal(units_.ToCaller(current)));
    }
}

void KesMfgAttDouble::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                  KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint*,
                                  KesRawColldouble* reals, KesListValKesUnicodeString*) {
    if (group != nullptr) {
        *group = group_;
    }
    if (!IsDisplayed() || toBeDefined_ != 0) {
        return;
    }
    AppendSingleRecord(names, typeCodes, counts, kRealType, reals,
                       KesMfgFiniteReal(units_.ToCaller(CurrentValue())));
}

double KesMfgAttDouble::GetAttValue() {
    return toBeDefined_ != 0 ? 0.0 : CurrentValue();
}

void KesMfgAttDouble::SetAttValue(KesRawCollint*, KesRawColldouble* reals,
                                  KesListValKesUnicodeString*, int notify) {
    if (reals == nullptr || reals->Size() != 1 || !IsDisplayed() || std::isnan((*reals)[1])) {
        return;
    }
    const double value = KesMfgFiniteReal(units_.ToShown((*reals)[1]));
    if (editor_ != nullptr) {
        if (HasLimits() && (value < minimum_ || value > maximum_)) {
            return; // the bounded editor takes only values within the limits
        }
        editor_->SetText(Shown(value));
        toBeDefined_ = 0;
    } else {
        spinner_->SetValue(value, notify);
    }
}

// ---------------------------------------------------------------------------------------------
// Callbacks and help
// ---------------------------------------------------------------------------------------------
void KesMfgAttDouble::AttributeModified(KesCommand*, KesNotification*, void**) {
    if (editor_ != nullptr) {
        double typed = 0.0;
        const bool number = KesMfgReadRealText(editor_->GetText(), &typed);
        double kept = typed;
        if (HasLimits()) {
            if (typed < minimum_) {
                kept = minimum_;
            }
            if (typed > maximum_) {
                kept = maximum_;
            }
        }
        // Written back without notification. A number within the limits keeps the text as
        // typed; a text that is no finite number shows the number it is read as.
        if (!number || kept != typed) {
            editor_->SetText(Shown(kept));
        }
    }
    toBeDefined_ = 0;
    SendModification();
}

void KesMfgAttDouble::SetHelp(KesListValKesUnicodeString help,
                              KesListValKesUnicodeString shortHelp) {
    GiveSingleHelp(editor_ != nullptr ? static_cast<KesDialog*>(editor_) : spinner_, help,
                   shortHelp);
}
