// The multi-value real attribute: unit conversion both ways, the spinner step rule, real
// editors, the scroll position line and its to-be-defined state.
#include "multi/KesMfgAttMVDouble.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

class KesMfgAttMVDoubleTest : public ::testing::Test {
protected:
    KesMfgAttMVDouble* Make(KesRawColldouble list, double minimum, double maximum,
                            int thirdUnitCode = 0, int unitFlag = 0, bool toBeDefined = false) {
        auto* attribute = new KesMfgAttMVDouble("Depths", "Depths", list, minimum, maximum, 0.0, 0,
                                                0, thirdUnitCode, &frame, 1, unitFlag);
        if (toBeDefined) {
            attribute->SetAttToBeDefined();
        }
        attribute->Display();
        return attribute;
    }
    static KesDlgTextField* Field(const KesMfgAttMVDouble* attribute, int i) {
        return static_cast<KesDlgTextField*>(attribute->GetValueList().GetValueFields()[i]);
    }
    static KesDlgSpinner* Spinner(const KesMfgAttMVDouble* attribute, int i) {
        return dynamic_cast<KesDlgSpinner*>(Field(attribute, i));
    }
    static KesDlgEditor* Editor(const KesMfgAttMVDouble* attribute, int i) {
        return dynamic_cast<KesDlgEditor*>(Field(attribute, i));
    }

    KesDlgTestFrame frame;
    KesValueVectors vectors;
    KesStdoutCapture out;
};

TEST_F(KesMfgAttMVDoubleTest, DegreesShownAsTurnsGoOutAsDegrees) {
    auto* attribute = Make({90.0, 180.0}, 0.0, 360.0, -1);
    KesDlgSpinner* first = Spinner(attribute, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetStyle(), 0x60000u);
    EXPECT_EQ(first->GetValue(), 0.25);
    EXPECT_EQ(Spinner(attribute, 2)->GetValue(), 0.5);
    EXPECT_EQ(first->GetMaximum(), 1.0);
    EXPECT_EQ(first->GetStep(), 0.05);
    EXPECT_EQ(first->GetDisplayFormat(), "%12.7f");
    EXPECT_EQ(first->GetPrecision(), 15);
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    vectors.GetAttValue(*attribute);
    EXPECT_EQ(vectors.reals, (KesRawColldouble{90.0, 180.0}));

    EXPECT_TRUE(first->UserSetValue(0.5));
    vectors.Clear();
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.typeCodes, (KesRawCollint{2}));
    EXPECT_EQ(vectors.reals, (KesRawColldouble{180.0, 180.0}));
    KesRawColldouble pushed{720.0};
    attribute->SetAttValue(nullptr, &pushed, nullptr, 0);
    EXPECT_EQ(first->GetValue(), 1.0); // 2 turns, clamped by the spinner to its range
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues(), (KesRawColldouble{2.0}));
}

TEST_F(KesMfgAttMVDoubleTest, MinutesShownAsSecondsOnlyWithTheUnitFlag) {
    auto* converted = Make({2.0, 3.0}, 0.0, 0.0, 1, 1);
    EXPECT_EQ(Editor(converted, 1)->GetText(), "120");
    EXPECT_EQ(Editor(converted, 2)->GetText(), "180");
    vectors.GetAttValue(*converted);
    EXPECT_EQ(vectors.reals, (KesRawColldouble{2.0, 3.0}));
    auto* plain = Make({2.0}, 0.0, 0.0, 1, 0);
    EXPECT_EQ(Editor(plain, 1)->GetText(), "2");
}

TEST_F(KesMfgAttMVDoubleTest, SpinnerStepFollowsTheWidthOfTheRange) {
    const std::pair<double, double> cases[] = {{1000.0, 5.0}, {100.0, 0.5},     {10.0, 0.5},
                                               {1.0, 0.05},   {20000.0, 100.0}, {5000.0, 10.0}};
    for (const auto& [maximum, step] : cases) {
        EXPECT_EQ(Spinner(Make({1.0}, 0.0, maximum), 1)->GetStep(), step) << maximum;
    }
}

