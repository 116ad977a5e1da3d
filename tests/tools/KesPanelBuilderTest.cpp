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
#include <fstream>
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
// The records an attribute hands the caller (GetAttValue, or Output of `group`), one a line:
// name, type code, count, then its values.
std::string Records(KesMfgAttribute& attribute, int group = -1) {
    KesListValKesUnicodeString names, texts;
    KesRawCollint typeCodes, counts, ints;
    KesRawColldouble reals;
    if (group < 0) {
        attribute.GetAttValue(nullptr, &names, &typeCodes, &counts, &ints, &reals, &texts);
    } else {
        attribute.Output(group, &names, &typeCodes, &counts, &ints, &reals, &texts);
    }
    std::ostringstream out;
    int inInts = 1, inReals = 1, inTexts = 1;
    for (int i = 1; i <= names.Size(); ++i) {
        out << names[i].Str() << ' ' << typeCodes[i] << ' ' << counts[i];
        for (int v = 0; v < std::max(counts[i], counts[i] < 0 ? 1 : 0); ++v) {
            if (typeCodes[i] == 2 && counts[i] > 0) {
                out << ' ' << reals[inReals++];
            } else if (typeCodes[i] == 2 || typeCodes[i] == 3) {
                const std::string& text = texts[inTexts++].Str(); // padded, for some
                out << ' ' << text.substr(0, text.find_last_not_of(' ') + 1);
            } else {
                out << ' ' << ints[inInts++];
            }
        }
        out << '\n';
    }
    return out.str();
}

const char* const kFileFeed = R"({"name": "FEED", "type": 2, "units": [1, 2, 0], "reals": [180]})";

// FEED as the model holds it: "type kind u1 u2 u3 value", or "none".
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

// A panel built over the model as it stands, and the driver's session run in it.
struct OpenPanel {
    // "" when built and every line of `session` was taken; else the fault or the driver's errors.
    std::string Open(const KesPanelDescription& description, const std::string& session = "") {
        const std::string fault = builder.BuildOverModel(description, frame);
        std::ostringstream out, err;
        KesPanelDriver driver(frame, out, err);
        std::istringstream lines(session);
        KesStdoutCapture quiet;
        KesStderrCapture messages; // the model's codes
        return !fault.empty() ? fault : driver.RunSession(lines, false) == 0 ? "" : err.str();
    }
    KesDlgTestFrame frame;
    KesPanelBuilder builder;
};

// One opening of a panel file over a host's model (or, `strict`, as a file alone).
struct OverModelRow {
    const char* what;
    std::vector<HostParameter> model; // what the host's model holds before the panel opens
    std::string file;
    bool strict;                       // Build instead of BuildOverModel
    int opens;                         // how many times the file is opened over the same model
    std::string fault;                 // a fragment of the fault; "" when built
    std::vector<std::string> warnings; // a fragment of each warning of the build, in order
    double shown;                      // what the bound real shows when built
    std::string modelAfter;            // FEED in the model then: "type kind u1 u2 u3 value"
};

