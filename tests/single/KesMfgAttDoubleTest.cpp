// The real attribute: free editor, spinner and bounded editor, the unit conversion between the
// caller's unit and the shown unit, and the real spinner step rule, driven by a user typing and
// spinning and by a caller pushing and collecting value vectors.
#include "single/KesMfgAttDouble.h"
#include "platform/KesDlgTestFrame.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Units {
    int first = 9;
    int second = 9;
    int third = 9;
    int flag = 0;
};
constexpr Units kNoConversion{};
constexpr Units kDivideBy360{0, 0, -1, 0};
constexpr Units kMultiplyBy60{0, 0, 1, 1};

class KesMfgAttDoubleTest : public ::testing::Test {
protected:
    KesMfgAttDouble* Make(double value, double minimum, double maximum, Units units = kNoConversion,
                          bool toBeDefined = false) {
        auto* attribute =
            new KesMfgAttDouble("Feed_rate", "Feed rate", value, minimum, maximum, 0.0, units.first,
                                units.second, units.third, &frame, 1, units.flag);
        if (toBeDefined) {
            attribute->SetAttToBeDefined();
        }
        attribute->Display();
        return attribute;
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }
    // SetAttValue with one real, in the caller's unit.
    static void Push(KesMfgAttDouble* attribute, double value, int notify = 0) {
        KesRawColldouble reals{value};
        attribute->SetAttValue(nullptr, &reals, nullptr, notify);
    }
    // The one real GetAttValue reports, in the caller's unit.
    double Reported(KesMfgAttDouble* attribute) {
        values.Clear();
        values.GetAttValue(*attribute);
        EXPECT_EQ(values.reals.Size(), 1);
        return values.reals.Size() == 1 ? values.reals[1] : kNaN;
    }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Free editor (no limits)
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleTest, FreeEditorShowsSixDigitsAndTakesThemAsTheReferenceValue) {
    auto* attribute = Make(0.1234567, 0.0, 0.0);
    KesDlgEditor* editor = attribute->GetEditorWidget();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetStyle(), 0x400000u);
    EXPECT_EQ(editor->GetText(), "0.123457");
    EXPECT_EQ(attribute->GetReferenceValue(), 0.123457);
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());

    // The full value typed in is a change, reported as typed and on every later Output.
    EXPECT_TRUE(editor->UserType("0.1234567"));
    EXPECT_EQ(editor->GetText(), "0.1234567");
    EXPECT_EQ(Notifications(), 1);
    values.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"Feed_rate", "Feed_rate"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{2, 2}));
    EXPECT_EQ(values.counts, (KesRawCollint{1, 1}));
    EXPECT_EQ(values.reals, (KesRawColldouble{0.1234567, 0.1234567}));
    EXPECT_EQ(values.ints.Size() + values.texts.Size(), 0);
    values.Output(*attribute, 2).GetAttValue(*attribute);
    EXPECT_EQ(values.names.Size(), 3); // another group: nothing; GetAttValue: one more
}

// ---------------------------------------------------------------------------------------------
// Spinner (limits) and the step rule
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleTest, SpinnerStepFollowsTheWidthOfTheRange) {
    const struct {
        double minimum, maximum, step;
    } cases[] = {{0.0, 1.0, 0.05},      {0.0, 1.99, 0.05},    {0.0, 2.0, 0.5},   {0.0, 100.0, 0.5},
                 {0.0, 200.0, 5.0},     {-10.0, 990.0, 5},    {0.0, 2000.0, 10}, {0.0, 19999.0, 10},
                 {0.0, 20000.0, 100.0}, {0.0, 50000.0, 100.0}};
    for (const auto& c : cases) {
        auto* attribute = Make(c.minimum, c.minimum, c.maximum);
        ASSERT_NE(attribute->GetSpinnerWidget(), nullptr);
        EXPECT_EQ(attribute->GetSpinnerWidget()->GetStep(), c.step) << c.maximum;
    }
    // A range that is not a number has the step 0.1.
    EXPECT_EQ(KesMfgSpinnerStep(0.0, kNaN), 0.1);
    EXPECT_EQ(KesMfgSpinnerStep(kInfinity, kInfinity), 0.1);
}

