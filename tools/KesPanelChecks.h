// KesPanelChecks: what must hold for any panel of attributes after any step, whatever a person
// or a caller did before: well-formed value records that agree with the widgets, Output for
// another group appending nothing, a list's window showing its values at the scroll position,
// scroll bars that fit the list, combos and selections that show the value, an option state that
// follows its button, read-only and unchecked attributes that stay insensitive.
//
// What holds for one class only is its row of the attribute catalogue; an attribute of a class
// the catalogue does not know gets the checks every class shares (records, groups, option,
// sensitivity).
// Checking reads the attributes through their interface and changes nothing.
#pragma once

#include "framework/KesMfgAttribute.h"

#include <string>
#include <vector>

// A broken invariant. `invariant` is a fixed text naming what broke (two faults are the same
// when it is equal); `detail` says how, with the values seen.
struct KesPanelFault {
    std::string attribute; // record name; empty for a fault of the panel or of a user action
    std::string invariant;
    std::string detail;

    bool IsEmpty() const { return invariant.empty(); }
    // "attribute: invariant (detail)", the parts that are empty left out.
    std::string Text() const;
};

class KesPanelChecks {
public:
    // The first fault among the attributes, in their order; an empty fault when all hold.
    static KesPanelFault Check(const std::vector<KesMfgAttribute*>& attributes);
    static KesPanelFault CheckAttribute(KesMfgAttribute& attribute);
};
