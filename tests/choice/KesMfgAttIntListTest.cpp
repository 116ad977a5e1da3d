// The integer choice list: combo and radio presentations driven by a user picking and by a
// caller pushing and collecting value vectors; bad lists; icons, help and the trace switch.
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
        auto* list = new KesMfgAttIntList("Cut_mode", "Cut mode", reference, {10, 20, 30},
                                          {"ten", "twenty", "thirty"}, 0, &frame, 4, presentation);
        if (toBeDefined) {
            list->SetAttToBeDefined();
        }
        list->Display();
        return list;
    }
    static KesDlgRadioButton* Radio(KesMfgAttIntList* list, int position) {
        return static_cast<KesDlgRadioButton*>(list->GetRadioButtons()[position]);
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

void ExpectRecord(const KesValueVectors& values, int count, std::initializer_list<int> ints) {
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"Cut_mode"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{1}));
    EXPECT_EQ(values.counts, (KesRawCollint{count}));
    EXPECT_EQ(values.ints, KesRawCollint(ints));
    EXPECT_EQ(values.texts.Size(), 0);
    EXPECT_EQ(values.reals.Size(), 0);
}

// ---------------------------------------------------------------------------------------------
// Combo
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, ComboShowsTheReferenceAndReportsTheValuePicked) {
    KesMfgAttIntList* list = Make(20, 0);
    KesDlgCombo* combo = list->GetComboWidget();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetName(), "comboatt");
    EXPECT_EQ(combo->GetStyle(), 0x40000u);
    EXPECT_EQ(combo->GetLineCount(), 3);
    EXPECT_EQ(combo->GetSelect(), 1);
    EXPECT_EQ(combo->GetField(), "twenty");
    EXPECT_EQ(combo->GetVisibleTextHeight(), 3);
    EXPECT_EQ(combo->GetVisibleTextWidth(), 6);
    EXPECT_EQ(list->GetAttValue(), 20);
    values.Output(*list, 4);
    EXPECT_TRUE(values.IsEmpty());

    ASSERT_TRUE(combo->UserSelect(2));
    EXPECT_EQ(Notifications(), 1);
    values.Output(*list, 4);
    values.Output(*list, 3); // another group: nothing
    ExpectRecord(values, 1, {30});
    values.Clear();
    values.Output(*list, 4);
    ExpectRecord(values, 1, {30});
}

TEST_F(KesMfgAttIntListTest, HeightIsCappedAtTenAndWidthFollowsTheVisibleTextWidth) {
    KesRawCollint numbers;
    KesListValKesUnicodeString texts;
    for (int i = 1; i <= 12; ++i) {
        numbers.Append(i);
        texts.Append(i == 7 ? std::string(50, 'x') : std::string("v"));
    }
    const std::vector<std::pair<int, int>> widths = {{-1, 32}, {0, 50}, {20, 20}, {-5, 50}};
    for (const auto& [asked, shown] : widths) {
        auto* list = new KesMfgAttIntList("W", "W", 1, numbers, texts, 0, &frame, 1, 0);
        list->SetVisibleTextWidth(asked);
        list->Display();
        EXPECT_EQ(list->GetComboWidget()->GetVisibleTextHeight(), 10);
        EXPECT_EQ(list->GetComboWidget()->GetVisibleTextWidth(), shown) << asked;
    }
}

// ---------------------------------------------------------------------------------------------
// Radio buttons
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, RadioButtonsAreNamedAfterTheirValuesAndNotifyOnlyWhenSwitchedOn) {
    KesMfgAttIntList* list = Make(20, 1);
    ASSERT_EQ(list->GetRadioButtons().Size(), 3);
    EXPECT_EQ(list->GetComboWidget(), nullptr);
    const char* names[] = {"rb10", "rb20", "rb30"};
    const char* titles[] = {"ten", "twenty", "thirty"};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(Radio(list, i)->GetName(), names[i - 1]);
        EXPECT_EQ(Radio(list, i)->GetTitle(), titles[i - 1]);
        EXPECT_EQ(Radio(list, i)->IsOn(), i == 2);
    }
    ASSERT_TRUE(Radio(list, 3)->UserClick()); // rb20 goes off (no notification), rb30 on
    EXPECT_EQ(Notifications(), 1);
    values.Output(*list, 4);
    ExpectRecord(values, 1, {30});

    auto* negative = new KesMfgAttIntList("N", "N", 0, {-3}, {"minus three"}, 0, &frame, 1, 7);
    negative->Display();
    EXPECT_EQ(negative->GetRadioButtons()[1]->GetName(), "rb-3");
}

