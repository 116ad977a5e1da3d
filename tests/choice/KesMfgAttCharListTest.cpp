// The text choice list: stripped values, read-only and editable combos, radio buttons, typed
// texts, impacts with text values and the trace switch.
#include "choice/KesMfgAttCharList.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "single/KesMfgAttInt.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class KesMfgAttCharListTest : public ::testing::Test {
protected:
    void SetUp() override { SetDebug("KesMfgAttCharList", 0); }
    void TearDown() override { ResetDebug(); }

    // Values " ROUGH " and FINISH shown as Roughing and Finishing, reference " FINISH".
    KesMfgAttCharList* Make(int presentation, bool toBeDefined = false,
                            KesUnicodeString reference = " FINISH") {
        auto* list = new KesMfgAttCharList("Pass", "Pass", reference, {" ROUGH  ", "FINISH"},
                                           {"Roughing", "Finishing"}, "", &frame, 2, presentation);
        if (toBeDefined) {
            list->SetAttToBeDefined();
        }
        list->Display();
        return list;
    }
    // An integer attribute steered by `list` through `impactValues` and `flags`.
    KesMfgAttInt* SteeredBy(KesMfgAttCharList* list, KesListValKesUnicodeString impactValues,
                            KesRawCollint flags) {
        auto* target = new KesMfgAttInt("T", "T", 0, 0, 0, 0, &frame, 2);
        target->Display();
        KesListPtrKesMfgAttribute impacted;
        impacted.Append(target);
        list->AddImpactedAttributes(impacted, {}, impactValues, flags);
        return target;
    }
    static void Push(KesMfgAttCharList* list, const char* text, int notify) {
        KesListValKesUnicodeString texts{text};
        list->SetAttValue(nullptr, nullptr, &texts, notify);
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Read-only combo and radio buttons
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharListTest, ValuesAreStrippedAndThePickedValueIsReportedUnpadded) {
    KesMfgAttCharList* list = Make(0);
    EXPECT_EQ(list->GetAllowedValues(), (KesListValKesUnicodeString{"ROUGH", "FINISH"}));
    KesDlgCombo* combo = list->GetComboWidget();
    EXPECT_EQ(combo->GetField(), "Finishing");
    EXPECT_EQ(combo->GetVisibleTextHeight(), 2);
    EXPECT_TRUE(values.Output(*list, 2).IsEmpty());
    ASSERT_TRUE(combo->UserSelect(0));
    EXPECT_EQ(Notifications(), 1);
    values.Output(*list, 2);
    EXPECT_EQ(values.FormatTable(), "Pass | text | 1 | \"ROUGH\"\n");

    KesMfgAttCharList* radio = Make(1);
    EXPECT_EQ(radio->GetRadioButtons()[1]->GetName(), "rbROUGH");
    EXPECT_TRUE(static_cast<KesDlgRadioButton*>(radio->GetRadioButtons()[2])->IsOn());
    ASSERT_TRUE(static_cast<KesDlgRadioButton*>(radio->GetRadioButtons()[1])->UserClick());
    EXPECT_EQ(radio->GetAttValue(), "ROUGH");

    KesListValKesUnicodeString seven{"A", "B", "C", "D", "E", "F", "G"};
    auto* tall = new KesMfgAttCharList("N", "N", "A", seven, seven, "", &frame, 1, 0);
    tall->Display();
    EXPECT_EQ(tall->GetComboWidget()->GetVisibleTextHeight(), 5);
}

TEST_F(KesMfgAttCharListTest, SetAttValueComparesTheGivenTextWithoutStripping) {
    KesMfgAttCharList* list = Make(0);
    Push(list, " ROUGH", 1);
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), 1);
    Push(list, "ROUGH", 0);
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), 0);
    EXPECT_EQ(Notifications(), 0);
}

// No value while to be defined or while no radio button is on.
TEST_F(KesMfgAttCharListTest, NothingSelectedGivesTheEmptyTextAndNoRecord) {
    for (KesMfgAttCharList* list : {Make(0, true), Make(3, false, "SEMI")}) {
        EXPECT_EQ(list->GetAttValue(), "");
        EXPECT_EQ(values.Output(*list, 2).GetAttValue(*list), 2);
        EXPECT_TRUE(values.IsEmpty());
    }
}

// ---------------------------------------------------------------------------------------------
// Editable combo
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharListTest, TypedTextBecomesANewLastLineAndTheValueButNotAnAllowedValue) {
    auto* list = new KesMfgAttCharList("Pass", "Pass", "FINISH", {"ROUGH", "FINISH"},
                                       {"ROUGH", "FINISH"}, "", &frame, 2, 2);
    KesMfgAttInt* target = SteeredBy(list, {"SEMI"}, {0});
    list->Display();
    KesDlgCombo* combo = list->GetComboWidget();
    EXPECT_EQ(combo->GetVisibleTextHeight(), 5); // always five, unlike the read-only combo

    ASSERT_TRUE(combo->UserType("  SEMI "));
    EXPECT_EQ(combo->GetLineCount(), 3);
    EXPECT_EQ(combo->GetLine(2), "SEMI");
    EXPECT_EQ(combo->GetSelect(), 2);
    EXPECT_EQ(Notifications(), 1);
    EXPECT_TRUE(target->IsSetSensitivity()); // a typed text does not apply the impacts
    values.Output(*list, 2);
    EXPECT_EQ(values.FormatTable(), "Pass | text | 1 | \"SEMI\"\n");
    EXPECT_EQ(list->GetAllowedValues().Size(), 2);
    Push(list, "SEMI", 1); // not an allowed value
    EXPECT_EQ(Notifications(), 1);

    ASSERT_TRUE(combo->UserSelect(2)); // picked from the list: the impacts follow
    EXPECT_FALSE(target->IsSetSensitivity());
    ASSERT_TRUE(combo->UserType("ROUGH")); // an existing line is selected, not added
    EXPECT_EQ(combo->GetLineCount(), 3);
    EXPECT_EQ(combo->GetSelect(), 0);
}

// ---------------------------------------------------------------------------------------------
// Impacts and trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharListTest, TextImpactValuesSwitchLikeTheIntegerOnes) {
    KesMfgAttCharList* list = Make(0);
    KesMfgAttInt* target = SteeredBy(list, {"ROUGH", "FINISH"}, {1, 0});
    list->ImpactAttributes();
    EXPECT_FALSE(target->IsSetSensitivity());
    ASSERT_TRUE(list->GetComboWidget()->UserSelect(0));
    EXPECT_TRUE(target->IsSetSensitivity());
}

TEST_F(KesMfgAttCharListTest, DisplayTracesTheRadioButtonsWhenTheSwitchIsOne) {
    KesStdoutCapture capture;
    Make(1);
    EXPECT_EQ(capture.Text(), "");
    SetDebug("KesMfgAttCharList", 1);
    Make(1);
    ASSERT_EQ(capture.Lines().size(), 2u);
    EXPECT_NE(capture.Lines()[0].find("rbROUGH"), std::string::npos);
    EXPECT_NE(capture.Lines()[1].find("rbFINISH"), std::string::npos);
}

} // namespace
