// Panel files: each class read from a file behaves as the same attribute built in C++; committed
// panel files read back and write the same; bad files are refused with a clear message and
// build nothing.
#include "tools/KesPanelFile.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelPicture.h"

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "framework/KesMfgAttNotifyPB.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesMfgModel.h"
#include "platform/KesStdoutCapture.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace {

using Texts = KesListValKesUnicodeString;

struct SameAsCode {
    std::string file;                       // what follows "title" in a panel file
    std::function<void(KesDlgFrame&)> code; // the same attributes built in C++
    const char* session;
};

KesMfgAttInt* Tool(KesDlgFrame& f) {
    return new KesMfgAttInt("Tool", "Tool", 4, 1, 9, 0, &f, 1);
}
const char* const kTool = R"({"class": "KesMfgAttInt", "name": "Tool", "label": "Tool",
    "group": 1, "value": 4, "minimum": 1, "maximum": 9})";

// Hands the link records that change with each press, as the file's relays say.
void RelayOnPress(KesDlgFrame& frame, KesMfgAttLink* link) {
    static KesMfgAttNotifyPB pressed(-1);
    frame.AddCallback(
        link, &pressed,
        [link, presses = std::make_shared<int>(0)](KesCommand*, KesNotification*, void**) {
            Texts names{"Distance"}, texts;
            KesRawCollint counts{1}, types{2}, ints;
            KesRawColldouble reals{1.5};
            if (++*presses > 1) {
                names = Texts{"Mode", "Count"};
                counts = KesRawCollint{1, 1};
                types = KesRawCollint{3, 1};
                ints = KesRawCollint{3 + 2 * (*presses - 2)};
                reals = KesRawColldouble();
                texts = Texts{"RAPID"};
            }
            link->SetAttValue(&names, &counts, &types, &ints, &reals, &texts, 0);
        });
}

// Displays `attribute` and hands it back for the calls that follow.
template <class Attribute> Attribute* Shown(Attribute* attribute) {
    attribute->Display();
    return attribute;
}

// `steering` impacts the tool: sensitive at the first of `values`, insensitive at the second.
template <class Steering, class Values>
void Steer(Steering* steering, KesMfgAttribute* tool, const Values& values) {
    KesListPtrKesMfgAttribute impacted;
    impacted.Append(tool);
    steering->AddImpactedAttributes(impacted, {}, values, {1, 0});
    steering->ImpactAttributes();
}

