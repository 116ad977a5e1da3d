// Shared support of the parameterised real's tests: every test runs with a fresh, empty
// settings folder (KES_SETTINGS_DIR, and HOME and XDG_CONFIG_HOME pointing into the same
// temporary tree, so that no test can reach the real user configuration), an empty model, no
// reported codes and the trace switches reset.
#pragma once

#include "framework/KesMfgValueRecords.h"
#include "platform/KesStdoutCapture.h"

#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
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
        if (value) {
            ::setenv(name_.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    std::string name_;
    std::optional<std::string> previous_;
};

using StderrCapture = KesStderrCapture;

// The six value vectors of a panel.
using Vectors = KesMfgValueRecords;

inline std::vector<std::string> Strings(const KesListValKesUnicodeString& list) {
    std::vector<std::string> strings;
    for (const KesUnicodeString& text : list.Items()) {
        strings.push_back(text.Str());
    }
    return strings;
}

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
        settings_ = std::make_unique<ScopedEnvironment>("KES_SETTINGS_DIR", settingsDir_.string());
        home_ = std::make_unique<ScopedEnvironment>("HOME", (root_ / "home").string());
        xdg_ = std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME", (root_ / "xdg").string());
        KesMfgModel::Clear();
        KesMfgBaseGII::ClearReportedCodes();
        ResetDebug();
        SetDebug("Access", 0);
        KesMfgAttribute::_debug = -1;
    }
    void TearDown() override {
        KesMfgModel::Clear();
        KesMfgBaseGII::ClearReportedCodes();
        ResetDebug();
        KesMfgAttribute::_debug = -1;
        xdg_.reset();
        home_.reset();
        settings_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // Adds a parameter holding one real (caller's unit) to the model.
    static void AddParameter(const char* name, double value, int first = 0, int second = 0,
                             int third = 0, int type = 2, int kind = 1) {
        int d1 = type, d2 = kind, d3 = first, d4 = second, d5 = third, d6 = 0, d7 = 0;
        KesRawColldouble reals;
        reals.Append(value);
        KesMfgModel::CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, KesRawCollint(), reals,
                                     KesListValKesUnicodeString());
        ASSERT_EQ(KesMfgModel::GetError(), 0) << name;
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
    std::unique_ptr<ScopedEnvironment> settings_;
    std::unique_ptr<ScopedEnvironment> home_;
    std::unique_ptr<ScopedEnvironment> xdg_;
};

// Adds a parent frame that records what the attributes send, and a maker of attributes.
class ParamAttributeTest : public ParamTestEnvironment {
protected:
    void SetUp() override {
        ParamTestEnvironment::SetUp();
        frame_ = std::make_unique<KesDlgTestFrame>();
    }
    void TearDown() override {
        frame_.reset(); // deletes the attributes and their dialogs
        ParamTestEnvironment::TearDown();
    }

    struct Options {
        int first = 0;
        int second = 0;
        int third = 0;
        const char* parameter = "";
        int unitFlag = 0;
        int group = 1;
    };
    // An attribute of the frame (not yet displayed).
    KesMfgAttDoubleParam* Make(const char* name, double value, double minimum, double maximum,
                               const Options& options) {
        return new KesMfgAttDoubleParam(name, "Label", value, minimum, maximum, 0.0, options.first,
                                        options.second, options.third, options.parameter,
                                        frame_.get(), options.group, options.unitFlag);
    }
    KesMfgAttDoubleParam* Make(const char* name, double value, double minimum, double maximum) {
        return Make(name, value, minimum, maximum, Options{});
    }
    KesMfgAttDoubleParam* Shown(KesMfgAttDoubleParam* attribute) {
        attribute->Display();
        return attribute;
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
};

} // namespace kes_test
