// The panel builder over a live model, as a host opens an operation's panel again and again
// over the parameters its document owns; and a link's sub-panel, whose records the owner hands
// to the link on its OK.
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelFile.h"

#include "KesPocketingPanel.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesMfgModel.h"
#include "platform/KesStdoutCapture.h"
#include "single/KesMfgAttLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

namespace {

// A parameter of the host's model before the panel opens: name, type, kind, units, its real.
struct HostParameter {
    const char* name;
    int type;
    int kind;
    int units[3];
    double value;
};

void CreateInModel(const HostParameter& p) {
    int d1 = p.type, d2 = p.kind, d3 = p.units[0], d4 = p.units[1], d5 = p.units[2], d6 = 0, d7 = 0;
    KesMfgModel::CreateParameter(p.name, d1, d2, d3, d4, d5, d6, d7, {}, {p.value}, {});
    ASSERT_EQ(KesMfgModel::GetError(), 0);
}

// A panel of one real bound to FEED in mm/min (units 1, 2, 0), limits 0..1000; `parameters`
// is the file's modelParameters.
std::string FeedPanel(const std::string& parameters, const std::string& more = "") {
    return R"({"title": "Drilling", "modelParameters": [)" + parameters +
           R"(], "attributes": [{"class": "KesMfgAttDoubleParam", "name": "Feed", "label": "Feed",
           "group": 1, "minimum": 0, "maximum": 1000, "firstUnitCode": 1, "secondUnitCode": 2,
           "parameterName": "FEED")" +
           more + "}]}";
}
const char* const kFileFeed = R"({"name": "FEED", "type": 2, "units": [1, 2, 0], "reals": [180]})";

struct OverModelRow {
    const char* what;
    std::vector<HostParameter> model; // what the host's model holds before the panel opens
    std::string file;
    int opens;                         // how many times the file is opened over the same model
    std::string fault;                 // a fragment of the fault; "" when built
    std::vector<std::string> warnings; // a fragment of each warning of the build, in order
    double shown;                      // what the bound real shows when built
    std::string modelAfter; // FEED as the model then holds it: "type kind u1 u2 u3 value"
};

