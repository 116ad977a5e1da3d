// Binding the parameterised real to model parameters: listing, selecting, typing, creating
// through the field and through the dialog, unbinding, and the codes shown to the user. One
// group of cases for each change of the binding a user can make.
#include "KesParamTestSupport.h"

#include "platform/KesDlgPushItem.h"
#include "platform/KesStdoutCapture.h"

#include <algorithm>
#include <cmath>

namespace {

using kes_test::Padded;
using kes_test::ParamAttributeTest;
using kes_test::StderrCapture;
using kes_test::Strings;
using kes_test::Vectors;

class KesMfgAttDoubleParamBindingTest : public ParamAttributeTest {
protected:
    void SetUp() override {
        ParamAttributeTest::SetUp();
        quiet_ = std::make_unique<StderrCapture>(); // the reported codes' messages
    }
    void TearDown() override {
        quiet_.reset();
        ParamAttributeTest::TearDown();
    }

    // Degrees shown as turns, limits 0 and 3600 degrees (0 and 10 turns).
    KesMfgAttDoubleParam* Angle(const char* parameter = "") {
        return Shown(Make("Angle", 720.0, 0.0, 3600.0, {.third = -1, .parameter = parameter}));
    }
    // No limits, no units.
    KesMfgAttDoubleParam* Free(const char* parameter = "") {
        return Shown(Make("Free", 3.0, 0.0, 0.0, {.parameter = parameter}));
    }
    static KesDlgPushItem* CreateItem(KesMfgAttDoubleParam* attribute) {
        return Find<KesDlgPushItem>(attribute, "createpar");
    }
    // Opens the creation dialog and types `name` into it.
    static KesMfgDialogEditor* OpenDialogWith(KesMfgAttDoubleParam* attribute, const char* name) {
        EXPECT_TRUE(CreateItem(attribute)->UserActivate());
        KesMfgDialogEditor* dialog = attribute->GetCreationDialog();
        if (dialog != nullptr && name != nullptr) {
            EXPECT_TRUE(dialog->GetField(0)->UserType(name));
        }
        return dialog;
    }
    static Vectors Record(KesMfgAttDoubleParam* attribute) {
        Vectors out;
        out.GetAttValue(*attribute);
        return out;
    }

    std::unique_ptr<StderrCapture> quiet_;
};

// ---------------------------------------------------------------------------------------------
// Listing: the user opens the list
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamBindingTest, OnlyCompatibleParametersAreListed) {
    AddParameter("P720", 720.0, 0, 0, -1);
    AddParameter("P7200", 7200.0, 0, 0, -1);          // 20 turns: outside the limits
    AddParameter("OTHERUNIT", 720.0, 0, 0, 1);        // another third unit code
    AddParameter("INTEGER", 720.0, 0, 0, -1, 1, 1);   // another type
    AddParameter("OTHERKIND", 720.0, 0, 0, -1, 2, 0); // another kind
    AddParameter("EDGE", 3600.0, 0, 0, -1);           // the limit itself is inside
    int d1 = 2, d2 = 1, d3 = 0, d4 = 0, d5 = -1, d6 = 0, d7 = 0;
    KesMfgModel::CreateParameter("NOVALUE", d1, d2, d3, d4, d5, d6, d7, KesRawCollint(),
                                 KesRawColldouble(), KesListValKesUnicodeString());
    KesMfgAttDoubleParam* attribute = Angle();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserDrop());
    EXPECT_EQ(Lines(attribute->GetParameterCombo()),
              (std::vector<std::string>{"none", "P720", "EDGE"}));
    EXPECT_EQ(Modifications(), 0);
    KesMfgModel::Clear();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserDrop());
    EXPECT_EQ(Lines(attribute->GetParameterCombo()), (std::vector<std::string>{"none"}));
}

