// A radio button. The radio buttons of one parent are mutually exclusive: switching one on
// switches the others off. All states change before any notification is delivered; then the
// button switched off notifies before the one switched on.
#pragma once

#include "platform/KesDlgStateButton.h"

class KesDlgRadioButton : public KesDlgStateButton {
public:
    KesDlgRadioButton(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDlgStateButton(parent, name, style, KesDlgKind::RadioButton,
                            "KesDlgRadBModifyNotification") {}

    // Switching on also switches the siblings off, each with the same notify flag; switching
    // off leaves the siblings as they are (then no button of the group may be on).
    void SetState(unsigned long state, int notify) override;

    KesNotification* GetRadBModifyNotification() { return ModifyNotification(); }

    // The user picks this button. A button already on stays on and nothing is raised.
    bool UserClick();

private:
    void SwitchOn(int notify);
};