// ---------------------------------------------------------------------------------------------
// No value: to be defined, nothing selected, unchecked
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, ToBeDefinedShowsNothingAndReportsFromTheFirstPickOn) {
    KesMfgAttIntList* combo = Make(20, 0, true);
    EXPECT_EQ(combo->GetComboWidget()->GetSelect(), -1);
    EXPECT_EQ(combo->GetComboWidget()->GetField(), "");
    EXPECT_EQ(combo->GetAttValue(), 0);
    values.Output(*combo, 4);
    EXPECT_EQ(values.GetAttValue(*combo), 4);
    EXPECT_TRUE(values.IsEmpty());
    ASSERT_TRUE(combo->GetComboWidget()->UserSelect(1)); // the reference value itself
    values.Output(*combo, 4);
    ExpectRecord(values, 1, {20});

    KesMfgAttIntList* radio = Make(20, 1, true);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(Radio(radio, i)->IsOn());
    }
}

TEST_F(KesMfgAttIntListTest, ReferenceValueNotAllowedLeavesNothingSelectedAndNoValue) {
    KesMfgAttIntList* list = Make(25, 0);
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), -1);
    EXPECT_EQ(list->GetAttValue(), 0);
    values.Output(*list, 4);
    EXPECT_EQ(values.GetAttValue(*list), 4);
    EXPECT_TRUE(values.IsEmpty());

    KesMfgAttIntList* radio = Make(25, 1);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(Radio(radio, i)->IsOn());
    }
}

TEST_F(KesMfgAttIntListTest, UncheckedOptionalListReportsCountZero) {
    auto* list = new KesMfgAttIntList("Cut_mode", "Cut mode", 20, {10, 20, 30},
                                      {"ten", "twenty", "thirty"}, 0, &frame, 4, 0);
    list->SetOptionMode(1, 1);
    list->Display();
    ASSERT_TRUE(list->GetOptionCheckButton()->UserClick());
    EXPECT_EQ(Notifications(), 1);
    EXPECT_FALSE(list->GetComboWidget()->IsSetSensitivity());
    values.Output(*list, 4);
    ExpectRecord(values, 0, {});
}

// ---------------------------------------------------------------------------------------------
// SetAttValue
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, SetAttValueSelectsOnlyAnAllowedSingleValue) {
    KesMfgAttIntList* list = Make(20, 0, true);
    KesRawCollint notAllowed{40};
    KesRawCollint two{10, 30};
    list->SetAttValue(&notAllowed, nullptr, nullptr, 1);
    list->SetAttValue(&two, nullptr, nullptr, 1);
    list->SetAttValue(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), -1);
    EXPECT_EQ(list->IsToBeDefined(), 1);

    KesRawCollint ten{10};
    list->SetAttValue(&ten, nullptr, nullptr, 0);
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), 0);
    EXPECT_EQ(list->GetComboWidget()->GetField(), "ten");
    EXPECT_EQ(list->IsToBeDefined(), 0);
    EXPECT_EQ(Notifications(), 0);
    KesRawCollint thirty{30};
    list->SetAttValue(&thirty, nullptr, nullptr, 1); // the combo's notification reaches the parent
    EXPECT_EQ(Notifications(), 1);
    EXPECT_EQ(list->GetAttValue(), 30);
}

TEST_F(KesMfgAttIntListTest, SetAttValueOnRadioButtonsNotifiesThroughTheButtons) {
    KesMfgAttIntList* list = Make(20, 1);
    KesRawCollint ten{10};
    list->SetAttValue(&ten, nullptr, nullptr, 1);
    EXPECT_TRUE(Radio(list, 1)->IsOn());
    EXPECT_FALSE(Radio(list, 2)->IsOn());
    EXPECT_EQ(Notifications(), 1); // from rb10 switched on; rb20 switched off sends nothing
}

TEST_F(KesMfgAttIntListTest, OperationsBeforeDisplayAreIgnored) {
    auto* list = new KesMfgAttIntList("L", "L", 1, {1, 2}, {"a", "b"}, 0, &frame, 1, 0);
    KesRawCollint one{1};
    KesListValKesUnicodeString texts{"x", "y"};
    list->SetAttValue(&one, nullptr, nullptr, 1);
    list->ModifyValueList({}, {"2"}, -1);
    list->SetIconNames(&texts, &texts);
    list->SetHelp(texts, texts);
    list->ImpactAttributes();
    values.Output(*list, 1);
    EXPECT_EQ(values.GetAttValue(*list), 1);
    EXPECT_TRUE(values.IsEmpty());
    EXPECT_EQ(list->GetAttValue(), 0);
    list->Display();
    EXPECT_EQ(list->GetComboWidget()->GetLineCount(), 2);
}

// ---------------------------------------------------------------------------------------------
// Bad lists
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, UnequalListsAreCutToTheShorter) {
    auto* moreTexts =
        new KesMfgAttIntList("L", "L", 2, {1, 2}, {"one", "two", "three"}, 0, &frame, 1, 0);
    moreTexts->Display();
    EXPECT_EQ(moreTexts->GetComboWidget()->GetLineCount(), 2);
    EXPECT_EQ(moreTexts->GetComboWidget()->GetSelect(), 1);

    auto* moreValues =
        new KesMfgAttIntList("L", "L", 3, {1, 2, 3}, {"one", "two"}, 0, &frame, 1, 1);
    moreValues->Display();
    EXPECT_EQ(moreValues->GetRadioButtons().Size(), 2);
    EXPECT_EQ(moreValues->GetConstructionValues(), (KesRawCollint{1, 2}));
}

