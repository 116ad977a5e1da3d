// The boolean attribute: check button and radio pair driven by a user clicking and by a caller
// pushing and collecting value vectors; the forced radio pair; titles, icons and help; the
// impacts with the values 1 and 0.
#include "single/KesMfgAttLogic.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An integer attribute that records every SetSensitivity it receives.
class LoggedTarget : public KesMfgAttInt {
public:
    LoggedTarget(KesDlgFrame* parent) : KesMfgAttInt("T", "T", 0, 0, 0, 0, parent, 1) {}
    void SetSensitivity(unsigned long sensitivity) override {
        log.push_back(sensitivity);
        KesMfgAttInt::SetSensitivity(sensitivity);
    }
    std::vector<unsigned long> log;
};

class KesMfgAttLogicTest : public ::testing::Test {
protected:
    KesMfgAttLogic* Make(int value, int presentation, KesListValKesUnicodeString* titles = nullptr,
                         bool toBeDefined = false) {
        auto* logic =
            new KesMfgAttLogic("Coolant", "Coolant", value, 0, &frame, 1, presentation, titles);
        if (toBeDefined) {
            logic->SetAttToBeDefined();
        }
        logic->Display();
        return logic;
    }
    static KesDlgRadioButton* TrueButton(KesMfgAttLogic* logic) {
        return static_cast<KesDlgRadioButton*>(logic->GetRadioButtons()[1]);
    }
    static KesDlgRadioButton* FalseButton(KesMfgAttLogic* logic) {
        return static_cast<KesDlgRadioButton*>(logic->GetRadioButtons()[2]);
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

void ExpectRecord(const KesValueVectors& values, int count, std::initializer_list<int> ints) {
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"Coolant"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{0}));
    EXPECT_EQ(values.counts, (KesRawCollint{count}));
    EXPECT_EQ(values.ints, KesRawCollint(ints));
}

// ---------------------------------------------------------------------------------------------
// Check button
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLogicTest, CheckButtonReportsTheValueOnceTheUserSwitchedItOff) {
    KesMfgAttLogic* logic = Make(1, 0);
    KesDlgCheckButton* check = logic->GetCheckButtonWidget();
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->GetName(), "chkbtnatt");
    EXPECT_TRUE(check->IsOn());
    EXPECT_EQ(check->GetTitle(), "");
    values.Output(*logic, 1);
    EXPECT_TRUE(values.IsEmpty());

    ASSERT_TRUE(check->UserClick());
    EXPECT_EQ(Notifications(), 1);
    values.Output(*logic, 1);
    ExpectRecord(values, 1, {0});
    values.Clear();
    values.Output(*logic, 1);
    ExpectRecord(values, 1, {0});
    EXPECT_EQ(logic->GetAttValue(), 0);
}

TEST_F(KesMfgAttLogicTest, SetAttValueOnTheCheckButtonAlwaysNotifies) {
    KesMfgAttLogic* logic = Make(0, 0);
    KesRawCollint one{1};
    logic->SetAttValue(&one, nullptr, nullptr, 0);
    EXPECT_TRUE(logic->GetCheckButtonWidget()->IsOn());
    EXPECT_EQ(Notifications(), 1);
    KesRawCollint five{5}; // anything but 1 is false
    logic->SetAttValue(&five, nullptr, nullptr, 0);
    EXPECT_FALSE(logic->GetCheckButtonWidget()->IsOn());
    EXPECT_EQ(Notifications(), 2);
    KesRawCollint two{1, 1};
    logic->SetAttValue(&two, nullptr, nullptr, 1);
    logic->SetAttValue(nullptr, nullptr, nullptr, 1);
    EXPECT_FALSE(logic->GetCheckButtonWidget()->IsOn());
}

// ---------------------------------------------------------------------------------------------
// Radio pair
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLogicTest, ToBeDefinedShowsTheRadioPairWithNeitherButtonOn) {
    KesMfgAttLogic* logic = Make(1, 0, nullptr, true);
    EXPECT_EQ(logic->GetPresentationMode(), 1);
    EXPECT_EQ(logic->GetCheckButtonWidget(), nullptr);
    EXPECT_EQ(TrueButton(logic)->GetName(), "rb1");
    EXPECT_EQ(FalseButton(logic)->GetName(), "rb0");
    EXPECT_FALSE(TrueButton(logic)->IsOn());
    EXPECT_FALSE(FalseButton(logic)->IsOn());
    EXPECT_EQ(logic->GetAttValue(), 0);
    values.Output(*logic, 1);
    EXPECT_TRUE(values.IsEmpty());

    ASSERT_TRUE(FalseButton(logic)->UserClick());
    EXPECT_EQ(Notifications(), 1);
    values.Output(*logic, 1); // forced output
    ExpectRecord(values, 1, {0});
}

TEST_F(KesMfgAttLogicTest, TitlesComeFromAListOfExactlyTwoTexts) {
    KesListValKesUnicodeString noYes{"No", "Yes"};
    KesMfgAttLogic* titled = Make(1, 1, &noYes);
    EXPECT_EQ(TrueButton(titled)->GetTitle(), "Yes");
    EXPECT_EQ(FalseButton(titled)->GetTitle(), "No");
    EXPECT_TRUE(TrueButton(titled)->IsOn());
    EXPECT_FALSE(FalseButton(titled)->IsOn());

    KesListValKesUnicodeString three{"a", "b", "c"};
    EXPECT_EQ(TrueButton(Make(0, 1, &three))->GetTitle(), "");
    KesMfgAttLogic* untitled = Make(0, 1, nullptr);
    EXPECT_EQ(FalseButton(untitled)->GetTitle(), "");
    EXPECT_TRUE(FalseButton(untitled)->IsOn());
}

