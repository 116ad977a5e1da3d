#include "KesPocketingPanel.h"

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "framework/KesMfgAttNotifyPB.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"

#include <iostream>
#include <vector>

namespace {

// Unit codes of a feed rate in the model (no conversion between caller and shown unit).
constexpr int kFeedUnits[3] = {1, 2, 0};

void AddParameter(const char* name, int type, int kind, const int units[3], double value) {
    int d1 = type, d2 = kind, d3 = units[0], d4 = units[1], d5 = units[2], d6 = 0, d7 = 0;
    KesMfgModel::CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, KesRawCollint(),
                                 KesRawColldouble{value}, KesListValKesUnicodeString());
}

void FillModel() {
    KesMfgModel::Clear();
    const int spindleUnits[3] = {0, 0, 1};
    AddParameter("FEED_ROUGH", 2, 1, kFeedUnits, 1200.0);   // offered
    AddParameter("FEED_FINISH", 2, 1, kFeedUnits, 600.0);   // offered
    AddParameter("FEED_RAPID", 2, 1, kFeedUnits, 9000.0);   // above the limit: not offered
    AddParameter("SPINDLE_MAX", 2, 1, spindleUnits, 200.0); // other units: not offered
    AddParameter("TOOL_COUNT", 1, 1, kFeedUnits, 24.0);     // not a real: not offered
}

} // namespace

KesPocketingPanel::KesPocketingPanel(KesDlgTestFrame& frame) {
    FillModel();
    KesMfgBaseGII::ClearReportedCodes();

    auto* strategy =
        new KesMfgAttCharList("Strategy", "Strategy", "ZIGZAG", {"ZIGZAG", "SPIRAL", "CONTOUR"},
                              {"Zig-zag", "Spiral", "Contour"}, "", &frame, 1, 1);
    auto* direction = new KesMfgAttIntList("Direction", "Cut direction", 1, {1, -1},
                                           {"Climb", "Conventional"}, 0, &frame, 1, 0);
    auto* stepover = new KesMfgAttDouble("Stepover", "Stepover (%)", 50.0, 5.0, 95.0, 0.0, 0, 0, 0,
                                         &frame, 1, 0);
    auto* tool = new KesMfgAttInt("Tool_Number", "Tool number", 4, 1, 99, 0, &frame, 1);
    auto* depth =
        new KesMfgAttDouble("Depth", "Depth (mm)", 5.0, 0.0, 50.0, 0.0, 0, 0, 0, &frame, 1, 0);
    // The caller speaks revolutions per second; the operator reads revolutions per minute.
    auto* spindle = new KesMfgAttDouble("Spindle_Speed", "Spindle speed (rpm)", 50.0, 0.0, 500.0,
                                        0.0, 0, 0, 1, &frame, 1, 1);
    // The caller speaks degrees; the operator reads turns.
    auto* angle = new KesMfgAttDouble("Angle", "Zig-zag angle (turns)", 90.0, 0.0, 360.0, 0.0, 0, 0,
                                      -1, &frame, 1, 0);
    auto* feed =
        new KesMfgAttDoubleParam("Feed_Rate", "Feed rate (mm/min)", 800.0, 0.0, 5000.0, 0.0,
                                 kFeedUnits[0], kFeedUnits[1], kFeedUnits[2], "", &frame, 1, 0);
    auto* coolant = new KesMfgAttLogic("Coolant", "Coolant", 1, 0, &frame, 1, 0, nullptr);
    auto* pressure = new KesMfgAttDouble("Coolant_Pressure", "Coolant pressure (bar)", 20.0, 0.0,
                                         100.0, 0.0, 0, 0, 0, &frame, 1, 0);
    pressure->SetOptionMode(1, 1);
    auto* stock = new KesMfgAttDouble("Stock_Allowance", "Stock to leave (mm)", 0.0, 0.0, 5.0, 0.0,
                                      0, 0, 0, &frame, 1, 0);
    stock->SetAttToBeDefined();
    auto* depths = new KesMfgAttMVDouble("Pass_Depths", "Pass depths (mm)", {2.0, 2.0, 1.0}, 0.0,
                                         10.0, 0.0, 0, 0, 0, &frame, 1, 0);
    auto* counts = new KesMfgAttMVInt("Pass_Counts", "Passes per level", {1, 2, 2, 1, 3, 1, 2}, 1,
                                      20, 0, &frame, 1);
    auto* names = new KesMfgAttMVChar("Pass_Names", "Pass names", {"rough", "semi", "finish"},
                                      "pass", &frame, 1);
    auto* switches =
        new KesMfgAttMVLogic("Pass_Switches", "Passes on", {1, 0, 1}, 0, &frame, 1, 0, nullptr);
    auto* cycles = new KesMfgAttMVCharList("Allowed_Cycles", "Allowed cycles", {"G81", "G83"},
                                           {"G81", "G82", "G83", "G85"},
                                           {"Drill", "Dwell", "Peck", "Bore"}, "", &frame, 1);
    auto* comment =
        new KesMfgAttChar("Comment", "Comment", "Roughing of the pocket", "", &frame, 2);
    auto* machine = new KesMfgAttChar("Machine", "Machine", "HMC-500", "", &frame, 2);
    approach_ =
        new KesMfgAttLink("Approach_Retract", "Approach and retract", &frame, "approach", 2);

    const std::vector<KesMfgAttribute*> panel = {strategy, direction, stepover, tool,     depth,
                                                 spindle,  angle,     feed,     coolant,  pressure,
                                                 stock,    depths,    counts,   names,    switches,
                                                 cycles,   comment,   machine,  approach_};
    for (KesMfgAttribute* attribute : panel) {
        attribute->Display();
    }
    machine->SetEditMode(0);

    // Strategy: zig-zag uses the angle and a direction, spiral only a direction, contour
    // neither. Direction: climb milling uses the stepover, conventional does not.
    KesListPtrKesMfgAttribute byStrategy;
    byStrategy.Append(angle);
    byStrategy.Append(direction);
    strategy->AddImpactedAttributes(byStrategy, KesRawCollint(), {"ZIGZAG", "SPIRAL", "CONTOUR"},
                                    {1, 1, 0, 1, 0, 0});
    KesListPtrKesMfgAttribute byDirection;
    byDirection.Append(stepover);
    direction->AddImpactedAttributes(byDirection, KesRawCollint(), {1, -1}, {1, 0});
    KesListPtrKesMfgAttribute byCoolant;
    byCoolant.Append(pressure);
    coolant->AddImpactedAttributes(byCoolant, KesRawCollint(), {1, 0}, {1, 0});
    for (KesMfgAttribute* steering : std::vector<KesMfgAttribute*>{strategy, coolant}) {
        steering->ImpactAttributes();
    }

    // The owner of the frame opens the approach sub-dialog on each press of the link.
    static KesMfgAttNotifyPB pressed(-1);
    frame.AddCallback(approach_, &pressed,
                      [this](KesCommand*, KesNotification*, void**) { RelayApproachValues(); });
}

