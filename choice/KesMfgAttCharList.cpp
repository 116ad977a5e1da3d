// KesMfgAttCharList: display, value records, selection, typed texts, the list replacements and
// the impacts.
#include "choice/KesMfgAttCharList.h"

#include "framework/KesMfgChoiceButtons.h"
#include "platform/KesDebug.h"

#include <iostream>

namespace {

KesUnicodeString Stripped(const KesUnicodeString& text) {
    return text.Strip(3, KesUnicodeChar(' '));
}

KesListValKesUnicodeString StrippedAll(const KesListValKesUnicodeString& texts) {
    KesListValKesUnicodeString stripped(texts.Size());
    for (const KesUnicodeString& text : texts.Items()) {
        stripped.Append(Stripped(text));
    }
    return stripped;
}

} // namespace

KesMfgAttCharList::KesMfgAttCharList(KesUnicodeString name, KesUnicodeString label,
                                     KesUnicodeString value, KesListValKesUnicodeString values,
                                     KesListValKesUnicodeString displayTexts,
                                     KesUnicodeString secondary, KesDlgFrame* parent, int group,
                                     int presentation)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group), value_(Stripped(value)),
      choices_(this, StrippedAll(values), std::move(displayTexts)),
      secondary_(std::move(secondary)), presentation_(presentation),
      impacts_(this, [this] { return CurrentValue(); }) {}

std::optional<KesUnicodeString> KesMfgAttCharList::CurrentValue() const {
    if (toBeDefined_ != 0) {
        return std::nullopt;
    }
    if (presentation_ == kEditableComboMode) {
        if (const KesDlgCombo* combo = choices_.GetCombo()) {
            return ValueInField(*combo);
        }
        return std::nullopt;
    }
    return choices_.SelectedValue();
}

// The field shows an allowed value by its display text: the line selected when it shows that
// text, else the first line that does. Any other text was typed and is the value itself.
KesUnicodeString KesMfgAttCharList::ValueInField(const KesDlgCombo& combo) const {
    const KesUnicodeString& field = combo.GetField();
    const KesListValKesUnicodeString& texts = choices_.GetDisplayTexts();
    const int selected = combo.GetSelect() + 1;
    if (selected >= 1 && selected <= choices_.Count() && texts[selected] == field) {
        return choices_.GetAllowedValues()[selected];
    }
    for (int i = 1; i <= choices_.Count(); ++i) {
        if (texts[i] == field) {
            return choices_.GetAllowedValues()[i];
        }
    }
    return field;
}

// ---------------------------------------------------------------------------------------------
// Display
// ---------------------------------------------------------------------------------------------
void KesMfgAttCharList::Display() {
    if (!StartDisplay(&KesMfgAttCharList::AttributeModified)) {
        return;
    }
    if (IsRadioPresentation()) {
        choices_.BuildRadioButtons(
            this, &KesMfgAttCharList::AttributeModified,
            [](const KesUnicodeString& allowed) {
                return (KesUnicodeString("rb") + Stripped(allowed)).ToKesString();
            },
            value_, toBeDefined_ == 0);
        if (GetDebug("KesMfgAttCharList") == 1) {
            for (KesDialog* button : choices_.GetRadioButtons().Items()) {
                std::cout << "KesMfgAttCharList " << name_.Str() << " radio button "
                          << button->GetName().Str() << " titled " << button->GetTitle().Str()
                          << (static_cast<KesDlgStateButton*>(button)->IsOn() ? " on" : " off")
                          << std::endl;
            }
        }
    } else {
        const bool editable = presentation_ == kEditableComboMode;
        const int count = choices_.Count();
        choices_.BuildCombo(this, &KesMfgAttCharList::AttributeModified,
                            editable ? kes::kEditableComboStyle : kes::kReadOnlyComboStyle, value_,
                            toBeDefined_ != 0, !editable && count <= 5 ? count : 5,
                            visibleTextWidth_);
        if (editable) {
            KesDlgCombo* combo = choices_.GetCombo();
            AddAnalyseNotificationCB(combo, combo->GetComboModifyNotification(),
                                     &KesMfgAttCharList::AttributeModifiedWithNewVal, nullptr);
        }
    }
    FinishDisplay();
}

// ---------------------------------------------------------------------------------------------
// Value records
// ---------------------------------------------------------------------------------------------
void KesMfgAttCharList::Output(int group, KesListValKesUnicodeString* names,
                               KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint*,
                               KesRawColldouble*, KesListValKesUnicodeString* texts) {
    if (!IsDisplayed() || !OutputConcerns(group)) {
        return;
    }
    const std::optional<KesUnicodeString> selected = CurrentValue();
    if (!selected && optionState_ != 0) {
        return; // nothing selected: no value to report
    }
    if (RecordDue(selected && !(*selected == value_))) {
        AppendSingleRecord(names, typeCodes, counts, kTextType, texts,
                           selected.value_or(KesUnicodeString()));
    }
}