const HostParameter kHostFeed{"FEED", 2, 1, {1, 2, 0}, 750}; // the units and kind the real takes
// clang-format off
const std::vector<OverModelRow> kOverModel = {
    {"the same file opened twice: its parameter is created once, then taken",
     {}, FeedPanel(kFileFeed), false, 2, "", {}, 180, "2 1 1 2 0 180"},
    {"a host model with the parameter: the model's is taken, its value shown",
     {kHostFeed}, FeedPanel(""), false, 1, "", {}, 750, "2 1 1 2 0 750"},
    {"the file describes what the host holds: no fault, the host's value kept",
     {kHostFeed}, FeedPanel(kFileFeed), false, 1, "", {}, 750, "2 1 1 2 0 750"},
    {"a host model without the parameter: the file's is created",
     {{"OTHER", 2, 1, {1, 2, 0}, 5}}, FeedPanel(kFileFeed), false, 1, "", {}, 180, "2 1 1 2 0 180"},
    {"neither the host's model nor the file holds it",
     {{"FEEDS", 2, 1, {1, 2, 0}, 5}}, FeedPanel(""), false, 1,
     "attribute 1 'Feed', key 'parameterName': the model parameter 'FEED' is neither in the "
     "model nor among the file's modelParameters", {}, 0, "none"},
    {"a host parameter of other units: built, the attribute would not offer it",
     {{"FEED", 2, 1, {0, 0, 0}, 750}}, FeedPanel(""), false, 1, "",
     {"warning: attribute 1 'Feed', key 'parameterName': the model parameter 'FEED' has the "
      "units 0, 0, 0, the attribute 1, 2, 0: the attribute would not offer it"},
     750, "2 1 0 0 0 750"},
    {"the file describes other units than the host's parameter: the host's is kept",
     {{"FEED", 2, 1, {0, 0, 0}, 750}}, FeedPanel(kFileFeed), false, 1, "",
     {"warning: model parameter 1 'FEED', key 'units': the model holds 'FEED' as a real of kind "
      "1 with the units 0, 0, 0, the file describes a real of kind 1 with the units 1, 2, 0: the "
      "model's is kept",
      "the model parameter 'FEED' has the units 0, 0, 0, the attribute 1, 2, 0"},
     750, "2 1 0 0 0 750"},
    {"a host parameter outside the attribute's limits",
     {{"FEED", 2, 1, {1, 2, 0}, 4000}}, FeedPanel(""), false, 1, "",
     {"the model parameter 'FEED' holds 4000, outside the limits 0..1000: the attribute would "
      "not offer it"},
     1000, "2 1 1 2 0 4000"},
    // Both limits are in: a value held exactly at either is offered.
    {"a host parameter holding exactly the maximum",
     {{"FEED", 2, 1, {1, 2, 0}, 1000}}, FeedPanel(""), false, 1, "", {}, 1000, "2 1 1 2 0 1000"},
    {"a host parameter holding exactly the minimum",
     {{"FEED", 2, 1, {1, 2, 0}, 0}}, FeedPanel(""), false, 1, "", {}, 0, "2 1 1 2 0 0"},
    {"a host parameter of another kind",
     {{"FEED", 2, 3, {1, 2, 0}, 750}}, FeedPanel(""), false, 1, "",
     {"the model parameter 'FEED' is of kind 3: the attribute offers only those of kind 1"},
     750, "2 3 1 2 0 750"},
    {"a host integer parameter",
     {{"FEED", 1, 1, {1, 2, 0}, 750}}, FeedPanel(""), false, 1, "",
     {"the model parameter 'FEED' is not a real (type 1): the attribute offers only reals"},
     750, "1 1 1 2 0 750"},
    {"a value of its own besides the host's parameter",
     {kHostFeed}, FeedPanel("", R"(, "value": 300)"), false, 1, "",
     {"warning: attribute 1 'Feed', key 'value': the value 300 is not that of the bound model "
      "parameter 'FEED', 750"},
     300, "2 1 1 2 0 750"},
    // The strict build stays for a panel file alone: its model parameters are the whole model.
    {"strict: a file alone, its parameter created",
     {}, FeedPanel(kFileFeed), true, 1, "", {}, 180, "2 1 1 2 0 180"},
    {"strict: the file's parameter holding exactly the maximum",
     {}, FeedPanel(R"({"name": "FEED", "type": 2, "units": [1, 2, 0], "reals": [1000]})"), true,
     1, "", {}, 1000, "2 1 1 2 0 1000"},
    {"strict: the same file opened twice",
     {}, FeedPanel(kFileFeed), true, 2, "model parameter 'FEED' exists in the model already", {},
     180, "2 1 1 2 0 180"},
    {"strict: a host model with the parameter, the file without",
     {kHostFeed}, FeedPanel(""), true, 1,
     "attribute 1 'Feed', key 'parameterName': the model parameter 'FEED' is not among the "
     "file's modelParameters", {}, 0, "2 1 1 2 0 750"},
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
        KesPanelDescription description;
        ASSERT_EQ(KesPanelFile::Parse(row.file, "op.json", description), "");
        for (int open = 1; open <= row.opens; ++open) {
            const int parametersBefore = KesMfgModel::GetParameterCount();
            KesDlgTestFrame frame;
            KesPanelBuilder builder;
            const std::string fault = row.strict ? builder.Build(description, frame)
                                                 : builder.BuildOverModel(description, frame);
            if (open == row.opens && !row.fault.empty()) {
                EXPECT_NE(fault.find(row.fault), std::string::npos) << fault;
                EXPECT_TRUE(builder.Attributes().empty());
                EXPECT_EQ(KesMfgModel::GetParameterCount(), parametersBefore);
                break;
            }
            ASSERT_EQ(fault, "") << "open " << open;
            ASSERT_EQ(builder.Warnings().size(), row.warnings.size());
            for (size_t i = 0; i < row.warnings.size(); ++i) {
                EXPECT_NE(builder.Warnings()[i].find(row.warnings[i]), std::string::npos)
                    << builder.Warnings()[i];
            }
            ASSERT_EQ(builder.Attributes().size(), 1u);
            auto& feed = dynamic_cast<KesMfgAttDoubleParam&>(*builder.Attributes()[0]);
            EXPECT_EQ(feed.GetShownValue(), row.shown) << "open " << open;
            EXPECT_EQ(Records(feed), "Feed 2 -1 FEED\n"); // the caller's record names it
        }
        EXPECT_EQ(HeldInModel("FEED"), row.modelAfter);
    }
}

// Each opening reads the model as it is then: the parameter a user created in the first panel
// stays, a value the host edited in between is what the second panel shows.
TEST_F(KesPanelOverModelTest, EachOpeningReadsTheModelAsItIsThen) {
    KesPanelDescription description;
    ASSERT_EQ(KesPanelFile::Parse(FeedPanel(kFileFeed), "op.json", description), "");
    ASSERT_EQ(OpenPanel().Open(description, "spin Feed 420\ncreate Feed FEED_NEW\n"), "");
    KesMfgModel::ModifyParameterValue("FEED", {}, {420.0}, {}); // the host's table
    OpenPanel again;
    ASSERT_EQ(again.Open(description), "");
    EXPECT_TRUE(again.builder.Warnings().empty());
    EXPECT_EQ(static_cast<KesMfgAttDoubleParam*>(again.builder.Attributes()[0])->GetShownValue(),
              420);
    EXPECT_EQ(HeldInModel("FEED_NEW"), "2 1 1 2 0 420");
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 2);
}