const std::vector<SameAsCode> kEveryClass = {
    {R"("attributes": [{"class": "KesMfgAttInt", "name": "Tool", "label": "Tool", "group": 1,
        "value": 4, "minimum": 1, "maximum": 9, "optionMode": 1, "initialState": 0,
        "help": ["h"], "shortHelp": ["s"]}])",
     [](KesDlgFrame& f) {
         auto* a = Tool(f);
         a->SetOptionMode(1, 0);
         Shown(a)->SetHelp({"h"}, {"s"});
     },
     "option Tool on\nspin Tool 12\noutput 1\nvalues"},
    {R"("attributes": [{"class": "KesMfgAttDouble", "name": "Speed", "label": "Speed",
        "group": 1, "value": 50, "minimum": 0, "maximum": 500, "thirdUnitCode": 1,
        "unitFlag": 1, "contextAccess": 0}])",
     [](KesDlgFrame& f) {
         Shown(new KesMfgAttDouble("Speed", "Speed", 50, 0, 500, 0, 0, 0, 1, &f, 1, 1))
             ->SetContextAccess(0);
     },
     "spin Speed 4200\noutput 1\nvalues"},
    // "group": 2.0 is the integer 2, for the reader as for the schema.
    {R"("attributes": [{"class": "KesMfgAttChar", "name": "Note", "label": "Note", "group": 2.0,
        "value": "Roughing", "secondaryText": "x", "visibleTextWidth": 20}])",
     [](KesDlgFrame& f) {
         Shown(new KesMfgAttChar("Note", "Note", "Roughing", "x", &f, 2))->SetVisibleTextWidth(20);
     },
     "type Note \"Walls last\"\noutput 2\nvalues"},
    {R"("attributes": [{"class": "KesMfgAttLogic", "name": "Coolant", "label": "Coolant",
        "group": 1, "value": 1, "presentation": 1, "titles": ["Off", "On"],
        "icons": ["no", "yes"], "impacts": {"attributes": ["Tool"], "impactValues": [1, 0],
        "sensitivities": [[1], [0]]}}, )" +
         std::string(kTool) + "]",
     [](KesDlgFrame& f) {
         Texts titles{"Off", "On"}, icons{"no", "yes"};
         auto* a = Shown(new KesMfgAttLogic("Coolant", "Coolant", 1, 0, &f, 1, 1, &titles));
         a->SetIconNames(&icons, nullptr);
         Steer(a, Shown(Tool(f)), KesRawCollint{1, 0});
     },
     "select Coolant Off\nspin Tool 3\nselect Coolant On\nspin Tool 3\nvalues"},
    {R"("attributes": [{"class": "KesMfgAttLink", "name": "Approach", "label": "Approach",
        "group": 2, "iconName": "approach", "labelIconName": "moves", "relays": [
        [{"name": "Distance", "type": "real", "values": [1.5], "increment": 0.5}],
        [{"name": "Mode", "type": "text", "values": ["RAPID"]},
         {"name": "Count", "type": "integer", "values": [3], "increment": 2}]],
        "subPanel": {"title": "Approach", "attributes": [{"class": "KesMfgAttDouble",
        "name": "Distance", "label": "Distance", "group": 2, "value": 1.5}]}}])",
     [](KesDlgFrame& f) {
         auto* a = Shown(new KesMfgAttLink("Approach", "Approach", &f, "approach", 2));
         a->SetIconName("moves");
         RelayOnPress(f, a);
     },
     "press Approach\noutput 2\npress Approach\npress Approach\noutput 2"},
    {R"("attributes": [{"class": "KesMfgAttCharList", "name": "Strategy", "label": "Strategy",
        "group": 1, "value": "ZIGZAG", "values": ["ZIGZAG", "SPIRAL"],
        "displayTexts": ["ZIGZAG", "SPIRAL"], "presentation": 2, "impacts": {
        "attributes": ["Tool"], "impactValues": ["ZIGZAG", "TROCHOID"],
        "sensitivities": [[1], [0]]}}, )" +
         std::string(kTool) + "]",
     [](KesDlgFrame& f) { // an editable combo's impact value need not be among its values
         auto* a =
             Shown(new KesMfgAttCharList("Strategy", "Strategy", "ZIGZAG", {"ZIGZAG", "SPIRAL"},
                                         {"ZIGZAG", "SPIRAL"}, "", &f, 1, 2));
         Steer(a, Shown(Tool(f)), Texts{"ZIGZAG", "TROCHOID"});
     },
     "select Strategy SPIRAL\nspin Tool 3\ntype Strategy TROCHOID\nspin Tool 5\nvalues"},
    {R"("attributes": [{"class": "KesMfgAttIntList", "name": "Direction", "label": "Cut",
        "group": 1, "value": 1, "values": [1, -1], "displayTexts": ["Climb", "Conventional"],
        "presentation": 1, "editMode": 1}])",
     [](KesDlgFrame& f) {
         Shown(new KesMfgAttIntList("Direction", "Cut", 1, {1, -1}, {"Climb", "Conventional"}, 0,
                                    &f, 1, 1))
             ->SetEditMode(1);
     },
     "select Direction Conventional\noutput 1\nvalues"},
    {R"("attributes": [{"class": "KesMfgAttMVDouble", "name": "Depths", "label": "Depths",
        "group": 1, "values": [2, 2, 1], "minimum": 0, "maximum": 10, "nbVisibleVals": 2}])",
     [](KesDlgFrame& f) {
         auto* a =
             new KesMfgAttMVDouble("Depths", "Depths", {2, 2, 1}, 0, 10, 0, 0, 0, 0, &f, 1, 0);
         a->SetNbVisibleVals(2);
         a->Display();
     },
     "spin Depths[2] 1.5\nadd Depths\nscroll Depths 2\nspin Depths[2] 4\nvalues"},
    {R"("attributes": [{"class": "KesMfgAttMVInt", "name": "Counts", "label": "Counts",
        "group": 1, "values": [1, 2], "minimum": 1, "maximum": 20, "toBeDefined": true}])",
     [](KesDlgFrame& f) {
         auto* a = new KesMfgAttMVInt("Counts", "Counts", {1, 2}, 1, 20, 0, &f, 1);
         a->SetAttToBeDefined();
         a->Display();
     },
     "type Counts[1] 30\noutput 1\ntype Counts[2] 4\noutput 1"},
    {R"("attributes": [{"class": "KesMfgAttMVChar", "name": "Names", "label": "Names",
        "group": 1, "values": ["rough"], "newValueText": "pass", "nbValModifMode": 0}])",
     [](KesDlgFrame& f) {
         auto* a = new KesMfgAttMVChar("Names", "Names", {"rough"}, "pass", &f, 1);
         a->SetNbValModifMode(0);
         a->Display();
     },
     "add Names\ntype Names[2] semi\nvalues"},
    {R"("attributes": [{"class": "KesMfgAttMVLogic", "name": "Switches", "label": "On",
        "group": 1, "values": [1, 0, 1], "titles": ["a"], "nbVisibleVals": 2,
        "nbValModifMode": 1}])",
     [](KesDlgFrame& f) {
         static Texts titles{"a"};
         auto* a = new KesMfgAttMVLogic("Switches", "On", {1, 0, 1}, 0, &f, 1, 0, &titles);
         a->SetNbVisibleVals(2);
         a->SetNbValModifMode(1);
         a->Display();
     },
     "click Switches[2]\nscroll Switches 1\nclick Switches[2]\nvalues"},
    {R"("attributes": [{"class": "KesMfgAttMVCharList", "name": "Cycles", "label": "Cycles",
        "group": 1, "values": ["G81"], "allowedValues": ["G81", "G82", "G85"],
        "displayTexts": ["Drill", "Dwell", "Bore"], "nbVisibleVals": 2}])",
     [](KesDlgFrame& f) {
         auto* a = new KesMfgAttMVCharList("Cycles", "Cycles", {"G81"}, {"G81", "G82", "G85"},
                                           {"Drill", "Dwell", "Bore"}, "", &f, 1);
         a->SetNbVisibleVals(2);
         a->Display();
     },
     "select Cycles \"Drill, Bore\"\nselect Cycles -\nvalues"},
    {R"("modelParameters": [{"name": "FEED", "type": 2, "kind": 1, "units": [1, 2, 0],
        "reals": [600]}], "attributes": [{"class": "KesMfgAttDoubleParam", "name": "Feed",
        "label": "Feed", "group": 1, "value": 800, "minimum": 0, "maximum": 5000,
        "firstUnitCode": 1, "secondUnitCode": 2, "parameterName": ""}])",
     [](KesDlgFrame& f) {
         Shown(new KesMfgAttDoubleParam("Feed", "Feed", 800, 0, 5000, 0, 1, 2, 0, "", &f, 1, 0));
     },
     "drop Feed\nselect Feed FEED\noutput 1\nspin Feed 700\nvalues"},
};