TEST_F(KesMfgAttDoubleTest, SpinnerReportsTheMovedValueOnEveryLaterOutput) {
    auto* attribute = Make(4.0, 1.0, 10.0);
    KesDlgSpinner* spinner = attribute->GetSpinnerWidget();
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->GetStyle(), 0x60000u);
    EXPECT_EQ(spinner->GetValue(), 4.0);
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());

    EXPECT_TRUE(spinner->UserStep(3)); // r = 0.09: step 0.5
    EXPECT_EQ(Notifications(), 1);
    values.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(values.reals, (KesRawColldouble{5.5, 5.5}));

    // Pushed values are clamped by the spinner, which notifies only when asked to.
    Push(attribute, 7.5, 0);
    EXPECT_EQ(spinner->GetValue(), 7.5);
    EXPECT_EQ(Notifications(), 1);
    Push(attribute, 25.0, 1);
    EXPECT_EQ(spinner->GetValue(), 10.0);
    EXPECT_EQ(Notifications(), 2);
}

// ---------------------------------------------------------------------------------------------
// Bounded editor (limits, displayed to be defined)
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleTest, BoundedEditorReplacesTypedValuesOutsideTheLimits) {
    auto* attribute = Make(4.0, 1.0, 10.0, kNoConversion, true);
    KesDlgEditor* editor = attribute->GetEditorWidget();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetText(), "");
    EXPECT_EQ(values.GetAttValue(*attribute), 1);
    EXPECT_TRUE(values.IsEmpty());
    EXPECT_EQ(attribute->GetAttValue(), 0.0);

    EXPECT_TRUE(editor->UserType("25"));
    EXPECT_EQ(editor->GetText(), "10");
    EXPECT_TRUE(editor->UserType("0.5"));
    EXPECT_EQ(editor->GetText(), "1");
    EXPECT_TRUE(editor->UserType("2.50"));
    EXPECT_EQ(editor->GetText(), "2.50"); // within the limits: kept as typed
    EXPECT_EQ(Notifications(), 3);
    EXPECT_EQ(frame.GetReceived().size(), 3u); // the write-backs raised nothing more
    values.Output(*attribute, 1);
    EXPECT_EQ(values.reals, (KesRawColldouble{2.5}));
}

TEST_F(KesMfgAttDoubleTest, BoundedEditorIgnoresPushedValuesOutsideTheLimits) {
    auto* attribute = Make(4.0, 1.0, 10.0, kNoConversion, true);
    Push(attribute, 0.0);
    Push(attribute, 10.5);
    Push(attribute, kNaN);
    EXPECT_EQ(attribute->IsToBeDefined(), 1);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "");
    Push(attribute, 3.0);
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "3");
    EXPECT_EQ(Reported(attribute), 3.0);
}

// ---------------------------------------------------------------------------------------------
// Unit conversion
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleTest, DivisionBy360ShowsTheSpinnerInTheShownUnit) {
    auto* attribute = Make(720.0, 0.0, 3600.0, kDivideBy360);
    KesDlgSpinner* spinner = attribute->GetSpinnerWidget();
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->GetValue(), 2.0);
    EXPECT_EQ(spinner->GetMinimum(), 0.0);
    EXPECT_EQ(spinner->GetMaximum(), 10.0);
    EXPECT_EQ(spinner->GetStep(), 0.5);
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());

    EXPECT_TRUE(spinner->UserSetValue(3.0));
    EXPECT_EQ(attribute->GetAttValue(), 3.0); // the shown unit
    values.Output(*attribute, 1);
    EXPECT_EQ(values.reals, (KesRawColldouble{1080.0}));

    Push(attribute, 720.0);
    EXPECT_EQ(spinner->GetValue(), 2.0);
}

TEST_F(KesMfgAttDoubleTest, DivisionBy360AppliesToPushedValuesInTheFreeEditor) {
    auto* attribute = Make(0.0, 0.0, 0.0, kDivideBy360);
    Push(attribute, 720.0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "2");
    EXPECT_EQ(Reported(attribute), 720.0);
}