// -------------------------------------------------------------------------------------------
// Sub-panels
// -------------------------------------------------------------------------------------------

// The pocketing panel's link opens its sub-panel: read and written back as it was, built over
// the model the panel made, edited, and its records handed to the link on OK: the link relays
// them with the panel's values, on GetAttValue and on every Output for its group.
TEST_F(KesPanelOverModelTest, ASubPanelsRecordsTravelWithItsLink) {
    const std::string path = KES_SOURCE_DIR "/examples/panels/pocketing.json";
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    KesPanelDescription description;
    ASSERT_EQ(KesPanelFile::Read(path, description), "");
    EXPECT_EQ(KesPanelFile::Write(description), text);

    size_t at = 0;
    while (at < description.attributes.size() && description.attributes[at].subPanel == nullptr) {
        ++at;
    }
    ASSERT_LT(at, description.attributes.size());
    OpenPanel panel, sub;
    ASSERT_EQ(panel.Open(description), "");
    auto& link = dynamic_cast<KesMfgAttLink&>(*panel.builder.Attributes()[at]);
    ASSERT_EQ(sub.Open(*description.attributes[at].subPanel,
                       "spin Approach_Distance 7.5\nselect Retract_Mode #2\n"),
              "");
    KesPanelBuilder::HandRecordsToLink(sub.builder.Attributes(), link);
    const std::string handed = "Approach_Distance 2 1 7.5\nRetract_Mode 3 1 FEED\n";
    EXPECT_EQ(Records(link), handed);
    EXPECT_EQ(Records(link, 2), handed);
    EXPECT_EQ(Records(link, 1), "") << "another group relays nothing";
    // An attribute still to be defined gives no record.
    sub.builder.Attributes()[1]->SetAttToBeDefined();
    KesPanelBuilder::HandRecordsToLink(sub.builder.Attributes(), link);
    EXPECT_EQ(Records(link), "Approach_Distance 2 1 7.5\n");
}

// A press on the link: answered by its relays where nothing opens the sub-panel; a window that
// opens it says so, and the press alone hands the link nothing.
TEST_F(KesPanelOverModelTest, ARelayAnswersAPressOnlyWhereNoSubPanelOpens) {
    const KesPanelDescription pocketing = KesPocketingPanel::Description();
    for (const bool relaysAnswer : {true, false}) {
        KesMfgModel::Clear();
        OpenPanel panel;
        panel.builder.SetRelaysAnswerSubPanelLinks(relaysAnswer);
        ASSERT_EQ(panel.Open(pocketing, "press Approach_Retract\n"), "");
        EXPECT_EQ(Records(*panel.builder.Attributes().back()),
                  relaysAnswer ? "Approach_Distance 2 1 2.5\nRetract_Mode 3 1 RAPID\n"
                               : "Approach_Retract 1 0\n");
    }
}

// A description built in code is checked as a file is, also for what a file cannot say.
TEST_F(KesPanelOverModelTest, ASubPanelIsCheckedLikeThePanel) {
    const KesPanelDescription pocketing = KesPocketingPanel::Description();
    const size_t link = pocketing.attributes.size() - 1;
    ASSERT_NE(pocketing.attributes[link].subPanel, nullptr);
    const auto inside = [&](const std::function<void(KesPanelDescription&)>& change) {
        auto changed = std::make_shared<KesPanelDescription>(*pocketing.attributes[link].subPanel);
        change(*changed);
        KesPanelDescription panel = pocketing;
        panel.attributes[link].subPanel = changed;
        return panel;
    };
    const std::vector<std::pair<KesPanelDescription, std::string>> rows = {
        {inside([](KesPanelDescription& d) { d.modelParameters.resize(1); }),
         "key 'subPanel': a sub-panel has no modelParameters"},
        {inside([](KesPanelDescription& d) { d.attributes[1].Set("value", "SLOW"); }),
         "attribute " + std::to_string(link + 1) +
             " 'Approach_Retract', sub-panel attribute 2 'Retract_Mode', key 'value': the value "
             "'SLOW' is not among the values"},
        {inside(
             [&](KesPanelDescription& d) { d.attributes.push_back(pocketing.attributes[link]); }),
         "sub-panel attribute 3 'Approach_Retract', key 'subPanel': a link of a sub-panel opens "
         "no sub-panel of its own"},
    };
    for (const auto& [description, error] : rows) {
        EXPECT_NE(description.Check().find(error), std::string::npos) << description.Check();
    }
    KesPanelDescription onAReal = pocketing;
    onAReal.attributes[0].subPanel = pocketing.attributes[link].subPanel;
    EXPECT_EQ(onAReal.Check(), "attribute 1 'Strategy', key 'subPanel': only a link opens a "
                               "sub-panel");
}

} // namespace
