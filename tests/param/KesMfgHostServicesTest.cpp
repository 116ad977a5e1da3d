// The services a host installs: the parameterised real driven by the user over a host's model,
// settings and message services that record every call, in order, with its arguments; services
// that refuse, answer codes the model does not list, or throw; and the built-in services put back.
#include "KesParamTestSupport.h"

#include <functional>
#include <map>
#include <stdexcept>

namespace {

using kes_test::KesMfgAttDoubleParamTest;

using Transcript = std::vector<std::string>;

std::string Listed(const KesRawColldouble& reals) {
    std::ostringstream text;
    text << '{';
    for (int i = 1; i <= reals.Size(); ++i) {
        text << (i > 1 ? " " : "") << reals[i];
    }
    text << '}';
    return text.str();
}

std::string Count(const char* what, int size) {
    return size == 0 ? "{}" : std::string("{") + std::to_string(size) + " " + what + "}";
}

// What every recording service shares: the transcript it writes to, the operation that throws
// and the operations refused with a code.
class Recorder {
public:
    explicit Recorder(Transcript& transcript) : transcript_(transcript) {}
    std::string throwsOn;             // the operation that throws instead of answering
    std::map<std::string, int> codes; // operation -> code answered instead of carrying it out
    void Reset() {
        throwsOn.clear();
        codes.clear();
        refusedWith_ = 0;
    }

protected:
    // Writes the call; throws when asked to; false when the operation is refused.
    bool Call(const std::string& operation, const std::string& arguments) {
        transcript_.push_back(operation + (arguments.empty() ? "" : " ") + arguments);
        if (operation == throwsOn) {
            transcript_.back() += " (threw)";
            throw std::runtime_error("the host's store is unavailable");
        }
        const auto refused = codes.find(operation);
        refusedWith_ = refused != codes.end() ? refused->second : 0;
        return refusedWith_ == 0;
    }
    void Write(std::string line) { transcript_.push_back(std::move(line)); }
    int refusedWith_ = 0;

private:
    Transcript& transcript_;
};

// A host model over the built-in one: it records each call and forwards it, as a host that
// follows what its dialogs change would.
class RecordingModel final : public KesMfgModelService, public Recorder {
public:
    using Recorder::Recorder;
    KesListValKesUnicodeString* GetParameters() override {
        Call("GetParameters", "");
        return Base().GetParameters();
    }
    void ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                           int& d5, int& d6, int& d7, KesRawCollint& ints, KesRawColldouble& reals,
                           KesListValKesUnicodeString& texts) override {
        Call("ReadParameterDesc", name.Str());
        Base().ReadParameterDesc(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
    }
    void ReadParameter(const KesUnicodeString& name, KesRawCollint& ints, KesRawColldouble& reals,
                       KesListValKesUnicodeString& texts) override {
        Call("ReadParameter", name.Str());
        Base().ReadParameter(name, ints, reals, texts);
    }
    void CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4, int& d5,
                         int& d6, int& d7, const KesRawCollint& ints, const KesRawColldouble& reals,
                         const KesListValKesUnicodeString& texts) override {
        std::ostringstream arguments;
        arguments << name.Str() << ' ' << d1 << ' ' << d2 << ' ' << d3 << ' ' << d4 << ' ' << d5
                  << ' ' << d6 << ' ' << d7 << ' ' << Count("ints", ints.Size()) << ' '
                  << Listed(reals) << ' ' << Count("texts", texts.Size());
        if (Call("CreateParameter", arguments.str())) {
            Base().CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
        }
    }
    void ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                              const KesRawColldouble& reals,
                              const KesListValKesUnicodeString& texts) override {
        if (Call("ModifyParameterValue", name.Str() + " " + Count("ints", ints.Size()) + " " +
                                             Listed(reals) + " " + Count("texts", texts.Size()))) {
            Base().ModifyParameterValue(name, ints, reals, texts);
        }
    }
    int GetError() override {
        const int code = refusedWith_ != 0 ? refusedWith_ : Base().GetError();
        Write("GetError " + std::to_string(code));
        return code;
    }

private:
    static KesMfgModelService& Base() { return *KesMfgModel::BuiltIn(); }
};

