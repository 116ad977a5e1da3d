// Faults found by the randomised sessions and the fuzz targets, each kept as the smallest case
// that shows it, named after the fault.
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVInt.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesMfgModel.h"
#include "platform/KesStdoutCapture.h"
#include "robustness/KesMonkeyTestPanel.h"
#include "robustness/KesScopedSettingsFolder.h"
#include "single/KesMfgAttInt.h"
#include "support/KesTraceSwitches.h"
#include "support/KesValueVectors.h"
#include "tools/KesPanelDriver.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

class KesRobustnessRegressionTest : public KesTraceSwitchesTest {
protected:
    static KesValueVectors Record(KesMfgAttribute& attribute) {
        KesValueVectors vectors;
        vectors.GetAttValue(attribute);
        return vectors;
    }

    KesScopedSettingsFolder settings;
    KesDlgTestFrame frame;
    KesStdoutCapture out;
};

// A notify flag other than 0 and 1 made the option button change without any notification, so
// the option state (and the count of the value record) no longer followed the button.
TEST_F(KesRobustnessRegressionTest, SetOptionalCheckWithAFlagOtherThan0Or1KeepsTheStateInStep) {
    for (int notify : {-1, 2}) {
        auto* passes = new KesMfgAttInt("Passes", "Passes", 2, 0, 0, 0, &frame, 1);
        passes->SetOptionMode(1, 1);
        passes->Display();
        passes->SetOptionalCheck(0, notify);
        EXPECT_FALSE(passes->GetOptionCheckButton()->IsOn());
        EXPECT_EQ(passes->GetOptionState(), 0) << notify;
        EXPECT_FALSE(passes->GetEditorWidget()->IsSetSensitivity()) << notify;
        KesValueVectors vectors;
        EXPECT_EQ(vectors.Output(*passes, 1).counts, KesRawCollint{0}) << notify;
        EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), 0);
    }
}

// ---- Lists whose value is to be defined ---------------------------------------------------

class KesToBeDefinedListTest : public KesRobustnessRegressionTest {
protected:
    KesMfgAttMVInt* Make(KesRawCollint values, int minimum, int maximum) {
        auto* list = new KesMfgAttMVInt("Tools", "Tools", values, minimum, maximum, 0, &frame, 1);
        list->SetAttToBeDefined();
        list->Display();
        return list;
    }
    static KesDlgEditor* Editor(const KesMfgAttMVInt* list, int field) {
        return dynamic_cast<KesDlgEditor*>(list->GetValueList().GetValueFields()[field]);
    }
    // The values reported, then the texts of the first two fields.
    using Seen = std::pair<std::vector<int>, std::vector<std::string>>;
    static Seen Shown(KesMfgAttMVInt* list) {
        return {Record(*list).ints.Items(),
                {Editor(list, 1)->GetText().Str(), Editor(list, 2)->GetText().Str()}};
    }
};

// Remove ended the to-be-defined state after the refresh, which still showed the values as not
// given: the fields stayed empty while the record reported the values, and the next edit read
// the empty fields back as 0, losing values the user never touched.
TEST_F(KesToBeDefinedListTest, RemoveThatEndsTheStateShowsTheValuesItReports) {
    KesMfgAttMVInt* tools = Make({7, 14, 21}, 0, 0);
    ASSERT_TRUE(tools->GetValueList().GetRemoveItem()->UserActivate());
    EXPECT_EQ(tools->IsToBeDefined(), 0);
    EXPECT_EQ(Shown(tools), Seen({7, 14}, {"7", "14"}));
    ASSERT_TRUE(Editor(tools, 1)->UserType("5"));
    EXPECT_EQ(Shown(tools), Seen({5, 14}, {"5", "14"}));
}

// The same through Add, and through a SetAttValue with no value (which ends the state and
// changes nothing else), with bounded editors.
TEST_F(KesToBeDefinedListTest, AddOrAnEmptySetAttValueThatEndsTheStateShowsTheValues) {
    KesMfgAttMVInt* added = Make({3, 4}, 1, 9);
    ASSERT_TRUE(added->GetValueList().GetAddItem()->UserActivate());
    EXPECT_EQ(Shown(added), Seen({3, 4, 1}, {"3", "4"}));
    KesMfgAttMVInt* given = Make({3, 4}, 1, 9);
    KesRawCollint none;
    given->SetAttValue(&none, nullptr, nullptr, 0);
    EXPECT_EQ(Shown(given), Seen({3, 4}, {"3", "4"}));
    ASSERT_TRUE(Editor(given, 2)->UserType("8"));
    EXPECT_EQ(Shown(given), Seen({3, 8}, {"3", "8"}));
}

