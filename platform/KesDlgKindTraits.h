// KesDlgKindTraits: what every consumer of the widget tree needs to know about a widget kind,
// in one table (a picture of the panel, a window mirroring it, the checks and the monkey).
//
// A kind added to KesDlgKind (before its Count) needs a row here: the table's rows each name
// their kind, and the toolkit does not compile until there is exactly one row per kind, in the
// order of KesDlgKind. The switches over kinds elsewhere have no default, so that the compiler
// names every other place the new kind must be handled.
#pragma once

#include "platform/KesDialog.h"

struct KesDlgKindTraits {
    KesDlgKind kind;  // the kind the row describes (the row's place in the table)
    const char* name; // short lower-case name ("editor", "scrollbar", ...)
    bool laidOut;     // placed in its frame's layout (menus, items and dialogs are not)
    bool takesText;   // a person can type into it (editors, spinners, combos)
    bool hasValue;    // it holds a value a person changes (text, number, row, state, position)
    bool container;   // it holds laid-out children (frames and dialogs)
};

// The number of widget kinds.
inline constexpr int kKesDlgKindCount = static_cast<int>(KesDlgKind::Count);

// The row of `kind`; KesDlgKind::Count, which is no kind, answers the frame's row.
const KesDlgKindTraits& KesDlgTraitsOf(KesDlgKind kind);
