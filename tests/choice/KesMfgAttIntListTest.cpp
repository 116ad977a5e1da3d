// The integer choice list: combo and radio presentations driven by a user picking and by a
// caller pushing and collecting value vectors; bad lists and the trace switch.
#include "choice/KesMfgAttIntList.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class KesMfgAttIntListTest : public ::testing::Test {
protected:
    void SetUp() override { SetDebug("AttIntList", 0); }
    void TearDown() override { ResetDebug(); }

    // Values 10, 20, 30 shown as ten, twenty, thirty.
    KesMfgAttIntList* Make(int reference, int presentation, bool toBeDefined = false) {
        return Make(reference, {10, 20, 30}, {"ten", "twenty", "thirty"}, presentation,
                    toBeDefined);
    }
    KesMfgAttIntList* Make(int reference, KesRawCollint values, KesListValKesUnicodeString texts,
                           int presentation, bool toBeDefined = false) {
        auto* list = new KesMfgAttIntList("Cut_mode", "Cut mode", reference, values, texts, 0,
                                          &frame, 4, presentation);
        if (toBeDefined) {
            list->SetAttToBeDefined();
        }
        list->Display();
        return list;
    }
    static KesDlgRadioButton* Radio(KesMfgAttIntList* list, int position) {
        return static_cast<KesDlgRadioButton*>(list->GetRadioButtons()[position]);
    }
    static std::vector<bool> States(KesMfgAttIntList* list) {
        std::vector<bool> states;
        for (int i = 1; i <= list->GetRadioButtons().Size(); ++i) {
            states.push_back(Radio(list, i)->IsOn());
        }
        return states;
    }
    static void Push(KesMfgAttIntList* list, KesRawCollint ints, int notify) {
        list->SetAttValue(&ints, nullptr, nullptr, notify);
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Combo and radio buttons
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, ComboShowsTheReferenceAndReportsTheValuePicked) {
    KesMfgAttIntList* list = Make(20, 0);
    KesDlgCombo* combo = list->GetComboWidget();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetField(), "twenty");
    EXPECT_EQ(combo->GetVisibleTextHeight(), 3);
    EXPECT_EQ(combo->GetVisibleTextWidth(), 6);
    EXPECT_TRUE(values.Output(*list, 4).IsEmpty());
    ASSERT_TRUE(combo->UserSelect(2));
    EXPECT_EQ(Notifications(), 1);
    values.Output(*list, 4).Output(*list, 3).Output(*list, 4); // group 3: nothing
    EXPECT_EQ(values.FormatTable(), "Cut_mode | integer | 1 | 30\nCut_mode | integer | 1 | 30\n");
}

TEST_F(KesMfgAttIntListTest, HeightIsCappedAtTenAndWidthFollowsTheVisibleTextWidth) {
    KesRawCollint numbers;
    KesListValKesUnicodeString texts;
    for (int i = 1; i <= 12; ++i) {
        numbers.Append(i);
        texts.Append(i == 7 ? std::string(50, 'x') : std::string("v"));
    }
    const std::pair<int, int> widths[] = {{-1, 32}, {0, 50}, {20, 20}, {-5, 50}};
    for (const auto& [asked, shown] : widths) {
        auto* list = new KesMfgAttIntList("W", "W", 1, numbers, texts, 0, &frame, 1, 0);
        list->SetVisibleTextWidth(asked);
        list->Display();
        EXPECT_EQ(list->GetComboWidget()->GetVisibleTextHeight(), 10);
        EXPECT_EQ(list->GetComboWidget()->GetVisibleTextWidth(), shown) << asked;
    }
}

TEST_F(KesMfgAttIntListTest, RadioButtonsAreNamedAfterTheirValuesAndNotifyOnlyWhenSwitchedOn) {
    KesMfgAttIntList* list = new KesMfgAttIntList("Cut_mode", "Cut mode", 20, {10, 20, 30},
                                                  {"ten", "twenty", "thirty"}, 0, &frame, 4, 1);
    list->SetOptionMode(1, 1);
    list->Display();
    EXPECT_EQ(Radio(list, 3)->GetName(), "rb30");
    EXPECT_EQ(States(list), (std::vector<bool>{false, true, false}));
    ASSERT_TRUE(Radio(list, 3)->UserClick()); // rb20 goes off (no notification), rb30 on
    EXPECT_EQ(Notifications(), 1);
    values.Output(*list, 4);
    EXPECT_EQ(values.FormatTable(), "Cut_mode | integer | 1 | 30\n");
    EXPECT_EQ(Make(0, {-3}, {"minus three"}, 7)->GetRadioButtons()[1]->GetName(), "rb-3");
    list->SetHelp({"h", "h", "h"}, {}); // one help for every button: the option check's too
    EXPECT_EQ(Radio(list, 3)->GetHelp(), "h");
    EXPECT_EQ(list->GetOptionCheckButton()->GetHelp(), "h");
}

