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

class KesMfgAttDoubleTest : public ::testing::Test {
protected:
    // Unit codes 0, 0, `third`: -1 divides by 360, 1 with the unit flag multiplies by 60, the
    // default converts nothing.
    KesMfgAttDouble* Make(double value, double minimum, double maximum, int third = 9,
                          int unitFlag = 0, bool toBeDefined = false) {
        auto* attribute = new KesMfgAttDouble("Feed_rate", "Feed rate", value, minimum, maximum,
                                              0.0, 0, 0, third, &frame, 1, unitFlag);
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
    static std::string Shown(KesMfgAttDouble* attribute) {
        return attribute->GetEditorWidget()->GetText().Str();
    }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// The three widgets
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleTest, FreeEditorShowsSixDigitsAndTakesThemAsTheReferenceValue) {
    auto* attribute = Make(0.1234567, 0.0, 0.0);
    EXPECT_EQ(Shown(attribute), "0.123457");
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty());
    // The full value typed in is a change, reported as typed and on every later Output.
    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("0.1234567"));
    EXPECT_EQ(Notifications(), 1);
    values.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(values.FormatTable(), "Feed_rate | real | 1 | 0.1234567\n"
                                    "Feed_rate | real | 1 | 0.1234567\n");
}

TEST_F(KesMfgAttDoubleTest, SpinnerStepFollowsTheWidthOfTheRange) {
    const struct {
        double minimum, maximum, step;
    } cases[] = {{0.0, 1.0, 0.05},      {0.0, 1.99, 0.05},    {0.0, 2.0, 0.5},   {0.0, 100.0, 0.5},
                 {0.0, 200.0, 5.0},     {-10.0, 990.0, 5},    {0.0, 2000.0, 10}, {0.0, 19999.0, 10},
                 {0.0, 20000.0, 100.0}, {0.0, 50000.0, 100.0}};
    for (const auto& c : cases) {
        EXPECT_EQ(Make(c.minimum, c.minimum, c.maximum)->GetSpinnerWidget()->GetStep(), c.step)
            << c.maximum;
    }
    // A range that is not a number has the step 0.1.
    EXPECT_EQ(KesMfgSpinnerStep(0.0, kNaN), 0.1);
    EXPECT_EQ(KesMfgSpinnerStep(kInfinity, kInfinity), 0.1);
}

TEST_F(KesMfgAttDoubleTest, SpinnerReportsTheMovedValueAndNotifiesAPushedOneOnRequest) {
    auto* attribute = Make(4.0, 1.0, 10.0);
    KesDlgSpinner* spinner = attribute->GetSpinnerWidget();
    EXPECT_TRUE(spinner->UserStep(3)); // r = 0.09: step 0.5
    values.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(values.reals, (KesRawColldouble{5.5, 5.5}));
    Push(attribute, 7.5, 0);
    EXPECT_EQ(spinner->GetValue(), 7.5);
    EXPECT_EQ(Notifications(), 1);
    Push(attribute, 25.0, 1);
    EXPECT_EQ(spinner->GetValue(), 10.0);
    EXPECT_EQ(Notifications(), 2);
}

TEST_F(KesMfgAttDoubleTest, BoundedEditorTakesTypedAndOverflowingTextsAsTheNearerLimit) {
    auto* attribute = Make(4.0, 1.0, 10.0, 9, 0, true);
    EXPECT_EQ(Shown(attribute), "");
    EXPECT_EQ(values.GetAttValue(*attribute), 1);
    EXPECT_TRUE(values.IsEmpty());
    for (double pushed : {0.0, 10.5, kNaN}) {
        Push(attribute, pushed); // outside the limits: ignored
    }
    EXPECT_EQ(attribute->IsToBeDefined(), 1);
    EXPECT_EQ(Shown(attribute), "");

    const std::pair<const char*, const char*> cases[] = {
        {"25", "10"},  {"0.5", "1"}, {"1e999", "10"}, {"inf", "10"},
        {"-inf", "1"}, {"abc", "1"}, {"nan", "1"},    {"2.50", "2.50"}};
    for (const auto& [typed, shown] : cases) {
        EXPECT_TRUE(attribute->GetEditorWidget()->UserType(typed));
        EXPECT_EQ(Shown(attribute), shown) << typed;
    }
    EXPECT_EQ(frame.GetReceived().size(), std::size(cases)); // the write-backs raised nothing
    values.Output(*attribute, 1);
    EXPECT_EQ(values.reals, (KesRawColldouble{2.5}));
    Push(attribute, 3.0);
    EXPECT_EQ(Shown(attribute), "3");
}

// ---------------------------------------------------------------------------------------------
// Unit conversion
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleTest, UnitsConvertBetweenTheCallerAndTheShownUnit) {
    auto* turns = Make(720.0, 0.0, 3600.0, -1);
    KesDlgSpinner* spinner = turns->GetSpinnerWidget();
    EXPECT_EQ(spinner->GetValue(), 2.0);
    EXPECT_EQ(spinner->GetMaximum(), 10.0);
    EXPECT_EQ(spinner->GetStep(), 0.5);
    EXPECT_TRUE(values.Output(*turns, 1).IsEmpty());
    EXPECT_TRUE(spinner->UserSetValue(3.0));
    EXPECT_EQ(turns->GetAttValue(), 3.0); // the shown unit
    values.Output(*turns, 1);
    EXPECT_EQ(values.reals, (KesRawColldouble{1080.0}));
    Push(turns, 720.0);
    EXPECT_EQ(spinner->GetValue(), 2.0);

    auto* minutes = Make(2.0, 0.0, 0.0, 1, 1);
    EXPECT_EQ(Shown(minutes), "120");
    EXPECT_EQ(Reported(minutes), 2.0);
    Push(minutes, 3.0);
    EXPECT_EQ(Shown(minutes), "180");
    EXPECT_EQ(Shown(Make(2.0, 0.0, 0.0, 1, 0)), "2"); // no unit flag, no conversion
}

