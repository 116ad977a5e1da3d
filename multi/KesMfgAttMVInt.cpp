#include "multi/KesMfgAttMVInt.h"

#include "framework/KesMfgIntegerSpinner.h"

#include <iostream>

KesMfgAttMVInt::KesMfgAttMVInt(KesUnicodeString name, KesUnicodeString label, KesRawCollint values,
                               int minimum, int maximum, int reserved, KesDlgFrame* parent,
                               int group)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group), list_(*this, values),
      minimum_(minimum), maximum_(maximum), reserved_(reserved) {
    trailingScrollBar_ = 1; // a read-only list can still be browsed
}

// ---------------------------------------------------------------------------------------------
// Fields
// ---------------------------------------------------------------------------------------------
KesMfgFieldKind KesMfgAttMVInt::DisplayedFieldKind() const {
    if (!HasLimits()) {
        return KesMfgFieldKind::FreeEditor;
    }
    return toBeDefined_ == 1 ? KesMfgFieldKind::BoundedEditor : KesMfgFieldKind::Spinner;
}

KesDialog* KesMfgAttMVInt::BuildField(KesDlgFrame* valueFrame, const int* reference) {
    const int shown = reference != nullptr ? *reference : minimum_;
    switch (list_.GetFieldKind()) {
    case KesMfgFieldKind::Spinner: {
        auto* spinner = new KesDlgSpinner(valueFrame, "spinneratt", kes::kIntegerSpinnerStyle);
        spinner->SetFormat("%g");
        spinner->SetRange(static_cast<double>(minimum_), static_cast<double>(maximum_),
                          KesMfgSpinnerStepCount(minimum_, maximum_));
        ShowValue(spinner, shown, true, kes::kNoNotify);
        spinner->SetVisibleTextWidth(12);
        AddAnalyseNotificationCB(spinner, spinner->GetSpinnerModifyNotification(),
                                 &KesMfgAttMVInt::ControlIntValue, nullptr);
        return spinner;
    }
    default: {
        auto* editor = new KesDlgEditor(valueFrame, "editoratt", kes::kIntegerEditorStyle);
        if (toBeDefined_ == 0) {
            ShowValue(editor, shown, true, kes::kNoNotify); // only free editors are built defined
        }
        editor->SetVisibleTextWidth(12);
        if (!HasLimits()) {
            editor->SetPrecision(15);
        }
        AddAnalyseNotificationCB(editor, editor->GetEditModifyNotification(),
                                 &KesMfgAttMVInt::ControlIntValue, nullptr);
        return editor;
    }
    }
}

void KesMfgAttMVInt::ShowValue(KesDialog* field, const int& value, bool defined, int) {
    if (list_.GetFieldKind() == KesMfgFieldKind::Spinner) {
        static_cast<KesDlgSpinner*>(field)->SetCurrentValue(static_cast<double>(value),
                                                            kes::kNoNotify);
    } else {
        static_cast<KesDlgEditor*>(field)->SetText(
            defined ? KesUnicodeString().BuildFromNum(value, "%d") : KesUnicodeString());
    }
}

KesMfgFieldSample<int> KesMfgAttMVInt::ReadField(const KesDialog* field) const {
    if (list_.GetFieldKind() == KesMfgFieldKind::Spinner) {
        return {KesMfgFloorToInt(static_cast<const KesDlgSpinner*>(field)->GetCurrentValue()),
                true};
    }
    const KesUnicodeString& text = static_cast<const KesDlgEditor*>(field)->GetText();
    int value = 0;
    text.ConvertToNum(&value, "%d"); // a text that is not an integer leaves 0
    return {value, !text.IsEmpty()};
}

// ---------------------------------------------------------------------------------------------
// Configuration and display
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVInt::SetNbVisibleVals(const int count) {
    list_.SetVisibleFieldCount(count);
}

void KesMfgAttMVInt::SetNbValModifMode(const int mode) {
    list_.SetCountModificationMode(mode);
}

void KesMfgAttMVInt::Display() {
    list_.Display();
}

// ---------------------------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVInt::ControlIntValue(KesCommand* sender, KesNotification*, void**) {
    if (!IsDisplayed()) {
        return;
    }
    if (KesDialog* field = list_.FindField(sender)) {
        if (list_.GetFieldKind() == KesMfgFieldKind::Spinner) {
            auto* spinner = static_cast<KesDlgSpinner*>(field);
            spinner->SetCurrentValue(KesMfgFloorToInt(spinner->GetCurrentValue()), kes::kNoNotify);
        } else {
            auto* editor = static_cast<KesDlgEditor*>(field);
            int value = editor->GetIntegerValue();
            if (HasLimits()) {
                value = value < minimum_ ? minimum_ : (value > maximum_ ? maximum_ : value);
            }
            editor->SetValue(value, kes::kNoNotify); // the field shows exactly the integer taken
        }
    }
    AttributeModified(sender, nullptr, nullptr);
}

void KesMfgAttMVInt::AttributeModified(KesCommand* sender, KesNotification*, void**) {
    if (!IsDisplayed()) {
        return;
    }
    KesDialog* field = list_.FindField(sender);
    if (field != nullptr && list_.GetFieldKind() == KesMfgFieldKind::BoundedEditor) {
        auto* editor = static_cast<KesDlgEditor*>(field);
        const int value = editor->GetIntegerValue();
        if (value < minimum_) {
            editor->SetText(KesUnicodeString().BuildFromNum(minimum_, "%d"));
        }
        if (value > maximum_) {
            editor->SetText(KesUnicodeString().BuildFromNum(maximum_, "%d"));
        }
    }
    list_.StoreShownFields(list_.ScrollPosition());
    const KesRawCollint& values = list_.GetCurrentValues();
    for (int i = 1; i <= values.Size(); ++i) {
        std::cout << "tempoval[" << i << "]= " << values[i] << std::endl;
    }
    SendModification();
}

void KesMfgAttMVInt::AddValue(KesCommand*, KesNotification*, void**) {
    list_.Add();
}

void KesMfgAttMVInt::RemoveValue(KesCommand*, KesNotification*, void**) {
    list_.Remove();
}

void KesMfgAttMVInt::ScrollModified(KesCommand*, KesNotification*, void**) {
    list_.Scroll();
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVInt::Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                            KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                            KesListValKesUnicodeString* texts) {
    list_.Output(group, names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttMVInt::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                 KesRawCollint* typeCodes, KesRawCollint* counts,
                                 KesRawCollint* ints, KesRawColldouble* reals,
                                 KesListValKesUnicodeString* texts) {
    list_.GetAttValue(group, names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttMVInt::SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                                 KesListValKesUnicodeString* texts, int notify) {
    list_.SetValues(ints, reals, texts, notify);
}

void KesMfgAttMVInt::SetHelp(KesListValKesUnicodeString help,
                             KesListValKesUnicodeString shortHelp) {
    list_.SetHelp(help, shortHelp);
}
