// The boolean attribute: check button and radio pair driven by a user clicking and by a caller
// pushing and collecting value vectors; the forced radio pair; titles and icons; the impacts
// with the values 1 and 0.
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
    // The radio button of the value 1 (position 1) or 0 (position 2).
    static KesDlgRadioButton* Radio(KesMfgAttLogic* logic, int position) {
        return static_cast<KesDlgRadioButton*>(logic->GetRadioButtons()[position]);
    }
    LoggedTarget* SteeredBy(KesMfgAttLogic* logic) {
        auto* target = new LoggedTarget(&frame);
        target->Display();
        KesListPtrKesMfgAttribute impacted;
        impacted.Append(target);
        logic->AddImpactedAttributes(impacted, {}, KesRawCollint{1, 0}, {1, 0});
        return target;
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Check button
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLogicTest, CheckButtonReportsTheValueOnceTheUserSwitchedItOff) {
    KesMfgAttLogic early("Coolant", "Coolant", 1, 0, &frame, 1, 0, nullptr);
    EXPECT_EQ(early.GetAttValue(), 1); // before Display: the value given
    KesMfgAttLogic* logic = Make(1, 0);
    KesDlgCheckButton* check = logic->GetCheckButtonWidget();
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->IsOn());
    EXPECT_TRUE(values.Output(*logic, 1).IsEmpty());
    ASSERT_TRUE(check->UserClick());
    EXPECT_EQ(Notifications(), 1);
    values.Output(*logic, 1).Output(*logic, 1);
    EXPECT_EQ(values.FormatTable(), "Coolant | boolean | 1 | 0\nCoolant | boolean | 1 | 0\n");
}

TEST_F(KesMfgAttLogicTest, SetAttValueOnTheCheckButtonAlwaysNotifiesAndSteers) {
    KesMfgAttLogic* logic = Make(0, 0);
    LoggedTarget* target = SteeredBy(logic);
    logic->ImpactAttributes();
    EXPECT_FALSE(target->IsSetSensitivity());
    KesRawCollint one{1};
    logic->SetAttValue(&one, nullptr, nullptr, 0);
    EXPECT_TRUE(logic->GetCheckButtonWidget()->IsOn());
    EXPECT_EQ(Notifications(), 1);
    EXPECT_TRUE(target->IsSetSensitivity());
    KesRawCollint five{5}; // anything but 1 is false
    logic->SetAttValue(&five, nullptr, nullptr, 0);
    EXPECT_FALSE(logic->GetCheckButtonWidget()->IsOn());
    EXPECT_EQ(Notifications(), 2);
    KesRawCollint two{1, 1};
    logic->SetAttValue(&two, nullptr, nullptr, 1);
    logic->SetAttValue(nullptr, nullptr, nullptr, 1);
    EXPECT_FALSE(logic->GetCheckButtonWidget()->IsOn());
    EXPECT_EQ(Notifications(), 2);
}

// ---------------------------------------------------------------------------------------------
// Radio pair
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLogicTest, ToBeDefinedShowsTheRadioPairWithNeitherButtonOn) {
    KesMfgAttLogic* logic = Make(1, 0, nullptr, true);
    EXPECT_EQ(logic->GetPresentationMode(), 1);
    EXPECT_EQ(logic->GetCheckButtonWidget(), nullptr);
    EXPECT_FALSE(Radio(logic, 1)->IsOn());
    EXPECT_FALSE(Radio(logic, 2)->IsOn());
    EXPECT_TRUE(values.Output(*logic, 1).IsEmpty());
    ASSERT_TRUE(Radio(logic, 2)->UserClick());
    EXPECT_EQ(Notifications(), 1);
    values.Output(*logic, 1); // forced output
    EXPECT_EQ(values.FormatTable(), "Coolant | boolean | 1 | 0\n");
}

TEST_F(KesMfgAttLogicTest, TitlesComeFromAListOfExactlyTwoTextsAndIconsGoFalseFirst) {
    KesListValKesUnicodeString noYes{"No", "Yes"};
    KesMfgAttLogic* titled = Make(1, 1, &noYes);
    EXPECT_EQ(Radio(titled, 1)->GetTitle(), "Yes");
    EXPECT_EQ(Radio(titled, 2)->GetTitle(), "No");
    EXPECT_TRUE(Radio(titled, 1)->IsOn());
    EXPECT_FALSE(Radio(titled, 2)->IsOn());
    KesListValKesUnicodeString three{"a", "b", "c"};
    EXPECT_EQ(Radio(Make(0, 1, &three), 1)->GetTitle(), "");

    KesListValKesUnicodeString icons{"off", "on"};
    KesListValKesUnicodeString second{"off2", "on2"};
    titled->SetIconNames(&icons, &second);
    EXPECT_EQ(Radio(titled, 1)->GetIconName(), "on");
    EXPECT_EQ(Radio(titled, 1)->GetSecondIconName(), "on2");
    EXPECT_EQ(Radio(titled, 2)->GetIconName(), "off");
}

TEST_F(KesMfgAttLogicTest, NeitherButtonOnGivesCountZeroToOutputButValueZeroToGetAttValue) {
    auto* logic = new KesMfgAttLogic("Coolant", "Coolant", 7, 0, &frame, 1, 1, nullptr);
    logic->SetOptionMode(0, 0); // initial option state 0: Output reports on every call
    logic->Display();
    values.Output(*logic, 1);
    EXPECT_EQ(values.GetAttValue(*logic), 1);
    EXPECT_EQ(values.FormatTable(), "Coolant | boolean | 0 |\nCoolant | boolean | 1 | 0\n");
    EXPECT_EQ(logic->GetAttValue(), 0);
}

TEST_F(KesMfgAttLogicTest, SetAttValueOnTheRadioPairUsesTheNotifyFlag) {
    KesMfgAttLogic* logic = Make(1, 1);
    KesRawCollint zero{0};
    logic->SetAttValue(&zero, nullptr, nullptr, 0);
    EXPECT_FALSE(Radio(logic, 1)->IsOn());
    EXPECT_TRUE(Radio(logic, 2)->IsOn());
    EXPECT_EQ(Notifications(), 0);
    KesRawCollint one{1};
    logic->SetAttValue(&one, nullptr, nullptr, 1);
    EXPECT_TRUE(Radio(logic, 1)->IsOn());
    EXPECT_EQ(Notifications(), 1); // the button switched on; the one switched off sends nothing
}

TEST_F(KesMfgAttLogicTest, OtherPresentationModesKeepTheReferenceValue) {
    KesMfgAttLogic* logic = Make(1, 5);
    EXPECT_EQ(logic->GetChildCount(), 1); // the label only
    EXPECT_EQ(values.GetAttValue(*logic), 1);
    EXPECT_EQ(values.FormatTable(), "Coolant | boolean | 1 | 1\n");
}

TEST_F(KesMfgAttLogicTest, ImpactsAreReappliedOnEveryRadioNotification) {
    KesMfgAttLogic* logic = Make(1, 1);
    LoggedTarget* target = SteeredBy(logic);
    ASSERT_TRUE(Radio(logic, 2)->UserClick());
    // rb1 switched off notifies first (state 0), then rb0 switched on (state 0).
    EXPECT_EQ(target->log, (std::vector<unsigned long>{16, 16}));
    EXPECT_FALSE(target->IsSetSensitivity());
    EXPECT_EQ(Notifications(), 1);
    ASSERT_TRUE(Radio(logic, 1)->UserClick());
    EXPECT_TRUE(target->IsSetSensitivity());
    EXPECT_EQ(target->log.size(), 4u);
}

} // namespace