std::string HeldInModel(const char* name) {
    int d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0, d6 = 0, d7 = 0;
    KesRawCollint ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;
    KesMfgModel::ReadParameterDesc(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
    if (KesMfgModel::GetError() != 0) {
        return "none";
    }
    KesMfgModel::ReadParameter(name, ints, reals, texts);
    std::ostringstream out;
    out << d1 << ' ' << d2 << ' ' << d3 << ' ' << d4 << ' ' << d5 << ' '
        << (reals.Size() > 0 ? reals[1] : -1.0);
    return out.str();
}

// clang-format off
const std::vector<OverModelRow> kOverModel = {
    {"the same file opened twice: its parameter is created once, then taken",
     {}, FeedPanel(kFileFeed), 2, "", {}, 180, "2 1 1 2 0 180"},
    {"a host model with the parameter: the model's is taken, its value shown",
     {{"FEED", 2, 1, {1, 2, 0}, 750}}, FeedPanel(""), 1, "", {}, 750, "2 1 1 2 0 750"},
    {"the file describes what the host holds: no fault, the host's value kept",
     {{"FEED", 2, 1, {1, 2, 0}, 750}}, FeedPanel(kFileFeed), 1, "", {}, 750, "2 1 1 2 0 750"},
    {"a host model without the parameter: the file's is created",
     {{"OTHER", 2, 1, {1, 2, 0}, 5}}, FeedPanel(kFileFeed), 1, "", {}, 180, "2 1 1 2 0 180"},
    {"neither the host's model nor the file holds it",
     {{"FEEDS", 2, 1, {1, 2, 0}, 5}}, FeedPanel(""), 1,
     "attribute 1 'Feed', key 'parameterName': the model parameter 'FEED' is neither in the "
     "model nor among the file's modelParameters", {}, 0, "none"},
    {"a host parameter of other units: built, the attribute would not offer it",
     {{"FEED", 2, 1, {0, 0, 0}, 750}}, FeedPanel(""), 1, "",
     {"warning: attribute 1 'Feed', key 'parameterName': the model parameter 'FEED' has the "
      "units 0, 0, 0, the attribute 1, 2, 0: the attribute would not offer it"},
     750, "2 1 0 0 0 750"},
    {"the file describes other units than the host's parameter: the host's is kept",
     {{"FEED", 2, 1, {0, 0, 0}, 750}}, FeedPanel(kFileFeed), 1, "",
     {"warning: model parameter 1 'FEED', key 'units': the model holds 'FEED' as a real of kind "
      "1 with the units 0, 0, 0, the file describes a real of kind 1 with the units 1, 2, 0: the "
      "model's is kept",
      "the model parameter 'FEED' has the units 0, 0, 0, the attribute 1, 2, 0"},
     750, "2 1 0 0 0 750"},
    {"a host parameter outside the attribute's limits",
     {{"FEED", 2, 1, {1, 2, 0}, 4000}}, FeedPanel(""), 1, "",
     {"the model parameter 'FEED' holds 4000, outside the limits 0..1000: the attribute would "
      "not offer it"},
     1000, "2 1 1 2 0 4000"},
    {"a host parameter of another kind",
     {{"FEED", 2, 3, {1, 2, 0}, 750}}, FeedPanel(""), 1, "",
     {"the model parameter 'FEED' is of kind 3: the attribute offers only those of kind 1"},
     750, "2 3 1 2 0 750"},
    {"a host integer parameter",
     {{"FEED", 1, 1, {1, 2, 0}, 750}}, FeedPanel(""), 1, "",
     {"the model parameter 'FEED' is not a real (type 1): the attribute offers only reals"},
     750, "1 1 1 2 0 750"},
    {"a value of its own besides the host's parameter",
     {{"FEED", 2, 1, {1, 2, 0}, 750}}, FeedPanel("", R"(, "value": 300)"), 1, "",
     {"warning: attribute 1 'Feed', key 'value': the value 300 is not that of the bound model "
      "parameter 'FEED', 750"},
     300, "2 1 1 2 0 750"},
};
// clang-format on

class KesPanelOverModelTest : public ::testing::Test {
protected:
    void SetUp() override { KesMfgModel::Clear(); }
    void TearDown() override { KesMfgModel::Clear(); }
};

TEST_F(KesPanelOverModelTest, APanelFileOpensOverTheModelAsItStands) {
    for (const OverModelRow& row : kOverModel) {
        SCOPED_TRACE(row.what);
        KesMfgModel::Clear();
        for (const HostParameter& parameter : row.model) {
            CreateInModel(parameter);
        }
        const int parametersBefore = KesMfgModel::GetParameterCount();
        KesPanelDescription description;
        std::vector<std::string> readWarnings;
        ASSERT_EQ(KesPanelFile::Parse(row.file, "op.json", description, readWarnings, false), "");
        for (int open = 1; open <= row.opens; ++open) {
            KesDlgTestFrame frame;
            KesPanelBuilder builder;
            const std::string fault = builder.BuildOverModel(description, frame);
            if (!row.fault.empty()) {
                EXPECT_NE(fault.find(row.fault), std::string::npos) << fault;
                EXPECT_TRUE(builder.Attributes().empty());
                EXPECT_EQ(KesMfgModel::GetParameterCount(), parametersBefore);
                continue;
            }
            ASSERT_EQ(fault, "") << "open " << open;
            ASSERT_EQ(builder.Warnings().size(), row.warnings.size());
            for (size_t i = 0; i < row.warnings.size(); ++i) {
                EXPECT_NE(builder.Warnings()[i].find(row.warnings[i]), std::string::npos)
                    << builder.Warnings()[i];
            }
            ASSERT_EQ(builder.Attributes().size(), 1u);
            auto* feed = dynamic_cast<KesMfgAttDoubleParam*>(builder.Attributes()[0]);
            ASSERT_NE(feed, nullptr);
            EXPECT_EQ(feed->GetShownValue(), row.shown) << "open " << open;
            // The record names the parameter, as the caller collects it.
            KesListValKesUnicodeString names, texts;
            KesRawCollint typeCodes, counts, ints;
            KesRawColldouble reals;
            feed->GetAttValue(nullptr, &names, &typeCodes, &counts, &ints, &reals, &texts);
            ASSERT_EQ(counts.Size(), 1);
            EXPECT_EQ(counts[1], -1);
            EXPECT_EQ(texts[1].Str().substr(0, 4), "FEED");
        }
        EXPECT_EQ(HeldInModel("FEED"), row.modelAfter);
    }
}

// The strict build stays for a panel file alone: its model parameters are the whole model.
TEST_F(KesPanelOverModelTest, TheStrictBuildRefusesWhatTheModelWouldSettle) {
    struct Row {
        std::vector<HostParameter> model;
        std::string file;
        std::string fault;
    };
    const std::vector<Row> rows = {
        {{},
         FeedPanel(""),
         "attribute 1 'Feed', key 'parameterName': the model parameter 'FEED' is not among the "
         "file's modelParameters"},
        {{{"FEED", 2, 1, {1, 2, 0}, 750}},
         FeedPanel(kFileFeed),
         "model parameter 'FEED' exists in the model already"},
        {{{"FEED", 2, 1, {1, 2, 0}, 750}},
         FeedPanel(""),
         "the model parameter 'FEED' is not among the file's modelParameters"},
        {{}, FeedPanel(kFileFeed), ""},
    };
    for (const Row& row : rows) {
        KesMfgModel::Clear();
        for (const HostParameter& parameter : row.model) {
            CreateInModel(parameter);
        }
        KesPanelDescription description;
        ASSERT_EQ(KesPanelFile::Parse(row.file, "op.json", description), "");
        KesDlgTestFrame frame;
        KesPanelBuilder builder;
        const std::string fault = builder.Build(description, frame);
        if (row.fault.empty()) {
            EXPECT_EQ(fault, "");
            EXPECT_EQ(builder.Attributes().size(), 1u);
        } else {
            EXPECT_NE(fault.find(row.fault), std::string::npos) << fault;
            EXPECT_TRUE(builder.Attributes().empty());
        }
    }
}

// Each opening reads the model as it is then: the parameter a user created in the first panel
// stays, a value the host edited in between is what the second panel shows.
TEST_F(KesPanelOverModelTest, EachOpeningReadsTheModelAsItIsThen) {
    KesPanelDescription description;
    ASSERT_EQ(KesPanelFile::Parse(FeedPanel(kFileFeed), "op.json", description), "");
    {
        KesDlgTestFrame frame;
        KesPanelBuilder builder;
        ASSERT_EQ(builder.BuildOverModel(description, frame), "");
        // The user types a new parameter's name: it is created holding the shown value.
        std::ostringstream out, err;
        KesPanelDriver driver(frame, out, err);
        std::istringstream session("spin Feed 420\ncreate Feed FEED_NEW\n");
        KesStdoutCapture quiet;
        KesStderrCapture messages; // the model's code 20002
        ASSERT_EQ(driver.RunSession(session, false), 0) << err.str();
    }
    KesMfgModel::ModifyParameterValue("FEED", {}, {420.0}, {}); // the host's table
    KesDlgTestFrame frame;
    KesPanelBuilder builder;
    ASSERT_EQ(builder.BuildOverModel(description, frame), "");
    EXPECT_TRUE(builder.Warnings().empty());
    EXPECT_EQ(static_cast<KesMfgAttDoubleParam*>(builder.Attributes()[0])->GetShownValue(), 420);
    EXPECT_EQ(HeldInModel("FEED_NEW"), "2 1 1 2 0 420");
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 2);
}

