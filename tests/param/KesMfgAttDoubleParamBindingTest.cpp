// Binding the parameterised real to model parameters: listing, selecting, typing, creating
// through the field and through the dialog, unbinding, and the codes shown to the user.
#include "KesParamTestSupport.h"

#include <algorithm>
#include <functional>

namespace {

using kes_test::KesMfgAttDoubleParamTest;
using kes_test::Padded;

// ---------------------------------------------------------------------------------------------
// Listing: the user opens the list
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, OnlyCompatibleParametersAreListed) {
    AddParameter("P720", {720.0}, -1);
    AddParameter("P7200", {7200.0}, -1);          // 20 turns: outside the limits
    AddParameter("OTHERUNIT", {720.0}, 1);        // another third unit code
    AddParameter("INTEGER", {720.0}, -1, 1, 1);   // another type
    AddParameter("OTHERKIND", {720.0}, -1, 2, 0); // another kind
    AddParameter("EDGE", {3600.0}, -1);           // the limit itself is inside
    AddParameter("NOVALUE", {}, -1);
    KesMfgAttDoubleParam* angle = Angle();
    ASSERT_TRUE(angle->GetParameterCombo()->UserDrop());
    EXPECT_EQ(Lines(angle->GetParameterCombo()),
              (std::vector<std::string>{"none", "P720", "EDGE"}));
    AddParameter("LARGE", {1e300}); // without a range any value is listed
    KesMfgAttDoubleParam* free = Free();
    ASSERT_TRUE(free->GetParameterCombo()->UserDrop());
    EXPECT_EQ(Lines(free->GetParameterCombo()), (std::vector<std::string>{"none", "LARGE"}));
    EXPECT_EQ(Modifications(), 0);
}

TEST_F(KesMfgAttDoubleParamTest, ReopeningTheListSelectsTheBindingAgainAndChangesNothing) {
    AddParameter("P1", {2.0});
    KesMfgAttDoubleParam* attribute = Free("P1");
    ASSERT_TRUE(attribute->GetParameterCombo()->UserDrop());
    ASSERT_TRUE(attribute->GetParameterCombo()->UserDrop());
    EXPECT_EQ(Lines(attribute->GetParameterCombo()), (std::vector<std::string>{"none", "P1"}));
    EXPECT_EQ(attribute->GetParameterCombo()->GetSelect(), 1);
    // A binding the model does not list stays in the field, with no line selected.
    KesMfgAttDoubleParam* ghost = Free("GHOST");
    ASSERT_TRUE(ghost->GetParameterCombo()->UserDrop());
    EXPECT_EQ(ghost->GetParameterCombo()->GetSelect(), -1);
    EXPECT_EQ(Seen(attribute) + "; " + Seen(ghost),
              "P1 shown 3, codes, 0 notified; GHOST shown 3, codes, 0 notified");
}

