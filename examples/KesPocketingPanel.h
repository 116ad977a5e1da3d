// A pocketing operation's panel, built from every attribute class: the reference example of how
// a host builds, configures, connects and reads a panel.
//
//   group 1 (cutting)                          group 2 (notes and moves)
//   Strategy         text choice, radios       Comment           text
//   Direction        integer choice, combo     Machine           text, read-only
//   Stepover         real spinner (%)          Approach_Retract  link to a sub-dialog
//   Tool_Number      integer 1..99
//   Depth            real spinner 0..50 mm
//   Spindle_Speed    real, caller in rev/s, shown in rev/min (x 60)
//   Angle            real, caller in degrees, shown in turns (/ 360)
//   Feed_Rate        real bound to a model parameter
//   Coolant          boolean check button, steers Coolant_Pressure
//   Coolant_Pressure real, optional
//   Stock_Allowance  real, to be defined
//   Pass_Depths, Pass_Counts, Pass_Names, Pass_Switches   the four windowed lists
//   Allowed_Cycles   multiple selection
//
// Strategy steers Angle and Direction, Direction steers Stepover: choosing the contour strategy
// turns Direction off, and Stepover with it (a cascade).
#pragma once

#include "platform/KesDlgTestFrame.h"
#include "tools/KesPanelDescription.h"

#include <iosfwd>

class KesMfgAttLink;

class KesPocketingPanel {
public:
    // Builds and displays the panel in `frame`, fills the model with a few parameters and
    // connects the link's sub-dialog (each press relays a new approach distance).
    explicit KesPocketingPanel(KesDlgTestFrame& frame);
    KesPocketingPanel(const KesPocketingPanel&) = delete;
    KesPocketingPanel& operator=(const KesPocketingPanel&) = delete;

    // The same panel as a description (what `kes-panel --write-panel` writes), with the same
    // model parameters and the link's relays.
    static KesPanelDescription Description();

    // The model's parameters, one per line: name, type, units, value.
    static void PrintModel(std::ostream& out);
    // The codes reported to the user since the last call, then forgotten.
    static void PrintReportedCodes(std::ostream& out);

private:
    void RelayApproachValues();

    KesMfgAttLink* approach_ = nullptr;
    int presses_ = 0;
};
