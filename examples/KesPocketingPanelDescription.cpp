// The pocketing panel as a description, what `kes-panel --write-panel` writes
// (examples/panels/pocketing.json). It states the same constructor arguments and settings as
// KesPocketingPanel.cpp, the same model parameters and the link's relays (the approach
// distance grows by 2.5 with each press); the tests check that the panel built from it and the
// panel in code give the same session transcript.
#include "KesPocketingPanel.h"

namespace {

KesPanelAttributeDescription Attribute(const char* className, const char* name, const char* label,
                                       int group) {
    KesPanelAttributeDescription attribute;
    attribute.className = className;
    attribute.Set("name", name).Set("label", label).Set("group", group);
    return attribute;
}

using Texts = std::vector<std::string>;
using Integers = std::vector<int>;
using Reals = std::vector<double>;

KesPanelParameter Parameter(const char* name, int type, int units0, int units1, int units2,
                            double value) {
    KesPanelParameter parameter;
    parameter.name = name;
    parameter.type = type;
    parameter.units[0] = units0;
    parameter.units[1] = units1;
    parameter.units[2] = units2;
    parameter.reals = {value};
    return parameter;
}

KesPanelAttributeDescription Real(const char* name, const char* label, double value, double minimum,
                                  double maximum) {
    return Attribute("KesMfgAttDouble", name, label, 1)
        .Set("value", value)
        .Set("minimum", minimum)
        .Set("maximum", maximum);
}

} // namespace

KesPanelDescription KesPocketingPanel::Description() {
    KesPanelDescription panel;
    panel.title = "Pocketing";
    panel.modelParameters = {
        Parameter("FEED_ROUGH", 2, 1, 2, 0, 1200.0), Parameter("FEED_FINISH", 2, 1, 2, 0, 600.0),
        Parameter("FEED_RAPID", 2, 1, 2, 0, 9000.0), Parameter("SPINDLE_MAX", 2, 0, 0, 1, 200.0),
        Parameter("TOOL_COUNT", 1, 1, 2, 0, 24.0)};

    auto strategy = Attribute("KesMfgAttCharList", "Strategy", "Strategy", 1)
                        .Set("value", "ZIGZAG")
                        .Set("values", Texts{"ZIGZAG", "SPIRAL", "CONTOUR"})
                        .Set("displayTexts", Texts{"Zig-zag", "Spiral", "Contour"})
                        .Set("presentation", 1);
    strategy.impacts = KesPanelImpacts{
        {"Angle", "Direction"}, {}, {"ZIGZAG", "SPIRAL", "CONTOUR"}, {{1, 1}, {0, 1}, {0, 0}}};
    auto direction = Attribute("KesMfgAttIntList", "Direction", "Cut direction", 1)
                         .Set("value", 1)
                         .Set("values", Integers{1, -1})
                         .Set("displayTexts", Texts{"Climb", "Conventional"});
    direction.impacts = KesPanelImpacts{{"Stepover"}, {1, -1}, {}, {{1}, {0}}};
    auto coolant = Attribute("KesMfgAttLogic", "Coolant", "Coolant", 1).Set("value", 1);
    coolant.impacts = KesPanelImpacts{{"Coolant_Pressure"}, {1, 0}, {}, {{1}, {0}}};
    auto approach = Attribute("KesMfgAttLink", "Approach_Retract", "Approach and retract", 2)
                        .Set("iconName", "approach");
    approach.relays = {{KesPanelRecord{"Approach_Distance", 2, {}, {2.5}, {}, 2.5},
                        KesPanelRecord{"Retract_Mode", 3, {}, {}, {"RAPID"}, 0.0}}};
    // The sub-dialog a window opens for the link: on its OK its two records go to the link.
    auto subPanel = std::make_shared<KesPanelDescription>();
    subPanel->title = "Approach and retract";
    subPanel->attributes = {Real("Approach_Distance", "Approach distance (mm)", 2.5, 0.0, 50.0),
                            Attribute("KesMfgAttCharList", "Retract_Mode", "Retract", 1)
                                .Set("value", "RAPID")
                                .Set("values", Texts{"RAPID", "FEED"})
                                .Set("displayTexts", Texts{"Rapid", "At feed rate"})};
    approach.subPanel = subPanel;

    panel.attributes = {
        strategy,
        direction,
        Real("Stepover", "Stepover (%)", 50.0, 5.0, 95.0),
        Attribute("KesMfgAttInt", "Tool_Number", "Tool number", 1)
            .Set("value", 4)
            .Set("minimum", 1)
            .Set("maximum", 99),
        Real("Depth", "Depth (mm)", 5.0, 0.0, 50.0),
        Real("Spindle_Speed", "Spindle speed (rpm)", 50.0, 0.0, 500.0)
            .Set("thirdUnitCode", 1)
            .Set("unitFlag", 1),
        Real("Angle", "Zig-zag angle (turns)", 90.0, 0.0, 360.0).Set("thirdUnitCode", -1),
        Attribute("KesMfgAttDoubleParam", "Feed_Rate", "Feed rate (mm/min)", 1)
            .Set("value", 800.0)
            .Set("minimum", 0.0)
            .Set("maximum", 5000.0)
            .Set("firstUnitCode", 1)
            .Set("secondUnitCode", 2),
        coolant,
        Real("Coolant_Pressure", "Coolant pressure (bar)", 20.0, 0.0, 100.0)
            .Set("optionMode", 1)
            .Set("initialState", 1),
        Real("Stock_Allowance", "Stock to leave (mm)", 0.0, 0.0, 5.0).Set("toBeDefined", true),
        Attribute("KesMfgAttMVDouble", "Pass_Depths", "Pass depths (mm)", 1)
            .Set("values", Reals{2.0, 2.0, 1.0})
            .Set("minimum", 0.0)
            .Set("maximum", 10.0),
        Attribute("KesMfgAttMVInt", "Pass_Counts", "Passes per level", 1)
            .Set("values", Integers{1, 2, 2, 1, 3, 1, 2})
            .Set("minimum", 1)
            .Set("maximum", 20),
        Attribute("KesMfgAttMVChar", "Pass_Names", "Pass names", 1)
            .Set("values", Texts{"rough", "semi", "finish"})
            .Set("newValueText", "pass"),
        Attribute("KesMfgAttMVLogic", "Pass_Switches", "Passes on", 1)
            .Set("values", Integers{1, 0, 1}),
        Attribute("KesMfgAttMVCharList", "Allowed_Cycles", "Allowed cycles", 1)
            .Set("values", Texts{"G81", "G83"})
            .Set("allowedValues", Texts{"G81", "G82", "G83", "G85"})
            .Set("displayTexts", Texts{"Drill", "Dwell", "Peck", "Bore"}),
        Attribute("KesMfgAttChar", "Comment", "Comment", 2).Set("value", "Roughing of the pocket"),
        Attribute("KesMfgAttChar", "Machine", "Machine", 2)
            .Set("value", "HMC-500")
            .Set("editMode", 0),
        approach};
    return panel;
}
