// Replacing the choices of a combo at run time: ModifyValueList on both choice lists and
// NewValueList on the text list, with the selection kept, given by position or falling back to
// the first row, rejected values, and the requests that are ignored.
#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "framework/KesMfgAttNotifyModif.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "single/KesMfgAttInt.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const KesDlgCombo* combo) {
    std::vector<std::string> lines;
    for (int row = 0; row < combo->GetLineCount(); ++row) {
        lines.push_back(combo->GetLine(row).Str());
    }
    return lines;
}

class KesMfgChoiceModifyTest : public ::testing::Test {
protected:
    void SetUp() override { SetDebug("AttIntList", 0); }
    void TearDown() override { ResetDebug(); }

    // Integer list 10, 20, 30 (ten, twenty, thirty) with 20 selected, steering `target`
    // (sensitive for 30 only).
    KesMfgAttIntList* Numbers(int presentation = 0) {
        auto* list = new KesMfgAttIntList("Cut", "Cut", 20, {10, 20, 30},
                                          {"ten", "twenty", "thirty"}, 0, &frame, 1, presentation);
        list->Display();
        target = new KesMfgAttInt("T", "T", 0, 0, 0, 0, &frame, 1);
        target->Display();
        KesListPtrKesMfgAttribute impacted;
        impacted.Append(target);
        list->AddImpactedAttributes(impacted, {}, KesRawCollint{10, 20, 30}, {0, 0, 1});
        return list;
    }
    // Text list ROUGH, FINISH, SEMI (Roughing, Finishing, Semi) with FINISH selected.
    KesMfgAttCharList* Texts(int presentation = 0) {
        auto* list =
            new KesMfgAttCharList("Pass", "Pass", "FINISH", {"ROUGH", "FINISH", "SEMI"},
                                  {"Roughing", "Finishing", "Semi"}, "", &frame, 1, presentation);
        list->Display();
        return list;
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }

    KesDlgTestFrame frame;
    KesMfgAttInt* target = nullptr;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Integer list
// ---------------------------------------------------------------------------------------------
// Each row starts from 10, 20, 30 with 20 selected. A position counts from 1; outside the new
// list it counts as none given, and then the selected value is kept, else the first row is
// selected with a notification. A number not among the construction values ends the new list;
// a text that is no number reads as 0.
TEST_F(KesMfgChoiceModifyTest, IntegerListsReplacedAndTheSelectionThatFollows) {
    const struct {
        KesListValKesUnicodeString given;
        int selection;
        std::vector<std::string> lines;
        const char* field;
        int notified;
    } cases[] = {
        {{"30", " 10 "}, -1, {"thirty", "ten"}, "thirty", 1},
        {{"30", "10"}, 2, {"thirty", "ten"}, "ten", 0},
        {{"20", "10"}, -1, {"twenty", "ten"}, "twenty", 0},
        {{"10", "20"}, 7, {"ten", "twenty"}, "twenty", 0},
        {{"30", "10"}, 0, {"thirty", "ten"}, "thirty", 1},
        {{"30", "99", "10"}, -1, {"thirty"}, "thirty", 1},
        {{"abc", "10"}, 1, {}, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given[1].Str() + " at " + std::to_string(c.selection));
        frame.Clear();
        KesMfgAttIntList* list = Numbers();
        list->ImpactAttributes(); // 20: the target off
        list->ModifyValueList({}, c.given, c.selection);
        EXPECT_EQ(Lines(list->GetComboWidget()), c.lines);
        EXPECT_EQ(list->GetComboWidget()->GetField(), c.field);
        EXPECT_EQ(Notifications(), c.notified);
        // The impacts run with the notification only.
        EXPECT_EQ(target->IsSetSensitivity(), c.field == std::string("thirty") && c.notified == 1);
    }
}

TEST_F(KesMfgChoiceModifyTest, RejectedNumberIsTracedAndLaterListsStillPickFromTheConstruction) {
    KesMfgAttIntList* list = Numbers();
    KesStdoutCapture capture;
    list->ModifyValueList({}, {"30", "99", "10"}, -1);
    EXPECT_EQ(capture.Text(), ""); // the trace switch is off
    SetDebug("AttIntList", 1);
    list->ModifyValueList({}, {"30", "99", "10"}, -1);
    const std::vector<std::string> lines = capture.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "VALEUR NON TROUVEE DANS LA LISTE EXISTANTE!! ");
    EXPECT_EQ(lines.back(), "VALEUR :99");
    EXPECT_EQ(list->GetAllowedValues(), KesRawCollint{30});
    list->ModifyValueList({}, {"20", "30"}, 1);
    EXPECT_EQ(Lines(list->GetComboWidget()), (std::vector<std::string>{"twenty", "thirty"}));
    // A rejected first number leaves no value at all; 0 itself may be a construction value.
    list->ModifyValueList({}, {"abc", "10"}, 1);
    EXPECT_EQ(list->GetAttValue(), 0);
    EXPECT_TRUE(values.GetAttValue(*list) == 1 && values.IsEmpty());
    auto* zero = new KesMfgAttIntList("Z", "Z", 5, {0, 5}, {"zero", "five"}, 0, &frame, 1, 0);
    zero->Display();
    zero->ModifyValueList({}, {"none", "5"}, 1);
    EXPECT_EQ(zero->GetAllowedValues(), (KesRawCollint{0, 5}));
}