TEST_F(KesMfgAttDoubleParamBindingTest, WithoutARangeAnyValueIsListed) {
    AddParameter("SMALL", -1e300);
    AddParameter("LARGE", 1e300);
    AddParameter("ANGLE", 1.0, 0, 0, -1);
    KesMfgAttDoubleParam* attribute = Free();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserDrop());
    EXPECT_EQ(Lines(attribute->GetParameterCombo()),
              (std::vector<std::string>{"none", "SMALL", "LARGE"}));
}

TEST_F(KesMfgAttDoubleParamBindingTest, ReopeningTheListSelectsTheBindingAgainAndChangesNothing) {
    AddParameter("P1", 2.0);
    KesMfgAttDoubleParam* attribute = Free("P1");
    KesDlgCombo* combo = attribute->GetParameterCombo();
    ASSERT_TRUE(combo->UserDrop());
    ASSERT_TRUE(combo->UserDrop());
    EXPECT_EQ(Lines(combo), (std::vector<std::string>{"none", "P1"}));
    EXPECT_EQ(combo->GetSelect(), 1);
    EXPECT_EQ(combo->GetField(), "P1");
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "3");
    EXPECT_EQ(Modifications(), 0);

    // A binding the model does not list stays in the field, with no line selected.
    KesMfgAttDoubleParam* ghost = Shown(Make("Ghost", 1.0, 0.0, 0.0, {.parameter = "GHOST"}));
    ASSERT_TRUE(ghost->GetParameterCombo()->UserDrop());
    EXPECT_EQ(ghost->GetParameterCombo()->GetField(), "GHOST");
    EXPECT_EQ(ghost->GetParameterCombo()->GetSelect(), -1);
    EXPECT_EQ(ghost->GetBindingText(), "GHOST");
}

// ---------------------------------------------------------------------------------------------
// Selecting a line
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamBindingTest, SelectingAParameterShowsItsValueAndBinds) {
    AddParameter("P720", 720.0, 0, 0, -1);
    KesMfgAttDoubleParam* attribute = Angle();
    ASSERT_TRUE(attribute->GetSpinnerWidget()->UserSetValue(5.0));
    frame_->Clear();
    KesDlgCombo* combo = attribute->GetParameterCombo();
    ASSERT_TRUE(combo->UserDrop());
    ASSERT_TRUE(combo->UserSelect(1));
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetValue(), 2.0);
    EXPECT_EQ(frame_->ClassNames(), (std::vector<std::string>{"KesMfgAttNotifyModif"}));
    Vectors out = Record(attribute);
    EXPECT_EQ(out.counts.Items(), (std::vector<int>{-1}));
    EXPECT_EQ(Strings(out.texts), (std::vector<std::string>{Padded("P720", 72)}));
}

TEST_F(KesMfgAttDoubleParamBindingTest, SelectingNoneUnbindsAndKeepsTheValue) {
    AddParameter("P1", 2.0);
    KesMfgAttDoubleParam* attribute = Free("P1");
    ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(0));
    EXPECT_EQ(attribute->GetBindingText(), "none");
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "3");
    EXPECT_EQ(Modifications(), 1);
    EXPECT_EQ(Record(attribute).reals.Items(), (std::vector<double>{3.0}));
}

TEST_F(KesMfgAttDoubleParamBindingTest, ASelectedValueIsShownUnclampedThenTheEditorClampsIt) {
    AddParameter("P50", 50.0);
    KesMfgAttDoubleParam* attribute = Make("Bounded", 3.0, 0.0, 10.0);
    attribute->SetAttToBeDefined();
    attribute->Display();
    // Bound by the caller (padded to 16): the model's P50 is out of range, so never listed.
    KesListValKesUnicodeString texts;
    texts.Append("P50");
    attribute->SetAttValue(nullptr, nullptr, &texts, 0);
    ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(1));
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "10");
    EXPECT_EQ(attribute->GetBindingText(), Padded("P50", 16));
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    EXPECT_EQ(Modifications(), 1);
}

