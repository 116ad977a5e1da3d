// The multi-value boolean attribute: check buttons, values other than 0 and 1, and the
// refreshes that set the buttons with notification.
#include "multi/KesMfgAttMVLogic.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class KesMfgAttMVLogicTest : public ::testing::Test {
protected:
    KesMfgAttMVLogic* Make(KesRawCollint list, bool toBeDefined = false) {
        auto* attribute = new KesMfgAttMVLogic("Passes", "Passes", list, 0, &frame, 1, 3, nullptr);
        if (toBeDefined) {
            attribute->SetAttToBeDefined();
        }
        attribute->Display();
        return attribute;
    }
    static KesDlgCheckButton* Button(const KesMfgAttMVLogic* attribute, int i) {
        return static_cast<KesDlgCheckButton*>(attribute->GetValueList().GetValueFields()[i]);
    }
    // The states of the five buttons: 1 checked, 0 unchecked, 4 hidden.
    static std::vector<int> States(const KesMfgAttMVLogic* attribute) {
        std::vector<int> states;
        for (int i = 1; i <= 5; ++i) {
            KesDlgCheckButton* button = Button(attribute, i);
            states.push_back(button->GetVisibility() == kes::kHidden ? 4 : button->IsOn() ? 1 : 0);
        }
        return states;
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesValueVectors vectors;
    KesStdoutCapture out;
};

TEST_F(KesMfgAttMVLogicTest, ToBeDefinedEndsAtDisplayLeavingTheForcedOutput) {
    auto* attribute = Make({1, 0}, true);
    EXPECT_EQ(States(attribute), (std::vector<int>{1, 0, 4, 4, 4}));
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    vectors.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(vectors.ints, (KesRawCollint{1, 0, 1, 0}));
}

// Regression: a refresh that notifies button by button must not store the state of a button
// that still shows the previous window.
TEST_F(KesMfgAttMVLogicTest, RefreshNotificationsNeverStoreAButtonNotYetRefreshed) {
    const KesRawCollint original{1, 1, 0, 0, 1, 0, 1, 0, 0, 0, 1, 1};
    auto* attribute = Make(original);
    KesDlgScrollBar* bar = attribute->GetValueList().GetValueScrollBar();
    struct Step {
        int position;
        std::vector<int> states;
        int changed; // buttons whose state changes
    };
    const Step steps[] = {
        {7, {0, 0, 0, 1, 1}, 3},
        {2, {0, 0, 1, 0, 1}, 2},
        {0, {1, 1, 0, 0, 1}, 3},
        {7, {0, 0, 0, 1, 1}, 3},
    };
    for (const Step& step : steps) {
        frame.Clear();
        out.Clear();
        EXPECT_TRUE(bar->UserScroll(step.position));
        EXPECT_EQ(States(attribute), step.states) << step.position;
        EXPECT_EQ(Notifications(), step.changed) << step.position;
        EXPECT_EQ(out.Lines(),
                  std::vector<std::string>(static_cast<size_t>(step.changed),
                                           "SCROLL POS :" + std::to_string(step.position)));
        EXPECT_EQ(attribute->GetValueList().GetCurrentValues(), original) << step.position;
    }
    // Removing while scrolled to the end moves the window up by one: only the last value goes.
    EXPECT_TRUE(attribute->GetValueList().GetRemoveItem()->UserActivate());
    KesRawCollint shorter = original;
    shorter.Size(11);
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues(), shorter);
    EXPECT_EQ(States(attribute), (std::vector<int>{1, 0, 0, 0, 1}));
    EXPECT_TRUE(attribute->GetValueList().GetAddItem()->UserActivate());
    shorter.Append(0);
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues(), shorter);
}

// A number other than 0 and 1 shows unchecked and stays until an edit reads it from its button.
TEST_F(KesMfgAttMVLogicTest, OtherNumbersAreKeptUntilAnEditStoresThemAsFalse) {
    auto* attribute = Make({2, 1, 0, 1, 0, 1});
    EXPECT_EQ(States(attribute), (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(Button(attribute, 1)->GetName(), "chkbtnatt");
    KesDlgScrollBar* bar = attribute->GetValueList().GetValueScrollBar();
    EXPECT_TRUE(bar->UserScroll(1)); // states change: value 1 is out of the window
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues()[1], 2);
    EXPECT_TRUE(bar->UserScroll(0)); // back in the window when the edits run
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues(), (KesRawCollint{0, 1, 0, 1, 0, 1}));

    frame.Clear();
    out.Clear();
    EXPECT_TRUE(Button(attribute, 2)->UserClick());
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{"SCROLL POS :0"}));
    EXPECT_EQ(Notifications(), 1);
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.typeCodes, (KesRawCollint{0}));
    EXPECT_EQ(vectors.ints, (KesRawCollint{0, 0, 0, 1, 0, 1}));
    KesRawCollint pushed{1, 2};
    attribute->SetAttValue(&pushed, nullptr, nullptr, 0); // no button notifies here
    EXPECT_EQ(Notifications(), 1);
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues(), pushed);
}

} // namespace
