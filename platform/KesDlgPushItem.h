// A menu item: activating it raises its activate notification. A hidden item cannot be
// activated.
#pragma once

#include "platform/KesDialog.h"

class KesDlgPushItem : public KesDialog {
public:
    KesDlgPushItem(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDialog(parent, name, style, KesDlgKind::PushItem) {}

    KesNotification* GetMenuIActivateNotification() { return &activate_; }

    bool UserActivate() {
        if (!AcceptsUserInput()) {
            return false;
        }
        Raise(activate_);
        return true;
    }

private:
    KesDlgNotification activate_{"KesDlgMenuIActivateNotification"};
};
