// The common part of check buttons and radio buttons: a state on (0x40000) or off (0x80000)
// and a modify notification raised only when the state actually changes.
#pragma once

#include "platform/KesDialog.h"

class KesDlgStateButton : public KesDialog {
public:
    // Sets the state (0x40000 or 0x80000; any other value is ignored). When the state changes
    // and notify is 1, the modify notification is raised.
    virtual void SetState(unsigned long state, int notify);
    unsigned long GetState() const { return state_; }
    bool IsOn() const { return state_ == kes::kOn; }

protected:
    KesDlgStateButton(KesDialog* parent, const KesString& name, unsigned long style,
                      KesDlgKind kind, const char* modifyKind)
        : KesDialog(parent, name, style, kind), modify_(modifyKind) {}

    // Changes the state without any notification; returns true when it changed.
    bool StoreState(unsigned long state);
    void RaiseModify() { Raise(modify_); }
    KesNotification* ModifyNotification() { return &modify_; }

private:
    unsigned long state_ = kes::kOff;
    KesDlgNotification modify_;
};

// A check button: the person switches it on and off.
class KesDlgCheckButton : public KesDlgStateButton {
public:
    KesDlgCheckButton(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDlgStateButton(parent, name, style, KesDlgKind::CheckButton,
                            "KesDlgChkBModifyNotification") {}

    KesNotification* GetChkBModifyNotification() { return ModifyNotification(); }

    // The user switches the button over; the modify notification is raised.
    bool UserClick();
};
