// A panel of every attribute class for the monkey, with what the pocketing panel lacks: a cycle
// of impacts, a sensitivity table shorter than its attributes with a null entry, infinite and
// swapped limits, a choice value with no line, parameters of other units and none at all. Each
// seed configures it differently (option modes, values to be defined, window sizes, limits,
// read-only attributes), as a host may.
#pragma once

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"
#include "tools/KesStepSource.h"

#include <cmath>
#include <memory>

inline void KesAddTestParameter(const char* name, int type, int third, std::vector<double> values) {
    int d1 = type, d2 = 1, d3 = third == 0 ? 1 : 0, d4 = third == 0 ? 2 : 0, d5 = third, d6 = 0,
        d7 = 0;
    KesRawColldouble reals;
    for (double value : values) {
        reals.Append(value);
    }
    KesMfgModel::CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, KesRawCollint(), reals,
                                 KesListValKesUnicodeString());
}

// Builds the panel in `frame`; the same seed gives the same panel. The arguments of a braced
// initialisation are evaluated in order, so the draws come alike from every compiler.
inline std::shared_ptr<void> KesBuildMonkeyTestPanel(KesDlgTestFrame& frame, uint32_t seed) {
    KesSeededSource source(seed);
    KesMfgModel::Clear();
    KesMfgBaseGII::ClearReportedCodes();
    KesAddTestParameter("FEED_ROUGH", 2, 0, {1200.0}); // compatible with the feed
    KesAddTestParameter("FEED_RAPID", 2, 0, {9000.0}); // beyond the feed's limits
    KesAddTestParameter("FEED_EMPTY", 2, 0, {});       // holds no real
    KesAddTestParameter("SPINDLE_MAX", 2, 1, {200.0}); // other units
    KesAddTestParameter("TOOL_COUNT", 1, 0, {24.0});   // not a real
    KesAddTestParameter("ANGLE_HUGE", 2, -1, {1e300}); // the plunge's units, huge
    const auto limit = [&](double usual) {
        return source.Chance(80) ? usual : source.Pick(std::vector<double>{-1e300, NAN, -5.0});
    };
    const auto group = [&] { return source.Chance(70) ? 1 : 2; };
    const auto values = [&](int step) {
        KesRawCollint list;
        for (int i = 0, count = source.Chance(80) ? source.Between(5, 14) : source.Between(0, 2);
             i < count; ++i) {
            list.Append(i * step);
        }
        return list;
    };
    auto* tool = new KesMfgAttInt{"Tool_Number", "Tool", 4, 1, 99, 0, &frame, group()};
    auto* stepover = new KesMfgAttDouble{"Stepover", "Stepover", 50.0, limit(5.0), limit(95.0), 0.0,
                                         0,          0,          0,    &frame,     group(),     0};
    auto* angle = new KesMfgAttDouble{"Angle", "Angle", 90.0, -INFINITY, INFINITY, 0.0,
                                      0,       0,       -1,   &frame,    group(),  0};
    auto* pressure = new KesMfgAttDouble{
        "Coolant_Pressure", "Pressure", 20.0, 0.0, 100.0, 0.0, 0, 0, 0, &frame, group(), 0};
    new KesMfgAttChar{"Comment", "Comment", "rough", "", &frame, group()};
    auto* coolant = new KesMfgAttLogic{"Coolant", "Coolant", 1, 0, &frame, group(), 0, nullptr};
    static KesListValKesUnicodeString titles{"Off", "On"};
    auto* mist = new KesMfgAttLogic{"Mist", "Mist", 0, 0, &frame, group(), 3, &titles};
    new KesMfgAttLink{"Approach", "Approach", &frame, "approach", group()};
    auto* direction = new KesMfgAttIntList{
        "Direction", "Direction", 1,       {1, -1, 2}, {"Climb", "Conventional", "Both"},
        0,           &frame,      group(), 0};
    auto* strategy = new KesMfgAttCharList{"Strategy",
                                           "Strategy",
                                           source.Pick(std::vector<std::string>{"ZIGZAG", "OTHER"}),
                                           {"ZIGZAG", "SPIRAL", "CONTOUR"},
                                           {"Zig-zag", "Spiral", "Contour"},
                                           "",
                                           &frame,
                                           group(),
                                           source.Between(0, 2)};
    auto* counts =
        new KesMfgAttMVInt{"Pass_Counts", "Passes", values(1), 1, 20, 0, &frame, group()};
    auto* depths = new KesMfgAttMVDouble{"Pass_Depths",
                                         "Depths",
                                         KesRawColldouble{0.5, 1.5, 3.0},
                                         limit(0.0),
                                         limit(10.0),
                                         0.0,
                                         0,
                                         0,
                                         source.Between(-1, 1),
                                         &frame,
                                         group(),
                                         source.Between(0, 1)};
    auto* names = new KesMfgAttMVChar{"Pass_Names", "Names", {"a", " b ", "c", "d", "e"},
                                      "",           &frame,  group()};
    auto* cycles = new KesMfgAttMVCharList{"Cycles",
                                           "Cycles",
                                           {"G81", "G99"}, // G99 has no line
                                           {"G81", "G82", "G83", "G85"},
                                           {"Drill", "Dwell", "Peck", "Bore"},
                                           "",
                                           &frame,
                                           group()};
    auto* switches =
        new KesMfgAttMVLogic{"Pass_Switches", "On", values(1), 0, &frame, group(), 0, nullptr};
    auto* feed = new KesMfgAttDoubleParam{
        "Feed_Rate", "Feed",  800.0, limit(0.0), limit(5000.0),
        0.0,         1,       2,     0,          source.Chance(70) ? "FEED_ROUGH" : "",
        &frame,      group(), 0};

    for (int i = 0; i < frame.GetChildCount(); ++i) {
        auto* attribute = static_cast<KesMfgAttribute*>(frame.GetChildFromChildNumber(i));
        if (source.Chance(25)) {
            attribute->SetOptionMode(1, source.Between(-1, 3));
        }
        if (source.Chance(12)) {
            attribute->SetAttToBeDefined();
        }
    }
    counts->SetNbVisibleVals(source.Pick(std::vector<int>{3, 4, 1, 0, -2}));
    depths->SetNbVisibleVals(source.Pick(std::vector<int>{3, 6, 1}));
    names->SetNbVisibleVals(3);
    switches->SetNbVisibleVals(source.Pick(std::vector<int>{3, 0}));
    cycles->SetNbVisibleVals(source.Between(-1, 5));
    for (int i = 0; i < frame.GetChildCount(); ++i) {
        auto* attribute = static_cast<KesMfgAttribute*>(frame.GetChildFromChildNumber(i));
        attribute->Display();
        if (source.Chance(6)) {
            attribute->SetEditMode(0);
        }
    }
    // A cycle: the strategy steers the angle and the direction, the direction the stepover and
    // the strategy. The mist's table is shorter than its attributes, one of them null.
    KesListPtrKesMfgAttribute byStrategy, byDirection, byCoolant, byMist;
    byStrategy.Append(angle);
    byStrategy.Append(direction);
    strategy->AddImpactedAttributes(byStrategy, KesRawCollint(), {"ZIGZAG", "SPIRAL", "CONTOUR"},
                                    {1, 1, 0, 1, 0, 0});
    byDirection.Append(stepover);
    byDirection.Append(strategy);
    direction->AddImpactedAttributes(byDirection, KesRawCollint(), {1, -1}, {1, 1, 0, 1});
    byCoolant.Append(pressure);
    byCoolant.Append(tool);
    coolant->AddImpactedAttributes(byCoolant, KesRawCollint(), {1, 0}, {1, 1, 0, 1});
    byMist.Append(feed);
    byMist.Append(switches);
    byMist.Append(nullptr);
    mist->AddImpactedAttributes(byMist, KesRawCollint(), {1, 0}, {1, 0, 0});
    for (KesMfgAttribute* steering :
         std::vector<KesMfgAttribute*>{strategy, direction, coolant, mist}) {
        steering->ImpactAttributes();
    }
    return nullptr;
}