// -------------------------------------------------------------------------------------------
// Sub-panels
// -------------------------------------------------------------------------------------------

const char* const kWithSubPanel = R"json({
  "title": "Contour",
  "modelParameters": [
    {
      "name": "FEED_LEAD",
      "type": 2,
      "kind": 1,
      "units": [1, 2, 0],
      "reals": [300.0]
    }
  ],
  "attributes": [
    {
      "class": "KesMfgAttLink",
      "name": "Leads",
      "label": "Lead in and out",
      "group": 2,
      "relays": [
        [
          {
            "name": "Lead_Radius",
            "type": "real",
            "values": [4.0]
          }
        ]
      ],
      "subPanel": {
        "title": "Leads",
        "attributes": [
          {
            "class": "KesMfgAttDouble",
            "name": "Lead_Radius",
            "label": "Radius (mm)",
            "group": 2,
            "value": 4.0,
            "minimum": 0.0,
            "maximum": 20.0
          },
          {
            "class": "KesMfgAttDoubleParam",
            "name": "Lead_Feed",
            "label": "Feed (mm/min)",
            "group": 2,
            "firstUnitCode": 1,
            "secondUnitCode": 2,
            "parameterName": "FEED_LEAD"
          },
          {
            "class": "KesMfgAttChar",
            "name": "Lead_Note",
            "label": "Note",
            "group": 2,
            "value": "",
            "toBeDefined": true
          }
        ]
      }
    }
  ]
}
)json";

