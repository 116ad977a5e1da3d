#include "single/KesMfgAttInt.h"

#include "framework/KesMfgIntegerSpinner.h"

KesMfgAttInt::KesMfgAttInt(KesUnicodeString name, KesUnicodeString label, int value, int minimum,
                           int maximum, int reserved, KesDlgFrame* parent, int group)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group), value_(value),
      minimum_(minimum), maximum_(maximum), reserved_(reserved) {}

void KesMfgAttInt::Display() {
    if (!StartDisplay(&KesMfgAttInt::AttributeModified)) {
        return;
    }
    if (!HasLimits() || toBeDefined_ == 1) {
        editor_ = new KesDlgEditor(this, "editoratt", kes::kIntegerEditorStyle);
        editor_->SetVisibleTextWidth(12);
        if (!HasLimits() && toBeDefined_ == 0) {
            editor_->SetText(KesUnicodeString().BuildFromNum(value_, "%d"));
        }
        AddAnalyseNotificationCB(editor_, editor_->GetEditModifyNotification(),
                                 &KesMfgAttInt::ControlIntValue, nullptr);
    } else {
        spinner_ = new KesDlgSpinner(this, "spinneratt", kes::kIntegerSpinnerStyle);
        spinner_->SetFormat("%g");
        spinner_->SetRange(static_cast<double>(minimum_), static_cast<double>(maximum_),
                           KesMfgSpinnerStepCount(minimum_, maximum_));
        spinner_->SetCurrentValue(static_cast<double>(value_), kes::kNoNotify);
        spinner_->SetVisibleTextWidth(12);
        AddAnalyseNotificationCB(spinner_, spinner_->GetSpinnerModifyNotification(),
                                 &KesMfgAttInt::ControlIntValue, nullptr);
    }
    FinishDisplay();
}

int KesMfgAttInt::CurrentValue() const {
    if (editor_ != nullptr) {
        return editor_->GetIntegerValue();
    }
    if (spinner_ != nullptr) {
        return KesMfgFloorToInt(spinner_->GetCurrentValue());
    }
    return value_;
}

int KesMfgAttInt::Clamp(int value) const {
    if (value < minimum_) {
        value = minimum_;
    }
    if (value > maximum_) {
        value = maximum_;
    }
    return value;
}

void KesMfgAttInt::Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                          KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble*,
                          KesListValKesUnicodeString*) {
    if (!IsDisplayed() || !OutputConcerns(group)) {
        return;
    }
    const int current = CurrentValue();
    if (RecordDue(current != value_)) {
        AppendSingleRecord(names, typeCodes, counts, kIntegerType, ints, current);
    }
}

void KesMfgAttInt::GetAttValue(int* group, KesListValKesUnicodeString* names,
                               KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint* ints,
                               KesRawColldouble*, KesListValKesUnicodeString*) {
    if (group != nullptr) {
        *group = group_;
    }
    if (!IsDisplayed() || toBeDefined_ != 0) {
        return;
    }
    AppendSingleRecord(names, typeCodes, counts, kIntegerType, ints, CurrentValue());
}

int KesMfgAttInt::GetAttValue() {
    return toBeDefined_ != 0 ? 0 : CurrentValue();
}

void KesMfgAttInt::SetAttValue(KesRawCollint* ints, KesRawColldouble*, KesListValKesUnicodeString*,
                               int notify) {
    if (ints == nullptr || ints->Size() != 1 || !IsDisplayed()) {
        return;
    }
    const int value = (*ints)[1];
    if (editor_ != nullptr) {
        if (HasLimits() && (value < minimum_ || value > maximum_)) {
            return; // the bounded editor takes only values within the limits
        }
        editor_->SetText(KesUnicodeString().BuildFromNum(value, "%d"));
        toBeDefined_ = 0;
    } else {
        spinner_->SetCurrentValue(static_cast<double>(value), notify);
    }
}

void KesMfgAttInt::ControlIntValue(KesCommand*, KesNotification*, void**) {
    if (editor_ != nullptr) {
        const int typed = editor_->GetIntegerValue();
        editor_->SetValue(HasLimits() ? Clamp(typed) : typed, kes::kNoNotify);
    } else if (spinner_ != nullptr) {
        spinner_->SetCurrentValue(
            static_cast<double>(KesMfgFloorToInt(spinner_->GetCurrentValue())), kes::kNoNotify);
    }
    AttributeModified(nullptr, nullptr, nullptr);
}

void KesMfgAttInt::AttributeModified(KesCommand*, KesNotification*, void**) {
    toBeDefined_ = 0;
    SendModification();
}

void KesMfgAttInt::SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) {
    GiveSingleHelp(editor_ != nullptr ? static_cast<KesDialog*>(editor_) : spinner_, help,
                   shortHelp);
}