// The widget tree, then the transcript of `session` (records included).
std::string Drive(KesDlgTestFrame& frame, const std::string& session) {
    std::ostringstream out, err;
    KesPanelDriver driver(frame, out, err);
    std::istringstream in(session + "\n");
    const int status = driver.RunSession(in, false);
    return KesPanelPicture::Describe(frame, "") + out.str() + err.str() + "status " +
           std::to_string(status) + "\n" + KesPanelPicture::Describe(frame, "");
}

TEST(KesPanelFileTest, EachClassFromAFileBehavesAsTheSameAttributeInCode) {
    for (const SameAsCode& row : kEveryClass) {
        KesMfgModel::Clear();
        KesPanelDescription description;
        const std::string text = std::string(R"({"title": "T", )") + row.file + "}";
        ASSERT_EQ(KesPanelFile::Parse(text, "row.json", description), "") << row.session;
        if (const char* folder = std::getenv("KES_SCHEMA_CASES")) { // for the schema's check
            std::ofstream(std::string(folder) + "/good-" + description.attributes[0].className +
                          ".json")
                << text;
        }
        KesDlgTestFrame fromFile;
        KesPanelBuilder builder;
        ASSERT_EQ(builder.Build(description, fromFile), "");
        KesDlgTestFrame inCode;
        row.code(inCode);
        KesStdoutCapture quiet; // list traces
        const std::string expected = Drive(inCode, row.session);
        EXPECT_EQ(Drive(fromFile, row.session), expected) << row.session;
        EXPECT_NE(expected.find("status 0"), std::string::npos) << expected;
    }
}

