// Binding the parameterised real to model parameters: listing, selecting, typing, creating
// through the field and through the dialog, unbinding, and the codes shown to the user. One
// group of cases for each change of the binding a user can make.
#include "KesParamTestSupport.h"

#include <algorithm>

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
    // Without a range any value is listed.
    AddParameter("LARGE", {1e300});
    KesMfgAttDoubleParam* free = Free();
    ASSERT_TRUE(free->GetParameterCombo()->UserDrop());
    EXPECT_EQ(Lines(free->GetParameterCombo()), (std::vector<std::string>{"none", "LARGE"}));
    EXPECT_EQ(Modifications(), 0);
    KesMfgModel::Clear();
    ASSERT_TRUE(angle->GetParameterCombo()->UserDrop());
    EXPECT_EQ(Lines(angle->GetParameterCombo()), (std::vector<std::string>{"none"}));
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
// Selecting a line
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, SelectingAParameterShowsItsValueAndBinds) {
    AddParameter("P720", {720.0}, -1);
    KesMfgAttDoubleParam* attribute = Angle();
    ASSERT_TRUE(attribute->GetSpinnerWidget()->UserSetValue(5.0));
    frame_->Clear();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserDrop());
    ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(1));
    EXPECT_EQ(Seen(attribute), "P720 shown 2, codes, 1 notified");
    EXPECT_EQ(Record(attribute).FormatTable(),
              "Angle | real | -1 | \"" + Padded("P720", 72) + "\"\n");
    ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(0)); // unbinds, keeps the value
    EXPECT_EQ(Seen(attribute), "none shown 2, codes, 2 notified");
    EXPECT_EQ(Record(attribute).FormatTable(), "Angle | real | 1 | 720\n");
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

// A name from the constructor or from SetAttValue that the model does not know (or that holds
// no real) shows nothing new: the value and the binding stay, and the parent is told.
TEST_F(KesMfgAttDoubleParamTest, SelectingANameWithoutARealKeepsTheWidgetAsItIs) {
    AddParameter("EMPTY", {});
    for (const char* name : {"ghost", "EMPTY"}) {
        frame_->Clear();
        KesMfgAttDoubleParam* attribute = Shown(Make(name, 3.0, 0.0, 10.0, {.parameter = name}));
        ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(1));
        EXPECT_EQ(Seen(attribute), std::string(name) + " shown 3, codes, 1 notified");
    }
}

TEST_F(KesMfgAttDoubleParamTest, EditingTheValueUnbinds) {
    AddParameter("P720", {720.0}, -1);
    KesMfgAttDoubleParam* spun = Angle("P720");
    ASSERT_TRUE(spun->GetSpinnerWidget()->UserStep(1));
    EXPECT_EQ(Seen(spun), "none shown 2.5, codes, 1 notified");
    EXPECT_EQ(Record(spun).reals, (KesRawColldouble{900.0}));
    KesMfgAttDoubleParam* typed = Free("P1");
    ASSERT_TRUE(typed->GetEditorWidget()->UserType("8"));
    EXPECT_EQ(Seen(typed), "none shown 8, codes, 2 notified");
}

// ---------------------------------------------------------------------------------------------
// Typing into the combo's field
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, TypingNoneOrNothingUnbinds) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    for (const char* typed : {"none", "", "   ", "  none "}) {
        ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(1));
        ASSERT_TRUE(attribute->GetParameterCombo()->UserType(typed));
        EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "none") << '"' << typed << '"';
    }
    EXPECT_EQ(Seen(attribute), "none shown 3, codes, 8 notified");
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
}

TEST_F(KesMfgAttDoubleParamTest, TypingACompatibleNameBindsIt) {
    AddParameter("P1", {6.5});
    KesMfgAttDoubleParam* attribute = Free();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("  p1 "));
    EXPECT_EQ(Seen(attribute), "P1 shown 6.5, codes, 1 notified");
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 1);
}

TEST_F(KesMfgAttDoubleParamTest, TypingANewNameCreatesAParameterWithTheShownValue) {
    KesMfgAttDoubleParam* attribute = Angle();
    ASSERT_TRUE(attribute->GetSpinnerWidget()->UserSetValue(3.0));
    frame_->Clear();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("newpar"));
    EXPECT_EQ(ParameterValue("NEWPAR"), 1080.0);
    // The selection notifies, then the binding is shown once more.
    EXPECT_EQ(Seen(attribute), "NEWPAR shown 3, codes 20002, 2 notified");
    EXPECT_EQ(Record(attribute).texts, (KesListValKesUnicodeString{Padded("NEWPAR", 72)}));

    // "None" with a capital is a name, which reports as unbound.
    KesMfgAttDoubleParam* none = Free();
    ASSERT_TRUE(none->GetParameterCombo()->UserType("None"));
    EXPECT_EQ(ParameterValue("NONE"), 3.0);
    EXPECT_EQ(Seen(none), "NONE shown 3, codes 20002 20002, 4 notified");
    EXPECT_EQ(Record(none).FormatTable(), "Free | real | 1 | 3\n");
}

TEST_F(KesMfgAttDoubleParamTest, TypingTheNameOfAnIncompatibleParameterReports20001) {
    AddParameter("P1", {1.0}, 5, 2, 1, 5, 5);
    KesMfgAttDoubleParam* attribute = Free();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("p1"));
    EXPECT_EQ(Seen(attribute), "none shown 3, codes 20001, 1 notified");
    EXPECT_EQ(ParameterValue("P1"), 1.0);
}

