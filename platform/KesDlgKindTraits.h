// KesDlgKindTraits: what every consumer of the widget tree needs to know about a widget kind,
// in one table (a picture of the panel, a window mirroring it, the checks and the monkey).
//
// A kind added to KesDlgKind gets a row here (the table's size is checked against the kind
// count when the toolkit is compiled); the switches over kinds elsewhere have no default, so
// that the compiler names every other place the new kind must be handled.
#pragma once

#include "platform/KesDialog.h"

struct KesDlgKindTraits {
    const char* name; // short lower-case name ("editor", "scrollbar", ...)
    bool laidOut;     // placed in its frame's layout (menus, items and dialogs are not)
    bool takesText;   // a person can type into it (editors, spinners, combos)
    bool hasValue;    // it holds a value a person changes (text, number, row, state, position)
    bool container;   // it holds laid-out children (frames and dialogs)
};

// The number of widget kinds: KesDlgKind runs from Frame to SelectorList.
inline constexpr int kKesDlgKindCount = static_cast<int>(KesDlgKind::SelectorList) + 1;

// The row of `kind`.
const KesDlgKindTraits& KesDlgTraitsOf(KesDlgKind kind);