// The multiple-selection list showed no line selected after a SetAttValue with no text ended
// its to-be-defined state, while its record reported the values given at construction.
TEST_F(KesRobustnessRegressionTest,
       EmptySetAttValueOnASelectionToBeDefinedSelectsTheValuesReported) {
    auto* cycles =
        new KesMfgAttMVCharList("Cycles", "Cycles", {"G83", "G81"}, {"G81", "G82", "G83"},
                                {"Drill", "Dwell", "Peck"}, "", &frame, 1);
    cycles->SetAttToBeDefined();
    cycles->Display();
    EXPECT_EQ(cycles->GetSelectorList()->GetSelectCount(), 0);
    cycles->SetAttValue(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(Record(*cycles).texts, (KesListValKesUnicodeString{"G83", "G81"}));
    EXPECT_EQ(cycles->GetSelectorList()->GetSelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), 0);
}

// ---- Reals converted to the caller's unit ---------------------------------------------------

// A real typed in the shown unit whose conversion to the caller's unit overflows (shown x 360)
// went into the parameterised real's value record as an infinity; it now goes as the largest
// finite real, as from the other real attributes.
TEST_F(KesRobustnessRegressionTest, ParameterisedRealWhoseConversionOverflowsReportsAFiniteReal) {
    KesMfgModel::Clear();
    auto* angle =
        new KesMfgAttDoubleParam("Angle", "Angle", 90.0, 0.0, 0.0, 0.0, 0, 0, -1, "", &frame, 1, 0);
    angle->Display();
    ASSERT_TRUE(angle->GetEditorWidget()->UserType("1e308"));
    EXPECT_EQ(Record(*angle).reals.Items(), std::vector<double>{DBL_MAX});
}

// An infinite limit given to the parameterised real reached its spinner as it was; the spinner
// ignores a range that is not finite, so nothing bounded the user's value. Infinite limits are
// now taken as the largest finite reals, as by the real attribute.
TEST_F(KesRobustnessRegressionTest, ParameterisedRealWithAnInfiniteLimitKeepsTheValueBounded) {
    KesMfgModel::Clear();
    auto* feed = new KesMfgAttDoubleParam("Feed", "Feed", 800.0, 0.0, INFINITY, 0.0, 1, 2, 0, "",
                                          &frame, 1, 0);
    feed->Display();
    ASSERT_NE(feed->GetSpinnerWidget(), nullptr);
    EXPECT_TRUE(feed->GetSpinnerWidget()->HasRange());
    ASSERT_TRUE(feed->GetSpinnerWidget()->UserSetValue(-5.0));
    EXPECT_EQ(Record(*feed).reals.Items(), std::vector<double>{0.0});
}

} // namespace

// ---- Undo on the monkey's test panel --------------------------------------------------------

// The parameterised real of seed 16 has swapped limits (0 .. -1e300) and shows an editor: its
// check after an edit brought -1e300 to 0, which neither a caller's value nor the text "0"
// typed again gives back (both end at -1e300), and undo answered "undone" with 0 not back.
// Such a value now ends the history at the gesture, and undo says why; elsewhere undo holds.
TEST(KesPanelHistoryOnTheTestPanelTest, UndoOfAValueOutsideItsLimitsIsRefused) {
    const struct {
        const char* session;
        std::vector<std::string> printed; // each found after the previous one
    } rows[] = {
        {"keys Feed_Rate \"\"\nadd Pass_Switches\ncallback Feed_Rate DisplayParameter\n"
         "type Feed_Rate \"1,5\"\nundo\nget Feed_Rate\ncheck\n",
         {"refused: cannot undo Feed: Feed read a value outside its limits before it, which "
          "calls and gestures keep to\n",
          "Feed_Rate | real | 1 | -1e+300\n", "every check holds"}},
        {"type Plunge \"1,5\"\nundo\nget Plunge\ncheck\n",
         {"undone: Plunge\n  <- KesMfgAttNotifyModif from Plunge\n", "Plunge | real | 1 | 0\n",
          "every check holds"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.session);
        KesScopedSettingsFolder settings;
        KesDlgTestFrame frame;
        const std::shared_ptr<void> kept = KesBuildMonkeyTestPanel(frame, 16);
        std::ostringstream out;
        std::ostringstream err;
        KesPanelDriver driver(frame, out, err);
        std::istringstream in(row.session);
        EXPECT_EQ(driver.RunSession(in, true), 0);
        size_t at = 0;
        for (const std::string& printed : row.printed) {
            at = out.str().find(printed, at);
            ASSERT_NE(at, std::string::npos) << printed << "\nin:\n" << out.str();
        }
        EXPECT_EQ(err.str(), "");
    }
}
