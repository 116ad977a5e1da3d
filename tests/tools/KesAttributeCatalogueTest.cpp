// The attribute catalogue: whole, each row builds its class from a panel file of its defaults
// with records of its type code, every class is in the monkey's test panel; a bound real given
// no value shows its parameter's.
#include "tools/KesAttributeCatalogue.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelFile.h"

#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesMfgModel.h"
#include "platform/KesStdoutCapture.h"
#include "robustness/KesMonkeyTestPanel.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

TEST(KesAttributeCatalogueTest, EveryRowBuildsWithItsDefaultsAndRecordsItsTypeCode) {
    ASSERT_EQ(KesAttributeCatalogue::Fault(KesAttributeCatalogue::Rows()), "");
    for (const KesCatalogueRow& row : KesAttributeCatalogue::Rows()) {
        // The required keys with their samples, the others with their defaults.
        std::string text =
            std::string(R"({"title": "T", "attributes": [{"class": ")") + row.className + "\"";
        for (const KesCatalogueKey& key : row.keys) {
            // initialState goes with optionMode, whose default is not to call SetOptionMode.
            if (std::string(key.fallback) != "null" && std::string(key.key) != "initialState") {
                text += std::string(", \"") + key.key + "\": " + key.fallback;
            }
        }
        text += "}]}";
        KesMfgModel::Clear();
        KesPanelDescription description;
        std::vector<std::string> warnings;
        ASSERT_EQ(KesPanelFile::Parse(text, "row.json", description, warnings, true), "") << text;
        KesDlgTestFrame frame;
        KesPanelBuilder builder;
        KesStdoutCapture quiet;
        ASSERT_EQ(builder.Build(description, frame), "") << text;
        KesMfgAttribute& attribute = *builder.Attributes().front();
        EXPECT_EQ(KesAttributeCatalogue::Of(attribute), &row);
        EXPECT_TRUE(KesPanelChecks::CheckAttribute(attribute).IsEmpty()) << row.className;
        // Output of a changed value, and GetAttValue, carry the row's type code.
        for (const KesCatalogueCallback& callback : row.callbacks) {
            if (std::string(callback.name) == "AttributeModified") {
                callback.call(attribute);
            }
        }
        KesMfgValueRecords output;
        output.Output(attribute, 1);
        KesMfgValueRecords values;
        values.GetAttValue(attribute);
        if (row.typeCode < 0) {
            continue; // the link relays records of any type
        }
        for (const KesMfgValueRecords* records : {&output, &values}) {
            for (int code : records->typeCodes.Items()) {
                EXPECT_EQ(code, row.typeCode) << row.className;
            }
        }
        EXPECT_EQ(values.typeCodes.Size(), 1) << row.className;
    }
}

// What a value of a key does, in the catalogue's words (the schema's descriptions) and on the
// attribute built with it: the key's meaning holds `words`, and the driver's transcript of
// `session` then "show" and "values" holds `observed` (or, after a '!', does not).
struct Meaning {
    const char* className;
    const char* setting; // keys of the attribute besides the required ones' samples
    const char* key;     // whose meaning is checked
    const char* words;
    const char* session; // on the attribute, named "Name"
    const char* observed;
};

const char* const kFixed = "1 no context menu: the number of values is fixed";
const char* const kNoAdd = "has no menu item Add";
const char* const kRefused = "refused: Name is hidden or insensitive";

