// A small panel for the monkey with every attribute class and what the pocketing panel lacks: a
// cycle of impacts, an impact table shorter than its attributes with a null entry, infinite and
// swapped limits, a selection holding a value with no line, parameters of other units and with no
// value, a text longer than a record and a list of reals shown in turns. Each seed configures
// it differently (option modes, values to be defined, window sizes, limits, read-only
// attributes), as a host may.
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

// Builds the panel in `frame`; the same seed gives the same panel. The arguments of a braced
// initialisation are evaluated in order, so the draws come alike from every compiler.
inline std::shared_ptr<void> KesBuildMonkeyTestPanel(KesDlgTestFrame& frame, uint32_t seed) {
    KesSeededSource source(seed);
    KesMfgModel::Clear();
    KesMfgBaseGII::ClearReportedCodes();
    // Model parameters: name, type, the three unit codes and the values (FEED_EMPTY has none).
    const auto parameter = [](const char* name, int type, int first, int second, int third,
                              const KesRawColldouble& reals) {
        int d1 = type, d2 = 1, d3 = first, d4 = second, d5 = third, d6 = 0, d7 = 0;
        KesMfgModel::CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, KesRawCollint(), reals,
                                     KesListValKesUnicodeString());
    };
    parameter("FEED_ROUGH", 2, 1, 2, 0, KesRawColldouble{1200.0});
    parameter("FEED_RAPID", 2, 1, 2, 0, KesRawColldouble{9000.0});
    parameter("FEED_EMPTY", 2, 1, 2, 0, KesRawColldouble());
    parameter("SPINDLE_MAX", 2, 0, 0, 1, KesRawColldouble{200.0});
    parameter("TOOL_COUNT", 1, 1, 2, 0, KesRawColldouble{24.0});
    parameter("ANGLE_HUGE", 2, 0, 0, -1, KesRawColldouble{1e300});
    const auto limit = [&](double usual) {
        return source.Chance(80) ? usual : source.Pick(std::vector<double>{-1e300, NAN, -5.0});
    };
    const auto group = [&] { return source.Chance(70) ? 1 : 2; };
    KesRawCollint counts;
    for (int i = 0, n = source.Chance(80) ? source.Between(5, 14) : source.Between(0, 2); i < n;
         ++i) {
        counts.Append(i % 2);
    }
    auto* tool = new KesMfgAttInt{"Tool_Number", "Tool", 4, 1, 99, 0, &frame, group()};
    auto* stepover = new KesMfgAttDouble{"Stepover", "Stepover", 50.0, limit(5.0), limit(95.0), 0.0,
                                         0,          0,          0,    &frame,     group(),     0};
    auto* angle = new KesMfgAttDouble{"Angle", "Angle", 90.0, -INFINITY, INFINITY, 0.0,
                                      0,       0,       -1,   &frame,    group(),  0};
    static KesListValKesUnicodeString titles{"Off", "On"};
    auto* mist = new KesMfgAttLogic{"Mist", "Mist", 0, 0, &frame, group(), 3, &titles};
    auto* direction = new KesMfgAttIntList{
        "Direction", "Direction", 1,       {1, -1, 2}, {"Climb", "Conventional", "Both"},
        0,           &frame,      group(), 0};
    auto* strategy = new KesMfgAttCharList{"Strategy",
                                           "Strategy",
                                           source.Chance(50) ? "ZIGZAG" : "OTHER",
                                           {"ZIGZAG", "SPIRAL", "CONTOUR"},
                                           {"Zig-zag", "Spiral", "Contour"},
                                           "",
                                           &frame,
                                           group(),
                                           source.Between(0, 2)};
    auto* passCounts =
        new KesMfgAttMVInt{"Pass_Counts", "Passes", counts, 1, 20, 0, &frame, group()};
    auto* switches =
        new KesMfgAttMVLogic{"Pass_Switches", "On", counts, 0, &frame, group(), 0, nullptr};
    auto* cycles = new KesMfgAttMVCharList{
        "Cycles", "Cycles", {"G81", "G99"}, {"G81", "G82", "G83"}, {"Drill", "Dwell", "Peck"},
        "",       &frame,   group()}; // G99 has no line
    auto* feed = new KesMfgAttDoubleParam{
        "Feed_Rate", "Feed",  800.0, limit(0.0), limit(5000.0),
        0.0,         1,       2,     0,          source.Chance(70) ? "FEED_ROUGH" : "",
        &frame,      group(), 0};
    // Shown in turns, given in degrees (x 360 back), with no limits: conversions that overflow.
    new KesMfgAttDoubleParam{"Plunge", "Plunge", 0.0, 0.0, 0.0,
                             0.0,      0,        0,   -1,  source.Chance(30) ? "ANGLE_HUGE" : "",
                             &frame,   group(),  0};
    // The classes the draws above do not configure: they come last, so that the draws of the
    // others stay those of their seed.
    new KesMfgAttChar{"Note", "Note", std::string(80, 'n').c_str(), "", &frame, 1};
    new KesMfgAttLink{"Approach", "Approach", &frame, "approach", 2};
    new KesMfgAttMVDouble{"Angles", "Angles", {720.0, -360.0}, 0.0, 3600.0, 0.0, 0,
                          0,        -1,       &frame,          1,   0};
    new KesMfgAttMVChar{"Pass_Names", "Passes", {"rough", " semi "}, "pass", &frame, 2};
    for (int i = 0; i < frame.GetChildCount(); ++i) {
        auto* attribute = static_cast<KesMfgAttribute*>(frame.GetChildFromChildNumber(i));
        if (source.Chance(25)) {
            attribute->SetOptionMode(1, source.Between(-1, 3));
        }
        if (source.Chance(12)) {
            attribute->SetAttToBeDefined();
        }
    }
    passCounts->SetNbVisibleVals(source.Pick(std::vector<int>{3, 4, 1, 0, -2}));
    switches->SetNbVisibleVals(source.Pick(std::vector<int>{3, 0, 6}));
    cycles->SetNbVisibleVals(source.Between(-1, 4));
    for (int i = 0; i < frame.GetChildCount(); ++i) {
        auto* attribute = static_cast<KesMfgAttribute*>(frame.GetChildFromChildNumber(i));
        attribute->Display();
        if (source.Chance(6)) {
            attribute->SetEditMode(0);
        }
    }
    // A cycle: the strategy steers the angle and the direction, the direction the stepover and
    // the strategy. The mist's table is shorter than its attributes, one of them null.
    KesListPtrKesMfgAttribute byStrategy, byDirection, byMist;
    byStrategy.Append(angle);
    byStrategy.Append(direction);
    strategy->AddImpactedAttributes(byStrategy, KesRawCollint(), {"ZIGZAG", "SPIRAL", "CONTOUR"},
                                    {1, 1, 0, 1, 0, 0});
    byDirection.Append(stepover);
    byDirection.Append(strategy);
    direction->AddImpactedAttributes(byDirection, KesRawCollint(), {1, -1}, {1, 1, 0, 1});
    for (KesMfgAttribute* impacted : std::vector<KesMfgAttribute*>{feed, switches, nullptr, tool}) {
        byMist.Append(impacted);
    }
    mist->AddImpactedAttributes(byMist, KesRawCollint(), {1, 0}, {1, 0, 0, 1, 1});
    for (KesMfgAttribute* steering : std::vector<KesMfgAttribute*>{strategy, direction, mist}) {
        steering->ImpactAttributes();
    }
    return nullptr;
}
