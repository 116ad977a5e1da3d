// The multi-value integer attribute: its field kinds, the "tempoval[" lines, the spinner floor
// and its to-be-defined state.
#include "multi/KesMfgAttMVInt.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesTraceSwitches.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

namespace {

class KesMfgAttMVIntTest : public KesTraceSwitchesTest {
protected:
    KesMfgAttMVInt* Make(KesRawCollint list, int minimum, int maximum, bool toBeDefined = false) {
        auto* attribute =
            new KesMfgAttMVInt("NbPasses", "Passes", list, minimum, maximum, 0, &frame, 1);
        if (toBeDefined) {
            attribute->SetAttToBeDefined();
        }
        attribute->Display();
        return attribute;
    }
    template <class Field = KesDlgEditor> static Field* At(const KesMfgAttMVInt* attribute, int i) {
        return dynamic_cast<Field*>(attribute->GetValueList().GetValueFields()[i]);
    }

    KesDlgTestFrame frame;
    KesValueVectors vectors;
    KesStdoutCapture out;
};

TEST_F(KesMfgAttMVIntTest, NoLimitsGiveIntegerEditorsThatWriteOneTempovalLinePerValue) {
    auto* attribute = Make({12, 7}, 0, 0);
    ASSERT_NE(At(attribute, 1), nullptr);
    EXPECT_EQ(At(attribute, 1)->GetStyle(), 0x200000u);
    EXPECT_EQ(At(attribute, 1)->GetVisibleTextWidth(), 12);
    EXPECT_EQ(At(attribute, 3)->GetText(), "0"); // hidden, carrying the minimum
    EXPECT_TRUE(At(attribute, 2)->UserType("abc"));
    EXPECT_EQ(At(attribute, 2)->GetText(), "0");
    EXPECT_TRUE(At(attribute, 2)->UserType("8"));
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{"tempoval[1]= 12", "tempoval[2]= 0",
                                                     "tempoval[1]= 12", "tempoval[2]= 8"}));
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), 2);
    out.Clear();
    attribute->GetValueList().GetAddItem()->UserActivate();
    attribute->GetValueList().GetValueScrollBar()->UserScroll(1);
    EXPECT_EQ(out.Text(), ""); // adding and scrolling write nothing
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.ints, (KesRawCollint{12, 8, 0}));
}

TEST_F(KesMfgAttMVIntTest, LimitsGiveSpinnersThatKeepTheFloorOfTheirValue) {
    auto* attribute = Make({4, 1}, -5, 5);
    auto* spinner = At<KesDlgSpinner>(attribute, 1);
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->GetStep(), 1.0); // ten steps of one
    EXPECT_EQ(At<KesDlgSpinner>(attribute, 4)->GetValue(), -5.0);
    const std::pair<double, int> cases[] = {{3.7, 3}, {-2.5, -3}, {40.0, 5}};
    for (const auto& [moved, kept] : cases) {
        EXPECT_TRUE(spinner->UserSetValue(moved));
        EXPECT_EQ(spinner->GetValue(), kept) << moved;
        EXPECT_EQ(attribute->GetValueList().GetCurrentValues()[1], kept) << moved;
    }
}

TEST_F(KesMfgAttMVIntTest, ToBeDefinedWithLimitsGivesEmptyEditorsThatClamp) {
    auto* attribute = Make({4, 5, 6}, 1, 10, true);
    EXPECT_EQ(At(attribute, 1)->GetText(), "");
    EXPECT_TRUE(At(attribute, 1)->UserType("15"));
    EXPECT_EQ(At(attribute, 1)->GetText(), "10");
    EXPECT_TRUE(At(attribute, 2)->UserType("-4"));
    EXPECT_EQ(At(attribute, 2)->GetText(), "1");
    EXPECT_EQ(attribute->IsToBeDefined(), 1);
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    EXPECT_EQ(At(attribute, 3)->GetText(), ""); // not given, so shown empty by a refresh
    EXPECT_TRUE(At(attribute, 3)->UserType("6"));
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    vectors.Output(*attribute, 1).Output(*attribute, 1); // forced: on every call
    EXPECT_EQ(vectors.ints, (KesRawCollint{10, 1, 6, 10, 1, 6}));
}

TEST_F(KesMfgAttMVIntTest, OptionToggleStoresTheFieldsAndNotifies) {
    auto* attribute = new KesMfgAttMVInt("NbPasses", "Passes", {3}, 0, 0, 0, &frame, 1);
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    EXPECT_TRUE(attribute->GetOptionCheckButton()->UserClick());
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{"tempoval[1]= 3"}));
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), 1);
}

} // namespace
