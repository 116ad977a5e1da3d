#include "single/KesMfgAttChar.h"

#include <algorithm>

namespace {

KesUnicodeString Trimmed(const KesUnicodeString& text) {
    return text.Strip(3, KesUnicodeChar(' '));
}

KesUnicodeString Padded(KesUnicodeString text) {
    return text.Resize(KesMfgAttChar::kTextLength, KesUnicodeChar(' '), 1);
}

} // namespace

KesMfgAttChar::KesMfgAttChar(KesUnicodeString name, KesUnicodeString label, KesUnicodeString value,
                             KesUnicodeString secondaryText, KesDlgFrame* parent, int group)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group), value_(std::move(value)),
      secondaryText_(std::move(secondaryText)) {}

int KesMfgAttChar::VisibleWidth() {
    const int width = visibleTextWidth_;
    if (width == -1) {
        return std::clamp(Trimmed(value_).GetLengthInChar(), 10, 34);
    }
    if (width < 1) {
        return 34;
    }
    if (width > kTextLength) {
        visibleTextWidth_ = kTextLength;
        return kTextLength;
    }
    return width;
}

void KesMfgAttChar::Display() {
    if (!StartDisplay(&KesMfgAttChar::AttributeModified)) {
        return;
    }
    editor_ = new KesDlgEditor(this, "editoratt", kes::kTextEditorStyle);
    editor_->SetMaxCharacterWidth(kTextLength);
    editor_->SetVisibleTextWidth(VisibleWidth());
    if (toBeDefined_ == 0) {
        editor_->SetText(Trimmed(value_));
    }
    AddAnalyseNotificationCB(editor_, editor_->GetEditModifyNotification(),
                             &KesMfgAttChar::AttributeModified, nullptr);
    FinishDisplay();
}

KesUnicodeString KesMfgAttChar::CurrentValue() const {
    return Trimmed(editor_ != nullptr ? editor_->GetLine(KesDlgEditor::kWholeText) : value_);
}

void KesMfgAttChar::Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                           KesRawCollint* counts, KesRawCollint*, KesRawColldouble*,
                           KesListValKesUnicodeString* texts) {
    if (!IsDisplayed() || !OutputConcerns(group)) {
        return;
    }
    const KesUnicodeString current = CurrentValue();
    value_ = Trimmed(value_);
    if (RecordDue(!(current == value_))) {
        AppendSingleRecord(names, typeCodes, counts, kTextType, texts, Padded(current));
    }
}

void KesMfgAttChar::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint*,
                                KesRawColldouble*, KesListValKesUnicodeString* texts) {
    if (group != nullptr) {
        *group = group_;
    }
    if (!IsDisplayed() || toBeDefined_ != 0) {
        return;
    }
    AppendSingleRecord(names, typeCodes, counts, kTextType, texts, Padded(CurrentValue()));
}

KesUnicodeString KesMfgAttChar::GetAttValue() {
    return toBeDefined_ != 0 ? KesUnicodeString() : Padded(CurrentValue());
}

void KesMfgAttChar::SetAttValue(KesRawCollint*, KesRawColldouble*,
                                KesListValKesUnicodeString* texts, int notify) {
    if (texts == nullptr || texts->Size() != 1 || !IsDisplayed()) {
        return;
    }
    editor_->SetText((*texts)[1]);
    // Defined before the parent frame hears of it, so that a parent that reads the value back
    // from its callback finds it.
    toBeDefined_ = 0;
    if (notify == 1) {
        SendModification();
    }
}

void KesMfgAttChar::AttributeModified(KesCommand*, KesNotification*, void**) {
    toBeDefined_ = 0;
    SendModification();
}

void KesMfgAttChar::SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) {
    GiveSingleHelp(editor_, help, shortHelp);
}
