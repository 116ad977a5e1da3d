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
    static std::vector<std::string> ChildNames(const KesDialog* widget) {
        std::vector<std::string> names;
        for (int i = 0; i < widget->GetChildCount(); ++i) {
            names.push_back(widget->GetChildFromChildNumber(i)->GetName().Str());
        }
        return names;
    }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Push button and link label
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLinkTest, DisplayBuildsTheButtonAndLinkLabelOnlyEvenWhenOptional) {
    auto* attribute = Make("drill", false);
    attribute->SetOptionMode(1, 0);
    attribute->Display();
    attribute->Display();
    EXPECT_EQ(ChildNames(attribute), (std::vector<std::string>{"pb", "label"}));
    EXPECT_EQ(attribute->GetPushButtonWidget()->GetIconName(), "drill");
    EXPECT_EQ(attribute->GetOptionCheckButton(), nullptr);
    EXPECT_TRUE(attribute->IsDisplayed());

    HandOverTwoRecords(attribute);
    values.Output(*attribute, 1); // the unchecked option state plays no part
    EXPECT_EQ(values.names.Size(), 2);

    EXPECT_EQ(Make("")->GetPushButtonWidget()->GetIconName(), "");
}

TEST_F(KesMfgAttLinkTest, PressingTheButtonSendsOnePushButtonNotification) {
    auto* attribute = Make();
    EXPECT_TRUE(attribute->GetPushButtonWidget()->UserPress());
    EXPECT_EQ(frame.ClassNames(), (std::vector<std::string>{"KesMfgAttNotifyPB"}));
    EXPECT_EQ(frame.Count("KesMfgAttNotifyPB", attribute), 1);

    attribute->AttributeModified(nullptr, nullptr, nullptr);
    EXPECT_EQ(frame.ClassNames(),
              (std::vector<std::string>{"KesMfgAttNotifyPB", "KesMfgAttNotifyModif"}));
}

TEST_F(KesMfgAttLinkTest, IconNameGoesToTheLinkLabelAndTheEmptyNameClearsItsTitle) {
    auto* attribute = Make("drill");
    attribute->SetIconName("tap");
    EXPECT_EQ(attribute->GetLinkLabel()->GetIconName(), "tap");
    EXPECT_EQ(attribute->GetPushButtonWidget()->GetIconName(), "drill");
    attribute->GetLinkLabel()->SetTitle("old");
    attribute->SetIconName("");
    EXPECT_EQ(attribute->GetLinkLabel()->GetTitle(), "");
}

TEST_F(KesMfgAttLinkTest, HelpGoesToTheButtonFromTheFirstTextOfEachList) {
    auto* attribute = Make();
    attribute->SetHelp(KesListValKesUnicodeString{"first", "second"}, KesListValKesUnicodeString{});
    EXPECT_EQ(attribute->GetPushButtonWidget()->GetHelp(), "first");
    EXPECT_EQ(attribute->GetPushButtonWidget()->GetShortHelp(), "");

    auto* early = Make("", false);
    early->SetHelp(KesListValKesUnicodeString{"x"}, KesListValKesUnicodeString{"y"});
    early->SetIconName("z");
    EXPECT_EQ(early->GetChildCount(), 0);
}

// ---------------------------------------------------------------------------------------------
// Relaying value records
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLinkTest, BeforeAnyValuesOutputIsEmptyAndGetAttValueGivesThePlaceholder) {
    auto* attribute = Make("", false);
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());
    EXPECT_EQ(values.GetAttValue(*attribute), 1);
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"Cycle_data"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{1}));
    EXPECT_EQ(values.counts, (KesRawCollint{0}));
    EXPECT_EQ(values.ints.Size(), 0);
}