// clang-format off
const Meaning kMeanings[] = {
    // The number of values of a list: fixed with 1 (the description used to say the reverse).
    {"KesMfgAttMVInt", R"("values": [1], "nbValModifMode": 0)", "nbValModifMode",
     "0 the context menu offers Add and Remove, so the user may change the number of values", "add Name", "range=0..2"},
    {"KesMfgAttMVInt", R"("values": [1], "nbValModifMode": 1)", "nbValModifMode", kFixed, "add Name", kNoAdd},
    {"KesMfgAttMVDouble", R"("values": [1], "nbValModifMode": 1)", "nbValModifMode", kFixed, "add Name", kNoAdd},
    {"KesMfgAttMVChar", R"("values": ["a"], "nbValModifMode": 1)", "nbValModifMode", kFixed, "add Name", kNoAdd},
    {"KesMfgAttMVLogic", R"("values": [1], "nbValModifMode": 1)", "nbValModifMode", kFixed, "add Name", kNoAdd},
    // The widgets each presentation builds.
    {"KesMfgAttLogic", R"("presentation": 0)", "presentation", "0 a check button", "", "check chkbtnatt"},
    {"KesMfgAttLogic", R"("presentation": 1)", "presentation", "1 a pair of radio buttons", "", "radio rb1"},
    {"KesMfgAttIntList", R"("presentation": 0)", "presentation", "0 a read-only combo", "type Name 0",
     "has no field to type into"},
    {"KesMfgAttIntList", R"("presentation": 1)", "presentation", "1 radio buttons", "", "radio rb0 \"0\" on"},
    {"KesMfgAttCharList", R"("presentation": 0)", "presentation", "0 a read-only combo", "type Name B",
     "has no field to type into"},
    {"KesMfgAttCharList", R"("presentation": 1)", "presentation", "1 radio buttons", "", "radio rbA \"A\" on"},
    {"KesMfgAttCharList", R"("presentation": 2)", "presentation", "2 an editable combo: the user may type any text",
     "type Name ROUGH", "Name | text | 1 | \"ROUGH\""},
    {"KesMfgAttMVLogic", R"("values": [1], "presentation": 1)", "presentation",
     "the values are check buttons whatever it is", "", "check chkbtnatt on"},
    // The option check button and its state.
    {"KesMfgAttInt", R"("optionMode": 1)", "optionMode",
     "1 the attribute is optional, with the option check button before its label", "", "check OptionCheck on"},
    {"KesMfgAttInt", R"("optionMode": 0)", "optionMode", "0 not optional, no option check button", "", "!OptionCheck"},
    {"KesMfgAttInt", R"("optionMode": 1, "initialState": 0)", "initialState",
     "0 unchecked (the value widgets insensitive until the user checks it)", "", "editor editoratt text=\"0\" (insensitive)"},
    {"KesMfgAttInt", R"("initialState": 0)", "initialState",
     "Without optionMode, 0 only makes Output report the attribute on every call", "output 1", "Name | integer | 1 | 0"},
    // The unit flag with the codes that convert.
    {"KesMfgAttDouble", R"("value": 2, "thirdUnitCode": 1, "unitFlag": 1)", "unitFlag",
     "1 with unit codes 0, 0, 1 shows the value multiplied by 60", "", "text=\"120\""},
    {"KesMfgAttDouble", R"("value": 2, "thirdUnitCode": 1, "unitFlag": 0)", "unitFlag",
     "0, or other codes, converts nothing", "", "text=\"2\""},
    {"KesMfgAttDouble", R"("value": 720, "thirdUnitCode": -1)", "firstUnitCode",
     "Codes 0, 0, -1 show the value divided by 360", "", "text=\"2\""},
    // The window of a list.
    {"KesMfgAttMVInt", R"("values": [1, 2, 3], "nbVisibleVals": 2)", "nbVisibleVals", "the fields shown at once", "",
     "range=0..3 box=2"},
    // Read-only, insensitive, to be defined.
    {"KesMfgAttInt", R"("editMode": 0)", "editMode", "0 read-only (every widget but the label insensitive", "type Name 3",
     kRefused},
    {"KesMfgAttInt", R"("editMode": 1)", "editMode", "1 editable", "type Name 3", "Name | integer | 1 | 3"},
    {"KesMfgAttDouble", R"("contextAccess": 0)", "contextAccess", "0 makes the whole attribute insensitive",
     "type Name 3", kRefused},
    {"KesMfgAttInt", R"("toBeDefined": true)", "toBeDefined", "no value shown and none reported until an edit",
     "values", "(no record)"},
};
// clang-format on