TEST_F(KesMfgAttMVDoubleTest, RealEditorsReadTextsAndWriteTheScrollPositionLine) {
    auto* attribute = Make({1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5}, 0.0, 0.0);
    KesDlgEditor* first = Editor(attribute, 1);
    EXPECT_EQ(first->GetStyle(), 0x400000u);
    EXPECT_EQ(first->GetDisplayFormat(), "%12.7f");
    EXPECT_EQ(first->GetText(), "1.5");
    attribute->GetValueList().GetValueScrollBar()->UserScroll(3);
    EXPECT_EQ(out.Text(), ""); // scrolling writes no line
    EXPECT_EQ(first->GetText(), "4.5");
    EXPECT_TRUE(first->UserType("abc"));
    EXPECT_TRUE(Editor(attribute, 2)->UserType("1e999"));
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{"SCROLL POS :3", "SCROLL POS :3"}));
    const KesRawColldouble& values = attribute->GetValueList().GetCurrentValues();
    EXPECT_EQ(values[4], 0.0);
    EXPECT_EQ(values[5], DBL_MAX); // too large for a real: the largest one
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.reals.Size(), 8);
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), 2);
}

TEST_F(KesMfgAttMVDoubleTest, BoundedEditorShowsAndStoresTheLimit) {
    auto* attribute = Make({1.0, 2.0, 3.0}, 0.0, 10.0, 0, 0, true);
    EXPECT_EQ(attribute->GetValueList().GetFieldKind(), KesMfgFieldKind::BoundedEditor);
    EXPECT_EQ(Editor(attribute, 1)->GetText(), "");
    EXPECT_TRUE(Editor(attribute, 1)->UserType("12.5"));
    EXPECT_EQ(Editor(attribute, 1)->GetText(), "10");
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues()[1], 10.0);
}

TEST_F(KesMfgAttMVDoubleTest, ToBeDefinedOutlastsAddAndRemove) {
    auto* attribute = Make({1.0, 2.0, 3.0}, 0.0, 0.0, 0, 0, true);
    const auto& list = attribute->GetValueList();
    EXPECT_TRUE(list.GetAddItem()->UserActivate());
    EXPECT_EQ(list.GetCurrentValues()[4], 0.0);
    EXPECT_EQ(Editor(attribute, 4)->GetText(), "0"); // added: given
    EXPECT_EQ(list.GetUndefinedCount(), 3);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_TRUE(Editor(attribute, i)->UserType("7"));
    }
    EXPECT_TRUE(list.GetRemoveItem()->UserActivate());
    EXPECT_EQ(attribute->IsToBeDefined(), 1);
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    EXPECT_TRUE(Editor(attribute, 3)->UserType("7"));
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.reals, (KesRawColldouble{7.0, 7.0, 7.0}));
}

TEST_F(KesMfgAttMVDoubleTest, NumbersThatAreNotFiniteStayDefined) {
    auto* attribute = Make({1e308, NAN}, std::nan(""), INFINITY, -1);
    EXPECT_EQ(attribute->GetMinimum(), -DBL_MAX); // no bound below
    EXPECT_EQ(attribute->GetMaximum(), DBL_MAX);
    vectors.GetAttValue(*attribute);
    EXPECT_DOUBLE_EQ(vectors.reals[1], 1e308);
    EXPECT_TRUE(std::isnan(vectors.reals[2]));
    vectors.Clear();
    KesRawColldouble pushed{INFINITY, -DBL_MAX};
    attribute->SetAttValue(nullptr, &pushed, nullptr, 0);
    vectors.GetAttValue(*attribute);
    ASSERT_EQ(vectors.reals.Size(), 2);
    EXPECT_EQ(vectors.reals[1], DBL_MAX); // no overflow on the way in or out
    EXPECT_DOUBLE_EQ(vectors.reals[2], -DBL_MAX);
}

} // namespace
