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
// Free editor (no limits)
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntTest, WithoutLimitsAnyIntegerIsTakenAndReportedWhenChanged) {
    auto* attribute = Make(12, 0, 0);
    ASSERT_NE(attribute->GetEditorWidget(), nullptr);
    EXPECT_EQ(attribute->GetSpinnerWidget(), nullptr);
    EXPECT_EQ(attribute->GetEditorWidget()->GetName(), "editoratt");
    EXPECT_EQ(attribute->GetEditorWidget()->GetStyle(), 0x200000u);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "12");
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());

    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("-2000000"));
    EXPECT_EQ(Notifications(), 1);
    values.Output(*attribute, 1);
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"Passes"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{1}));
    EXPECT_EQ(values.counts, (KesRawCollint{1}));
    EXPECT_EQ(values.ints, (KesRawCollint{-2000000}));
    EXPECT_EQ(values.reals.Size(), 0);
    EXPECT_EQ(values.texts.Size(), 0);
}

TEST_F(KesMfgAttIntTest, TypedTextIsBroughtBackToAnInteger) {
    auto* attribute = Make(0, 0, 0);
    KesDlgEditor* editor = attribute->GetEditorWidget();
    const std::vector<std::pair<const char*, const char*>> cases = {{"abc", "0"},
                                                                    {" 42 ", "42"},
                                                                    {"3.9", "3"},
                                                                    {"99999999999", "2147483647"},
                                                                    {"-1e300", "-2147483648"},
                                                                    {"", "0"},
                                                                    {"\xFF\xFE", "0"}};
    for (const auto& [typed, shown] : cases) {
        EXPECT_TRUE(editor->UserType(typed));
        EXPECT_EQ(editor->GetText(), shown) << typed;
    }
    EXPECT_EQ(Notifications(), static_cast<int>(cases.size()));
    EXPECT_EQ(frame.GetReceived().size(), cases.size()); // the write-back raised nothing more
}

// ---------------------------------------------------------------------------------------------
// Spinner (limits)
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntTest, SpinnerReportsTheMovedValueOnEveryLaterOutput) {
    auto* attribute = Make(4, 1, 10);
    KesDlgSpinner* spinner = attribute->GetSpinnerWidget();
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->GetName(), "spinneratt");
    EXPECT_EQ(spinner->GetStyle(), 0x40000u);
    EXPECT_EQ(spinner->GetValue(), 4.0);
    EXPECT_EQ(spinner->GetMinimum(), 1.0);
    EXPECT_EQ(spinner->GetMaximum(), 10.0);
    EXPECT_EQ(spinner->GetStep(), 1.0); // nine steps of one
    EXPECT_EQ(spinner->GetFormat(), "%g");
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());

    EXPECT_TRUE(spinner->UserSetValue(7.0));
    values.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(values.ints, (KesRawCollint{7, 7}));
    EXPECT_EQ(attribute->GetReferenceValue(), 4);
}

TEST_F(KesMfgAttIntTest, SpinnerValuesAreFlooredAndKeptInRange) {
    auto* attribute = Make(0, -5, 5);
    KesDlgSpinner* spinner = attribute->GetSpinnerWidget();
    const std::vector<std::pair<double, double>> cases = {
        {3.7, 3.0}, {-2.5, -3.0}, {40.0, 5.0}, {-1e300, -5.0}};
    for (const auto& [moved, kept] : cases) {
        EXPECT_TRUE(spinner->UserSetValue(moved));
        EXPECT_EQ(spinner->GetValue(), kept) << moved;
    }
    EXPECT_EQ(attribute->GetAttValue(), -5);
    EXPECT_EQ(Notifications(), 4);
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
    KesRawCollint pushed{INT_MIN + 1};
    attribute->SetAttValue(&pushed, nullptr, nullptr, 0);
    EXPECT_EQ(attribute->GetAttValue(), INT_MIN + 1);
}

TEST_F(KesMfgAttIntTest, SetAttValueMovesTheSpinnerAndNotifiesOnlyOnRequest) {
    auto* attribute = Make(4, 1, 10);
    KesRawCollint pushed{8};
    attribute->SetAttValue(&pushed, nullptr, nullptr, 0);
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetValue(), 8.0);
    EXPECT_EQ(Notifications(), 0);
    pushed[1] = 50; // clamped by the spinner
    attribute->SetAttValue(&pushed, nullptr, nullptr, 1);
    EXPECT_EQ(attribute->GetAttValue(), 10);
    EXPECT_EQ(Notifications(), 1); // through the spinner's own notification
}

// ---------------------------------------------------------------------------------------------
// Bounded editor (limits, to be defined)
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntTest, ToBeDefinedWithLimitsIsABoundedEditorThatClamps) {
    auto* attribute = Make(4, 1, 10, true);
    KesDlgEditor* editor = attribute->GetEditorWidget();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(attribute->GetSpinnerWidget(), nullptr);
    EXPECT_EQ(editor->GetText(), "");
    EXPECT_EQ(attribute->GetAttValue(), 0);

    EXPECT_TRUE(editor->UserType("25"));
    EXPECT_EQ(editor->GetText(), "10");
    EXPECT_EQ(Notifications(), 1);
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    EXPECT_TRUE(editor->UserType("-3"));
    EXPECT_EQ(editor->GetText(), "1");
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
    // Forced output: reported although 3 is not a change from... the reference value 4.
    values.Output(*attribute, 1);
    EXPECT_EQ(values.ints, (KesRawCollint{3}));
    // The bounded editor stays for good.
    EXPECT_EQ(attribute->GetSpinnerWidget(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Caller errors
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntTest, VectorsOfTheWrongSizeOrNullAreIgnored) {
    auto* attribute = Make(5, 0, 0);
    KesRawCollint two{1, 2};
    KesRawCollint none;
    attribute->SetAttValue(&two, nullptr, nullptr, 1);
    attribute->SetAttValue(&none, nullptr, nullptr, 1);
    attribute->SetAttValue(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "5");

    attribute->GetEditorWidget()->UserType("6");
    attribute->Output(1, nullptr, &values.typeCodes, &values.counts, &values.ints, nullptr,
                      nullptr);
    attribute->GetAttValue(nullptr, &values.names, &values.typeCodes, &values.counts, nullptr,
                           nullptr, nullptr);
    EXPECT_TRUE(values.IsEmpty());
}

TEST_F(KesMfgAttIntTest, OperationsBeforeDisplayAreIgnored) {
    auto* attribute = new KesMfgAttInt("A", "A", 5, 1, 10, 0, &frame, 1);
    KesRawCollint pushed{7};
    attribute->SetAttValue(&pushed, nullptr, nullptr, 1);
    attribute->SetHelp({"help"}, {"short"});
    attribute->ControlIntValue(nullptr, nullptr, nullptr);
    EXPECT_EQ(values.GetAttValue(*attribute), 1);
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());
    EXPECT_EQ(attribute->GetAttValue(), 5);
    EXPECT_EQ(attribute->GetChildCount(), 0);
}

// ---------------------------------------------------------------------------------------------
// Help
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttIntTest, HelpGoesToTheValueWidgetAndTheOptionCheckButton) {
    auto* attribute = new KesMfgAttInt("A", "A", 5, 1, 10, 0, &frame, 1);
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    attribute->SetHelp({"Number of passes"}, {"passes", "ignored"});
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetHelp(), "Number of passes");
    EXPECT_EQ(attribute->GetOptionCheckButton()->GetHelp(), "Number of passes");
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetShortHelp(), "");
    EXPECT_EQ(attribute->GetLabelWidget()->GetHelp(), "");
}

} // namespace