void KesMfgAttCharList::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                    KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint*,
                                    KesRawColldouble*, KesListValKesUnicodeString* texts) {
    if (group != nullptr) {
        *group = group_;
    }
    if (!IsDisplayed() || toBeDefined_ != 0) {
        return;
    }
    const std::optional<KesUnicodeString> selected = CurrentValue();
    if (!selected && optionState_ != 0) {
        return;
    }
    AppendSingleRecord(names, typeCodes, counts, kTextType, texts,
                       selected.value_or(KesUnicodeString()));
}

KesUnicodeString KesMfgAttCharList::GetAttValue() {
    return CurrentValue().value_or(KesUnicodeString());
}

void KesMfgAttCharList::SetAttValue(KesRawCollint*, KesRawColldouble*,
                                    KesListValKesUnicodeString* texts, int notify) {
    if (texts == nullptr || texts->Size() != 1 || !IsDisplayed()) {
        return;
    }
    const KesUnicodeString text = (*texts)[1];
    if (!choices_.Contains(text)) {
        return;
    }
    toBeDefined_ = 0;
    choices_.SelectValue(text, notify);
}

// ---------------------------------------------------------------------------------------------
// User selection, typed text and impacts
// ---------------------------------------------------------------------------------------------
void KesMfgAttCharList::AttributeModified(KesCommand* sender, KesNotification*, void**) {
    toBeDefined_ = 0;
    if (IsRadioPresentation() && KesMfgChoiceButtons::IsSwitchedOff(sender)) {
        return;
    }
    const std::shared_ptr<const bool> alive = GetAliveToken();
    SendModification();
    if (*alive && impacts_.HasImpactedAttributes()) {
        ImpactAttributes();
    }
}

void KesMfgAttCharList::AttributeModifiedWithNewVal(KesCommand*, KesNotification*, void**) {
    KesDlgCombo* combo = choices_.GetCombo();
    if (combo == nullptr) {
        return;
    }
    toBeDefined_ = 0;
    const KesUnicodeString typed = Stripped(combo->GetField());
    if (combo->SetSelect(typed, kes::kNoNotify) < 0) {
        combo->SetLine(typed, kes::kAppendLine, kes::kChoiceLineFlags);
        combo->SetSelect(typed, kes::kNoNotify);
    }
    SendModification();
}

void KesMfgAttCharList::AddImpactedAttributes(KesListPtrKesMfgAttribute attributes,
                                              KesRawCollint reserved,
                                              KesListValKesUnicodeString impactValues,
                                              KesRawCollint sensitivities) {
    impacts_.Assign(attributes, reserved, impactValues, sensitivities);
}

void KesMfgAttCharList::ImpactAttributes() {
    impacts_.ImpactAttributes();
}

// ---------------------------------------------------------------------------------------------
// List replacements
// ---------------------------------------------------------------------------------------------
void KesMfgAttCharList::ModifyValueList(KesRawCollint, KesListValKesUnicodeString newValues,
                                        int selection) {
    if (newValues.Size() == 0 || presentation_ != kComboMode) {
        return;
    }
    choices_.Replace(selection, 1, [&] {
        for (const KesUnicodeString& text : newValues.Items()) {
            if (!choices_.AppendFromConstruction(Stripped(text))) {
                std::cout << "VALEUR NON TROUVEE DANS LA LISTE EXISTANTE!! " << std::endl;
                std::cout << "VALEUR :" << text.Str() << ":" << std::endl;
                return;
            }
        }
    });
}

void KesMfgAttCharList::NewValueList(KesRawCollint, KesListValKesUnicodeString newValues,
                                     int selection) {
    if (newValues.Size() == 0 || presentation_ != kComboMode) {
        return;
    }
    choices_.Replace(selection, 1, [&] {
        for (const KesUnicodeString& text : newValues.Items()) {
            choices_.AppendChoice(text, text);
        }
    });
}

// ---------------------------------------------------------------------------------------------
// Icons and help
// ---------------------------------------------------------------------------------------------
void KesMfgAttCharList::SetIconNames(KesListValKesUnicodeString* icons,
                                     KesListValKesUnicodeString* secondIcons) {
    choices_.GiveIcons(presentation_, icons, secondIcons);
}

void KesMfgAttCharList::SetHelp(KesListValKesUnicodeString help,
                                KesListValKesUnicodeString shortHelp) {
    choices_.GiveHelp(presentation_, help, shortHelp, optionMode_ == 1 ? optionCheck_ : nullptr);
}