TEST_F(KesMfgAttDoubleParamTest, OtherCreationFailuresFromTheFieldReturnToNone) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("two words")); // silently
    EXPECT_EQ(Seen(attribute), "none shown 3, codes, 1 notified");
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
    // 1e307 turns is beyond any real once written in degrees: the model refuses the value,
    // which is reported, and the parameter stays.
    KesMfgAttDoubleParam* huge = Shown(Make("Huge", 1.0, 0.0, 0.0, {.third = -1}));
    ASSERT_TRUE(huge->GetEditorWidget()->UserType("1e307"));
    ASSERT_TRUE(huge->GetParameterCombo()->UserType("big"));
    EXPECT_EQ(Seen(huge), "none shown 1e+307, codes 9623, 3 notified");
    EXPECT_TRUE(KesMfgModel::HasParameter("BIG"));
}

// ---------------------------------------------------------------------------------------------
// The creation dialog
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, CreateParOpensOneDialogAndLeavesTheBinding) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetName(), "CreateParameter");
    EXPECT_EQ(dialog->GetField(0)->GetName(), "ParameterName");
    dialog->SetVisibility(kes::kHidden);
    EXPECT_EQ(OpenDialogWith(attribute, "q1"), dialog); // shown again, not built again
    EXPECT_EQ(dialog->GetVisibility(), kes::kShown);
    EXPECT_EQ(attribute->GetBindingText(), "P1");
    KesMfgAttribute::_debug = 0;
    SetDebug("Access", 1);
    KesStdoutCapture captured;
    ASSERT_TRUE(dialog->UserOK());
    const std::vector<std::string> lines = captured.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "XXXXXXXXXXXXXXYesCreateParameter "), 1);
}

TEST_F(KesMfgAttDoubleParamTest, OkCreatesTheParameterBindsItAndClosesTheDialog) {
    KesMfgAttDoubleParam* attribute = Angle();
    ASSERT_TRUE(attribute->GetSpinnerWidget()->UserSetValue(3.0));
    frame_->Clear();
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, "  depth1 ");
    const std::shared_ptr<const bool> alive = dialog->GetAliveToken();
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_FALSE(*alive); // deleted from inside its own OK callback
    EXPECT_EQ(attribute->GetCreationDialog(), nullptr);
    EXPECT_EQ(ParameterValue("DEPTH1"), 1080.0);
    EXPECT_EQ(Seen(attribute), "DEPTH1 shown 3, codes 20002, 1 notified");
}

TEST_F(KesMfgAttDoubleParamTest, OkWithATakenNameReports20001AndKeepsTheDialogOpen) {
    AddParameter("P1", {1.0});
    KesMfgAttDoubleParam* attribute = Free();
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, "p1");
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_EQ(attribute->GetCreationDialog(), dialog);
    EXPECT_EQ(Seen(attribute), "none shown 3, codes 20001, 0 notified");
    ASSERT_TRUE(dialog->GetField(0)->UserType("p2")); // another name in the same dialog
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_EQ(Seen(attribute), "P2 shown 3, codes 20001 20002, 1 notified");
}

TEST_F(KesMfgAttDoubleParamTest, OkWithAnotherFailureReportsItAndClosesTheDialog) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    ASSERT_TRUE(OpenDialogWith(attribute, "a b")->UserOK());
    EXPECT_EQ(attribute->GetCreationDialog(), nullptr);
    EXPECT_EQ(Seen(attribute), "P1 shown 3, codes 9621, 0 notified");
    KesMfgAttDoubleParam* huge = Shown(Make("Huge", 1.0, 0.0, 0.0, {.third = -1}));
    ASSERT_TRUE(huge->GetEditorWidget()->UserType("1e307"));
    ASSERT_TRUE(OpenDialogWith(huge, "big")->UserOK());
    EXPECT_EQ(huge->GetCreationDialog(), nullptr);
    EXPECT_EQ(Seen(huge), "none shown 1e+307, codes 9621 9623, 1 notified");
    EXPECT_TRUE(KesMfgModel::HasParameter("BIG"));
}

TEST_F(KesMfgAttDoubleParamTest, OkWithNothingTypedDoesNothing) {
    KesMfgAttDoubleParam* attribute = Free();
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, "   ");
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_EQ(attribute->GetCreationDialog(), dialog);
    EXPECT_EQ(dialog->GetVisibility(), kes::kShown);
    EXPECT_EQ(Seen(attribute), "none shown 3, codes, 0 notified");
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
}

TEST_F(KesMfgAttDoubleParamTest, CancelClosesTheDialogAndLeavesTheBinding) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, "q1");
    const std::shared_ptr<const bool> alive = dialog->GetAliveToken();
    ASSERT_TRUE(dialog->UserCancel());
    EXPECT_FALSE(*alive); // deleted from inside its own Cancel callback
    EXPECT_EQ(attribute->GetCreationDialog(), nullptr);
    EXPECT_EQ(Seen(attribute), "P1 shown 3, codes, 0 notified");
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
    EXPECT_EQ(OpenDialogWith(attribute, nullptr)->GetField(0)->GetText(), ""); // opens empty
}

TEST_F(KesMfgAttDoubleParamTest, AnOpenDialogIsDeletedWithTheAttribute) {
    KesMfgAttDoubleParam* attribute = Free();
    const std::shared_ptr<const bool> alive = OpenDialogWith(attribute, "q1")->GetAliveToken();
    delete attribute;
    EXPECT_FALSE(*alive);
    EXPECT_EQ(frame_->GetChildCount(), 0);
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
                                }));
}

} // namespace