TEST_F(KesMfgAttLinkTest, HandedOverRecordsAreRelayedWholeOnEveryOutputForTheGroup) {
    auto* attribute = Make();
    HandOverTwoRecords(attribute);
    values.Output(*attribute, 1).Output(*attribute, 1).Output(*attribute, 2);
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"A", "B", "A", "B"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{1, 3, 1, 3}));
    EXPECT_EQ(values.counts, (KesRawCollint{1, 1, 1, 1}));
    EXPECT_EQ(values.ints, (KesRawCollint{5, 5}));
    EXPECT_EQ(values.reals.Size(), 0);
    EXPECT_EQ(values.texts, (KesListValKesUnicodeString{"X", "X"}));
    std::vector<KesValueVectors::Record> records;
    EXPECT_TRUE(values.Split(records));
    EXPECT_EQ(records.size(), 4u);
    EXPECT_EQ(frame.GetReceived().size(), 0u); // handing over notifies nobody

    values.Clear();
    EXPECT_EQ(values.GetAttValue(*attribute), 1);
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"A", "B"}));
}

TEST_F(KesMfgAttLinkTest, OnlyTheLastHandedOverSetIsRelayed) {
    auto* attribute = Make();
    HandOverTwoRecords(attribute);
    KesListValKesUnicodeString names{"R"};
    KesRawCollint counts{2};
    KesRawCollint typeCodes{2};
    KesRawColldouble reals{1.5, -2.5};
    attribute->SetAttValue(&names, &counts, &typeCodes, nullptr, &reals, nullptr, 1);
    values.Output(*attribute, 1);
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"R"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{2}));
    EXPECT_EQ(values.counts, (KesRawCollint{2}));
    EXPECT_EQ(values.reals, (KesRawColldouble{1.5, -2.5}));
    EXPECT_EQ(values.ints.Size() + values.texts.Size(), 0);

    // The caller's vectors were copied: changing them later changes nothing relayed. The
    // four-argument SetAttValue changes nothing either.
    names[1] = "changed";
    KesRawCollint ints{3};
    attribute->SetAttValue(&ints, &reals, nullptr, 1);
    values.Clear();
    values.Output(*attribute, 1);
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"R"}));
    EXPECT_EQ(values.ints.Size(), 0);
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
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty()); // an empty set, no longer the placeholder
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
    attribute->GetAttValue(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(group, 1);
}

TEST_F(KesMfgAttLinkTest, AttributeDeletedAfterSeveralHandOversLeavesNothingBehind) {
    auto* attribute = Make();
    for (int i = 0; i < 3; ++i) {
        HandOverTwoRecords(attribute);
    }
    delete attribute; // the sanitizer build checks that the link vectors went with it
    EXPECT_EQ(frame.GetChildCount(), 0);
}

// ---------------------------------------------------------------------------------------------
// Trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttLinkTest, TraceIsWrittenOnlyWhileTheSwitchIsExactlyOne) {
    KesStdoutCapture capture;
    SetDebug("KesMfgAttLink", 1);
    auto* attribute = Make("drill");
    ASSERT_FALSE(capture.Lines().empty());
    EXPECT_EQ(capture.Lines()[0], "iconname:drill:end");
    capture.Clear();
    attribute->GetPushButtonWidget()->UserPress();
    const std::string pressed = capture.Text();
    EXPECT_NE(pressed.find("Cycle_data"), std::string::npos);
    EXPECT_NE(pressed.find("Cycle data"), std::string::npos);
    EXPECT_GE(capture.Lines().size(), 3u);

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
    EXPECT_EQ(Make("")->GetChildCount(), 2);
    EXPECT_NE(capture.Text().find("iconname::end"), std::string::npos);
}

TEST_F(KesMfgAttLinkTest, ParentMayDeleteTheAttributeWhenTheButtonIsPressed) {
    SetDebug("KesMfgAttLink", 1);
    KesStdoutCapture capture;
    auto* attribute = Make();
    KesMfgAttNotifyPB kind(-1);
    frame.AddCallback(attribute, &kind,
                      [&](KesCommand*, KesNotification*, void**) { delete attribute; });
    KesDlgPushButton* button = attribute->GetPushButtonWidget();
    EXPECT_TRUE(button->UserPress()); // the trace after sending uses no freed memory
    EXPECT_EQ(frame.GetChildCount(), 0);
    EXPECT_NE(capture.Text().find("Cycle data"), std::string::npos);
}

} // namespace