TEST_F(KesMfgAttDoubleTest, ConversionOverflowReportsTheLargestReal) {
    auto* angle = Make(0.0, 0.0, 0.0, -1);
    EXPECT_TRUE(angle->GetEditorWidget()->UserType("1e308"));
    EXPECT_EQ(Reported(angle), DBL_MAX); // 1e308 * 360 does not fit
    auto* minutes = Make(1e308, 0.0, 0.0, 1, 1);
    EXPECT_EQ(Shown(minutes), "1.79769e+308");
    EXPECT_TRUE(std::isfinite(Reported(minutes)));
}

TEST_F(KesMfgAttDoubleTest, FreeEditorShowsWhatAnUnreadableTextIsTakenAs) {
    auto* attribute = Make(5.0, 0.0, 0.0);
    const std::string fraction = "0." + std::string(997, '0') + "1"; // 1e-998: too small
    const std::string longOne = "1." + std::string(998, '0');        // 1,000 characters
    const struct {
        std::string typed;
        std::string shown;
        double value;
    } cases[] = {
        {"abc", "0", 0.0},
        {"nan", "0", 0.0},
        {"\xFF\xFE", "0", 0.0},
        {"inf", "1.79769e+308", 1.79769e308},
        {"-inf", "-1.79769e+308", -1.79769e308},
        {"1e999", "1.79769e+308", 1.79769e308},
        {"1e+999", "1.79769e+308", 1.79769e308},
        {"1e-400", "0", 0.0}, // too small: nothing, not the largest real
        {"1" + std::string(999, '0'), "1.79769e+308", 1.79769e308},
        {fraction, "0", 0.0},
        {longOne, longOne, 1.0},
        {" 2.5 ", " 2.5 ", 2.5},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(attribute->GetEditorWidget()->UserType(c.typed));
        EXPECT_EQ(Shown(attribute), c.shown) << c.typed.substr(0, 20);
        EXPECT_EQ(attribute->GetAttValue(), c.value) << c.typed.substr(0, 20);
    }
    EXPECT_EQ(Notifications(), static_cast<int>(std::size(cases)));
}

TEST_F(KesMfgAttDoubleTest, NegativeZeroIsNoChangeAndReportedAsZero) {
    auto* attribute = Make(0.0, 0.0, 0.0);
    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("-0"));
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty());
    EXPECT_FALSE(std::signbit(Reported(attribute)));
}

TEST_F(KesMfgAttDoubleTest, NaNValueIsAlwaysReportedAndInfiniteOnesAreTheLargestReals) {
    auto* nan = Make(kNaN, 0.0, 0.0);
    auto* infinite = Make(kInfinity, 0.0, 0.0);
    EXPECT_EQ(Shown(nan), "");
    EXPECT_EQ(Shown(infinite), "1.79769e+308");
    // NaN never equals what is shown; a spinner takes its own value as the reference value.
    values.Output(*nan, 1).Output(*infinite, 1).Output(*Make(kNaN, 1.0, 10.0), 1);
    EXPECT_EQ(values.FormatTable(), "Feed_rate | real | 1 | 0\n");
    Push(infinite, kNaN); // ignored
    EXPECT_EQ(Shown(infinite), "1.79769e+308");
    Push(infinite, -kInfinity);
    EXPECT_EQ(Shown(infinite), "-1.79769e+308");
}

TEST_F(KesMfgAttDoubleTest, InfiniteLimitsAreTheLargestRealsAndANaNLimitIsNoBound) {
    KesDlgSpinner* open = Make(7.0, -kInfinity, kInfinity)->GetSpinnerWidget();
    EXPECT_EQ(open->GetMinimum(), -DBL_MAX);
    EXPECT_EQ(open->GetMaximum(), DBL_MAX);
    EXPECT_EQ(open->GetStep(), 100.0);
    auto* half = Make(4.0, kNaN, 10.0);
    EXPECT_TRUE(half->GetSpinnerWidget()->UserSetValue(-1e300));
    EXPECT_EQ(Reported(half), -1e300);
    EXPECT_TRUE(half->GetSpinnerWidget()->UserSetValue(50.0));
    EXPECT_EQ(Reported(half), 10.0); // the other limit still holds

    auto* bounded = Make(0.0, 1.0, kNaN, 9, 0, true);
    EXPECT_TRUE(bounded->GetEditorWidget()->UserType("1e300"));
    EXPECT_EQ(Shown(bounded), "1e300");
    EXPECT_TRUE(bounded->GetEditorWidget()->UserType("-3"));
    EXPECT_EQ(Shown(bounded), "1");
}

} // namespace
