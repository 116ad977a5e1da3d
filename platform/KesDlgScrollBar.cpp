#include "platform/KesDlgScrollBar.h"

#include <algorithm>

int KesDlgScrollBar::GetScrollLastPos() const {
    const long long last = static_cast<long long>(maximum_) - boxSize_;
    return static_cast<int>(std::max<long long>(last, minimum_));
}

int KesDlgScrollBar::Clamp(long long position) const {
    return static_cast<int>(std::clamp<long long>(position, minimum_, GetScrollLastPos()));
}

void KesDlgScrollBar::KeepInside() {
    const int clamped = Clamp(position_);
    if (clamped != position_) {
        position_ = clamped;
        Changed(KesDlgProperty::ScrollPosition);
    }
}

void KesDlgScrollBar::SetScrollRange(int minimum, int maximum) {
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
    Changed(KesDlgProperty::ScrollRange);
    KeepInside();
}

void KesDlgScrollBar::SetScrollBoxSize(int size) {
    boxSize_ = std::max(size, 0);
    Changed(KesDlgProperty::ScrollBoxSize);
    KeepInside();
}

void KesDlgScrollBar::SetScrollPos(int position, int notify) {
    position_ = Clamp(position);
    Changed(KesDlgProperty::ScrollPosition);
    if (notify == 1) {
        Raise(modify_);
    }
}

bool KesDlgScrollBar::UserScroll(int position) {
    if (!AcceptsUserInput()) {
        return false;
    }
    SetScrollPos(position, 1);
    return true;
}

bool KesDlgScrollBar::UserDrag(int position) {
    if (!AcceptsUserInput()) {
        return false;
    }
    SetScrollPos(position, 0);
    Raise(drag_);
    return true;
}
