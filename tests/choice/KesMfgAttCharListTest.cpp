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
    KesMfgAttCharList* Make(int presentation, bool toBeDefined = false) {
        auto* list = new KesMfgAttCharList("Pass", "Pass", " FINISH", {" ROUGH  ", "FINISH"},
                                           {"Roughing", "Finishing"}, "", &frame, 2, presentation);
        if (toBeDefined) {
            list->SetAttToBeDefined();
        }
        list->Display();
        return list;
    }
    KesMfgAttCharList* MakeWithCount(int count, int presentation) {
        KesListValKesUnicodeString texts;
        for (int i = 0; i < count; ++i) {
            texts.Append(std::string(1, static_cast<char>('A' + i)));
        }
        auto* list =
            new KesMfgAttCharList("N", "N", "A", texts, texts, "", &frame, 1, presentation);
        list->Display();
        return list;
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

void ExpectText(const KesValueVectors& values, const char* text) {
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"Pass"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{3}));
    EXPECT_EQ(values.counts, (KesRawCollint{1}));
    EXPECT_EQ(values.texts, (KesListValKesUnicodeString{text}));
    EXPECT_EQ(values.ints.Size(), 0);
}

// ---------------------------------------------------------------------------------------------
// Read-only combo and radio buttons
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharListTest, ValuesAreStrippedAndThePickedValueIsReportedUnpadded) {
    KesMfgAttCharList* list = Make(0);
    EXPECT_EQ(list->GetAllowedValues(), (KesListValKesUnicodeString{"ROUGH", "FINISH"}));
    EXPECT_EQ(list->GetReferenceValue(), "FINISH");
    KesDlgCombo* combo = list->GetComboWidget();
    EXPECT_EQ(combo->GetStyle(), 0x40000u);
    EXPECT_EQ(combo->GetSelect(), 1);
    EXPECT_EQ(combo->GetField(), "Finishing");
    EXPECT_EQ(combo->GetVisibleTextHeight(), 2);
    values.Output(*list, 2);
    EXPECT_TRUE(values.IsEmpty());

    ASSERT_TRUE(combo->UserSelect(0));
    EXPECT_EQ(Notifications(), 1);
    values.Output(*list, 2);
    ExpectText(values, "ROUGH");
    EXPECT_EQ(list->GetAttValue(), "ROUGH");
}

TEST_F(KesMfgAttCharListTest, RadioButtonsAreNamedAfterTheStrippedValues) {
    KesMfgAttCharList* list = Make(1);
    const KesListPtrKesDialog& buttons = list->GetRadioButtons();
    ASSERT_EQ(buttons.Size(), 2);
    EXPECT_EQ(buttons[1]->GetName(), "rbROUGH");
    EXPECT_EQ(buttons[2]->GetName(), "rbFINISH");
    EXPECT_EQ(buttons[1]->GetTitle(), "Roughing");
    EXPECT_TRUE(static_cast<KesDlgRadioButton*>(buttons[2])->IsOn());
    ASSERT_TRUE(static_cast<KesDlgRadioButton*>(buttons[1])->UserClick());
    EXPECT_EQ(Notifications(), 1);
    values.Output(*list, 2);
    ExpectText(values, "ROUGH");
}

TEST_F(KesMfgAttCharListTest, ComboHeightIsCappedAtFiveAndTheEditableComboIsAlwaysFive) {
    EXPECT_EQ(MakeWithCount(7, 0)->GetComboWidget()->GetVisibleTextHeight(), 5);
    EXPECT_EQ(MakeWithCount(7, 2)->GetComboWidget()->GetVisibleTextHeight(), 5);
    EXPECT_EQ(MakeWithCount(3, 0)->GetComboWidget()->GetVisibleTextHeight(), 3);
    EXPECT_EQ(MakeWithCount(3, 2)->GetComboWidget()->GetVisibleTextHeight(), 5);
    EXPECT_EQ(MakeWithCount(3, 2)->GetComboWidget()->GetStyle(), 0x140000u);
}

// ---------------------------------------------------------------------------------------------
// SetAttValue and the state without value
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharListTest, SetAttValueComparesTheGivenTextWithoutStripping) {
    KesMfgAttCharList* list = Make(0);
    KesListValKesUnicodeString blank{" ROUGH"};
    list->SetAttValue(nullptr, nullptr, &blank, 1);
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), 1);
    KesListValKesUnicodeString exact{"ROUGH"};
    list->SetAttValue(nullptr, nullptr, &exact, 0);
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), 0);
    EXPECT_EQ(Notifications(), 0);
}