TEST_F(KesMfgAttLogicTest, NeitherButtonOnGivesCountZeroToOutputButValueZeroToGetAttValue) {
    auto* logic = new KesMfgAttLogic("Coolant", "Coolant", 7, 0, &frame, 1, 1, nullptr);
    logic->SetOptionMode(0, 0); // initial option state 0: Output reports on every call
    logic->Display();
    values.Output(*logic, 1);
    ExpectRecord(values, 0, {});
    values.Clear();
    EXPECT_EQ(values.GetAttValue(*logic), 1);
    ExpectRecord(values, 1, {0});
}

TEST_F(KesMfgAttLogicTest, SetAttValueOnTheRadioPairUsesTheNotifyFlag) {
    KesMfgAttLogic* logic = Make(1, 1);
    KesRawCollint zero{0};
    logic->SetAttValue(&zero, nullptr, nullptr, 0);
    EXPECT_FALSE(TrueButton(logic)->IsOn());
    EXPECT_TRUE(FalseButton(logic)->IsOn());
    EXPECT_EQ(Notifications(), 0);
    KesRawCollint one{1};
    logic->SetAttValue(&one, nullptr, nullptr, 1);
    EXPECT_TRUE(TrueButton(logic)->IsOn());
    EXPECT_EQ(Notifications(), 1); // the button switched on; the one switched off sends nothing
}

TEST_F(KesMfgAttLogicTest, OtherPresentationModesKeepTheReferenceValue) {
    KesMfgAttLogic* logic = Make(1, 5);
    EXPECT_EQ(logic->GetChildCount(), 1); // the label only
    EXPECT_EQ(logic->GetAttValue(), 1);
    EXPECT_EQ(values.GetAttValue(*logic), 1);
    ExpectRecord(values, 1, {1});
    KesListValKesUnicodeString icons{"a", "b"};
    logic->SetIconNames(&icons, nullptr);
    logic->SetHelp({"x", "y"}, {"x", "y"});
}

// ---------------------------------------------------------------------------------------------
// Impacts
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLogicTest, ImpactsAreReappliedOnEveryRadioNotification) {
    KesMfgAttLogic* logic = Make(1, 1);
    auto* target = new LoggedTarget(&frame);
    target->Display();
    KesListPtrKesMfgAttribute impacted;
    impacted.Append(target);
    logic->AddImpactedAttributes(impacted, {}, KesRawCollint{1, 0}, {1, 0});

    ASSERT_TRUE(FalseButton(logic)->UserClick());
    // rb1 switched off notifies first (state 0), then rb0 switched on (state 0).
    EXPECT_EQ(target->log, (std::vector<unsigned long>{16, 16}));
    EXPECT_FALSE(target->IsSetSensitivity());
    EXPECT_EQ(Notifications(), 1);
    ASSERT_TRUE(TrueButton(logic)->UserClick());
    EXPECT_TRUE(target->IsSetSensitivity());
    EXPECT_EQ(target->log.size(), 4u);
}

TEST_F(KesMfgAttLogicTest, CheckButtonSteersThroughItsState) {
    KesMfgAttLogic* logic = Make(0, 0);
    auto* target = new LoggedTarget(&frame);
    target->Display();
    KesListPtrKesMfgAttribute impacted;
    impacted.Append(target);
    logic->AddImpactedAttributes(impacted, {}, KesRawCollint{1, 0}, {1, 0});
    logic->ImpactAttributes();
    EXPECT_FALSE(target->IsSetSensitivity());
    KesRawCollint one{1};
    logic->SetAttValue(&one, nullptr, nullptr, 0);
    EXPECT_TRUE(target->IsSetSensitivity());
}

// ---------------------------------------------------------------------------------------------
// Icons and help
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLogicTest, IconsGoFalseFirstTrueSecond) {
    KesMfgAttLogic* radio = Make(1, 1);
    KesListValKesUnicodeString icons{"off", "on"};
    KesListValKesUnicodeString second{"off2", "on2"};
    radio->SetIconNames(&icons, &second);
    EXPECT_EQ(TrueButton(radio)->GetIconName(), "on");
    EXPECT_EQ(TrueButton(radio)->GetSecondIconName(), "on2");
    EXPECT_EQ(FalseButton(radio)->GetIconName(), "off");

    KesMfgAttLogic* check = Make(1, 0);
    check->SetIconNames(&icons, nullptr);
    EXPECT_EQ(check->GetCheckButtonWidget()->GetIconName(), "off");
    EXPECT_EQ(check->GetCheckButtonWidget()->GetSecondIconName(), "on");
    KesListValKesUnicodeString one{"x"};
    check->SetIconNames(&one, nullptr);
    EXPECT_EQ(check->GetCheckButtonWidget()->GetIconName(), "off");
}

TEST_F(KesMfgAttLogicTest, HelpGoesToEachRadioButtonAndToTheOptionCheckWhenEqual) {
    auto* logic = new KesMfgAttLogic("Coolant", "Coolant", 1, 0, &frame, 1, 1, nullptr);
    logic->SetOptionMode(1, 1);
    logic->Display();
    logic->SetHelp({"no help", "yes help"}, {"same", "same"});
    EXPECT_EQ(TrueButton(logic)->GetHelp(), "yes help");
    EXPECT_EQ(FalseButton(logic)->GetHelp(), "no help");
    EXPECT_EQ(logic->GetOptionCheckButton()->GetHelp(), "");
    EXPECT_EQ(logic->GetOptionCheckButton()->GetShortHelp(), "same");

    KesMfgAttLogic* check = Make(1, 0);
    check->SetHelp({"a", "a"}, {});
    EXPECT_EQ(check->GetCheckButtonWidget()->GetHelp(), "");
}

} // namespace
