#include "multi/KesMfgAttMVChar.h"

#include <algorithm>

namespace {

constexpr int kMaxCharacters = 72; // what an editor takes, and the widest editor

} // namespace

KesMfgAttMVChar::KesMfgAttMVChar(KesUnicodeString name, KesUnicodeString label,
                                 KesListValKesUnicodeString values, KesUnicodeString newValueText,
                                 KesDlgFrame* parent, int group)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group), list_(*this, values),
      newValueText_(std::move(newValueText)) {
    trailingScrollBar_ = 1; // a read-only list can still be browsed
}

// ---------------------------------------------------------------------------------------------
// Fields
// ---------------------------------------------------------------------------------------------
int KesMfgAttMVChar::FieldWidth(int length) {
    if (visibleTextWidth_ == -1) {
        return std::clamp(length, 10, 34);
    }
    if (visibleTextWidth_ >= 1) {
        if (visibleTextWidth_ > kMaxCharacters) {
            visibleTextWidth_ = kMaxCharacters;
        }
        return visibleTextWidth_;
    }
    return 34;
}

KesDialog* KesMfgAttMVChar::BuildField(KesDlgFrame* valueFrame, const KesUnicodeString* reference) {
    auto* editor = new KesDlgEditor(valueFrame, "editoratt", kes::kTextEditorStyle);
    editor->SetMaxCharacterWidth(kMaxCharacters);
    int length = 0;
    if (toBeDefined_ == 0) {
        // The first look drops the blanks around the text; the value keeps them until read back.
        const KesUnicodeString shown =
            (reference != nullptr ? *reference : newValueText_).Strip(3, KesUnicodeChar(' '));
        length = shown.GetLengthInChar();
        editor->SetText(shown);
    } else {
        editor->SetText(KesUnicodeString());
    }
    editor->SetVisibleTextWidth(FieldWidth(length));
    AddAnalyseNotificationCB(editor, editor->GetEditModifyNotification(),
                             &KesMfgAttMVChar::AttributeModified, nullptr);
    return editor;
}

void KesMfgAttMVChar::ShowValue(KesDialog* field, const KesUnicodeString& value, bool defined,
                                int) {
    static_cast<KesDlgEditor*>(field)->SetText(defined ? value : KesUnicodeString());
}

KesMfgFieldSample<KesUnicodeString> KesMfgAttMVChar::ReadField(const KesDialog* field) const {
    const KesUnicodeString& text = static_cast<const KesDlgEditor*>(field)->GetText();
    return {text, !text.IsEmpty()};
}

// ---------------------------------------------------------------------------------------------
// Configuration and display
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVChar::SetNbVisibleVals(const int count) {
    list_.SetVisibleFieldCount(count);
}

void KesMfgAttMVChar::SetNbValModifMode(const int mode) {
    list_.SetCountModificationMode(mode);
}

void KesMfgAttMVChar::Display() {
    list_.Display();
}

// ---------------------------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVChar::AttributeModified(KesCommand*, KesNotification*, void**) {
    list_.RecordEdit();
}

void KesMfgAttMVChar::AddValue(KesCommand*, KesNotification*, void**) {
    list_.Add();
}

void KesMfgAttMVChar::RemoveValue(KesCommand*, KesNotification*, void**) {
    list_.Remove();
}

void KesMfgAttMVChar::ScrollModified(KesCommand*, KesNotification*, void**) {
    list_.Scroll();
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVChar::Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                             KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                             KesListValKesUnicodeString* texts) {
    list_.Output(group, names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttMVChar::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                  KesRawCollint* typeCodes, KesRawCollint* counts,
                                  KesRawCollint* ints, KesRawColldouble* reals,
                                  KesListValKesUnicodeString* texts) {
    list_.GetAttValue(group, names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttMVChar::SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                                  KesListValKesUnicodeString* texts, int notify) {
    list_.SetValues(ints, reals, texts, notify);
}

void KesMfgAttMVChar::SetHelp(KesListValKesUnicodeString help,
                              KesListValKesUnicodeString shortHelp) {
    list_.SetHelp(help, shortHelp);
}