TEST_F(KesMfgAttCharListTest, ToBeDefinedGivesTheEmptyTextAndNoRecord) {
    KesMfgAttCharList* list = Make(0, true);
    EXPECT_EQ(list->GetAttValue(), "");
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), -1);
    EXPECT_EQ(values.GetAttValue(*list), 2);
    EXPECT_TRUE(values.IsEmpty());
}

TEST_F(KesMfgAttCharListTest, RadioPresentationWithNoButtonOnHasNoValue) {
    auto* list = new KesMfgAttCharList("Pass", "Pass", "SEMI", {"ROUGH", "FINISH"},
                                       {"Roughing", "Finishing"}, "", &frame, 2, 3);
    list->Display();
    EXPECT_EQ(list->GetAttValue(), "");
    values.Output(*list, 2);
    EXPECT_EQ(values.GetAttValue(*list), 2);
    EXPECT_TRUE(values.IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Editable combo
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharListTest, TypedTextBecomesANewLastLineAndTheValueButNotAnAllowedValue) {
    auto* list = new KesMfgAttCharList("Pass", "Pass", "FINISH", {"ROUGH", "FINISH"},
                                       {"ROUGH", "FINISH"}, "", &frame, 2, 2);
    KesMfgAttInt* target = new KesMfgAttInt("T", "T", 0, 0, 0, 0, &frame, 2);
    target->Display();
    KesListPtrKesMfgAttribute impacted;
    impacted.Append(target);
    list->AddImpactedAttributes(impacted, {}, KesListValKesUnicodeString{"SEMI"}, {0});
    list->Display();
    KesDlgCombo* combo = list->GetComboWidget();

    ASSERT_TRUE(combo->UserType("  SEMI "));
    EXPECT_EQ(combo->GetLineCount(), 3);
    EXPECT_EQ(combo->GetLine(2), "SEMI");
    EXPECT_EQ(combo->GetSelect(), 2);
    EXPECT_EQ(Notifications(), 1);
    EXPECT_TRUE(target->IsSetSensitivity()); // a typed text does not apply the impacts
    values.Output(*list, 2);
    ExpectText(values, "SEMI");
    EXPECT_EQ(list->GetAllowedValues().Size(), 2);

    KesListValKesUnicodeString semi{"SEMI"};
    list->SetAttValue(nullptr, nullptr, &semi, 1);
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
    auto* a = new KesMfgAttInt("A", "A", 0, 0, 0, 0, &frame, 2);
    auto* b = new KesMfgAttInt("B", "B", 0, 0, 0, 0, &frame, 2);
    a->Display();
    b->Display();
    KesListPtrKesMfgAttribute impacted;
    impacted.Append(a);
    impacted.Append(b);
    list->AddImpactedAttributes(impacted, {}, KesListValKesUnicodeString{"ROUGH", "FINISH"},
                                {1, 0, 0, 1});
    list->ImpactAttributes();
    EXPECT_FALSE(a->IsSetSensitivity());
    EXPECT_TRUE(b->IsSetSensitivity());
    ASSERT_TRUE(list->GetComboWidget()->UserSelect(0));
    EXPECT_TRUE(a->IsSetSensitivity());
    EXPECT_FALSE(b->IsSetSensitivity());
}

TEST_F(KesMfgAttCharListTest, DisplayTracesTheRadioButtonsWhenTheSwitchIsOne) {
    {
        KesStdoutCapture capture;
        Make(1);
        EXPECT_EQ(capture.Text(), "");
    }
    SetDebug("KesMfgAttCharList", 1);
    KesStdoutCapture capture;
    Make(1);
    ASSERT_EQ(capture.Lines().size(), 2u);
    EXPECT_NE(capture.Lines()[0].find("rbROUGH"), std::string::npos);
    EXPECT_NE(capture.Lines()[1].find("rbFINISH"), std::string::npos);
}

TEST_F(KesMfgAttCharListTest, HelpGoesToTheEditableComboToo) {
    KesMfgAttCharList* list = Make(2);
    list->SetHelp({"help"}, {"short", "other"});
    EXPECT_EQ(list->GetComboWidget()->GetHelp(), "help");
    EXPECT_EQ(list->GetComboWidget()->GetShortHelp(), "short");
    KesMfgAttCharList* radio = Make(4); // a radio presentation other than 1: no help, no icons
    KesListValKesUnicodeString icons{"a", "b"};
    radio->SetHelp({"h1", "h2"}, {});
    radio->SetIconNames(&icons, nullptr);
    EXPECT_EQ(radio->GetRadioButtons()[1]->GetHelp(), "");
    EXPECT_EQ(radio->GetRadioButtons()[1]->GetIconName(), "");
}

} // namespace
