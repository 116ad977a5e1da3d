#include "multi/KesMfgAttMVLogic.h"

KesMfgAttMVLogic::KesMfgAttMVLogic(KesUnicodeString name, KesUnicodeString label,
                                   KesRawCollint values, int reserved, KesDlgFrame* parent,
                                   int group, int presentation, KesListValKesUnicodeString* titles)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group),
      presentation_(presentation), list_(*this, values), reserved_(reserved), titles_(titles) {
    trailingScrollBar_ = 1; // a read-only list can still be browsed
}

// ---------------------------------------------------------------------------------------------
// Fields
// ---------------------------------------------------------------------------------------------
KesDialog* KesMfgAttMVLogic::BuildField(KesDlgFrame* valueFrame, const int* reference) {
    auto* button = new KesDlgCheckButton(valueFrame, "chkbtnatt", kes::kPlainStyle);
    ShowValue(button, reference != nullptr ? *reference : FillerValue(), true, kes::kNoNotify);
    button->SetTitle(KesUnicodeString());
    AddAnalyseNotificationCB(button, button->GetChkBModifyNotification(),
                             &KesMfgAttMVLogic::AttributeModified, nullptr);
    return button;
}

void KesMfgAttMVLogic::ShowValue(KesDialog* field, const int& value, bool, int notify) {
    static_cast<KesDlgCheckButton*>(field)->SetState(value == 1 ? kes::kOn : kes::kOff, notify);
}

KesMfgFieldSample<int> KesMfgAttMVLogic::ReadField(const KesDialog* field) const {
    return {static_cast<const KesDlgCheckButton*>(field)->IsOn() ? 1 : 0, true};
}

// ---------------------------------------------------------------------------------------------
// Configuration and display
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVLogic::SetNbVisibleVals(const int count) {
    list_.SetVisibleFieldCount(count);
}

void KesMfgAttMVLogic::SetNbValModifMode(const int mode) {
    list_.SetCountModificationMode(mode);
}

void KesMfgAttMVLogic::Display() {
    list_.Display();
}

// ---------------------------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVLogic::AttributeModified(KesCommand*, KesNotification*, void**) {
    if (list_.HoldBackDuringRefresh()) {
        return; // runs once the refresh has set every button
    }
    list_.RecordEdit();
}

void KesMfgAttMVLogic::AddValue(KesCommand*, KesNotification*, void**) {
    list_.Add();
}

void KesMfgAttMVLogic::RemoveValue(KesCommand*, KesNotification*, void**) {
    list_.Remove();
}

void KesMfgAttMVLogic::ScrollModified(KesCommand*, KesNotification*, void**) {
    list_.Scroll();
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVLogic::Output(int group, KesListValKesUnicodeString* names,
                              KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint* ints,
                              KesRawColldouble* reals, KesListValKesUnicodeString* texts) {
    list_.Output(group, names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttMVLogic::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                   KesRawCollint* typeCodes, KesRawCollint* counts,
                                   KesRawCollint* ints, KesRawColldouble* reals,
                                   KesListValKesUnicodeString* texts) {
    list_.GetAttValue(group, names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttMVLogic::SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                                   KesListValKesUnicodeString* texts, int notify) {
    list_.SetValues(ints, reals, texts, notify);
}

void KesMfgAttMVLogic::SetIconNames(KesListValKesUnicodeString*, KesListValKesUnicodeString*) {}

void KesMfgAttMVLogic::SetHelp(KesListValKesUnicodeString help,
                               KesListValKesUnicodeString shortHelp) {
    list_.SetHelp(help, shortHelp);
}
