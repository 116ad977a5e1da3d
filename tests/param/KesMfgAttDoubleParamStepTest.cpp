// The spinner step of the parameterised real: the default step of the range, the step dialog,
// and the stored step shared by attributes of the same name and read by a later process.
#include "KesParamTestSupport.h"

#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using kes_test::KesMfgAttDoubleParamTest;
using kes_test::ScopedEnvironment;

constexpr const char* kChildExpectation = "KES_PARAM_TEST_EXPECTED_STEP";
constexpr const char* kChildSettings = "KES_PARAM_TEST_PARENT_SETTINGS";

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

// A later process (the host started again) starts its spinner with the stored step. The child
// is this test program run again with only the test below; it reads the expected step from the
// environment.
TEST_F(KesMfgAttDoubleParamTest, AStoredStepSurvivesARestartOfTheProcess) {
    TypeStep(Shown(Make("Depth", 1.0, 0.0, 10.0)), "0.125");
    ScopedEnvironment expectation(kChildExpectation, "0.125");
    ScopedEnvironment folder(kChildSettings, settingsDir_.string());
    std::string program = "/proc/self/exe";
    std::string filter = "--gtest_filter=KesMfgAttDoubleParamTest.ChildReadsTheStoredStep";
    char* arguments[] = {program.data(), filter.data(), nullptr};
    posix_spawn_file_actions_t actions;
    ASSERT_EQ(posix_spawn_file_actions_init(&actions), 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(spawned, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(KesMfgAttDoubleParamTest, ChildReadsTheStoredStep) {
    const char* expected = std::getenv(kChildExpectation);
    if (expected == nullptr) {
        GTEST_SKIP() << "run by AStoredStepSurvivesARestartOfTheProcess";
    }
    const char* folder = std::getenv(kChildSettings);
    ASSERT_NE(folder, nullptr);
    // The parent's settings folder, not the fresh one of this test.
    ScopedEnvironment parentSettings("KES_SETTINGS_DIR", std::string(folder));
    EXPECT_EQ(StepOf("Depth", 0.0, 10.0), std::stod(expected));
}

} // namespace