// A name from the constructor or from SetAttValue that the model does not know (or that holds
// no real) shows nothing new: the value and the binding stay, and the parent is told.
TEST_F(KesMfgAttDoubleParamBindingTest, SelectingANameWithoutARealKeepsTheWidgetAsItIs) {
    int d1 = 2, d2 = 1, d3 = 0, d4 = 0, d5 = 0, d6 = 0, d7 = 0;
    KesMfgModel::CreateParameter("EMPTY", d1, d2, d3, d4, d5, d6, d7, KesRawCollint(),
                                 KesRawColldouble(), KesListValKesUnicodeString());
    for (const char* name : {"ghost", "EMPTY"}) {
        frame_->Clear();
        KesMfgAttDoubleParam* attribute = Shown(Make(name, 3.0, 0.0, 10.0, {.parameter = name}));
        ASSERT_TRUE(attribute->GetParameterCombo()->UserSelect(1));
        EXPECT_EQ(attribute->GetSpinnerWidget()->GetValue(), 3.0) << name;
        EXPECT_EQ(attribute->GetParameterCombo()->GetField(), name);
        EXPECT_EQ(Modifications(), 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Editing the value
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamBindingTest, EditingTheValueUnbinds) {
    AddParameter("P720", 720.0, 0, 0, -1);
    KesMfgAttDoubleParam* spun = Angle("P720");
    ASSERT_TRUE(spun->GetSpinnerWidget()->UserStep(1));
    EXPECT_EQ(spun->GetParameterCombo()->GetField(), "none");
    EXPECT_EQ(spun->GetParameterCombo()->GetSelect(), 0);
    EXPECT_EQ(Modifications(), 1);
    EXPECT_EQ(Record(spun).reals.Items(), (std::vector<double>{900.0})); // 2.5 turns

    KesMfgAttDoubleParam* typed = Free("P1");
    ASSERT_TRUE(typed->GetEditorWidget()->UserType("8"));
    EXPECT_EQ(typed->GetBindingText(), "none");
    EXPECT_EQ(Modifications(), 2);
}

// ---------------------------------------------------------------------------------------------
// Typing into the combo's field
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamBindingTest, TypingNoneOrNothingUnbinds) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    KesDlgCombo* combo = attribute->GetParameterCombo();
    int expected = 0;
    for (const char* typed : {"none", "", "   ", "  none "}) {
        ASSERT_TRUE(combo->UserSelect(1));
        ++expected;
        ASSERT_TRUE(combo->UserType(typed));
        ++expected;
        EXPECT_EQ(combo->GetField(), "none") << '"' << typed << '"';
        EXPECT_EQ(Modifications(), expected);
    }
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(KesMfgAttDoubleParamBindingTest, TypingACompatibleNameBindsIt) {
    AddParameter("P1", 6.5);
    KesMfgAttDoubleParam* attribute = Free();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("  p1 "));
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "P1");
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "6.5");
    EXPECT_EQ(Modifications(), 1);
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 1);
    EXPECT_EQ(Strings(Record(attribute).texts), (std::vector<std::string>{Padded("P1", 72)}));
}

TEST_F(KesMfgAttDoubleParamBindingTest, TypingANewNameCreatesAParameterWithTheShownValue) {
    KesMfgAttDoubleParam* attribute = Angle();
    ASSERT_TRUE(attribute->GetSpinnerWidget()->UserSetValue(3.0));
    frame_->Clear();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("newpar"));
    EXPECT_EQ(ParameterValue("NEWPAR"), 1080.0);
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "NEWPAR");
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetValue(), 3.0);
    EXPECT_EQ(Codes(), (std::vector<int>{20002}));
    // The selection notifies, then the binding is shown once more.
    EXPECT_EQ(Modifications(), 2);
    EXPECT_EQ(Strings(Record(attribute).texts), (std::vector<std::string>{Padded("NEWPAR", 72)}));
}

TEST_F(KesMfgAttDoubleParamBindingTest, TypingTheNameOfAnIncompatibleParameterReports20001) {
    AddParameter("P1", 1.0, 5, 5, 5);
    KesMfgAttDoubleParam* attribute = Free();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("p1"));
    EXPECT_EQ(Codes(), (std::vector<int>{20001}));
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "none");
    EXPECT_EQ(Modifications(), 1);
    EXPECT_EQ(ParameterValue("P1"), 1.0);
}

