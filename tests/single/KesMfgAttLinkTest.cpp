// The link attribute: the push button announcing itself to the parent frame, the value records
// handed over by the seven-argument SetAttValue and relayed whole by Output and GetAttValue,
// and the trace under the attribute's own switch.
#include "single/KesMfgAttLink.h"
#include "framework/KesMfgAttNotifyPB.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class KesMfgAttLinkTest : public ::testing::Test {
protected:
    void SetUp() override { SetDebug("KesMfgAttLink", 0); }
    void TearDown() override { SetDebug("KesMfgAttLink", 0); }

    KesMfgAttLink* Make(const KesString& icon = "drill", bool display = true) {
        auto* attribute = new KesMfgAttLink("Cycle_data", "Cycle data", &frame, icon, 1);
        if (display) {
            attribute->Display();
        }
        return attribute;
    }
    // Hands over two records: A, an integer 5, and B, the text X (no reals).
    static void HandOverTwoRecords(KesMfgAttLink* attribute) {
        KesListValKesUnicodeString names{"A", "B"};
        KesRawCollint counts{1, 1};
        KesRawCollint typeCodes{1, 3};
        KesRawCollint ints{5};
        KesListValKesUnicodeString texts{"X"};
        attribute->SetAttValue(&names, &counts, &typeCodes, &ints, nullptr, &texts, 0);
    }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Push button
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLinkTest, PressingTheButtonSendsOnePushButtonNotificationEvenWhenOptional) {
    auto* attribute = Make("drill", false);
    attribute->SetOptionMode(1, 0);
    attribute->Display();
    ASSERT_EQ(attribute->GetChildCount(), 2); // the button and the link label only
    EXPECT_EQ(attribute->GetPushButtonWidget()->GetIconName(), "drill");
    EXPECT_TRUE(attribute->GetPushButtonWidget()->UserPress());
    attribute->AttributeModified(nullptr, nullptr, nullptr);
    EXPECT_EQ(frame.ClassNames(),
              (std::vector<std::string>{"KesMfgAttNotifyPB", "KesMfgAttNotifyModif"}));
    HandOverTwoRecords(attribute);
    values.Output(*attribute, 1); // the unchecked option state plays no part
    EXPECT_EQ(values.names.Size(), 2);
}

// ---------------------------------------------------------------------------------------------
// Relaying value records
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLinkTest, HandedOverRecordsAreRelayedWholeOnEveryOutputForTheGroup) {
    auto* attribute = Make();
    // Before any values: Output appends nothing and GetAttValue gives a placeholder.
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty());
    values.GetAttValue(*attribute);
    EXPECT_EQ(values.FormatTable(), "Cycle_data | integer | 0 |\n");
    values.Clear();
    HandOverTwoRecords(attribute);
    values.Output(*attribute, 1).Output(*attribute, 1).Output(*attribute, 2);
    EXPECT_EQ(values.FormatTable(), "A | integer | 1 | 5\nB | text | 1 | \"X\"\n"
                                    "A | integer | 1 | 5\nB | text | 1 | \"X\"\n");
    EXPECT_EQ(frame.GetReceived().size(), 0u); // handing over notifies nobody
    values.Clear();
    EXPECT_EQ(values.GetAttValue(*attribute), 1);
    EXPECT_EQ(values.FormatTable(), "A | integer | 1 | 5\nB | text | 1 | \"X\"\n");
}

TEST_F(KesMfgAttLinkTest, OnlyTheLastHandedOverSetIsRelayedAsCopied) {
    auto* attribute = Make();
    HandOverTwoRecords(attribute);
    KesListValKesUnicodeString names{"R"};
    KesRawCollint counts{2};
    KesRawCollint typeCodes{2};
    KesRawColldouble reals{1.5, -2.5};
    attribute->SetAttValue(&names, &counts, &typeCodes, nullptr, &reals, nullptr, 1);
    // Changing the caller's vectors later changes nothing relayed; so does the four-argument
    // SetAttValue.
    names[1] = "changed";
    KesRawCollint ints{3};
    attribute->SetAttValue(&ints, &reals, nullptr, 1);
    values.Output(*attribute, 1);
    EXPECT_EQ(values.FormatTable(), "R | real | 2 | 1.5 -2.5\n");
}