TEST_F(KesPanelOverModelTest, ASubPanelIsReadWrittenBackAndBuiltOverThePanelsModel) {
    KesPanelDescription description;
    ASSERT_EQ(KesPanelFile::Parse(kWithSubPanel, "contour.json", description), "");
    ASSERT_NE(description.attributes[0].subPanel, nullptr);
    EXPECT_EQ(description.attributes[0].subPanel->title, "Leads");
    EXPECT_EQ(description.attributes[0].subPanel->attributes.size(), 3u);
    EXPECT_EQ(KesPanelFile::Write(description), kWithSubPanel);

    // The panel creates FEED_LEAD; the sub-panel, built when the link opens it, binds it.
    KesDlgTestFrame frame;
    KesPanelBuilder builder;
    ASSERT_EQ(builder.BuildOverModel(description, frame), "");
    KesDlgTestFrame subFrame("Leads");
    KesPanelBuilder subBuilder;
    ASSERT_EQ(subBuilder.BuildOverModel(*description.attributes[0].subPanel, subFrame), "");
    ASSERT_EQ(subBuilder.Attributes().size(), 3u);
    EXPECT_EQ(static_cast<KesMfgAttDoubleParam*>(subBuilder.Attributes()[1])->GetShownValue(), 300);
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 1);
}

// The owner of the sub-dialog hands its records to the link on OK: the link relays them with
// the panel's values, on GetAttValue and on every Output for its group.
TEST_F(KesPanelOverModelTest, TheSubPanelsRecordsTravelWithTheLink) {
    KesPanelDescription description;
    ASSERT_EQ(KesPanelFile::Parse(kWithSubPanel, "contour.json", description), "");
    KesDlgTestFrame frame;
    KesPanelBuilder builder;
    ASSERT_EQ(builder.BuildOverModel(description, frame), "");
    auto* link = dynamic_cast<KesMfgAttLink*>(builder.Attributes()[0]);
    ASSERT_NE(link, nullptr);

    KesDlgTestFrame subFrame("Leads");
    KesPanelBuilder subBuilder;
    ASSERT_EQ(subBuilder.BuildOverModel(*description.attributes[0].subPanel, subFrame), "");
    {
        std::ostringstream out, err;
        KesPanelDriver driver(subFrame, out, err);
        std::istringstream session("spin Lead_Radius 6.5\ntype Lead_Feed 250\n");
        KesStdoutCapture quiet;
        ASSERT_EQ(driver.RunSession(session, false), 0) << err.str();
    }
    KesPanelBuilder::HandRecordsToLink(subBuilder.Attributes(), *link);

    struct Collect {
        const char* how;
        std::function<void(KesListValKesUnicodeString*, KesRawCollint*, KesRawCollint*,
                           KesRawCollint*, KesRawColldouble*, KesListValKesUnicodeString*)>
            call;
    };
    const std::vector<Collect> ways = {
        {"GetAttValue",
         [&](auto* n, auto* t, auto* c, auto* i, auto* r, auto* x) {
             int group = 0;
             link->GetAttValue(&group, n, t, c, i, r, x);
             EXPECT_EQ(group, 2);
         }},
        {"Output of its group", [&](auto* n, auto* t, auto* c, auto* i, auto* r,
                                    auto* x) { link->Output(2, n, t, c, i, r, x); }},
    };
    for (const Collect& way : ways) {
        SCOPED_TRACE(way.how);
        KesListValKesUnicodeString names, texts;
        KesRawCollint typeCodes, counts, ints;
        KesRawColldouble reals;
        way.call(&names, &typeCodes, &counts, &ints, &reals, &texts);
        // The note is still to be defined: it gives no record.
        ASSERT_EQ(names.Size(), 2);
        EXPECT_EQ(names[1].Str(), "Lead_Radius");
        EXPECT_EQ(names[2].Str(), "Lead_Feed");
        EXPECT_EQ(typeCodes[1], 2);
        EXPECT_EQ(typeCodes[2], 2);
        EXPECT_EQ(counts[1], 1);
        EXPECT_EQ(counts[2], 1); // typed over: no longer bound
        ASSERT_EQ(reals.Size(), 2);
        EXPECT_EQ(reals[1], 6.5);
        EXPECT_EQ(reals[2], 250);
        EXPECT_EQ(ints.Size(), 0);
        EXPECT_EQ(texts.Size(), 0);
    }
    KesListValKesUnicodeString names, texts;
    KesRawCollint typeCodes, counts, ints;
    KesRawColldouble reals;
    link->Output(1, &names, &typeCodes, &counts, &ints, &reals, &texts);
    EXPECT_EQ(names.Size(), 0) << "another group relays nothing";
}