// ---------------------------------------------------------------------------------------------
// Every change of the binding a user can make, and what the user and the parent see after it
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, WhatEachGestureOnTheBindingShows) {
    using Gesture = std::function<void(KesMfgAttDoubleParam*)>;
    const auto type = [](const char* text) {
        return [text](KesMfgAttDoubleParam* a) {
            ASSERT_TRUE(a->GetParameterCombo()->UserType(text));
        };
    };
    const auto ok = [](const char* name) {
        return [name](KesMfgAttDoubleParam* a) { ASSERT_TRUE(OpenDialogWith(a, name)->UserOK()); };
    };
    const struct {
        const char* what;
        const char* bound; // the binding at construction
        bool angle;        // degrees shown as turns, else a free real of 3
        Gesture gesture;
        std::string seen;
    } cases[] = {
        {"select P720", "", true,
         [](auto* a) {
             ASSERT_TRUE(a->GetParameterCombo()->UserDrop());
             ASSERT_TRUE(a->GetParameterCombo()->UserSelect(1));
         },
         "P720 shown 2, codes, 1 notified"},
        {"select none", "P720", true,
         [](auto* a) { ASSERT_TRUE(a->GetParameterCombo()->UserSelect(0)); },
         "none shown 2, codes, 1 notified"},
        {"select an unknown name", "ghost", false,
         [](auto* a) { ASSERT_TRUE(a->GetParameterCombo()->UserSelect(1)); },
         "ghost shown 3, codes, 1 notified"},
        {"select a name without a real", "EMPTY", false,
         [](auto* a) { ASSERT_TRUE(a->GetParameterCombo()->UserSelect(1)); },
         "EMPTY shown 3, codes, 1 notified"},
        {"spin", "P720", true, [](auto* a) { ASSERT_TRUE(a->GetSpinnerWidget()->UserStep(1)); },
         "none shown 2.5, codes, 1 notified"},
        {"type a value", "P1", false,
         [](auto* a) { ASSERT_TRUE(a->GetEditorWidget()->UserType("8")); },
         "none shown 8, codes, 1 notified"},
        {"type none", "P1", false, type("  none "), "none shown 3, codes, 1 notified"},
        {"type blanks", "P1", false, type("   "), "none shown 3, codes, 1 notified"},
        {"type a compatible name", "", false, type("  p1 "), "P1 shown 6.5, codes, 1 notified"},
        // The selection notifies, then the binding is shown once more.
        {"type a new name", "", true, type("newpar"), "NEWPAR shown 2, codes 20002, 2 notified"},
        {"type an incompatible name", "", false, type("p3"),
         "none shown 3, codes 20001, 1 notified"},
        {"type a malformed name", "P1", false, type("two words"),
         "none shown 3, codes, 1 notified"},
        {"OK on a new name", "", true, ok("  depth1 "), "DEPTH1 shown 2, codes 20002, 1 notified"},
        {"OK on a taken name", "", false, ok("p1"), "none shown 3, codes 20001, 0 notified"},
        {"OK on a malformed name", "P1", false, ok("a b"), "P1 shown 3, codes 9621, 0 notified"},
        {"OK on nothing", "", false, ok("   "), "none shown 3, codes, 0 notified"},
        {"cancel", "P1", false, [](auto* a) { ASSERT_TRUE(OpenDialogWith(a, "q1")->UserCancel()); },
         "P1 shown 3, codes, 0 notified"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        KesMfgModel::Clear();
        KesMfgBaseGII::ClearReportedCodes();
        frame_->Clear();
        AddParameter("P720", {720.0}, -1);
        AddParameter("P1", {6.5});
        AddParameter("P3", {1.0}, 5, 2, 1, 5, 5);
        AddParameter("EMPTY", {});
        KesMfgAttDoubleParam* attribute = c.angle ? Angle(c.bound) : Free(c.bound);
        c.gesture(attribute);
        EXPECT_EQ(Seen(attribute), c.seen);
        EXPECT_EQ(KesMfgModel::GetParameterCount(),
                  4 + (c.seen.find("20002") != std::string::npos));
    }
}

TEST_F(KesMfgAttDoubleParamTest, ABindingIsReportedAsTheNameAndUnbindingKeepsTheValue) {
    AddParameter("P720", {720.0}, -1);
    KesMfgAttDoubleParam* attribute = Angle();
    ASSERT_TRUE(attribute->GetSpinnerWidget()->UserSetValue(3.0));
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("newpar"));
    EXPECT_EQ(ParameterValue("NEWPAR"), 1080.0); // the value shown, in the caller's unit
    EXPECT_EQ(Record(attribute).texts, (KesListValKesUnicodeString{Padded("NEWPAR", 72)}));
    ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(0));
    EXPECT_EQ(Record(attribute).FormatTable(), "Angle | real | 1 | 1080\n");
    // "None" with a capital is a name, which reports as unbound.
    KesMfgAttDoubleParam* none = Free();
    ASSERT_TRUE(none->GetParameterCombo()->UserType("None"));
    EXPECT_EQ(ParameterValue("NONE"), 3.0);
    EXPECT_EQ(Record(none).FormatTable(), "Free | real | 1 | 3\n");
}

TEST_F(KesMfgAttDoubleParamTest, ASelectedValueIsShownUnclampedThenTheEditorClampsIt) {
    AddParameter("P50", {50.0});
    KesMfgAttDoubleParam* attribute = Make("Bounded", 3.0, 0.0, 10.0);
    attribute->SetAttToBeDefined();
    attribute->Display();
    // Bound by the caller (padded to 16): the model's P50 is out of range, so never listed.
    KesListValKesUnicodeString texts{"P50"};
    attribute->SetAttValue(nullptr, nullptr, &texts, 0);
    ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(1));
    EXPECT_EQ(Seen(attribute), Padded("P50", 16) + " shown 10, codes, 1 notified");
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
}