std::string Panel(const std::string& attributes) {
    return R"({"title": "T", "attributes": [)" + attributes + "]}";
}
std::string Int(const std::string& name, const std::string& more = "") {
    return R"({"class": "KesMfgAttInt", "name": ")" + name +
           R"(", "label": "L", "group": 1, "value": 4)" + more + "}";
}
// A list that impacts the attributes named in `names`, with these values and sensitivities.
std::string Steering(const char* names, const char* values, const char* sensitivities) {
    return R"({"class": "KesMfgAttIntList", "name": "S", "label": "S", "group": 1, "value": 1,
        "values": [1, 2], "displayTexts": ["a", "b"], "impacts": {"attributes": )" +
           std::string(names) + R"(, "impactValues": )" + values + R"(, "sensitivities": )" +
           sensitivities + "}}";
}

// A link whose sub-panel holds `attributes`.
std::string Link(const std::string& attributes) {
    return R"({"class": "KesMfgAttLink", "name": "K", "label": "L", "group": 1,
        "subPanel": {"title": "S", "attributes": [)" +
           attributes + "]}}";
}

std::string Real(const std::string& name, const std::string& more) {
    return R"({"class": "KesMfgAttDouble", "name": ")" + name +
           R"(", "label": "L", "group": 1, "value": 5)" + more + "}";
}
std::string Bound(const std::string& parameter, const std::string& more) {
    return R"({"title": "T", "modelParameters": [)" + parameter +
           R"(], "attributes": [{"class": "KesMfgAttDoubleParam", "name": "Feed", "label": "L",
        "group": 1, "maximum": 500, "firstUnitCode": 1, "secondUnitCode": 2)" +
           more + "}]}";
}
const char* const kFeed = R"({"name": "FEED", "type": 2, "units": [1, 2, 0], "reals": [180]})";
// A boolean that makes `impacted` sensitive when on.
std::string Switch(const std::string& name, const std::string& impacted) {
    return R"({"class": "KesMfgAttLogic", "name": ")" + name +
           R"(", "label": "L", "group": 1, "value": 1, "impacts": {"attributes": [")" + impacted +
           R"("], "impactValues": [0, 1], "sensitivities": [[0], [1]]}})";
}

// A file refused (status 2) or taken with a warning (status 0, one line on standard error);
// `schema` says whether the schema refuses it too ('S'), takes it for a fault of meaning it
// cannot see ('M', 'W' for warnings) or cannot apply ('-', not JSON).
struct BadFile {
    std::string text;
    std::string message; // a fragment; "warning: " in it for a warning
    char schema;
};

