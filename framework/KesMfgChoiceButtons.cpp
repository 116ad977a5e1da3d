#include "framework/KesMfgChoiceButtons.h"

#include "platform/KesDlgStateButton.h"

namespace {

using TextSetter = void (KesDialog::*)(const KesUnicodeString&);

// One text per button, and the common text to the option check button.
void GiveEach(const KesListPtrKesDialog& buttons, const KesListValKesUnicodeString& texts,
              TextSetter setter, KesDialog* optionCheck) {
    if (texts.Size() != buttons.Size()) {
        return;
    }
    bool allEqual = texts.Size() >= 1;
    for (int i = 1; i <= buttons.Size(); ++i) {
        if (buttons[i] != nullptr) {
            (buttons[i]->*setter)(texts[i]);
        }
        allEqual = allEqual && texts[i] == texts[1];
    }
    if (optionCheck != nullptr && allEqual) {
        (optionCheck->*setter)(texts[1]);
    }
}

void GiveFirst(KesDialog* target, const KesListValKesUnicodeString& texts, TextSetter setter,
               KesDialog* optionCheck) {
    if (texts.Size() == 0) {
        return;
    }
    (target->*setter)(texts[1]);
    if (optionCheck != nullptr) {
        (optionCheck->*setter)(texts[1]);
    }
}

} // namespace

bool KesMfgChoiceButtons::IsSwitchedOff(const KesCommand* sender) {
    const auto* button = dynamic_cast<const KesDlgStateButton*>(sender);
    return button != nullptr && !button->IsOn();
}

void KesMfgChoiceButtons::GiveIcons(const KesListPtrKesDialog& buttons,
                                    const KesListValKesUnicodeString* icons,
                                    const KesListValKesUnicodeString* secondIcons) {
    if (icons == nullptr || icons->Size() != buttons.Size()) {
        return;
    }
    if (secondIcons != nullptr && secondIcons->Size() != buttons.Size()) {
        return;
    }
    for (int i = 1; i <= buttons.Size(); ++i) {
        if (buttons[i] == nullptr) {
            continue;
        }
        const KesString first((*icons)[i].CastToCharPtr());
        if (secondIcons == nullptr) {
            buttons[i]->SetIconName(first);
        } else {
            buttons[i]->SetIconName(first, KesString((*secondIcons)[i].CastToCharPtr()));
        }
    }
}

void KesMfgChoiceButtons::GiveHelp(const KesListPtrKesDialog& buttons,
                                   const KesListValKesUnicodeString& help,
                                   const KesListValKesUnicodeString& shortHelp,
                                   KesDialog* optionCheck) {
    GiveEach(buttons, help, &KesDialog::SetHelp, optionCheck);
    GiveEach(buttons, shortHelp, &KesDialog::SetShortHelp, optionCheck);
}

void KesMfgChoiceButtons::GiveFirstHelp(KesDialog* target, const KesListValKesUnicodeString& help,
                                        const KesListValKesUnicodeString& shortHelp,
                                        KesDialog* optionCheck) {
    if (target == nullptr) {
        return;
    }
    GiveFirst(target, help, &KesDialog::SetHelp, optionCheck);
    GiveFirst(target, shortHelp, &KesDialog::SetShortHelp, optionCheck);
}