TEST_F(KesMfgAttDoubleParamBindingTest, AnotherCreationFailureReturnsToNoneSilently) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("two words"));
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "none");
    EXPECT_EQ(Modifications(), 1);
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
}

TEST_F(KesMfgAttDoubleParamBindingTest, AFailedValueWriteIsReportedAndTheParameterStays) {
    // 1e307 turns is beyond any real once written in degrees: the model refuses the value.
    KesMfgAttDoubleParam* attribute = Shown(Make("Huge", 1.0, 0.0, 0.0, {.third = -1}));
    ASSERT_TRUE(attribute->GetEditorWidget()->UserType("1e307"));
    frame_->Clear();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("big"));
    EXPECT_EQ(Codes(), (std::vector<int>{KesMfgModel::kValueNotFinite}));
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "none");
    EXPECT_EQ(Modifications(), 1);
    EXPECT_TRUE(KesMfgModel::HasParameter("BIG"));
}

TEST_F(KesMfgAttDoubleParamBindingTest, NoneWithACapitalIsANameThatReportsAsUnbound) {
    KesMfgAttDoubleParam* attribute = Free();
    ASSERT_TRUE(attribute->GetParameterCombo()->UserType("None"));
    EXPECT_EQ(ParameterValue("NONE"), 3.0);
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "NONE");
    EXPECT_EQ(Codes(), (std::vector<int>{20002}));
    Vectors out = Record(attribute);
    EXPECT_EQ(out.counts.Items(), (std::vector<int>{1}));
    EXPECT_EQ(out.reals.Items(), (std::vector<double>{3.0}));
}

// ---------------------------------------------------------------------------------------------
// The creation dialog
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamBindingTest, CreateParOpensOneDialogAndLeavesTheBinding) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetName(), "CreateParameter");
    EXPECT_EQ(dialog->GetStyle(), 0xe00u);
    EXPECT_EQ(dialog->GetParent(), attribute);
    EXPECT_EQ(dialog->GetVisibility(), kes::kShown);
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

TEST_F(KesMfgAttDoubleParamBindingTest, OkCreatesTheParameterBindsItAndClosesTheDialog) {
    KesMfgAttDoubleParam* attribute = Angle();
    ASSERT_TRUE(attribute->GetSpinnerWidget()->UserSetValue(3.0));
    frame_->Clear();
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, "  depth1 ");
    const std::shared_ptr<const bool> alive = dialog->GetAliveToken();
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_FALSE(*alive);
    EXPECT_EQ(attribute->GetCreationDialog(), nullptr);
    EXPECT_EQ(ParameterValue("DEPTH1"), 1080.0);
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "DEPTH1");
    EXPECT_EQ(Codes(), (std::vector<int>{20002}));
    EXPECT_EQ(Modifications(), 1);
}

TEST_F(KesMfgAttDoubleParamBindingTest, OkWithATakenNameReports20001AndKeepsTheDialogOpen) {
    AddParameter("P1", 1.0);
    KesMfgAttDoubleParam* attribute = Free();
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, "p1");
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_EQ(Codes(), (std::vector<int>{20001}));
    EXPECT_EQ(attribute->GetCreationDialog(), dialog);
    EXPECT_EQ(attribute->GetBindingText(), "none");
    EXPECT_EQ(Modifications(), 0);

    ASSERT_TRUE(dialog->GetField(0)->UserType("p2")); // another name in the same dialog
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_EQ(Codes(), (std::vector<int>{20001, 20002}));
    EXPECT_EQ(attribute->GetBindingText(), "P2");
}