const std::vector<BadFile> kBadFiles = {
    {"{\"title\": \"T\",\n  \"attributes\": [}", "bad.json:2:18: not JSON: syntax error", '-'},
    {Panel(Int("A", R"(, "minimun": 1)")),
     "bad.json:1:108: attribute 1 'A', key 'minimun': unknown key (did you mean 'minimum'?)", 'S'},
    {Panel(R"({"class": "KesMfgAttInt", "name": "A", "label": "L", "group": 1})"),
     "bad.json:1:31: attribute 1 'A', key 'value' is required", 'S'},
    {Panel(Int("A", R"(, "maximum": "9")")),
     "attribute 1 'A', key 'maximum': expected an integer, not \"9\"", 'S'},
    {Panel(Int("A", R"(, "maximum": 9.5)")),
     "attribute 1 'A', key 'maximum': expected an integer, not 9.5", 'S'},
    {Panel(R"({"class": "KesMfgAttDoubel", "name": "A"})"),
     "key 'class': unknown class 'KesMfgAttDoubel' (did you mean 'KesMfgAttDouble'?)", 'S'},
    {Panel(Int("A") + "," + Int("A")),
     "attribute 2 'A', key 'name': another attribute has this name", 'M'},
    {Panel(Int("")), "bad.json:1:57: attribute 1 '', key 'name': an attribute needs a name", 'S'},
    // Identifiers that collide once the underscores are stripped.
    {Panel(Int("Tool_Name") + ",\n" + Int("ToolName")),
     "bad.json:2:27: attribute 2 'ToolName', key 'name': its identifier 'ToolName' is that of "
     "attribute 1 'Tool_Name'",
     'M'},
    {Panel(Int("A", R"(, "minimum": 1, "minimum": 2)")),
     "bad.json:1:122: attribute 1 'A', key 'minimum' is given twice in one object", 'M'},
    {Panel(Steering(R"(["Nope"])", "[1]", "[[1]]")),
     "attribute 1 'S', key 'impacts': the impacted attribute 'Nope' is not in the panel", 'M'},
    {Panel(Steering(R"(["S"])", "[1, 2]", "[[1]]")),
     "key 'impacts': the sensitivity table has 1 rows for 2 impact values", 'M'},
    {Panel(Steering(R"(["S"])", "[1]", "[[1, 0]]")),
     "row 1 of the sensitivity table has 2 flags for 1 impacted attributes", 'M'},
    {Panel(Steering(R"(["S"])", "[1, 2]", "[[1], [2]]")),
     "attribute 1 'S', key 'impacts.sensitivities', item 2: the flag 2 in row 2: 1 sensitive, 0 "
     "insensitive",
     'S'},
    {Panel(Steering(R"(["S"])", "[1, 99]", "[[1], [0]]")),
     "key 'impacts.impactValues', item 2: the impact value 99 is not a value S can take", 'M'},
    {Panel(R"({"class": "KesMfgAttCharList", "name": "C", "label": "C", "group": 1,
        "value": "G81", "values": ["G81"], "displayTexts": ["Drill"], "impacts": {
        "attributes": ["C"], "impactValues": ["G99"], "sensitivities": [[1]]}})"),
     "the impact value 'G99' is not a value C can take: its row would never apply", 'M'},
    {Panel(R"({"class": "KesMfgAttLogic", "name": "L", "label": "L", "group": 1, "value": 1,
        "impacts": {"attributes": ["L"], "impactValues": [2], "sensitivities": [[1]]}})"),
     "the impact value 2 is not a value L can take", 'M'},
    {Panel(R"({"class": "KesMfgAttLogic", "name": "L", "label": "L", "group": 1,
        "value": 1, "impacts": {"attributes": ["L"], "impactValues": [1], "sensitivites": [[1]]}})"),
     "key 'impacts', key 'sensitivites': unknown key (did you mean 'sensitivities'?)", 'S'},
    {Panel(R"({"class": "KesMfgAttIntList", "name": "S", "label": "S", "group": 1,
            "value": 1, "values": [1, 2], "displayTexts": ["a"]})"),
     "attribute 1 'S', key 'displayTexts': 1 texts for 2 values", 'M'},
    {Panel(R"({"class": "KesMfgAttIntList", "name": "S", "label": "S", "group": 1,
            "value": 3, "values": [1, 2], "displayTexts": ["a", "b"]})"),
     "bad.json:2:13: attribute 1 'S', key 'value': the value 3 is not among the values", 'M'},
    {Panel(R"({"class": "KesMfgAttCharList", "name": "S", "label": "S", "group": 1,
            "value": "X", "values": ["A"], "displayTexts": ["a"]})"),
     "key 'value': the value 'X' is not among the values: the attribute would show nothing", 'M'},
    {Panel(R"({"class": "KesMfgAttMVCharList", "name": "S", "label": "S", "group": 1,
            "values": ["G99"], "allowedValues": ["G81"], "displayTexts": ["a"]})"),
     "key 'values', item 1: the value 'G99' is not among the allowedValues", 'M'},
    {Panel(R"({"class": "KesMfgAttChar", "name": "N", "label": "L", "group": 1, "value": ")" +
           std::string(73, 'x') + "\"}"),
     "key 'value': a text of 73 characters: text records hold 72", 'M'},
    {Panel(Int("A", R"(, "maximum": 2147483648)")),
     "key 'maximum': 2147483648 is out of the int range", 'S'},
    {Panel(Int("A", R"(, "minimum": -2147483649)")),
     "key 'minimum': -2147483649 is out of the int range", 'S'},
    {Panel(R"({"class": "KesMfgAttDouble", "name": "D", "label": "L", "group": 1,
            "value": 1e999})"),
     "bad.json:2:22: 1e999 is not a finite number", '-'},
    {Panel(Int("A\xC3(")),
     "bad.json:1:68: not JSON: syntax error while parsing value - "
     "invalid string: ill-formed UTF-8 byte",
     '-'},
    {Panel(R"({"class": "KesMfgAttLink", "name": "K", "label": "L", "group": 1,
            "relays": [[{"name": "R", "type": "real", "values": ["x"]}]]})"),
     "bad.json:2:66: attribute 1 'K', key 'relays', item 1, item 1, key 'values', item 1: expected "
     "a number",
     'S'},
    {Panel(R"({"class": "KesMfgAttMVInt", "name": "M", "label": "L", "group": 1,
            "values": [], "nbVisibleVals": -1})"),
     "attribute 1 'M', key 'nbVisibleVals': -1 is not 1 to 1000", 'S'},
    {Panel(R"({"class": "KesMfgAttMVInt", "name": "M", "label": "L", "group": 1,
            "values": [], "nbVisibleVals": 2000000000})"),
     "attribute 1 'M', key 'nbVisibleVals': 2000000000 is not 1 to 1000", 'S'},
    {Panel(R"({"class": "KesMfgAttLogic", "name": "L", "label": "L", "group": 1,
            "value": 1, "presentation": 2})"),
     "key 'presentation': 2 is not 0 to 1", 'S'},
    {Panel(R"({"class": "KesMfgAttMVLogic", "name": "L", "label": "L", "group": 1,
            "values": [1, 2]})"),
     "key 'values', item 2: 2 is not 0 to 1", 'S'},
    // A bound real: its parameter in the file, real, of its units and within its limits.
    {Bound(R"({"name": "FEED", "type": 2, "reals": [180]})", R"(, "parameterName": "FEED")"),
     "the model parameter 'FEED' has the units 0, 0, 0, the attribute 1, 2, 0", 'M'},
    {Bound(R"({"name": "FEED", "type": 1, "units": [1, 2, 0]})", R"(, "parameterName": "FEED")"),
     "the model parameter 'FEED' is not a real (type 1)", 'M'},
    {Bound(R"({"name": "FEED", "type": 2, "units": [1, 2, 0], "reals": [900]})",
           R"(, "parameterName": "FEED")"),
     "the model parameter 'FEED' holds 900, outside the limits 0..500", 'M'},
    {Bound(kFeed, ""),
     "attribute 1 'Feed', key 'value': a real bound to no model parameter needs "
     "a value",
     'M'},
    // A link's sub-panel is checked like the panel, its faults placed inside it.
    {Panel(Link(Int("A", R"(, "minimun": 1)"))),
     "bad.json:2:128: attribute 1 'K', sub-panel attribute 1 'A', key 'minimun': unknown key (did "
     "you mean 'minimum'?)",
     'S'},
    {Panel(Link(R"({"class": "KesMfgAttIntList", "name": "S", "label": "S", "group": 1,
            "value": 3, "values": [1, 2], "displayTexts": ["a", "b"]})")),
     "bad.json:3:13: attribute 1 'K', sub-panel attribute 1 'S', key 'value': the value 3 is not "
     "among the values",
     'M'},
    {Panel(Int("A") + "," + Link(Int("A") + "," + Int("A"))),
     "attribute 2 'K', sub-panel attribute 2 'A', key 'name': another attribute has this name",
     'M'},
    {Panel(Int("A", R"(, "subPanel": {"title": "S", "attributes": []})")),
     "attribute 1 'A', key 'subPanel': unknown key", 'S'},
    {Panel(Link(R"({"class": "KesMfgAttLink", "name": "K2", "label": "L", "group": 1,
            "subPanel": {"title": "T", "attributes": []}})")),
     "attribute 1 'K', sub-panel attribute 1 'K2', key 'subPanel': a link of a sub-panel opens "
     "no sub-panel of its own",
     'M'},
    {Panel(R"({"class": "KesMfgAttLink", "name": "K", "label": "L", "group": 1,
        "subPanel": {"title": "S", "modelParameters": [], "attributes": []}})"),
     "attribute 1 'K', key 'subPanel', key 'modelParameters': unknown key", 'S'},
    {Panel(R"({"class": "KesMfgAttLink", "name": "K", "label": "L", "group": 1,
        "subPanel": {"attributes": []}})"),
     "attribute 1 'K', key 'subPanel', key 'title' is required", 'S'},
    {Panel(std::string(100000, '[') + std::string(100000, ']')),
     "attribute 1 '', an attribute: expected an object, not a list", '-'},
    {std::string(KesPanelFile::kMaxFileSize + 1, ' '), "bad.json: the file is larger than 16 MiB",
     '-'},
    // The parser stops at a NUL byte: a file with a NUL block (left by a crash or a full disk)
    // once crashed the reader, which placed faults in the bytes the parser had not read.
    {std::string("{\"a\":1}\0}", 9), "bad.json:1:8: not JSON: a NUL byte, the file is damaged",
     '-'},
    {std::string("8\0}", 3), "bad.json:1:2: not JSON: a NUL byte, the file is damaged", '-'},
    {std::string("{\"title\": \"T\",\n\"attributes\": []}\n") + std::string(4096, '\0'),
     "bad.json:3:1: not JSON: a NUL byte, the file is damaged", '-'},
    // A byte order mark, which the parser skips, once shifted every place the reader found.
    {"\xEF\xBB\xBF" + Panel(Int("A") + ",\n" + Int("A")),
     "bad.json:2:27: attribute 2 'A', key 'name': another attribute has this name", '-'},
    // Warnings: the library mends these, the author probably meant otherwise.
    // A bound parameter the file does not hold may be the host model's: a close name is a slip.
    {Bound(kFeed, R"(, "parameterName": "FEDE")"),
     "warning: attribute 1 'Feed', key 'parameterName': the model parameter 'FEDE' is not among "
     "the file's modelParameters (did you mean 'FEED'?): the model must hold it when the panel "
     "is built",
     'W'},
    {R"({"title": "T", "modelParameters": [)" + std::string(kFeed) + R"(], "attributes": [)" +
         Link(R"({"class": "KesMfgAttDoubleParam", "name": "F", "label": "L", "group": 1,
            "firstUnitCode": 1, "secondUnitCode": 2, "parameterName": "FEDE"})") +
         "]}",
     "warning: attribute 1 'K', sub-panel attribute 1 'F', key 'parameterName': the model "
     "parameter 'FEDE' is not among the file's modelParameters (did you mean 'FEED'?)",
     'W'},
    {Bound(kFeed, R"(, "value": 150, "parameterName": "FEED")"),
     "bad.json:2:78: warning: attribute 1 'Feed', key 'value': the value 150 is not that of the "
     "bound model parameter 'FEED', 180: the attribute shows its own until the parameter is picked",
     'W'},
    {Panel(Real("D", R"(, "minimum": 10, "maximum": 1)")),
     "warning: attribute 1 'D', key 'minimum': the minimum 10 is above the maximum 1: the limits "
     "are taken the other way",
     'W'},
    {Panel(Real("D", R"(, "minimum": 10, "maximum": 20)")),
     "warning: attribute 1 'D', key 'value': the value 5 is outside the limits 10..20: it is "
     "brought back to them",
     'W'},
    {Panel(R"({"class": "KesMfgAttMVInt", "name": "M", "label": "L", "group": 1,
            "values": [1, 30], "minimum": 1, "maximum": 20})"),
     "warning: attribute 1 'M', key 'values', item 2: the value 30 is outside the limits 1..20",
     'W'},
    // What the file says and what the panel then does differ.
    {Panel(R"({"class": "KesMfgAttCharList", "name": "Coolant", "label": "C", "group": 1,
            "value": "FLOOD", "values": ["FLOOD", "MQL"], "displayTexts": ["Flood", "MQL"],
            "presentation": 2})"),
     "bad.json:2:76: warning: attribute 1 'Coolant', key 'displayTexts', item 1: an editable combo "
     "reports the value 'FLOOD' when its field shows 'Flood', also when a person types it (give "
     "each value as its own display text to take typed texts as typed)",
     'W'},
    {Panel(Steering(R"(["S"])", "[1, 2]", "[[1], [0]]")),
     "warning: attribute 1 'S', key 'impacts': the attribute impacts itself: where its row makes "
     "it insensitive, the user can no longer change it back",
     'W'},
    {Panel(Switch("A", "B") + ",\n" + Switch("B", "C") + ",\n" + Switch("C", "A")),
     "bad.json:1:110: warning: attribute 1 'A', key 'impacts': the impacts run in a cycle: 'A' -> "
     "'B' -> 'C' -> 'A': which sensitivities hold depends on the attribute changed first",
     'W'},
    {Panel(Int("A", R"(, "initialState": 0)")),
     "warning: attribute 1 'A', key 'initialState': initialState 0 without optionMode: the "
     "attribute is not optional, and Output reports it for its group on every call, changed or not",
     'W'},
    {Panel(Int("A", R"(, "initialState": 1)")),
     "warning: attribute 1 'A', key 'initialState': initialState without optionMode does nothing",
     'W'},
    {Panel(Int("A", R"(, "toBeDefined": 2)")),
     "attribute 1 'A', key 'toBeDefined': expected true or false (or 1 or 0), not 2", 'S'},
    {Panel(Real("D", R"(, "thirdUnitCode": 99)")),
     "warning: attribute 1 'D', key 'thirdUnitCode': unit codes 0, 0, 99 with unit flag 0 select "
     "no conversion",
     'W'},
};