// No value while to be defined or while the reference value is not an allowed one.
TEST_F(KesMfgAttIntListTest, NothingSelectedGivesNoValueUntilTheFirstPick) {
    for (KesMfgAttIntList* combo : {Make(20, 0, true), Make(25, 0)}) {
        EXPECT_EQ(combo->GetComboWidget()->GetField(), "");
        EXPECT_EQ(combo->GetAttValue(), 0);
        EXPECT_EQ(values.Output(*combo, 4).GetAttValue(*combo), 4);
        EXPECT_TRUE(values.IsEmpty());
    }
    for (KesMfgAttIntList* radio : {Make(20, 1, true), Make(25, 1)}) {
        EXPECT_EQ(States(radio), (std::vector<bool>{false, false, false}));
    }
    KesMfgAttIntList* combo = Make(20, 0, true);
    ASSERT_TRUE(combo->GetComboWidget()->UserSelect(1)); // the reference value itself
    values.Output(*combo, 4);
    EXPECT_EQ(values.FormatTable(), "Cut_mode | integer | 1 | 20\n");
}

TEST_F(KesMfgAttIntListTest, SetAttValueSelectsOnlyAnAllowedSingleValue) {
    KesMfgAttIntList* list = Make(20, 0, true);
    Push(list, {40}, 1);
    Push(list, {10, 30}, 1);
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), -1);
    EXPECT_EQ(list->IsToBeDefined(), 1);
    Push(list, {10}, 0);
    EXPECT_EQ(list->GetComboWidget()->GetField(), "ten");
    EXPECT_EQ(list->IsToBeDefined(), 0);
    EXPECT_EQ(Notifications(), 0);
    Push(list, {30}, 1); // the combo's notification reaches the parent
    EXPECT_EQ(Notifications(), 1);
    KesMfgAttIntList* radio = Make(20, 1);
    Push(radio, {10}, 1);
    EXPECT_EQ(States(radio), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Notifications(), 2); // from rb10 switched on; rb20 switched off sends nothing
}

// ---------------------------------------------------------------------------------------------
// Bad lists
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, UnequalDuplicatedOrEmptyLists) {
    KesMfgAttIntList* moreTexts = Make(2, {1, 2}, {"one", "two", "three"}, 0);
    EXPECT_EQ(moreTexts->GetComboWidget()->GetLineCount(), 2); // cut to the shorter
    EXPECT_EQ(moreTexts->GetComboWidget()->GetSelect(), 1);
    EXPECT_EQ(Make(3, {1, 2, 3}, {"one", "two"}, 1)->GetRadioButtons().Size(), 2);
    KesMfgAttIntList* duplicated = Make(1, {1, 2, 1}, {"a", "b", "c"}, 0);
    EXPECT_EQ(duplicated->GetComboWidget()->GetField(), "c"); // the last one wins
    KesMfgAttIntList* empty = Make(0, {}, {}, 0);
    EXPECT_EQ(empty->GetComboWidget()->GetVisibleTextWidth(), 1);
    EXPECT_FALSE(empty->GetComboWidget()->UserSelect(0));
    EXPECT_EQ(values.GetAttValue(*empty), 4);
    EXPECT_TRUE(values.IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, TraceSwitchIsReadAtEveryUseAndTracesOnlyWhenExactlyOne) {
    KesStdoutCapture capture;
    const long before = GetDebugCallCount();
    Make(20, 0)->ModifyValueList({}, {"10"}, -1);
    EXPECT_GE(GetDebugCallCount() - before, 3); // construction, Display, ModifyValueList
    SetDebug("AttIntList", 2);
    Make(20, 0);
    EXPECT_EQ(capture.Text(), "");
    SetDebug("AttIntList", 1);
    Make(20, 0);
    EXPECT_NE(capture.Text().find("Cut_mode"), std::string::npos);
    EXPECT_NE(capture.Text().find("10 20 30"), std::string::npos);
}

} // namespace
