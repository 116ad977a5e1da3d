// The attribute catalogue: whole, each row builds its class from a panel file of its defaults
// with records of its type code, every class is in the monkey's test panel; a bound real given
// no value shows its parameter's.
#include "tools/KesAttributeCatalogue.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelFile.h"

#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesMfgModel.h"
#include "platform/KesStdoutCapture.h"
#include "robustness/KesMonkeyTestPanel.h"

#include <gtest/gtest.h>

#include <set>

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