// Booleans are read as true and false or as 1 and 0, and written one way: a boolean's values
// and boolean records as 1 and 0 (as value records hold them), toBeDefined as true or false.
TEST(KesPanelFileTest, BooleansAreReadInEitherSpellingAndWrittenOneWay) {
    const std::string logic =
        R"({"class": "KesMfgAttLogic", "name": "B", "label": "L", "group": 1)";
    const struct {
        std::string attribute;
        const char* written; // a line of the file written back
    } rows[] = {
        {logic + R"(, "value": true})", R"("value": 1)"},
        {logic + R"(, "value": false})", R"("value": 0)"},
        {R"({"class": "KesMfgAttMVLogic", "name": "B", "label": "L", "group": 1,
            "values": [true, 0, false, 1]})",
         R"("values": [1, 0, 0, 1])"},
        {Int("A", R"(, "toBeDefined": 1)"), R"("toBeDefined": true)"},
        {Int("A", R"(, "toBeDefined": 0)"), R"("toBeDefined": false)"},
        {R"({"class": "KesMfgAttLink", "name": "K", "label": "L", "group": 1,
            "relays": [[{"name": "R", "type": "boolean", "values": [true, 0]}]]})",
         R"("values": [1, 0])"},
    };
    const char* folder = std::getenv("KES_SCHEMA_CASES");
    for (size_t i = 0; i < std::size(rows); ++i) {
        const std::string text = Panel(rows[i].attribute);
        KesPanelDescription description;
        std::vector<std::string> warnings;
        ASSERT_EQ(KesPanelFile::Parse(text, "b.json", description, warnings, true), "") << text;
        const std::string written = KesPanelFile::Write(description);
        EXPECT_NE(written.find(rows[i].written), std::string::npos) << written;
        KesPanelDescription again;
        EXPECT_EQ(KesPanelFile::Parse(written, "b.json", again), "");
        EXPECT_EQ(KesPanelFile::Write(again), written);
        if (folder != nullptr) { // the schema takes both spellings
            std::ofstream(std::string(folder) + "/good-boolean-" + std::to_string(i + 1) + ".json")
                << text;
        }
    }
}

