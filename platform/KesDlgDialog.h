// A dialog window with OK and Cancel. It is a window of its own: it starts hidden (show it with
// SetVisibility(2)), and its owner's sensitivity and visibility do not affect its input.
//
// UserOK raises the OK notification and leaves the dialog as it is (the receiver decides to
// hide or delete it). UserCancel hides the dialog, then raises the Cancel notification.
// Receivers may delete the dialog from inside either callback.
#pragma once

#include "platform/KesDlgFrame.h"

class KesDlgDialog : public KesDialog {
public:
    KesDlgDialog(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDialog(parent, name, style, KesDlgKind::Dialog) {
        SetVisibility(kes::kHidden);
    }

    KesNotification* GetDiaOKNotification() { return &ok_; }
    KesNotification* GetDiaCANCELNotification() { return &cancel_; }

    bool UserOK() {
        if (!AcceptsUserInput()) {
            return false;
        }
        Raise(ok_);
        return true;
    }
    bool UserCancel() {
        if (!AcceptsUserInput()) {
            return false;
        }
        SetVisibility(kes::kHidden);
        Raise(cancel_);
        return true;
    }

private:
    KesDlgNotification ok_{"KesDlgDiaOKNotification"};
    KesDlgNotification cancel_{"KesDlgDiaCANCELNotification"};
};
