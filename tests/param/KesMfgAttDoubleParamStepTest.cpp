// The spinner step of the parameterised real: the default step of the range, the step dialog,
// and the stored step shared by attributes of the same name and read by a later process.
#include "KesParamTestSupport.h"

#include "platform/KesDlgPushItem.h"
#include "platform/KesMfgSetting.h"

#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using kes_test::ParamAttributeTest;
using kes_test::ScopedEnvironment;

constexpr const char* kChildExpectation = "KES_PARAM_TEST_EXPECTED_STEP";
constexpr const char* kChildSettings = "KES_PARAM_TEST_PARENT_SETTINGS";

class KesMfgAttDoubleParamStepTest : public ParamAttributeTest {
protected:
    double StepOf(const char* name, double minimum, double maximum) {
        return Shown(Make(name, minimum, minimum, maximum))->GetSpinnerWidget()->GetStep();
    }
    static KesDlgPushItem* DefineStepItem(KesMfgAttDoubleParam* attribute) {
        return Find<KesDlgPushItem>(attribute, "defstep");
    }
    // Opens the step dialog, types `step` and presses OK.
    static void TypeStep(KesMfgAttDoubleParam* attribute, const char* step) {
        ASSERT_TRUE(DefineStepItem(attribute)->UserActivate());
        ASSERT_NE(attribute->GetStepDialog(), nullptr);
        ASSERT_TRUE(attribute->GetStepEditor()->UserType(step));
        ASSERT_TRUE(attribute->GetStepDialog()->UserOK());
    }
    static double Stored(const char* name, double fallback = -1.0) {
        double value = fallback;
        KesMfgSetting::ReadSetting(KesUnicodeString("KesMfgAttDoubleParam.") + name + ".step",
                                   &value, "MFGPROG");
        return value;
    }
};

// ---------------------------------------------------------------------------------------------
// The step at display
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamStepTest, WithoutAStoredStepTheRangeGivesTheStep) {
    EXPECT_EQ(StepOf("S1", 0.0, 1.0), 0.05);
    EXPECT_EQ(StepOf("S2", 0.0, 100.0), 0.5);
    EXPECT_EQ(StepOf("S3", 0.0, 1000.0), 5.0);
    EXPECT_EQ(StepOf("S4", 0.0, 10000.0), 10.0);
    EXPECT_EQ(StepOf("S5", 0.0, 50000.0), 100.0);
    EXPECT_EQ(StepOf("S6", 0.0, 0.04), 0.1); // 0.05 does not fit in the range
}

TEST_F(KesMfgAttDoubleParamStepTest, AStoredStepReplacesTheDefaultWhenItFits) {
    double step = 0.25;
    ASSERT_TRUE(
        KesMfgSetting::WriteSetting("KesMfgAttDoubleParam.My Depth.step", &step, "MFGPROG"));
    EXPECT_EQ(StepOf("My Depth", 0.0, 100.0), 0.25); // the unstripped name is the key
    EXPECT_EQ(StepOf("My Depth", 0.0, 0.2), 0.1);
    EXPECT_EQ(StepOf("MyDepth", 0.0, 100.0), 0.5);
}

// A hand-edited or damaged setting must not give the spinner a step it cannot use.
TEST_F(KesMfgAttDoubleParamStepTest, AStoredStepThatIsNotPositiveIsIgnored) {
    std::filesystem::create_directories(settingsDir_);
    std::ofstream(settingsDir_ / "MFGPROG") << "KesMfgAttDoubleParam.Zero.step=0\n"
                                            << "KesMfgAttDoubleParam.Minus.step=-2\n"
                                            << "KesMfgAttDoubleParam.Text.step=abc\n";
    EXPECT_EQ(StepOf("Zero", 0.0, 100.0), 0.5);
    EXPECT_EQ(StepOf("Minus", 0.0, 100.0), 0.5);
    EXPECT_EQ(StepOf("Text", 0.0, 100.0), 0.5);
}

