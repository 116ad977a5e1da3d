// The spinner step of the parameterised real: the default step of the range, the step dialog,
// and the stored step shared by attributes of the same name.
#include "KesParamTestSupport.h"

#include <fstream>

namespace {

using kes_test::KesMfgAttDoubleParamTest;

// ---------------------------------------------------------------------------------------------
// The step at display
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, AStoredStepReplacesTheStepOfTheRangeWhenItFits) {
    EXPECT_EQ(StepOf("My Depth", 0.0, 100.0), 0.5); // none stored yet
    EXPECT_EQ(StepOf("My Depth", 0.0, 0.04), 0.1);  // 0.05 does not fit in the range
    double step = 0.25;
    ASSERT_TRUE(
        KesMfgSetting::WriteSetting("KesMfgAttDoubleParam.My Depth.step", &step, "MFGPROG"));
    EXPECT_EQ(StepOf("My Depth", 0.0, 100.0), 0.25); // the unstripped name is the key
    EXPECT_EQ(StepOf("My Depth", 0.0, 0.2), 0.1);
    EXPECT_EQ(StepOf("MyDepth", 0.0, 100.0), 0.5);
}

// A hand-edited or damaged setting must not give the spinner a step it cannot use.
TEST_F(KesMfgAttDoubleParamTest, AStoredStepThatIsNotPositiveIsIgnored) {
    std::filesystem::create_directories(settingsDir_);
    std::ofstream(settingsDir_ / "MFGPROG") << "KesMfgAttDoubleParam.Zero.step=0\n"
                                            << "KesMfgAttDoubleParam.Minus.step=-2\n"
                                            << "KesMfgAttDoubleParam.Text.step=abc\n";
    for (const char* name : {"Zero", "Minus", "Text"}) {
        EXPECT_EQ(StepOf(name, 0.0, 100.0), 0.5) << name;
    }
}

// ---------------------------------------------------------------------------------------------
// The step dialog
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, AStepBelowTheRangeIsStoredAndApplied) {
    KesMfgAttDoubleParam* attribute = Shown(Make("Depth", 1.0, 0.0, 10.0));
    ASSERT_TRUE(Find<KesDlgPushItem>(attribute, "defstep")->UserActivate());
    EXPECT_EQ(attribute->GetStepDialog()->GetName(), "StepEditorDlg");
    EXPECT_EQ(attribute->GetStepEditor()->GetText(), "0.1"); // none stored: not the range's 0.5
    TypeStep(attribute, "9.99");
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetStep(), 9.99);
    EXPECT_EQ(Stored("Depth"), 9.99);
    EXPECT_EQ(attribute->GetStepDialog(), nullptr);
    EXPECT_EQ(attribute->FindDescendant("StepEditorDlg"), nullptr);
    EXPECT_EQ(Modifications(), 0);
    ASSERT_TRUE(Find<KesDlgPushItem>(attribute, "defstep")->UserActivate());
    EXPECT_EQ(attribute->GetStepEditor()->GetText(), "9.99");
}

// The shipped resource file (found beside the build's programs) gives the menus and dialogs
// the texts a machinist reads; the step dialog's prompt tells the step in use.
TEST_F(KesMfgAttDoubleParamTest, ResourceTextsTitleTheMenusAndDialogs) {
    KesMfgAttDoubleParam* attribute = Shown(Make("Depth", 1.0, 0.0, 10.0));
    EXPECT_EQ(Find<KesDlgPushItem>(attribute, "defstep")->GetTitle(), "Define step…");
    EXPECT_EQ(Find<KesDlgPushItem>(attribute, "createpar")->GetTitle(), "Create parameter…");
    ASSERT_TRUE(Find<KesDlgPushItem>(attribute, "defstep")->UserActivate());
    EXPECT_EQ(attribute->GetStepDialog()->GetTitle(), "Define step");
    EXPECT_EQ(attribute->GetStepDialog()->GetHelp(), "Step of one arrow click, now 0.5");
    ASSERT_TRUE(Find<KesDlgPushItem>(attribute, "createpar")->UserActivate());
    EXPECT_EQ(attribute->FindDescendant("CreateParameter")->GetTitle(), "Create parameter");
}

// Steps that are not a usable positive number are refused like a step as wide as the range.
TEST_F(KesMfgAttDoubleParamTest, OtherStepsAreRefusedAndTheDialogStillCloses) {
    KesMfgAttDoubleParam* attribute = Shown(Make("Depth", 1.0, 0.0, 10.0));
    for (const char* typed : {"10", "11", "0", "-1", "abc", "", "inf", "1e999", "nan"}) {
        TypeStep(attribute, typed);
        EXPECT_EQ(attribute->GetStepDialog(), nullptr) << typed;
        EXPECT_EQ(attribute->GetSpinnerWidget()->GetStep(), 0.5) << typed;
        EXPECT_EQ(Stored("Depth"), -1.0) << typed;
    }
}

TEST_F(KesMfgAttDoubleParamTest, TheStepDialogIsReusedWhileItExists) {
    KesMfgAttDoubleParam* attribute = Shown(Make("Depth", 1.0, 0.0, 10.0));
    KesDlgPushItem* defineStep = Find<KesDlgPushItem>(attribute, "defstep");
    ASSERT_TRUE(defineStep->UserActivate());
    KesDlgDialog* dialog = attribute->GetStepDialog();
    ASSERT_TRUE(attribute->GetStepEditor()->UserType("3"));
    ASSERT_TRUE(defineStep->UserActivate());
    EXPECT_EQ(attribute->GetStepDialog(), dialog);
    // Cancel only hides it; the next "defstep" shows it again with what was typed.
    ASSERT_TRUE(dialog->UserCancel());
    EXPECT_EQ(dialog->GetVisibility(), kes::kHidden);
    ASSERT_TRUE(defineStep->UserActivate());
    EXPECT_EQ(attribute->GetStepDialog(), dialog);
    EXPECT_EQ(dialog->GetVisibility(), kes::kShown);
    EXPECT_EQ(attribute->GetStepEditor()->GetText(), "3");
    EXPECT_EQ(attribute->GetChildCount(), 4); // label, spinner, combo and the one dialog
    EXPECT_EQ(Stored("Depth"), -1.0);
}

// ---------------------------------------------------------------------------------------------
// The stored step
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, AttributesOfTheSameNameShareTheStoredStep) {
    TypeStep(Shown(Make("Depth", 1.0, 0.0, 10.0)), "9.99");
    TypeStep(Shown(Make("Width", 1.0, 0.0, 10.0)), "2");
    EXPECT_EQ(StepOf("Depth", 0.0, 10.0), 9.99);
    EXPECT_EQ(StepOf("Depth", 0.0, 5.0), 0.1);
    EXPECT_EQ(StepOf("Width", 0.0, 10.0), 2.0);
    EXPECT_EQ(StepOf("Height", 0.0, 10.0), 0.5);
}

} // namespace
