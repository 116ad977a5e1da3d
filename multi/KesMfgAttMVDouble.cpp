#include "multi/KesMfgAttMVDouble.h"

#include "framework/KesMfgRealText.h"

#include <cfloat>
#include <cmath>

namespace {

// A limit from the caller, in the shown unit: an infinite limit saturates, a NaN limit is no
// bound on its side (`unbounded`).
double ShownLimit(const KesMfgUnitConversion& conversion, double limit, double unbounded) {
    const double shown = conversion.ToShown(limit);
    return std::isnan(shown) ? unbounded : KesMfgFiniteReal(shown);
}

} // namespace

KesMfgAttMVDouble::KesMfgAttMVDouble(KesUnicodeString name, KesUnicodeString label,
                                     KesRawColldouble values, double minimum, double maximum,
                                     double stepHint, int firstUnitCode, int secondUnitCode,
                                     int thirdUnitCode, KesDlgFrame* parent, int group,
                                     int unitFlag)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group),
      conversion_(firstUnitCode, secondUnitCode, thirdUnitCode, unitFlag),
      list_(*this, ToShownValues(values, conversion_)),
      minimum_(ShownLimit(conversion_, minimum, -DBL_MAX)),
      maximum_(ShownLimit(conversion_, maximum, DBL_MAX)),
      stepHint_(conversion_.ToShown(stepHint)) {
    trailingScrollBar_ = 1; // a read-only list can still be browsed
}

KesRawColldouble KesMfgAttMVDouble::ToShownValues(const KesRawColldouble& values,
                                                  const KesMfgUnitConversion& conversion) {
    KesRawColldouble shown;
    for (int i = 1; i <= values.Size(); ++i) {
        shown.Append(KesMfgFiniteReal(conversion.ToShown(values[i])));
    }
    return shown;
}

// ---------------------------------------------------------------------------------------------
// Fields
// ---------------------------------------------------------------------------------------------
KesMfgFieldKind KesMfgAttMVDouble::DisplayedFieldKind() const {
    if (!HasLimits()) {
        return KesMfgFieldKind::FreeEditor;
    }
    return toBeDefined_ == 1 ? KesMfgFieldKind::BoundedEditor : KesMfgFieldKind::Spinner;
}

KesDialog* KesMfgAttMVDouble::BuildField(KesDlgFrame* valueFrame, const double* reference) {
    const double shown = reference != nullptr ? *reference : minimum_;
    KesDlgTextField* field = nullptr;
    if (list_.GetFieldKind() == KesMfgFieldKind::Spinner) {
        auto* spinner = new KesDlgSpinner(valueFrame, "spinneratt", kes::kRealSpinnerStyle);
        spinner->SetMinMaxStep(minimum_, maximum_, KesMfgSpinnerStep(minimum_, maximum_));
        ShowValue(spinner, shown, true, kes::kNoNotify);
        AddAnalyseNotificationCB(spinner, spinner->GetSpinnerModifyNotification(),
                                 &KesMfgAttMVDouble::AttributeModified, nullptr);
        field = spinner;
    } else {
        auto* editor = new KesDlgEditor(valueFrame, "editoratt", kes::kRealEditorStyle);
        if (toBeDefined_ == 0) {
            ShowValue(editor, shown, true, kes::kNoNotify); // only free editors are built defined
        }
        AddAnalyseNotificationCB(editor, editor->GetEditModifyNotification(),
                                 &KesMfgAttMVDouble::AttributeModified, nullptr);
        field = editor;
    }
    field->SetVisibleTextWidth(12);
    field->SetPrecision(15);
    field->SetDisplayFormat("%12.7f");
    return field;
}

void KesMfgAttMVDouble::ShowValue(KesDialog* field, const double& value, bool defined, int) {
    if (list_.GetFieldKind() == KesMfgFieldKind::Spinner) {
        static_cast<KesDlgSpinner*>(field)->SetValue(value, kes::kNoNotify);
    } else {
        static_cast<KesDlgEditor*>(field)->SetText(
            defined ? KesUnicodeString().BuildFromNum(value, "%g") : KesUnicodeString());
    }
}

KesMfgFieldSample<double> KesMfgAttMVDouble::ReadField(const KesDialog* field) const {
    if (list_.GetFieldKind() == KesMfgFieldKind::Spinner) {
        return {static_cast<const KesDlgSpinner*>(field)->GetValue(), true};
    }
    const KesUnicodeString& text = static_cast<const KesDlgEditor*>(field)->GetText();
    double value = 0.0;
    KesMfgReadRealText(text, &value); // the same number as every real field reads
    return {value, !text.IsEmpty()};
}

// ---------------------------------------------------------------------------------------------
// Configuration and display
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVDouble::SetNbVisibleVals(const int count) {
    list_.SetVisibleFieldCount(count);
}

void KesMfgAttMVDouble::SetNbValModifMode(const int mode) {
    list_.SetCountModificationMode(mode);
}

void KesMfgAttMVDouble::Display() {
    list_.Display();
}

// ---------------------------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVDouble::AttributeModified(KesCommand* sender, KesNotification*, void**) {
    if (!IsDisplayed()) {
        return;
    }
    KesDialog* field = list_.FindField(sender);
    if (field != nullptr && list_.GetFieldKind() == KesMfgFieldKind::BoundedEditor) {
        auto* editor = static_cast<KesDlgEditor*>(field);
        double value = 0.0;
        KesMfgReadRealText(editor->GetText(), &value);
        if (value < minimum_) {
            editor->SetText(KesUnicodeString().BuildFromNum(minimum_, "%g"));
        }
        if (value > maximum_) {
            editor->SetText(KesUnicodeString().BuildFromNum(maximum_, "%g"));
        }
    }
    list_.RecordEdit();
}

void KesMfgAttMVDouble::AddValue(KesCommand*, KesNotification*, void**) {
    list_.Add();
}

void KesMfgAttMVDouble::RemoveValue(KesCommand*, KesNotification*, void**) {
    list_.Remove();
}

void KesMfgAttMVDouble::ScrollModified(KesCommand*, KesNotification*, void**) {
    list_.Scroll();
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVDouble::Output(int group, KesListValKesUnicodeString* names,
                               KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint* ints,
                               KesRawColldouble* reals, KesListValKesUnicodeString* texts) {
    list_.Output(group, names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttMVDouble::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                    KesRawCollint* typeCodes, KesRawCollint* counts,
                                    KesRawCollint* ints, KesRawColldouble* reals,
                                    KesListValKesUnicodeString* texts) {
    list_.GetAttValue(group, names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttMVDouble::SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                                    KesListValKesUnicodeString* texts, int notify) {
    list_.SetValues(ints, reals, texts, notify);
}

void KesMfgAttMVDouble::SetHelp(KesListValKesUnicodeString help,
                                KesListValKesUnicodeString shortHelp) {
    list_.SetHelp(help, shortHelp);
}