// ---------------------------------------------------------------------------------------------
// The step dialog
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamStepTest, TheDialogShowsTheStoredStepOrOneTenth) {
    KesMfgAttDoubleParam* attribute = Shown(Make("Depth", 1.0, 0.0, 100.0));
    ASSERT_TRUE(DefineStepItem(attribute)->UserActivate());
    KesDlgDialog* dialog = attribute->GetStepDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetName(), "StepEditorDlg");
    EXPECT_EQ(dialog->GetStyle(), 1536u);
    EXPECT_EQ(dialog->GetVisibility(), kes::kShown);
    EXPECT_EQ(attribute->GetStepEditor()->GetName(), "StepEditor");
    EXPECT_EQ(attribute->GetStepEditor()->GetStyle(), 0x20000u);
    EXPECT_EQ(attribute->GetStepEditor()->GetText(), "0.1"); // not the range's 0.5
    ASSERT_TRUE(attribute->GetStepEditor()->UserType("2.5"));
    ASSERT_TRUE(dialog->UserOK());

    ASSERT_TRUE(DefineStepItem(attribute)->UserActivate());
    EXPECT_EQ(attribute->GetStepEditor()->GetText(), "2.5");
}

TEST_F(KesMfgAttDoubleParamStepTest, AStepBelowTheRangeIsStoredAndApplied) {
    KesMfgAttDoubleParam* attribute = Shown(Make("Depth", 1.0, 0.0, 10.0));
    TypeStep(attribute, "9.99");
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetStep(), 9.99);
    EXPECT_EQ(Stored("Depth"), 9.99);
    EXPECT_EQ(attribute->GetStepDialog(), nullptr);
    EXPECT_EQ(attribute->FindDescendant("StepEditorDlg"), nullptr);
    EXPECT_EQ(Modifications(), 0);
}

// Steps that are not a usable positive number are refused like a step as wide as the range.
TEST_F(KesMfgAttDoubleParamStepTest, OtherStepsAreRefusedAndTheDialogStillCloses) {
    KesMfgAttDoubleParam* attribute = Shown(Make("Depth", 1.0, 0.0, 10.0));
    for (const char* typed : {"10", "11", "0", "-1", "abc", "", "inf", "1e999", "nan"}) {
        TypeStep(attribute, typed);
        EXPECT_EQ(attribute->GetStepDialog(), nullptr) << typed;
        EXPECT_EQ(attribute->GetSpinnerWidget()->GetStep(), 0.5) << typed;
        EXPECT_EQ(Stored("Depth"), -1.0) << typed;
    }
}

TEST_F(KesMfgAttDoubleParamStepTest, TheDialogIsReusedWhileItExists) {
    KesMfgAttDoubleParam* attribute = Shown(Make("Depth", 1.0, 0.0, 10.0));
    ASSERT_TRUE(DefineStepItem(attribute)->UserActivate());
    KesDlgDialog* dialog = attribute->GetStepDialog();
    ASSERT_TRUE(attribute->GetStepEditor()->UserType("3"));
    ASSERT_TRUE(DefineStepItem(attribute)->UserActivate());
    EXPECT_EQ(attribute->GetStepDialog(), dialog);

    // Cancel only hides it; the next "defstep" shows it again with what was typed.
    ASSERT_TRUE(dialog->UserCancel());
    EXPECT_EQ(dialog->GetVisibility(), kes::kHidden);
    EXPECT_EQ(attribute->GetStepDialog(), dialog);
    ASSERT_TRUE(DefineStepItem(attribute)->UserActivate());
    EXPECT_EQ(dialog->GetVisibility(), kes::kShown);
    EXPECT_EQ(attribute->GetStepEditor()->GetText(), "3");
    int dialogs = 0;
    for (int i = 0; i < attribute->GetChildCount(); ++i) {
        dialogs += attribute->GetChildFromChildNumber(i)->GetKind() == KesDlgKind::Dialog;
    }
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Stored("Depth"), -1.0);
}

// ---------------------------------------------------------------------------------------------
// The stored step
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamStepTest, AttributesOfTheSameNameShareTheStoredStep) {
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
TEST_F(KesMfgAttDoubleParamStepTest, AStoredStepSurvivesARestartOfTheProcess) {
    TypeStep(Shown(Make("Depth", 1.0, 0.0, 10.0)), "0.125");
    ScopedEnvironment expectation(kChildExpectation, "0.125");
    ScopedEnvironment folder(kChildSettings, settingsDir_.string());
    std::string program = "/proc/self/exe";
    std::string filter = "--gtest_filter=KesMfgAttDoubleParamStepTest.ChildReadsTheStoredStep";
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

TEST_F(KesMfgAttDoubleParamStepTest, ChildReadsTheStoredStep) {
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
