// KesMfgChoiceButtons: what the choice lists and the boolean do alike with their radio
// buttons and their combo: icons and help per button, the first help text for a combo, and the
// test of a button that has just been switched off.
#pragma once

#include "platform/KesDialog.h"
#include "platform/KesListPtrKesDialog.h"
#include "platform/KesListValKesUnicodeString.h"

class KesMfgChoiceButtons {
public:
    // True when `sender` is a check or radio button that is off: the notification of a button
    // being switched off (or of an unchecked option check button). A null sender (the library
    // calling a callback itself) or any other widget answers false.
    static bool IsSwitchedOff(const KesCommand* sender);

    // Button i gets icons[i] when `secondIcons` is null, or icons[i] and secondIcons[i] when
    // `secondIcons` holds one name per button. Nothing when `icons` is null or does not hold
    // exactly one name per button, or when `secondIcons` is given with another length.
    static void GiveIcons(const KesListPtrKesDialog& buttons,
                          const KesListValKesUnicodeString* icons,
                          const KesListValKesUnicodeString* secondIcons);

    // Button i gets help[i] when `help` holds exactly one text per button; then, when
    // `optionCheck` is given and every text equals help[1], the option check button gets
    // help[1] too. The same, independently, for the short help.
    static void GiveHelp(const KesListPtrKesDialog& buttons, const KesListValKesUnicodeString& help,
                         const KesListValKesUnicodeString& shortHelp, KesDialog* optionCheck);

    // `target` (and `optionCheck` when given) gets the first help text when `help` is not
    // empty, and the first short help text when `shortHelp` is not empty.
    static void GiveFirstHelp(KesDialog* target, const KesListValKesUnicodeString& help,
                              const KesListValKesUnicodeString& shortHelp, KesDialog* optionCheck);
};