TEST_F(KesMfgAttDoubleTest, MultiplicationBy60OnlyWithTheUnitFlag) {
    auto* converted = Make(2.0, 0.0, 0.0, kMultiplyBy60);
    EXPECT_EQ(converted->GetEditorWidget()->GetText(), "120");
    values.Output(*converted, 1);
    EXPECT_TRUE(values.IsEmpty());
    EXPECT_EQ(Reported(converted), 2.0);
    EXPECT_EQ(converted->GetAttValue(), 120.0);

    auto* unconverted = Make(2.0, 0.0, 0.0, Units{0, 0, 1, 0});
    EXPECT_EQ(unconverted->GetEditorWidget()->GetText(), "2");
    EXPECT_EQ(Reported(unconverted), 2.0);
}

// ---------------------------------------------------------------------------------------------
// Option check button, before Display
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleTest, UncheckedOptionalAttributeReportsCountZero) {
    auto* attribute =
        new KesMfgAttDouble("Depth", "Depth", 5.0, 0.0, 10.0, 0.0, 0, 0, 0, &frame, 1, 0);
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    EXPECT_TRUE(attribute->GetOptionCheckButton()->UserClick());
    EXPECT_EQ(Notifications(), 1);
    EXPECT_FALSE(attribute->GetSpinnerWidget()->IsSetSensitivity());
    values.Output(*attribute, 1);
    EXPECT_EQ(values.typeCodes, (KesRawCollint{2}));
    EXPECT_EQ(values.counts, (KesRawCollint{0}));
    EXPECT_EQ(values.reals.Size(), 0);
}

TEST_F(KesMfgAttDoubleTest, OperationsBeforeDisplayAreIgnored) {
    auto* attribute =
        new KesMfgAttDouble("Early", "Early", 3.0, 0.0, 0.0, 0.0, 0, 0, 0, &frame, 4, 0);
    Push(attribute, 5.0, 1);
    attribute->SetHelp(KesListValKesUnicodeString{"help"}, KesListValKesUnicodeString{});
    values.Output(*attribute, 4);
    EXPECT_EQ(values.GetAttValue(*attribute), 4);
    EXPECT_TRUE(values.IsEmpty());
    EXPECT_EQ(attribute->GetAttValue(), 3.0);
    EXPECT_EQ(Notifications(), 0);
}

// ---------------------------------------------------------------------------------------------
// Bad input
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleTest, FreeEditorShowsWhatAnUnreadableTextIsTakenAs) {
    auto* attribute = Make(5.0, 0.0, 0.0);
    KesDlgEditor* editor = attribute->GetEditorWidget();
    const std::string zeros(999, '0');
    const std::string fraction = "0." + std::string(997, '0') + "1"; // 1e-998: too small
    const std::string longOne = "1." + std::string(998, '0');        // 1,000 characters
    const struct {
        std::string typed;
        const char* shown;
        double value;
    } cases[] = {
        {"abc", "0", 0.0},
        {"nan", "0", 0.0},
        {"", "0", 0.0},
        {"\xFF\xFE", "0", 0.0},
        {"inf", "1.79769e+308", 1.79769e308},
        {"-inf", "-1.79769e+308", -1.79769e308},
        {"1e999", "1.79769e+308", 1.79769e308},
        {"-1E+999", "-1.79769e+308", -1.79769e308},
        {"1" + zeros, "1.79769e+308", 1.79769e308},
        {"1e-999", "0", 0.0},
        {fraction, "0", 0.0},
        {longOne, longOne.c_str(), 1.0},
        {" 2.5 ", " 2.5 ", 2.5},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(editor->UserType(c.typed));
        EXPECT_EQ(editor->GetText(), c.shown) << c.typed.substr(0, 20);
        EXPECT_EQ(attribute->GetAttValue(), c.value) << c.typed.substr(0, 20);
    }
    EXPECT_EQ(Notifications(), static_cast<int>(std::size(cases)));
}

TEST_F(KesMfgAttDoubleTest, BoundedEditorTakesOverflowingTextsAsTheNearerLimit) {
    auto* attribute = Make(0.0, 5.0, 10.0, kNoConversion, true);
    KesDlgEditor* editor = attribute->GetEditorWidget();
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {{"1e999", "10"}, {"inf", "10"}, {"-inf", "5"}, {"abc", "5"}, {"nan", "5"}};
    for (const auto& c : cases) {
        EXPECT_TRUE(editor->UserType(c.typed));
        EXPECT_EQ(editor->GetText(), c.shown) << c.typed;
    }
}