TEST(KesAttributeCatalogueTest, EachKeysMeaningIsWhatTheBuiltAttributeDoes) {
    for (const Meaning& row : kMeanings) {
        const KesCatalogueRow* catalogueRow = KesAttributeCatalogue::Find(row.className);
        ASSERT_NE(catalogueRow, nullptr) << row.className;
        const KesCatalogueKey* key = catalogueRow->Key(row.key);
        ASSERT_NE(key, nullptr) << row.className << " " << row.key;
        EXPECT_NE(std::string(key->meaning).find(row.words), std::string::npos)
            << row.className << " " << row.key << ": " << key->meaning;
        // The required keys with their samples (those the setting does not give), the setting.
        std::string text = std::string(R"({"title": "T", "attributes": [{"class": ")") +
                           row.className + "\", " + row.setting;
        for (const KesCatalogueKey& required : catalogueRow->keys) {
            const std::string quoted = std::string("\"") + required.key + "\"";
            if (required.required && std::string(row.setting).find(quoted) == std::string::npos) {
                text += ", " + quoted + ": " + required.fallback;
            }
        }
        text += "}]}";
        KesMfgModel::Clear();
        KesPanelDescription description;
        ASSERT_EQ(KesPanelFile::Parse(text, "row.json", description), "") << text;
        KesDlgTestFrame frame;
        KesPanelBuilder builder;
        KesStdoutCapture quiet;
        ASSERT_EQ(builder.Build(description, frame), "") << text;
        std::ostringstream out;
        KesPanelDriver driver(frame, out, out);
        std::istringstream session(std::string(row.session) + "\nshow\nvalues\n");
        driver.RunSession(session, false);
        const std::string observed = row.observed[0] == '!' ? row.observed + 1 : row.observed;
        EXPECT_EQ(out.str().find(observed) != std::string::npos, row.observed[0] != '!')
            << text << "\n"
            << row.session << "\n"
            << out.str();
    }
}

TEST(KesAttributeCatalogueTest, ABrokenCatalogueIsToldWhatIsWrong) {
    const std::vector<KesCatalogueRow>& rows = KesAttributeCatalogue::Rows();
    std::vector<KesCatalogueRow> twice = rows;
    twice.back() = rows.front();
    std::vector<KesCatalogueRow> noMaker = rows;
    noMaker[3].make = nullptr;
    std::vector<KesCatalogueRow> noName = rows;
    noName[5].keys.erase(noName[5].keys.begin());
    std::vector<KesCatalogueRow> keyTwice = rows;
    keyTwice[0].keys.push_back(keyTwice[0].keys.back());
    std::vector<KesCatalogueRow> short_(rows.begin(), rows.end() - 1);
    const std::vector<std::pair<std::vector<KesCatalogueRow>, std::string>> cases = {
        {twice, "the class 'KesMfgAttInt' is not named once"},
        {noMaker, "KesMfgAttLogic: the row is not complete"},
        {noName, "KesMfgAttCharList: no key 'name'"},
        {keyTwice, "KesMfgAttInt: a key is not complete or not named once"},
        {short_, "12 rows for 13 classes"},
    };
    for (const auto& [broken, fault] : cases) {
        EXPECT_EQ(KesAttributeCatalogue::Fault(broken), fault);
    }
}

TEST(KesAttributeCatalogueTest, EveryClassIsInTheMonkeysTestPanel) {
    KesDlgTestFrame frame;
    KesStdoutCapture quiet;
    const std::shared_ptr<void> kept = KesBuildMonkeyTestPanel(frame, 1);
    std::set<const KesCatalogueRow*> found;
    for (int i = 0; i < frame.GetChildCount(); ++i) {
        found.insert(KesAttributeCatalogue::Of(
            *static_cast<KesMfgAttribute*>(frame.GetChildFromChildNumber(i))));
    }
    for (const KesCatalogueRow& row : KesAttributeCatalogue::Rows()) {
        EXPECT_EQ(found.count(&row), 1u) << row.className;
    }
}

// The file's value used to be shown instead of the parameter's, and picking the parameter again
// reported a change nobody made.
TEST(KesAttributeCatalogueTest, ABoundRealWithNoValueShowsItsParametersValue) {
    KesMfgModel::Clear();
    KesPanelDescription description;
    ASSERT_EQ(KesPanelFile::Parse(R"({"title": "T", "modelParameters": [{"name": "FEED",
        "type": 2, "units": [1, 2, 0], "reals": [180]}], "attributes": [{"class":
        "KesMfgAttDoubleParam", "name": "Feed", "label": "L", "group": 1, "firstUnitCode": 1,
        "secondUnitCode": 2, "parameterName": "FEED"}]})",
                                  "bound.json", description),
              "");
    KesDlgTestFrame frame;
    KesPanelBuilder builder;
    ASSERT_EQ(builder.Build(description, frame), "");
    auto& feed = static_cast<KesMfgAttDoubleParam&>(*builder.Attributes().front());
    EXPECT_EQ(feed.GetShownValue(), 180.0);
    KesMfgValueRecords output;
    output.Output(feed, 1);
    EXPECT_TRUE(output.IsEmpty()) << output.FormatTable();
    EXPECT_EQ(KesPanelFile::Write(description).find("\"value\""), std::string::npos);
}

} // namespace