TEST_F(KesMfgAttIntListTest, DuplicatedValueIsActedOnAtEachPositionAndTheLastWins) {
    auto* list = new KesMfgAttIntList("L", "L", 1, {1, 2, 1}, {"a", "b", "c"}, 0, &frame, 1, 0);
    list->Display();
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), 2);
    EXPECT_EQ(list->GetComboWidget()->GetField(), "c");
    ASSERT_TRUE(list->GetComboWidget()->UserSelect(0));
    EXPECT_EQ(list->GetAttValue(), 1);
}

TEST_F(KesMfgAttIntListTest, EmptyListsBuildAnEmptyComboWithoutValue) {
    auto* list = new KesMfgAttIntList("L", "L", 0, {}, {}, 0, &frame, 1, 0);
    list->Display();
    EXPECT_EQ(list->GetComboWidget()->GetLineCount(), 0);
    EXPECT_EQ(list->GetComboWidget()->GetVisibleTextHeight(), 0);
    EXPECT_EQ(list->GetComboWidget()->GetVisibleTextWidth(), 1);
    EXPECT_FALSE(list->GetComboWidget()->UserSelect(0));
    EXPECT_EQ(values.GetAttValue(*list), 1);
    EXPECT_TRUE(values.IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Icons, help, trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntListTest, IconsGoToTheRadioButtonsOnlyWithOneNamePerButton) {
    KesMfgAttIntList* list = Make(20, 1);
    KesListValKesUnicodeString icons{"i10", "i20", "i30"};
    KesListValKesUnicodeString second{"s10", "s20", "s30"};
    KesListValKesUnicodeString two{"x", "y"};
    list->SetIconNames(&icons, &two); // second list of the wrong length: nothing
    EXPECT_EQ(Radio(list, 1)->GetIconName(), "");
    list->SetIconNames(&icons, nullptr);
    EXPECT_EQ(Radio(list, 3)->GetIconName(), "i30");
    list->SetIconNames(&icons, &second);
    EXPECT_EQ(Radio(list, 2)->GetSecondIconName(), "s20");
    list->SetIconNames(&two, nullptr);
    EXPECT_EQ(Radio(list, 1)->GetIconName(), "i10");
}

TEST_F(KesMfgAttIntListTest, HelpGoesToButtonsOrComboAndToTheOptionCheckWhenCommon) {
    auto* radio = new KesMfgAttIntList("R", "R", 1, {1, 2}, {"a", "b"}, 0, &frame, 1, 1);
    radio->SetOptionMode(1, 1);
    radio->Display();
    radio->SetHelp({"h1", "h2"}, {"s", "s"});
    EXPECT_EQ(radio->GetRadioButtons()[2]->GetHelp(), "h2");
    EXPECT_EQ(radio->GetOptionCheckButton()->GetHelp(), "");
    EXPECT_EQ(radio->GetOptionCheckButton()->GetShortHelp(), "s");
    radio->SetHelp({"only one"}, {});
    EXPECT_EQ(radio->GetRadioButtons()[1]->GetHelp(), "h1");

    auto* combo = new KesMfgAttIntList("C", "C", 1, {1, 2}, {"a", "b"}, 0, &frame, 1, 0);
    combo->SetOptionMode(1, 1);
    combo->Display();
    combo->SetHelp({"first", "second"}, {});
    EXPECT_EQ(combo->GetComboWidget()->GetHelp(), "first");
    EXPECT_EQ(combo->GetOptionCheckButton()->GetHelp(), "first");
    EXPECT_EQ(combo->GetLabelWidget()->GetHelp(), "");
}

TEST_F(KesMfgAttIntListTest, TraceSwitchIsReadAtEveryUseAndTracesOnlyWhenExactlyOne) {
    {
        KesStdoutCapture capture;
        const long before = GetDebugCallCount();
        KesMfgAttIntList* list = Make(20, 0);
        list->ModifyValueList({}, {"10"}, -1);
        EXPECT_GE(GetDebugCallCount() - before, 3); // construction, Display, ModifyValueList
        EXPECT_EQ(capture.Text(), "");
    }
    SetDebug("AttIntList", 2);
    {
        KesStdoutCapture capture;
        Make(20, 0);
        EXPECT_EQ(capture.Text(), "");
    }
    SetDebug("AttIntList", 1);
    KesStdoutCapture capture;
    Make(20, 0);
    const std::string text = capture.Text();
    EXPECT_NE(text.find("Cut_mode"), std::string::npos);
    EXPECT_NE(text.find("10 20 30"), std::string::npos);
}

} // namespace
