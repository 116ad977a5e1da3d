#include "platform/KesDlgRadioButton.h"

#include <memory>
#include <vector>

bool KesDlgStateButton::StoreState(unsigned long state) {
    if ((state != kes::kOn && state != kes::kOff) || state == state_) {
        return false;
    }
    state_ = state;
    Changed(KesDlgProperty::State);
    return true;
}

void KesDlgStateButton::SetState(unsigned long state, int notify) {
    if (StoreState(state) && notify == 1) {
        RaiseModify();
    }
}

bool KesDlgCheckButton::UserClick() {
    if (!AcceptsUserInput()) {
        return false;
    }
    StoreState(IsOn() ? kes::kOff : kes::kOn);
    RaiseModify();
    return true;
}

void KesDlgRadioButton::SetState(unsigned long state, int notify) {
    if (state == kes::kOn) {
        SwitchOn(notify);
    } else {
        KesDlgStateButton::SetState(state, notify);
    }
}

void KesDlgRadioButton::SwitchOn(int notify) {
    if (IsOn()) {
        return;
    }
    // Every state first, then the notifications: the buttons switched off, then this one.
    std::vector<KesDlgRadioButton*> switchedOff;
    if (KesDialog* parent = GetParent()) {
        for (int i = 0; i < parent->GetChildCount(); ++i) {
            auto* sibling = dynamic_cast<KesDlgRadioButton*>(parent->GetChildFromChildNumber(i));
            if (sibling != nullptr && sibling != this && sibling->StoreState(kes::kOff)) {
                switchedOff.push_back(sibling);
            }
        }
    }
    StoreState(kes::kOn);
    if (notify != 1) {
        return;
    }
    // A callback may delete buttons of the group: notify only those still alive.
    std::vector<std::shared_ptr<const bool>> alive;
    for (KesDlgRadioButton* button : switchedOff) {
        alive.push_back(button->GetAliveToken());
    }
    const std::shared_ptr<const bool> selfAlive = GetAliveToken();
    for (size_t i = 0; i < switchedOff.size(); ++i) {
        if (*alive[i]) {
            switchedOff[i]->RaiseModify();
        }
    }
    if (*selfAlive) {
        RaiseModify();
    }
}

bool KesDlgRadioButton::UserClick() {
    if (!AcceptsUserInput()) {
        return false;
    }
    SwitchOn(1);
    return true;
}