// A host's settings store in memory.
class RecordingSettings final : public KesMfgSettingService, public Recorder {
public:
    using Recorder::Recorder;
    std::map<std::string, double> stored;
    bool ReadSetting(const KesUnicodeString& key, double* value,
                     const KesString& fileName) override {
        std::ostringstream arguments;
        arguments << key.Str() << ' ' << fileName.Str() << " from " << *value;
        Call("ReadSetting", arguments.str());
        const auto found = stored.find(fileName.Str() + "/" + key.Str());
        if (found == stored.end()) {
            *value = -1.0; // what a careless store leaves behind: never reaches the attribute
            return false;
        }
        *value = found->second;
        return true;
    }
    bool WriteSetting(const KesUnicodeString& key, const double* value,
                      const KesString& fileName) override {
        std::ostringstream arguments;
        arguments << key.Str() << ' ' << *value << ' ' << fileName.Str();
        if (!Call("WriteSetting", arguments.str())) {
            return false;
        }
        stored[fileName.Str() + "/" + key.Str()] = *value;
        return true;
    }
};

// A host's message pane.
class RecordingMessages final : public KesMfgBaseGIIService, public Recorder {
public:
    using Recorder::Recorder;
    void SetGIIError(int code, int reserved) override {
        Call("SetGIIError", std::to_string(code) + " " + std::to_string(reserved));
    }
};

class KesMfgHostServicesTest : public KesMfgAttDoubleParamTest {
protected:
    void TearDown() override {
        KesMfgModel::Install(nullptr);
        KesMfgSetting::Install(nullptr);
        KesMfgBaseGII::Install(nullptr);
        KesMfgAttDoubleParamTest::TearDown();
    }
    void InstallHostServices() {
        KesMfgModel::Install(&model_);
        KesMfgSetting::Install(&settings_);
        KesMfgBaseGII::Install(&messages_);
    }
    // The binding, the value and the spinner step shown, the parent's notifications, the lines
    // of the list, and the codes that reached the built-in message service.
    std::string SeenByHost(KesMfgAttDoubleParam* attribute) const {
        std::ostringstream seen;
        seen << attribute->GetParameterCombo()->GetField().Str() << " shown "
             << attribute->GetShownValue();
        if (attribute->GetSpinnerWidget() != nullptr) {
            seen << " step " << attribute->GetSpinnerWidget()->GetStep();
        }
        seen << ", " << Modifications() << " notified, list";
        for (const std::string& line : Lines(attribute->GetParameterCombo())) {
            seen << ' ' << line;
        }
        if (attribute->GetCreationDialog() != nullptr) {
            seen << ", dialog open";
        }
        for (int code : Codes()) {
            seen << ", built-in code " << code;
        }
        return seen.str();
    }

    Transcript transcript_;
    RecordingModel model_{transcript_};
    RecordingSettings settings_{transcript_};
    RecordingMessages messages_{transcript_};
};

