// A push button: pressing it raises its activate notification.
#pragma once

#include "platform/KesDialog.h"

class KesDlgPushButton : public KesDialog {
public:
    KesDlgPushButton(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDialog(parent, name, style, KesDlgKind::PushButton) {}

    KesNotification* GetPushBActivateNotification() { return &activate_; }

    bool UserPress() {
        if (!AcceptsUserInput()) {
            return false;
        }
        Raise(activate_);
        return true;
    }

private:
    KesDlgNotification activate_{"KesDlgPushBActivateNotification"};
};
