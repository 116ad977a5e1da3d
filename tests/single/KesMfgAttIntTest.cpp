// The integer attribute: free editor, spinner and bounded editor, driven by a user typing and
// spinning and by a caller pushing and collecting value vectors.
#include "single/KesMfgAttInt.h"
#include "platform/KesDlgTestFrame.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

class KesMfgAttIntTest : public ::testing::Test {
protected:
    KesMfgAttInt* Make(int value, int minimum, int maximum, bool toBeDefined = false) {
        auto* attribute =
            new KesMfgAttInt("Passes", "Number of passes", value, minimum, maximum, 0, &frame, 1);
        if (toBeDefined) {
            attribute->SetAttToBeDefined();
        }
        attribute->Display();
        return attribute;
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Free editor (no limits) and spinner (limits)
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntTest, WithoutLimitsAnyIntegerIsTakenAndReportedWhenChanged) {
    auto* attribute = Make(12, 0, 0);
    ASSERT_NE(attribute->GetEditorWidget(), nullptr);
    EXPECT_EQ(attribute->GetSpinnerWidget(), nullptr);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "12");
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty());
    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("-2000000"));
    EXPECT_EQ(Notifications(), 1);
    values.Output(*attribute, 1);
    EXPECT_EQ(values.FormatTable(), "Passes | integer | 1 | -2000000\n");
    // A null vector the record needs: nothing is appended at all.
    values.Clear();
    attribute->Output(1, nullptr, &values.typeCodes, &values.counts, &values.ints, nullptr,
                      nullptr);
    EXPECT_TRUE(values.IsEmpty());
}

// What the user typed or spun, and what the widget shows afterwards.
TEST_F(KesMfgAttIntTest, TypedAndSpunValuesAreBroughtBackToAnIntegerInRange) {
    KesDlgEditor* editor = Make(0, 0, 0)->GetEditorWidget();
    const std::pair<const char*, const char*> typed[] = {{"abc", "0"},
                                                         {" 42 ", "42"},
                                                         {"3.9", "3"},
                                                         {"99999999999", "2147483647"},
                                                         {"-1e300", "-2147483648"},
                                                         {"", "0"},
                                                         {"\xFF\xFE", "0"}};
    for (const auto& [text, shown] : typed) {
        EXPECT_TRUE(editor->UserType(text));
        EXPECT_EQ(editor->GetText(), shown) << text;
    }
    EXPECT_EQ(frame.GetReceived().size(), std::size(typed)); // the write-backs raised nothing
    frame.Clear();
    auto* spun = Make(0, -5, 5);
    const std::pair<double, int> moved[] = {{3.7, 3}, {-2.5, -3}, {40.0, 5}, {-1e300, -5}};
    for (const auto& [value, kept] : moved) {
        EXPECT_TRUE(spun->GetSpinnerWidget()->UserSetValue(value));
        EXPECT_EQ(spun->GetAttValue(), kept) << value;
    }
    EXPECT_EQ(Notifications(), 4);
}

TEST_F(KesMfgAttIntTest, SpinnerReportsTheMovedValueOnEveryLaterOutput) {
    auto* attribute = Make(4, 1, 10);
    KesDlgSpinner* spinner = attribute->GetSpinnerWidget();
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->GetStep(), 1.0); // nine steps of one
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty());
    EXPECT_TRUE(spinner->UserSetValue(7.0));
    values.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(values.ints, (KesRawCollint{7, 7}));
    // Pushed: moves the spinner, clamped by it, notified only on request.
    KesRawCollint pushed{8};
    attribute->SetAttValue(&pushed, nullptr, nullptr, 0);
    EXPECT_EQ(spinner->GetValue(), 8.0);
    EXPECT_EQ(Notifications(), 1);
    pushed[1] = 50;
    attribute->SetAttValue(&pushed, nullptr, nullptr, 1);
    EXPECT_EQ(attribute->GetAttValue(), 10);
    EXPECT_EQ(Notifications(), 2); // through the spinner's own notification
}

TEST_F(KesMfgAttIntTest, FullIntRangeNeitherOverflowsTheStepCountNorTheValue) {
    auto* attribute = Make(INT_MAX, INT_MIN, INT_MAX);
    KesDlgSpinner* spinner = attribute->GetSpinnerWidget();
    EXPECT_GT(spinner->GetStep(), 0.0);
    EXPECT_EQ(attribute->GetAttValue(), INT_MAX);
    EXPECT_TRUE(spinner->UserSetValue(1e30));
    EXPECT_EQ(attribute->GetAttValue(), INT_MAX);
    EXPECT_TRUE(spinner->UserSetValue(-1e30));
    EXPECT_EQ(attribute->GetAttValue(), INT_MIN);
}

// ---------------------------------------------------------------------------------------------
// Bounded editor (limits, to be defined)
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntTest, ToBeDefinedWithLimitsIsABoundedEditorThatClamps) {
    auto* attribute = Make(4, 1, 10, true);
    KesDlgEditor* editor = attribute->GetEditorWidget();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetText(), "");
    EXPECT_EQ(attribute->GetAttValue(), 0);
    EXPECT_TRUE(editor->UserType("25"));
    EXPECT_EQ(editor->GetText(), "10");
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    EXPECT_TRUE(editor->UserType("-3"));
    EXPECT_EQ(editor->GetText(), "1");
    EXPECT_EQ(Notifications(), 2);
}

TEST_F(KesMfgAttIntTest, BoundedEditorTakesPushedValuesOnlyWithinTheLimits) {
    auto* attribute = Make(4, 1, 10, true);
    KesRawCollint pushed{0};
    attribute->SetAttValue(&pushed, nullptr, nullptr, 1);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "");
    EXPECT_EQ(attribute->IsToBeDefined(), 1);
    pushed[1] = 3;
    attribute->SetAttValue(&pushed, nullptr, nullptr, 1);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "3");
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    EXPECT_EQ(Notifications(), 0); // pushing never notifies by itself
    values.Output(*attribute, 1);  // forced output
    EXPECT_EQ(values.ints, (KesRawCollint{3}));
    EXPECT_EQ(attribute->GetSpinnerWidget(), nullptr); // the bounded editor stays for good
}

TEST_F(KesMfgAttIntTest, HelpGoesToTheValueWidgetAndTheOptionCheckButton) {
    auto* attribute = new KesMfgAttInt("A", "A", 5, 1, 10, 0, &frame, 1);
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    attribute->SetHelp({"Number of passes"}, {"passes", "ignored"});
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetHelp(), "Number of passes");
    EXPECT_EQ(attribute->GetOptionCheckButton()->GetHelp(), "Number of passes");
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetShortHelp(), "");
}

} // namespace