TEST_F(KesMfgAttLinkTest, NullAndUnequalVectorsAreRelayedAsGiven) {
    auto* attribute = Make();
    KesListValKesUnicodeString names{"A", "B", "C"};
    KesRawCollint counts{4};
    KesRawCollint ints{1, 2, 3, 4, 5};
    attribute->SetAttValue(&names, &counts, nullptr, &ints, nullptr, nullptr, 0);
    values.Output(*attribute, 1);
    EXPECT_EQ(values.names, names);
    EXPECT_EQ(values.counts, counts);
    EXPECT_EQ(values.typeCodes.Size(), 0);
    EXPECT_EQ(values.ints, ints);

    attribute->SetAttValue(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0);
    values.Clear();
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty()); // an empty set, no longer the placeholder
    values.GetAttValue(*attribute);
    EXPECT_TRUE(values.IsEmpty());
}

TEST_F(KesMfgAttLinkTest, NullCallerVectorsNeededByTheRecordsStopTheWholeRelay) {
    auto* attribute = Make();
    HandOverTwoRecords(attribute);
    KesListValKesUnicodeString names;
    KesRawCollint typeCodes;
    KesRawCollint counts;
    KesRawCollint ints;
    // No texts vector while a text is to be relayed: nothing at all is appended.
    attribute->Output(1, &names, &typeCodes, &counts, &ints, nullptr, nullptr);
    EXPECT_EQ(names.Size() + typeCodes.Size() + counts.Size() + ints.Size(), 0);
    // No reals vector, and no real to relay: everything else is appended.
    KesListValKesUnicodeString texts;
    attribute->Output(1, &names, &typeCodes, &counts, &ints, nullptr, &texts);
    EXPECT_EQ(names.Size(), 2);
    EXPECT_EQ(texts.Size(), 1);
    int group = 0;
    attribute->GetAttValue(&group, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(group, 1);
}

// ---------------------------------------------------------------------------------------------
// Trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLinkTest, TraceIsWrittenOnlyWhileTheSwitchIsExactlyOne) {
    KesStdoutCapture capture;
    SetDebug("KesMfgAttLink", 1);
    auto* attribute = Make("drill");
    Make("");
    const std::vector<std::string> built = capture.Lines();
    EXPECT_EQ(std::count(built.begin(), built.end(), "iconname:drill:end"), 1);
    EXPECT_EQ(std::count(built.begin(), built.end(), "iconname::end"), 1);
    capture.Clear();
    attribute->GetPushButtonWidget()->UserPress();
    const std::string pressed = capture.Text();
    EXPECT_NE(pressed.find("Cycle_data"), std::string::npos);
    EXPECT_NE(pressed.find("Cycle data"), std::string::npos);

    // The switch is asked at every use, and only 1 turns the trace on.
    SetDebug("KesMfgAttLink", 2);
    capture.Clear();
    attribute->GetPushButtonWidget()->UserPress();
    attribute->AttributeModified(nullptr, nullptr, nullptr);
    Make("mill");
    EXPECT_EQ(capture.Text(), "");
    SetDebug("KesMfgAttLink", 1);
    attribute->AttributeModified(nullptr, nullptr, nullptr);
    EXPECT_NE(capture.Text().find("Cycle_data"), std::string::npos);
    EXPECT_NE(capture.Text(), pressed); // announces a modification, not a press
}

TEST_F(KesMfgAttLinkTest, ParentMayDeleteTheAttributeWhenTheButtonIsPressed) {
    SetDebug("KesMfgAttLink", 1);
    KesStdoutCapture capture;
    auto* attribute = Make();
    KesMfgAttNotifyPB kind(-1);
    frame.AddCallback(attribute, &kind,
                      [&](KesCommand*, KesNotification*, void**) { delete attribute; });
    EXPECT_TRUE(attribute->GetPushButtonWidget()->UserPress()); // the trace after sending uses
    EXPECT_EQ(frame.GetChildCount(), 0);                        // no freed memory
    EXPECT_NE(capture.Text().find("Cycle data"), std::string::npos);
}

} // namespace
