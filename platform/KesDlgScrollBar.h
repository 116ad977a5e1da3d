// A scroll bar: a box of a given size that moves over a range.
//
// The position always stays within [minimum, maximum - box size] (the minimum when that is
// empty): positions from the program and from the user are clamped, and a new range or box
// size moves the position back inside silently. A negative box size is taken as 0.
#pragma once

#include "platform/KesDialog.h"

class KesDlgScrollBar : public KesDialog {
public:
    KesDlgScrollBar(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDialog(parent, name, style, KesDlgKind::ScrollBar) {}

    // A minimum above the maximum is taken with the two swapped.
    void SetScrollRange(int minimum, int maximum);
    void SetScrollBoxSize(int size);
    // Moves the box; notify 1 raises the modify notification.
    void SetScrollPos(int position, int notify);
    int GetScrollPos() const { return position_; }
    int GetScrollMinimum() const { return minimum_; }
    int GetScrollMaximum() const { return maximum_; }
    int GetScrollBoxSize() const { return boxSize_; }
    // The largest position the box can take.
    int GetScrollLastPos() const;

    KesNotification* GetScrollBarModifyNotification() { return &modify_; }
    KesNotification* GetScrollBarDragNotification() { return &drag_; }

    // The user moves the box to `position` (clamped) and lets go: modify notification.
    bool UserScroll(int position);
    // The user drags the box through `position` (clamped): drag notification.
    bool UserDrag(int position);

private:
    int Clamp(long long position) const;
    void KeepInside();

    int minimum_ = 0;
    int maximum_ = 0;
    int boxSize_ = 0;
    int position_ = 0;
    KesDlgNotification modify_{"KesDlgScrollBarModifyNotification"};
    KesDlgNotification drag_{"KesDlgScrollBarDragNotification"};
};
