// Shared support of the parameterised real's tests: every test runs with a fresh, empty
// settings folder (KES_SETTINGS_DIR, and HOME and XDG_CONFIG_HOME pointing into the same
// temporary tree, so that no test can reach the real user configuration), an empty model, no
// reported codes and the trace switches reset.
#pragma once

#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "platform/KesMfgSetting.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kes_test {

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* previous = std::getenv(name)) {
            previous_ = previous;
        }
        Set(value);
    }
    ~ScopedEnvironment() { Set(previous_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        value ? ::setenv(name_.c_str(), value->c_str(), 1) : ::unsetenv(name_.c_str());
    }
    std::string name_;
    std::optional<std::string> previous_;
};

inline std::string Padded(const std::string& text, size_t width) {
    std::string padded = text;
    padded.resize(width, ' ');
    return padded;
}

// A fresh settings tree, model and trace state for each test.
class ParamTestEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kes-param-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        settingsDir_ = root_ / "settings";
        settings_.emplace("KES_SETTINGS_DIR", settingsDir_.string());
        home_.emplace("HOME", (root_ / "home").string());
        xdg_.emplace("XDG_CONFIG_HOME", (root_ / "xdg").string());
        ResetModelAndTrace();
    }
    void TearDown() override { // the environment is restored with the fixture
        ResetModelAndTrace();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    static void ResetModelAndTrace() {
        KesMfgModel::Clear();
        KesMfgBaseGII::ClearReportedCodes();
        ResetDebug();
        SetDebug("Access", 0);
        KesMfgAttribute::_debug = -1;
    }

    // Adds a parameter holding `reals` (caller's unit) to the model; returns the model's code.
    static int AddParameter(const std::string& name, const KesRawColldouble& reals, int third = 0,
                            int type = 2, int kind = 1, int first = 0, int second = 0) {
        int d1 = type, d2 = kind, d3 = first, d4 = second, d5 = third, d6 = 0, d7 = 0;
        KesMfgModel::CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, KesRawCollint(), reals,
                                     KesListValKesUnicodeString());
        return KesMfgModel::GetError();
    }
    // The first real of a model parameter (NaN when it has none).
    static double ParameterValue(const char* name) {
        KesRawCollint ints;
        KesRawColldouble reals;
        KesListValKesUnicodeString texts;
        KesMfgModel::ReadParameter(name, ints, reals, texts);
        return reals.Size() >= 1 ? reals[1] : std::nan("");
    }

    std::filesystem::path root_;
    std::filesystem::path settingsDir_;

private:
    std::optional<ScopedEnvironment> settings_;
    std::optional<ScopedEnvironment> home_;
    std::optional<ScopedEnvironment> xdg_;
};

// What an attribute of the tests may differ in: the third unit code, the parameter name given
// to the constructor and the unit flag.
struct Options {
    int third = 0;
    const char* parameter = "";
    int unitFlag = 0;
};

// The parameterised real's fixture: a parent frame that records what the attributes send, a
// maker of attributes and the user's ways to the dialogs. The messages of the reported codes
// are kept off the test log.
class KesMfgAttDoubleParamTest : public ParamTestEnvironment {
protected:
    void SetUp() override {
        ParamTestEnvironment::SetUp();
        frame_ = std::make_unique<KesDlgTestFrame>();
    }
    void TearDown() override {
        frame_.reset(); // deletes the attributes and their dialogs
        ParamTestEnvironment::TearDown();
    }

    // An attribute of the frame (not yet displayed).
    KesMfgAttDoubleParam* Make(const char* name, double value, double minimum, double maximum,
                               const Options& options = {}) {
        return new KesMfgAttDoubleParam(name, "Label", value, minimum, maximum, 0.0, 0, 0,
                                        options.third, options.parameter, frame_.get(), 1,
                                        options.unitFlag);
    }
    static KesMfgAttDoubleParam* Shown(KesMfgAttDoubleParam* attribute) {
        attribute->Display();
        return attribute;
    }
    // Degrees shown as turns, limits 0 and 3600 degrees (0 and 10 turns), displayed.
    KesMfgAttDoubleParam* Angle(const char* parameter = "") {
        return Shown(Make("Angle", 720.0, 0.0, 3600.0, {.third = -1, .parameter = parameter}));
    }
    // 3, no limits, no units, displayed.
    KesMfgAttDoubleParam* Free(const char* parameter = "") {
        return Shown(Make("Free", 3.0, 0.0, 0.0, {.parameter = parameter}));
    }

    // Opens the creation dialog through "createpar" and types `name` into it.
    static KesMfgDialogEditor* OpenDialogWith(KesMfgAttDoubleParam* attribute, const char* name) {
        EXPECT_TRUE(Find<KesDlgPushItem>(attribute, "createpar")->UserActivate());
        KesMfgDialogEditor* dialog = attribute->GetCreationDialog();
        if (dialog != nullptr && name != nullptr) {
            EXPECT_TRUE(dialog->GetField(0)->UserType(name));
        }
        return dialog;
    }
    // Opens the step dialog through "defstep", types `step` and presses OK.
    static void TypeStep(KesMfgAttDoubleParam* attribute, const char* step) {
        ASSERT_TRUE(Find<KesDlgPushItem>(attribute, "defstep")->UserActivate());
        ASSERT_TRUE(attribute->GetStepEditor()->UserType(step));
        ASSERT_TRUE(attribute->GetStepDialog()->UserOK());
    }
    // The step a new attribute of that name and range starts its spinner with.
    double StepOf(const char* name, double minimum, double maximum) {
        return Shown(Make(name, minimum, minimum, maximum))->GetSpinnerWidget()->GetStep();
    }
    // The step stored for the attribute name `name`, or -1.
    static double Stored(const char* name) {
        double value = -1.0;
        KesMfgSetting::ReadSetting(KesUnicodeString("KesMfgAttDoubleParam.") + name + ".step",
                                   &value, "MFGPROG");
        return value;
    }

    static KesValueVectors Record(KesMfgAttDoubleParam* attribute) {
        KesValueVectors out;
        out.GetAttValue(*attribute);
        return out;
    }
    // What the user and the parent see: the combo's field, the value shown, the codes reported
    // and the modifications received, as "P1 shown 3, codes 20002, 2 notified".
    std::string Seen(KesMfgAttDoubleParam* attribute) const {
        std::ostringstream seen;
        seen << attribute->GetParameterCombo()->GetField().Str() << " shown "
             << attribute->GetShownValue() << ", codes";
        for (int code : Codes()) {
            seen << ' ' << code;
        }
        seen << ", " << Modifications() << " notified";
        return seen.str();
    }
    int Modifications() const { return frame_->Count("KesMfgAttNotifyModif"); }
    static std::vector<int> Codes() { return KesMfgBaseGII::GetReportedCodes(); }
    template <class Widget> static Widget* Find(KesDialog* root, const char* name) {
        return dynamic_cast<Widget*>(root->FindDescendant(name));
    }
    static std::vector<std::string> Lines(const KesDlgCombo* combo) {
        std::vector<std::string> lines;
        for (int row = 0; row < combo->GetLineCount(); ++row) {
            lines.push_back(combo->GetLine(row).Str());
        }
        return lines;
    }

    std::unique_ptr<KesDlgTestFrame> frame_;
    KesStderrCapture quiet_;
};

} // namespace kes_test