// A value the model refuses (1e307 turns is beyond any real in degrees) is reported, and the
// parameter stays, whether created from the field or from the dialog.
TEST_F(KesMfgAttDoubleParamTest, AValueTheModelRefusesIsReportedAndTheBindingReturnsToNone) {
    KesMfgAttDoubleParam* huge = Shown(Make("Huge", 1.0, 0.0, 0.0, {.third = -1}));
    ASSERT_TRUE(huge->GetEditorWidget()->UserType("1e307"));
    ASSERT_TRUE(huge->GetParameterCombo()->UserType("big"));
    ASSERT_TRUE(OpenDialogWith(huge, "big2")->UserOK());
    EXPECT_EQ(huge->GetCreationDialog(), nullptr);
    EXPECT_EQ(Seen(huge), "none shown 1e+307, codes 9623 9623, 2 notified");
    EXPECT_TRUE(KesMfgModel::HasParameter("BIG") && KesMfgModel::HasParameter("BIG2"));
}

// ---------------------------------------------------------------------------------------------
// The creation dialog
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest,
       TheCreationDialogIsBuiltOnceAndDeletedOnOkCancelOrWithTheAttribute) {
    AddParameter("P1", {1.0});
    KesMfgAttDoubleParam* attribute = Free();
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, nullptr);
    ASSERT_NE(dialog, nullptr);
    dialog->SetVisibility(kes::kHidden);
    EXPECT_EQ(OpenDialogWith(attribute, "p1"), dialog); // shown again, not built again
    EXPECT_EQ(dialog->GetVisibility(), kes::kShown);
    ASSERT_TRUE(dialog->UserOK()); // a taken name keeps it open
    EXPECT_EQ(attribute->GetCreationDialog(), dialog);
    ASSERT_TRUE(dialog->GetField(0)->UserType("p2"));
    std::shared_ptr<const bool> alive = dialog->GetAliveToken();
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_FALSE(*alive); // deleted from inside its own OK callback
    EXPECT_EQ(attribute->GetCreationDialog(), nullptr);
    EXPECT_EQ(Seen(attribute), "P2 shown 3, codes 20001 20002, 1 notified");

    alive = OpenDialogWith(attribute, "q1")->GetAliveToken();
    ASSERT_TRUE(attribute->GetCreationDialog()->UserCancel());
    EXPECT_FALSE(*alive);
    EXPECT_EQ(OpenDialogWith(attribute, nullptr)->GetField(0)->GetText(), ""); // opens empty
    alive = attribute->GetCreationDialog()->GetAliveToken();
    delete attribute;
    EXPECT_FALSE(*alive);
}

// ---------------------------------------------------------------------------------------------
// Trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, BindingOperationsTraceTheirNames) {
    AddParameter("P1", {4.0});
    KesMfgAttDoubleParam* attribute = Free();
    KesMfgAttribute::_debug = 0;
    SetDebug("Access", 1);
    KesStdoutCapture captured;
    KesDlgCombo* combo = attribute->GetParameterCombo();
    ASSERT_TRUE(combo->UserDrop());
    ASSERT_TRUE(combo->UserSelect(1));
    ASSERT_TRUE(attribute->GetEditorWidget()->UserType("5"));
    OpenDialogWith(attribute, nullptr)->UserCancel();
    ASSERT_TRUE(combo->UserType("p1"));
    OpenDialogWith(attribute, "q1")->UserOK();
    EXPECT_EQ(captured.Lines(), (std::vector<std::string>{
                                    "XXXXXXXXXXXXXXDropParameters ",
                                    "XXXXXXXXXXXXXX DisplayParameter",
                                    "VAL String :4",
                                    "XXXXXXXXXXXXXX AttributeModified",
                                    "XXXXXXXXXXXXXXUnParametrize ",
                                    "XXXXXXXXXXXXXX AttributeModified",
                                    "XXXXXXXXXXXXXXCreateParameter ",
                                    "XXXXXXXXXXXXXX NoCreateParameter",
                                    "XXXXXXXXXXXXXXEntryCreateParameter ",
                                    "XXXXXXXXXXXXXX DisplayParameter",
                                    "VAL String :4",
                                    "XXXXXXXXXXXXXX AttributeModified",
                                    "XXXXXXXXXXXXXXCreateParameter ",
                                    "XXXXXXXXXXXXXXYesCreateParameter ",
                                    "XXXXXXXXXXXXXX DisplayParameter",
                                    "VAL String :4",
                                    "XXXXXXXXXXXXXX AttributeModified",
                                }));
}

} // namespace