TEST_F(KesMfgAttDoubleParamBindingTest, OkWithAnotherFailureReportsItAndClosesTheDialog) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    ASSERT_TRUE(OpenDialogWith(attribute, "a b")->UserOK());
    EXPECT_EQ(Codes(), (std::vector<int>{KesMfgModel::kMalformedName}));
    EXPECT_EQ(attribute->GetCreationDialog(), nullptr);
    EXPECT_EQ(attribute->GetBindingText(), "P1");

    KesMfgAttDoubleParam* huge = Shown(Make("Huge", 1.0, 0.0, 0.0, {.third = -1}));
    ASSERT_TRUE(huge->GetEditorWidget()->UserType("1e307"));
    frame_->Clear();
    ASSERT_TRUE(OpenDialogWith(huge, "big")->UserOK());
    EXPECT_EQ(Codes(),
              (std::vector<int>{KesMfgModel::kMalformedName, KesMfgModel::kValueNotFinite}));
    EXPECT_EQ(huge->GetCreationDialog(), nullptr);
    EXPECT_EQ(huge->GetBindingText(), "none");
    EXPECT_TRUE(KesMfgModel::HasParameter("BIG"));
    EXPECT_EQ(Modifications(), 0);
}

TEST_F(KesMfgAttDoubleParamBindingTest, OkWithNothingTypedDoesNothing) {
    KesMfgAttDoubleParam* attribute = Free();
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, "   ");
    ASSERT_TRUE(dialog->UserOK());
    EXPECT_EQ(attribute->GetCreationDialog(), dialog);
    EXPECT_EQ(dialog->GetVisibility(), kes::kShown);
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
}

TEST_F(KesMfgAttDoubleParamBindingTest, CancelClosesTheDialogAndLeavesTheBinding) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    KesMfgDialogEditor* dialog = OpenDialogWith(attribute, "q1");
    const std::shared_ptr<const bool> alive = dialog->GetAliveToken();
    ASSERT_TRUE(dialog->UserCancel());
    EXPECT_FALSE(*alive);
    EXPECT_EQ(attribute->GetCreationDialog(), nullptr);
    EXPECT_EQ(attribute->GetBindingText(), "P1");
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
    EXPECT_EQ(Modifications(), 0);
    // A new dialog opens empty.
    EXPECT_EQ(OpenDialogWith(attribute, nullptr)->GetField(0)->GetText(), "");
}

TEST_F(KesMfgAttDoubleParamBindingTest, AnOpenDialogGoesWithTheAttribute) {
    KesMfgAttDoubleParam* attribute = Free();
    const std::shared_ptr<const bool> alive = OpenDialogWith(attribute, "q1")->GetAliveToken();
    delete attribute;
    EXPECT_FALSE(*alive);
    EXPECT_EQ(frame_->GetChildCount(), 0);
}

// ---------------------------------------------------------------------------------------------
// Trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamBindingTest, BindingOperationsTraceTheirNames) {
    AddParameter("P1", 4.0);
    KesMfgAttDoubleParam* attribute = Free();
    KesMfgAttribute::_debug = 0;
    SetDebug("Access", 1);
    KesStdoutCapture captured;
    KesDlgCombo* combo = attribute->GetParameterCombo();
    ASSERT_TRUE(combo->UserDrop());
    ASSERT_TRUE(combo->UserSelect(1));
    ASSERT_TRUE(attribute->GetEditorWidget()->UserType("5"));
    ASSERT_TRUE(CreateItem(attribute)->UserActivate());
    ASSERT_TRUE(attribute->GetCreationDialog()->UserCancel());
    EXPECT_EQ(captured.Lines(), (std::vector<std::string>{
                                    "XXXXXXXXXXXXXXDropParameters ",
                                    "XXXXXXXXXXXXXX DisplayParameter",
                                    "VAL String :4",
                                    "XXXXXXXXXXXXXX AttributeModified",
                                    "XXXXXXXXXXXXXXUnParametrize ",
                                    "XXXXXXXXXXXXXX AttributeModified",
                                    "XXXXXXXXXXXXXXCreateParameter ",
                                    "XXXXXXXXXXXXXX NoCreateParameter",
                                }));
    captured.Clear();
    ASSERT_TRUE(combo->UserType("p1"));
    EXPECT_EQ(captured.Lines().front(), "XXXXXXXXXXXXXXEntryCreateParameter ");
}

} // namespace