TEST_F(KesMfgAttDoubleTest, NegativeZeroIsNoChangeAndReportedAsZero) {
    auto* attribute = Make(0.0, 0.0, 0.0);
    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("-0"));
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());
    const double reported = Reported(attribute);
    EXPECT_EQ(reported, 0.0);
    EXPECT_FALSE(std::signbit(reported));
}

TEST_F(KesMfgAttDoubleTest, NaNValueShowsNothingAndIsAlwaysReported) {
    auto* attribute = Make(kNaN, 0.0, 0.0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "");
    values.Output(*attribute, 1);
    EXPECT_EQ(values.reals, (KesRawColldouble{0.0}));
    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("4"));
    values.Clear();
    values.Output(*attribute, 1);
    EXPECT_EQ(values.reals, (KesRawColldouble{4.0}));

    // In a spinner the reference value becomes what the spinner holds: no change.
    auto* spun = Make(kNaN, 1.0, 10.0);
    EXPECT_EQ(spun->GetReferenceValue(), 1.0);
    values.Clear();
    values.Output(*spun, 1);
    EXPECT_TRUE(values.IsEmpty());
}

TEST_F(KesMfgAttDoubleTest, InfiniteValuesAndLimitsAreTakenAsTheLargestReals) {
    auto* free = Make(kInfinity, 0.0, 0.0);
    EXPECT_EQ(free->GetEditorWidget()->GetText(), "1.79769e+308");
    values.Output(*free, 1);
    EXPECT_TRUE(values.IsEmpty());
    Push(free, kNaN); // ignored
    EXPECT_EQ(free->GetEditorWidget()->GetText(), "1.79769e+308");
    Push(free, -kInfinity);
    EXPECT_EQ(free->GetEditorWidget()->GetText(), "-1.79769e+308");

    auto* open = Make(7.0, -kInfinity, kInfinity);
    KesDlgSpinner* spinner = open->GetSpinnerWidget();
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->GetMinimum(), -DBL_MAX);
    EXPECT_EQ(spinner->GetMaximum(), DBL_MAX);
    EXPECT_EQ(spinner->GetStep(), 100.0);
    EXPECT_EQ(spinner->GetValue(), 7.0);
    Push(open, -kInfinity);
    EXPECT_EQ(spinner->GetValue(), -DBL_MAX);
}

TEST_F(KesMfgAttDoubleTest, NaNLimitIsNoBoundOnItsSide) {
    auto* attribute = Make(4.0, kNaN, 10.0);
    KesDlgSpinner* spinner = attribute->GetSpinnerWidget();
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->GetMinimum(), -DBL_MAX);
    EXPECT_EQ(spinner->GetMaximum(), 10.0); // the other limit still holds
    EXPECT_TRUE(spinner->UserSetValue(50.0));
    EXPECT_EQ(Reported(attribute), 10.0);
    EXPECT_TRUE(spinner->UserSetValue(-1e300));
    EXPECT_EQ(Reported(attribute), -1e300);

    auto* bounded = Make(0.0, 1.0, kNaN, kNoConversion, true);
    EXPECT_TRUE(bounded->GetEditorWidget()->UserType("1e300"));
    EXPECT_EQ(bounded->GetEditorWidget()->GetText(), "1e300");
    EXPECT_TRUE(bounded->GetEditorWidget()->UserType("-3"));
    EXPECT_EQ(bounded->GetEditorWidget()->GetText(), "1");
}

TEST_F(KesMfgAttDoubleTest, ConversionOverflowReportsTheLargestReal) {
    auto* angle = Make(0.0, 0.0, 0.0, kDivideBy360);
    EXPECT_TRUE(angle->GetEditorWidget()->UserType("1e308"));
    EXPECT_EQ(Reported(angle), DBL_MAX); // 1e308 * 360 does not fit

    auto* minutes = Make(1e308, 0.0, 0.0, kMultiplyBy60);
    EXPECT_EQ(minutes->GetEditorWidget()->GetText(), "1.79769e+308");
    EXPECT_TRUE(std::isfinite(Reported(minutes)));
}

} // namespace