void KesPocketingPanel::RelayApproachValues() {
    // What the sub-dialog would hand back: an approach distance that grows with each visit
    // and the retract mode.
    ++presses_;
    KesListValKesUnicodeString names{"Approach_Distance", "Retract_Mode"};
    KesRawCollint counts{1, 1};
    KesRawCollint typeCodes{2, 3};
    KesRawColldouble reals{2.5 * presses_};
    KesListValKesUnicodeString texts{"RAPID"};
    approach_->SetAttValue(&names, &counts, &typeCodes, nullptr, &reals, &texts, 0);
}

void KesPocketingPanel::PrintModel(std::ostream& out) {
    KesListValKesUnicodeString* names = KesMfgModel::GetParameters();
    for (int i = 1; i <= names->Size(); ++i) {
        int d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0, d6 = 0, d7 = 0;
        KesRawCollint ints;
        KesRawColldouble reals;
        KesListValKesUnicodeString texts;
        KesMfgModel::ReadParameterDesc((*names)[i], d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
        out << "  " << (*names)[i].Str() << " type " << d1 << " kind " << d2 << " units " << d3
            << ',' << d4 << ',' << d5 << " value";
        for (double value : reals.Items()) {
            out << ' ' << value;
        }
        out << "\n";
    }
    delete names;
}

void KesPocketingPanel::PrintReportedCodes(std::ostream& out) {
    for (int code : KesMfgBaseGII::GetReportedCodes()) {
        out << "  reported to the user: code " << code << " (" << KesMfgBaseGII::GetCodeText(code)
            << ")\n";
    }
    KesMfgBaseGII::ClearReportedCodes();
}