// ---------------------------------------------------------------------------------------------
// Text list
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgChoiceModifyTest, TextSubsetSelectsWithNotificationEvenTheValueAlreadySelected) {
    KesMfgAttCharList* list = Texts();
    list->ModifyValueList({}, {" FINISH ", "SEMI"}, -1);
    EXPECT_EQ(Lines(list->GetComboWidget()), (std::vector<std::string>{"Finishing", "Semi"}));
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), 0);
    EXPECT_EQ(Notifications(), 1);
    list->ModifyValueList({}, {"ROUGH"}, -1);
    EXPECT_EQ(list->GetAttValue(), "ROUGH");
    EXPECT_EQ(Notifications(), 2);
}

TEST_F(KesMfgChoiceModifyTest, RejectedTextIsReportedWhateverTheSwitches) {
    KesMfgAttCharList* list = Texts();
    KesStdoutCapture capture;
    list->ModifyValueList({}, {"ROUGH", " FAST ", "SEMI"}, 5);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"VALEUR NON TROUVEE DANS LA LISTE EXISTANTE!! ",
                                        "VALEUR : FAST :"}));
    EXPECT_EQ(Lines(list->GetComboWidget()), std::vector<std::string>{"Roughing"});
    EXPECT_EQ(list->GetAttValue(), "ROUGH");
}

TEST_F(KesMfgChoiceModifyTest, NewValueListReplacesTheChoicesButNotTheConstructionLists) {
    KesMfgAttCharList* list = Texts();
    list->NewValueList({}, {"A", "B ", "C"}, 2);
    EXPECT_EQ(Lines(list->GetComboWidget()), (std::vector<std::string>{"A", "B ", "C"}));
    EXPECT_EQ(list->GetComboWidget()->GetSelect(), 1);
    EXPECT_EQ(Notifications(), 1);
    values.Output(*list, 1);
    EXPECT_EQ(values.texts, KesListValKesUnicodeString{"B "});
    list->NewValueList({}, {"X"}, -9); // out of range: B is no longer there, X is selected
    EXPECT_EQ(list->GetAttValue(), "X");
    list->ModifyValueList({}, {"SEMI"}, -1);
    EXPECT_EQ(Lines(list->GetComboWidget()), std::vector<std::string>{"Semi"});
}

// ---------------------------------------------------------------------------------------------
// Ignored requests and reentrancy
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgChoiceModifyTest, RequestsOutsideTheReadOnlyComboOrWithAnEmptyListChangeNothing) {
    KesMfgAttIntList* radio = Numbers(1);
    radio->ModifyValueList({}, {"10"}, 1);
    EXPECT_EQ(radio->GetAttValue(), 20);
    KesMfgAttIntList* numbers = Numbers();
    numbers->ModifyValueList({}, {}, 1);
    EXPECT_EQ(numbers->GetComboWidget()->GetLineCount(), 3);
    for (int presentation : {1, 2}) {
        KesMfgAttCharList* list = Texts(presentation);
        list->ModifyValueList({}, {"ROUGH"}, 1);
        list->NewValueList({}, {"A"}, 1);
        EXPECT_EQ(list->GetAllowedValues().Size(), 3);
        EXPECT_EQ(list->GetAttValue(), "FINISH"); // the editable combo's field shows Finishing
    }
    KesMfgAttCharList* combo = Texts();
    combo->ModifyValueList({}, {}, 1);
    combo->NewValueList({}, {}, 1);
    EXPECT_EQ(combo->GetComboWidget()->GetLineCount(), 3);
    EXPECT_EQ(Notifications(), 0);
}

TEST_F(KesMfgChoiceModifyTest, ParentReplacingTheListFromTheNotificationIsSafe) {
    KesMfgAttCharList* list = Texts();
    int calls = 0;
    KesMfgAttNotifyModif kind(-1);
    frame.AddCallback(list, &kind, [&](KesCommand*, KesNotification*, void**) {
        if (++calls == 1) {
            list->NewValueList({}, {"P", "Q"}, 1);
        }
    });
    list->NewValueList({}, {"A", "A", "B"}, 1); // both A rows notify; the first replaces all
    EXPECT_EQ(Lines(list->GetComboWidget()), (std::vector<std::string>{"P", "Q"}));
    EXPECT_EQ(list->GetAttValue(), "P");
}

} // namespace
