// The multiple selection among allowed texts: order of the values, reselection when the user
// deselects everything, the two consistency messages and lists of unequal lengths.
#include "multi/KesMfgAttMVCharList.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kAtDisplay = " val et dicovals pas coherents !!! ";
const std::string kLater = " StrList et dicovals pas coherents !!! ";

class KesMfgAttMVCharListTest : public ::testing::Test {
protected:
    KesMfgAttMVCharList* Make(KesListValKesUnicodeString list,
                              KesListValKesUnicodeString allowed = {"A", "B", "C"},
                              KesListValKesUnicodeString shown = {"Alpha", "Beta", "Gamma"},
                              bool toBeDefined = false) {
        auto* attribute = new KesMfgAttMVCharList("Strategies", "Strategies", list, allowed, shown,
                                                  "", &frame, 1);
        if (toBeDefined) {
            attribute->SetAttToBeDefined();
        }
        attribute->Display();
        selector = attribute->GetSelectorList();
        return attribute;
    }
    bool Select(std::vector<int> rows) {
        return selector->UserSelect(rows.data(), static_cast<int>(rows.size()));
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors vectors;
    KesStdoutCapture out;
    KesDlgSelectorList* selector = nullptr;
};

TEST_F(KesMfgAttMVCharListTest, SelectionFollowsTheValuesAndTheUserAsListed) {
    auto* attribute = Make({"C", "A"});
    EXPECT_EQ(selector->GetVisibleTextHeight(), 6);
    EXPECT_EQ(selector->GetSelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());

    EXPECT_TRUE(Select({1}));
    EXPECT_EQ(Notifications(), 1);
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.names, (KesListValKesUnicodeString{"Strategies"}));
    EXPECT_EQ(vectors.typeCodes, (KesRawCollint{3}));
    EXPECT_EQ(vectors.counts, (KesRawCollint{1}));
    EXPECT_EQ(vectors.texts, (KesListValKesUnicodeString{"B"}));
    EXPECT_TRUE(Select({2, 0}));
    EXPECT_EQ(attribute->GetCurrentValues(), (KesListValKesUnicodeString{"A", "C"}));

    EXPECT_TRUE(Select({})); // deselecting every line brings the selection back
    EXPECT_EQ(selector->GetSelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(attribute->GetCurrentValues(), (KesListValKesUnicodeString{"A", "C"}));
    EXPECT_EQ(Notifications(), 2);
    EXPECT_EQ(out.Text(), "");
}

TEST_F(KesMfgAttMVCharListTest, ValuesWithoutALineAreReportedAndKept) {
    auto* attribute = Make({"D", "B"});
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{kAtDisplay}));
    EXPECT_EQ(selector->GetSelectedRows(), (std::vector<int>{1}));
    EXPECT_TRUE(Select({}));
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{kAtDisplay, kLater}));
    vectors.GetAttValue(*attribute);
    EXPECT_EQ(vectors.texts, (KesListValKesUnicodeString{"D", "B"}));

    out.Clear();
    KesListValKesUnicodeString pushed{"E", "A"};
    attribute->SetAttValue(nullptr, nullptr, &pushed, 0);
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{kLater}));
    EXPECT_EQ(selector->GetSelectedRows(), (std::vector<int>{0}));
    EXPECT_EQ(Notifications(), 0);
    attribute->SetAttValue(nullptr, nullptr, &pushed, 1);
    EXPECT_EQ(Notifications(), 1);
    attribute->SetAttValue(nullptr, nullptr, nullptr, 1); // ignored
    EXPECT_EQ(attribute->GetCurrentValues(), pushed);
}

TEST_F(KesMfgAttMVCharListTest, WidthComesFromTheLongestDisplayText) {
    EXPECT_EQ(Make({}, {"A"}, {"abc"})->GetSelectorList()->GetVisibleTextWidth(), 5);
    EXPECT_EQ(Make({}, {"A"}, {std::string(50, 'w')})->GetSelectorList()->GetVisibleTextWidth(),
              32);
    EXPECT_EQ(Make({}, {}, {})->GetSelectorList()->GetVisibleTextWidth(), 5);
}

TEST_F(KesMfgAttMVCharListTest, ToBeDefinedSelectsNothingUntilTheUserSelects) {
    auto* attribute = Make({"A"}, {"A", "B", "C"}, {"Alpha", "Beta", "Gamma"}, true);
    EXPECT_EQ(selector->GetSelectCount(), 0);
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    EXPECT_TRUE(Select({0}));
    vectors.Output(*attribute, 1); // unchanged, yet forced
    EXPECT_EQ(vectors.texts, (KesListValKesUnicodeString{"A"}));
}

TEST_F(KesMfgAttMVCharListTest, ListsOfUnequalLengthsNeverReadBeyondTheAllowedValues) {
    // Four lines for three allowed values: the fourth stands for nothing.
    auto* longer = Make({"B"}, {"A", "B", "C"}, {"Alpha", "Beta", "Gamma", "Delta"});
    EXPECT_TRUE(Select({3}));
    EXPECT_EQ(selector->GetSelectedRows(), (std::vector<int>{1}));
    EXPECT_TRUE(Select({3, 2}));
    EXPECT_EQ(longer->GetCurrentValues(), (KesListValKesUnicodeString{"C"}));
    EXPECT_EQ(Notifications(), 1);
    // Three allowed values for two lines: C has no line. Equal allowed values: the first line.
    out.Clear();
    Make({"C", "A"}, {"A", "A", "C"}, {"First", "Second"});
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{kAtDisplay}));
    EXPECT_EQ(selector->GetSelectedRows(), (std::vector<int>{0}));
}

} // namespace
