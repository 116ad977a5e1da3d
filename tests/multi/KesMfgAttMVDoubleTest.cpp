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
    template <class Field = KesDlgEditor>
    static Field* At(const KesMfgAttMVDouble* attribute, int i) {
        return dynamic_cast<Field*>(attribute->GetValueList().GetValueFields()[i]);
    }

    KesDlgTestFrame frame;
    KesValueVectors vectors;
    KesStdoutCapture out;
};

TEST_F(KesMfgAttMVDoubleTest, DegreesShownAsTurnsGoOutAsDegrees) {
    auto* attribute = Make({90.0, 180.0}, 0.0, 360.0, -1);
    auto* second = At<KesDlgSpinner>(attribute, 2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(At<KesDlgSpinner>(attribute, 1)->GetValue(), 0.25);
    EXPECT_EQ(second->GetValue(), 0.5);
    EXPECT_EQ(second->GetMaximum(), 1.0);
    EXPECT_EQ(second->GetStep(), 0.05); // the step rule over the shown range
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());

    EXPECT_TRUE(second->UserSetValue(0.25));
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.reals, (KesRawColldouble{90.0, 90.0}));
    KesRawColldouble pushed{720.0};
    attribute->SetAttValue(nullptr, &pushed, nullptr, 0);
    EXPECT_EQ(At<KesDlgSpinner>(attribute, 1)->GetValue(), 1.0); // 2 turns, clamped by the spinner
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues(), (KesRawColldouble{2.0}));
    EXPECT_EQ(At<KesDlgSpinner>(Make({1.0}, 0.0, 1000.0), 1)->GetStep(), 5.0);
}

TEST_F(KesMfgAttMVDoubleTest, MinutesShownAsSecondsOnlyWithTheUnitFlag) {
    auto* converted = Make({2.0, 3.0}, 0.0, 0.0, 1, 1);
    EXPECT_EQ(At(converted, 2)->GetText(), "180");
    vectors.GetAttValue(*converted);
    EXPECT_EQ(vectors.reals, (KesRawColldouble{2.0, 3.0}));
    EXPECT_EQ(At(Make({2.0}, 0.0, 0.0, 1, 0), 1)->GetText(), "2");
}

TEST_F(KesMfgAttMVDoubleTest, RealEditorsReadTextsAndWriteTheScrollPositionLine) {
    auto* attribute = Make({1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5}, 0.0, 0.0);
    KesDlgEditor* first = At(attribute, 1);
    EXPECT_EQ(first->GetStyle(), 0x400000u);
    attribute->GetValueList().GetValueScrollBar()->UserScroll(3);
    EXPECT_EQ(out.Text(), ""); // scrolling writes no line
    EXPECT_EQ(first->GetText(), "4.5");
    EXPECT_TRUE(first->UserType("abc"));
    EXPECT_TRUE(At(attribute, 2)->UserType("1e999"));
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{"SCROLL POS :3", "SCROLL POS :3"}));
    const KesRawColldouble& values = attribute->GetValueList().GetCurrentValues();
    EXPECT_EQ(values[4], 0.0);
    EXPECT_EQ(values[5], DBL_MAX); // too large for a real: the largest one
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), 2);
}

TEST_F(KesMfgAttMVDoubleTest, ToBeDefinedOutlastsAddAndRemoveInClampingEditors) {
    auto* attribute = Make({1.0, 2.0, 3.0}, 0.0, 10.0, 0, 0, true);
    const auto& list = attribute->GetValueList();
    EXPECT_EQ(At(attribute, 1)->GetText(), "");
    EXPECT_TRUE(list.GetAddItem()->UserActivate());
    EXPECT_EQ(At(attribute, 4)->GetText(), "0"); // added: given
    EXPECT_TRUE(At(attribute, 1)->UserType("12.5"));
    EXPECT_EQ(At(attribute, 1)->GetText(), "10");
    EXPECT_TRUE(At(attribute, 2)->UserType("7"));
    EXPECT_TRUE(list.GetRemoveItem()->UserActivate());
    EXPECT_EQ(attribute->IsToBeDefined(), 1);
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    EXPECT_TRUE(At(attribute, 3)->UserType("7"));
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.reals, (KesRawColldouble{10.0, 7.0, 7.0}));
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