// ---------------------------------------------------------------------------------------------
// What the attribute asks of the host, gesture by gesture
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgHostServicesTest, EachGestureAsksTheHostsServicesInOrder) {
    using Gesture = std::function<void(KesMfgAttDoubleParam*)>;
    const std::function<void()> asIs = [] {};
    const auto type = [](const char* text) -> Gesture {
        return [text](KesMfgAttDoubleParam* a) {
            ASSERT_TRUE(a->GetParameterCombo()->UserType(text));
        };
    };
    const auto ok = [](const char* name) -> Gesture {
        return [name](KesMfgAttDoubleParam* a) { ASSERT_TRUE(OpenDialogWith(a, name)->UserOK()); };
    };
    const Gesture drop = [](KesMfgAttDoubleParam* a) {
        ASSERT_TRUE(a->GetParameterCombo()->UserDrop());
    };
    const Gesture nothing = [](KesMfgAttDoubleParam*) {};
    const Gesture step4 = [](KesMfgAttDoubleParam* a) { TypeStep(a, "4"); };
    const auto create = [](const std::string& name) {
        return "CreateParameter " + name + " 2 1 0 0 0 0 0 {} {} {}";
    };
    const auto modify = [](const std::string& name) {
        return "ModifyParameterValue " + name + " {} {3} {}";
    };
    const std::string readP1 = "ReadParameterDesc P1", e0 = "GetError 0";
    const std::string readStep = "ReadSetting KesMfgAttDoubleParam.Depth.step MFGPROG from ";
    const std::string writeStep = "WriteSetting KesMfgAttDoubleParam.Depth.step 4 MFGPROG";
    const struct {
        const char* what;
        bool spinner; // "Depth", 1 within 0 and 10; else "Free", 3 without limits
        std::function<void()> arrange;
        Gesture gesture;
        Transcript calls;
        std::string seen;
    } cases[] = {
        // clang-format off
        // The model: P1 holds 6.5 and is offered; P3 has other units.
        {"drop", false, asIs, drop,
         {"GetParameters", readP1, e0, "ReadParameter P1", "ReadParameterDesc P3", e0, "ReadParameter P3"},
         "none shown 3, 0 notified, list none P1"},
        {"bind by name", false, asIs, type(" p1 "),
         {"GetParameters", readP1, e0, "ReadParameter P1", "ReadParameter P1"},
         "P1 shown 6.5, 1 notified, list none P1"},
        {"create by typing", false, asIs, type("new"),
         {"GetParameters", create("NEW"), e0, modify("NEW"), e0, "ReadParameter NEW", "ReadParameter NEW",
          "SetGIIError 20002 0"},
         "NEW shown 3, 2 notified, list none NEW"},
        {"create by dialog", false, asIs, ok("dlg"),
         {create("DLG"), e0, modify("DLG"), e0, "ReadParameter DLG", "SetGIIError 20002 0"},
         "DLG shown 3, 1 notified, list none DLG"},
        {"a taken name typed: 9620", false, asIs, type("p3"),
         {"GetParameters", "ReadParameterDesc P3", e0, "ReadParameter P3", create("P3"), "GetError 9620",
          "SetGIIError 20001 0"},
         "none shown 3, 1 notified, list none"},
        {"a taken name in the dialog: 9620", false, asIs, ok("p1"),
         {create("P1"), "GetError 9620", "SetGIIError 20001 0"},
         "none shown 3, 0 notified, list none, dialog open"},
        {"the value write fails", false, [this] { model_.codes["ModifyParameterValue"] = 9623; }, type("new"),
         {"GetParameters", create("NEW"), e0, modify("NEW"), "GetError 9623", "SetGIIError 9623 0"},
         "none shown 3, 1 notified, list none"},
        {"a code the model does not list", false, [this] { model_.codes["CreateParameter"] = 4711; }, ok("dlg"),
         {create("DLG"), "GetError 4711", "SetGIIError 9624 0"},
         "none shown 3, 0 notified, list none"},
        {"the model throws at a typed creation", false, [this] { model_.throwsOn = "CreateParameter"; }, type("new"),
         {"GetParameters", create("NEW") + " (threw)"},
         "none shown 3, 1 notified, list none"},
        {"the model throws at the value write", false, [this] { model_.throwsOn = "ModifyParameterValue"; }, ok("dlg"),
         {create("DLG"), e0, modify("DLG") + " (threw)", "SetGIIError 9624 0"},
         "none shown 3, 0 notified, list none"},
        {"the model throws listing", false, [this] { model_.throwsOn = "GetParameters"; }, drop,
         {"GetParameters (threw)"},
         "none shown 3, 0 notified, list none"},
        {"the model throws reading", false, [this] { model_.throwsOn = "ReadParameter"; }, type("p1"),
         {"GetParameters", readP1, e0, "ReadParameter P1 (threw)", create("P1"), "GetError 9620",
          "SetGIIError 20001 0"},
         "none shown 3, 1 notified, list none"},
        // The settings: the step is read at Display and written by the step dialog.
        {"the stored step at Display", true,
         [this] { settings_.stored["MFGPROG/KesMfgAttDoubleParam.Depth.step"] = 2.5; }, nothing,
         {readStep + "0.5"}, "none shown 1 step 2.5, 0 notified, list none"},
        {"no stored step", true, asIs, nothing,
         {readStep + "0.5"}, "none shown 1 step 0.5, 0 notified, list none"},
        {"the step dialog", true, asIs, step4,
         {readStep + "0.5", readStep + "0.1", writeStep}, "none shown 1 step 4, 0 notified, list none"},
        {"the settings throw", true, [this] { settings_.throwsOn = "ReadSetting"; }, step4,
         {readStep + "0.5 (threw)", readStep + "0.1 (threw)", writeStep},
         "none shown 1 step 4, 0 notified, list none"},
        // The messages: a pane that fails passes the code to the built-in service.
        {"the message pane throws", false, [this] { messages_.throwsOn = "SetGIIError"; }, ok("dlg"),
         {create("DLG"), e0, modify("DLG"), e0, "ReadParameter DLG", "SetGIIError 20002 0 (threw)"},
         "DLG shown 3, 1 notified, list none DLG, built-in code 20002"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        KesMfgModel::Install(nullptr);
        KesMfgModel::Clear();
        KesMfgBaseGII::ClearReportedCodes();
        frame_->Clear();
        AddParameter("P1", {6.5});
        AddParameter("P3", {1.0}, 5, 2, 1, 5, 5);
        model_.Reset();
        settings_.Reset();
        settings_.stored.clear();
        messages_.Reset();
        c.arrange();
        InstallHostServices();
        transcript_.clear();
        KesMfgAttDoubleParam* attribute = c.spinner ? Shown(Make("Depth", 1.0, 0.0, 10.0)) : Free();
        c.gesture(attribute);
        EXPECT_EQ(transcript_, c.calls);
        EXPECT_EQ(SeenByHost(attribute), c.seen);
    }
}

// ---------------------------------------------------------------------------------------------
// Installing and putting the built-in services back
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgHostServicesTest, InstallAnswersWhatItReplacesAndNullPutsTheBuiltInOnesBack) {
    EXPECT_EQ(KesMfgModel::Install(&model_), KesMfgModel::BuiltIn());
    EXPECT_EQ(KesMfgSetting::Install(&settings_), KesMfgSetting::BuiltIn());
    EXPECT_EQ(KesMfgBaseGII::Install(&messages_), KesMfgBaseGII::BuiltIn());
    KesMfgAttDoubleParam* hosted = Shown(Make("Depth", 1.0, 0.0, 10.0));
    ASSERT_TRUE(hosted->GetParameterCombo()->UserType("hosted"));
    TypeStep(hosted, "4");
    EXPECT_EQ(transcript_.back(), "WriteSetting KesMfgAttDoubleParam.Depth.step 4 MFGPROG");
    double inFile = -1.0; // the host kept it; no setting file was written
    KesMfgSetting::BuiltIn()->ReadSetting("KesMfgAttDoubleParam.Depth.step", &inFile, "MFGPROG");
    EXPECT_EQ(inFile, -1.0);
    EXPECT_TRUE(Codes().empty());

    EXPECT_EQ(KesMfgModel::Install(nullptr), &model_);
    EXPECT_EQ(KesMfgSetting::Install(nullptr), &settings_);
    EXPECT_EQ(KesMfgBaseGII::Install(nullptr), &messages_);
    EXPECT_EQ(KesMfgModel::Installed(), KesMfgModel::BuiltIn());
    transcript_.clear();
    KesStderrCapture captured;
    KesMfgAttDoubleParam* builtIn = Shown(Make("Depth", 1.0, 0.0, 10.0));
    EXPECT_EQ(builtIn->GetSpinnerWidget()->GetStep(), 0.5); // the host's step is not read
    ASSERT_TRUE(builtIn->GetParameterCombo()->UserType("local"));
    TypeStep(builtIn, "3");
    EXPECT_TRUE(transcript_.empty());
    EXPECT_EQ(Stored("Depth"), 3.0);
    EXPECT_EQ(Codes(), (std::vector<int>{20002}));
    EXPECT_EQ(captured.Text(), "Manufacturing model, code 20002: the parameter was created with "
                               "the value shown and the value is bound to it\n");
    // The recording model forwarded to the built-in one: both parameters are there.
    EXPECT_TRUE(KesMfgModel::HasParameter("HOSTED"));
    EXPECT_TRUE(KesMfgModel::HasParameter("LOCAL"));
    // Installing the built-in one by its address is the same as null.
    EXPECT_EQ(KesMfgModel::Install(KesMfgModel::BuiltIn()), KesMfgModel::BuiltIn());
}

TEST_F(KesMfgHostServicesTest, TheQueriesAskTheInstalledModelAndTheCodeTextsStayShared) {
    AddParameter("P1", {6.5});
    KesMfgModel::Install(&model_);
    EXPECT_TRUE(KesMfgModel::HasParameter("P1"));
    EXPECT_FALSE(KesMfgModel::HasParameter("p1"));
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 1);
    EXPECT_EQ(transcript_, (Transcript{"GetParameters", "GetParameters", "GetParameters"}));
    model_.throwsOn = "GetParameters"; // a model that cannot list holds nothing one can bind
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
    EXPECT_EQ(KesMfgModel::GetError(), KesMfgModel::kServiceFailed);
    KesMfgModel::Clear(); // the built-in model's, whatever is installed
    model_.throwsOn.clear();
    EXPECT_EQ(KesMfgModel::GetParameterCount(), 0);
    EXPECT_EQ(KesMfgBaseGII::GetCodeText(KesMfgModel::kServiceFailed),
              "the manufacturing model could not carry out the operation");
    EXPECT_EQ(KesMfgBaseGII::GetCodeText(20001),
              "a parameter of that name exists already; choose another name");
}

} // namespace