// A description built in code is checked as a file is: what a file cannot even say.
TEST_F(KesPanelOverModelTest, ASubPanelIsCheckedLikeThePanel) {
    KesPanelDescription panel;
    ASSERT_EQ(KesPanelFile::Parse(kWithSubPanel, "contour.json", panel), "");
    struct Row {
        const char* what;
        std::function<void(KesPanelDescription&)> change;
        std::string error;
    };
    const std::vector<Row> rows = {
        {"a sub-panel on a real",
         [](KesPanelDescription& d) {
             d.attributes.push_back(d.attributes[0].subPanel->attributes[0]);
             d.attributes.back().subPanel = d.attributes[0].subPanel;
         },
         "attribute 2 'Lead_Radius', key 'subPanel': only a link opens a sub-panel"},
        {"model parameters of a sub-panel's own",
         [](KesPanelDescription& d) {
             auto inner = std::make_shared<KesPanelDescription>(*d.attributes[0].subPanel);
             inner->modelParameters = d.modelParameters;
             d.attributes[0].subPanel = inner;
         },
         "attribute 1 'Leads', key 'subPanel': a sub-panel has no modelParameters"},
        {"a bad attribute inside",
         [](KesPanelDescription& d) {
             auto inner = std::make_shared<KesPanelDescription>(*d.attributes[0].subPanel);
             inner->attributes[1].Set("parameterName", "FEED_LEED");
             d.attributes[0].subPanel = inner;
         },
         "attribute 1 'Leads', sub-panel attribute 2 'Lead_Feed', key 'parameterName': the model "
         "parameter 'FEED_LEED' is not among the file's modelParameters (did you mean "
         "'FEED_LEAD'?)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        KesPanelDescription changed = panel;
        row.change(changed);
        KesDlgTestFrame frame;
        KesPanelBuilder builder;
        EXPECT_EQ(builder.Build(changed, frame).find(row.error), 0u)
            << builder.Build(changed, frame);
        EXPECT_TRUE(builder.Attributes().empty());
    }
}

// The pocketing panel's link opens its sub-panel: the approach distance and the retract mode
// that the relays stand for in a session without a window.
TEST_F(KesPanelOverModelTest, ThePocketingLinksSubPanelHandsItsRecordsOver) {
    const KesPanelDescription description = KesPocketingPanel::Description();
    const auto link = std::find_if(
        description.attributes.begin(), description.attributes.end(),
        [](const KesPanelAttributeDescription& a) { return a.className == "KesMfgAttLink"; });
    ASSERT_NE(link, description.attributes.end());
    ASSERT_NE(link->subPanel, nullptr);
    KesDlgTestFrame frame;
    KesPanelBuilder builder;
    ASSERT_EQ(builder.BuildOverModel(description, frame), "");
    KesDlgTestFrame subFrame;
    KesPanelBuilder subBuilder;
    ASSERT_EQ(subBuilder.BuildOverModel(*link->subPanel, subFrame), "");
    std::ostringstream out, err;
    KesPanelDriver driver(subFrame, out, err);
    std::istringstream session("spin Approach_Distance 7.5\nselect Retract_Mode #2\n");
    ASSERT_EQ(driver.RunSession(session, false), 0) << err.str();
    auto* attribute =
        builder.Attributes()[static_cast<size_t>(link - description.attributes.begin())];
    KesPanelBuilder::HandRecordsToLink(subBuilder.Attributes(),
                                       *static_cast<KesMfgAttLink*>(attribute));
    KesListValKesUnicodeString names, texts;
    KesRawCollint typeCodes, counts, ints;
    KesRawColldouble reals;
    attribute->GetAttValue(nullptr, &names, &typeCodes, &counts, &ints, &reals, &texts);
    ASSERT_EQ(names.Size(), 2);
    EXPECT_EQ(names[1].Str(), "Approach_Distance");
    EXPECT_EQ(reals[1], 7.5);
    EXPECT_EQ(names[2].Str(), "Retract_Mode");
    ASSERT_EQ(texts.Size(), 1);
    EXPECT_EQ(texts[1].Str(), "FEED");
}

} // namespace
