// KesMfgDialogEditor: building the fields and collecting what was typed.
#include "platform/KesMfgDialogEditor.h"

#include <algorithm>
#include <memory>
#include <string>

KesMfgDialogEditor::KesMfgDialogEditor(KesDialog* parent, const KesString& name,
                                       unsigned long style, int fieldWidth, int maxCharacters,
                                       int fieldCount, unsigned long fieldStyle,
                                       const KesString& fieldName, int /*options*/)
    : KesDlgDialog(parent, name, style) {
    const int count = std::clamp(fieldCount, 1, kMaxFieldCount);
    for (int number = 1; number <= count; ++number) {
        const KesString identifier =
            number == 1 ? fieldName : KesString(fieldName.Str() + std::to_string(number));
        auto* field = new KesDlgEditor(this, identifier, fieldStyle);
        field->SetVisibleTextWidth(fieldWidth);
        field->SetMaxCharacterWidth(maxCharacters);
        fields_.push_back(field);
    }
}

KesListValKesUnicodeString* KesMfgDialogEditor::GetEditorTexts() {
    auto texts = std::make_unique<KesListValKesUnicodeString>();
    for (const KesDlgEditor* field : fields_) {
        const KesUnicodeString& text = field->GetText();
        if (!text.Strip(3, KesUnicodeChar(' ')).IsEmpty()) {
            texts->Append(text);
        }
    }
    return texts.release();
}

KesDlgEditor* KesMfgDialogEditor::GetField(int number) const {
    if (number < 0 || number >= GetFieldCount()) {
        return nullptr;
    }
    return fields_[static_cast<size_t>(number)];
}