TEST(KesPanelFileTest, BadFilesAreRefusedWithTheirPlaceAndBuildNothing) {
    // KES_SCHEMA_CASES: a folder where the cases are written for the schema's check
    // (tests/kes-panel/CheckSchema.cmake).
    const char* folder = std::getenv("KES_SCHEMA_CASES");
    for (size_t i = 0; i < kBadFiles.size(); ++i) {
        const BadFile& row = kBadFiles[i];
        KesPanelDescription description;
        std::vector<std::string> warnings;
        const std::string message =
            KesPanelFile::Parse(row.text, "bad.json", description, warnings, false);
        if (row.message.find("warning: ") != std::string::npos) {
            EXPECT_EQ(message, "") << row.message;
            ASSERT_EQ(warnings.size(), 1u) << row.message;
            EXPECT_NE(warnings[0].find(row.message), std::string::npos) << warnings[0];
            // --strict: refused, with the same words.
            KesPanelDescription strict;
            const std::string refused =
                KesPanelFile::Parse(row.text, "bad.json", strict, warnings, true);
            EXPECT_NE(refused.find(row.message.substr(row.message.find("warning: ") + 9)),
                      std::string::npos)
                << refused;
            EXPECT_TRUE(strict.attributes.empty());
        } else {
            EXPECT_NE(message.find(row.message), std::string::npos) << message << "\n"
                                                                    << row.message;
            EXPECT_TRUE(description.attributes.empty()) << row.message;
        }
        if (folder != nullptr && row.schema != '-') {
            std::ofstream(std::string(folder) + "/case-" + std::to_string(i + 1) + "-" +
                          row.schema + ".json")
                << row.text;
        }
    }
    KesPanelDescription description;
    EXPECT_EQ(KesPanelFile::Read("/nonexistent/panel.json", description),
              "/nonexistent/panel.json: no such file");
}

} // namespace
