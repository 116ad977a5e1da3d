// The services the parameter binding relies on: the model's codes, the error-reporting service
// and the creation dialog.
#include "KesParamTestSupport.h"

#include "platform/KesMfgDialogEditor.h"

namespace {

using kes_test::ParamTestEnvironment;

std::vector<std::string> Strings(const KesListValKesUnicodeString& list) {
    std::vector<std::string> strings;
    for (const KesUnicodeString& text : list.Items()) {
        strings.push_back(text.Str());
    }
    return strings;
}

using KesMfgServicesTest = ParamTestEnvironment;

TEST_F(KesMfgServicesTest, ModelFailuresHaveTheirCodesAndChangeNothing) {
    ASSERT_EQ(AddParameter("P1", {1.0}), 0);
    EXPECT_EQ(AddParameter("p1", {1.0}), 0); // names compare exactly
    EXPECT_EQ(AddParameter("P1", {1.0}), KesMfgModel::kParameterExists);
    for (const char* malformed : {"", " P2", "P 2", "P\t2"}) {
        EXPECT_EQ(AddParameter(malformed, {1.0}), KesMfgModel::kMalformedName) << malformed;
    }
    EXPECT_EQ(AddParameter(std::string(73, 'P'), {1.0}), KesMfgModel::kMalformedName);
    EXPECT_EQ(AddParameter(std::string(72, 'P'), {1.0}), 0);
    EXPECT_EQ(AddParameter("P3", {INFINITY}), KesMfgModel::kValueNotFinite);
    std::unique_ptr<KesListValKesUnicodeString> names(KesMfgModel::GetParameters());
    EXPECT_EQ(Strings(*names), (std::vector<std::string>{"P1", "p1", std::string(72, 'P')}));

    KesMfgModel::ModifyParameterValue("P1", KesRawCollint(), KesRawColldouble{-INFINITY},
                                      KesListValKesUnicodeString());
    EXPECT_EQ(KesMfgModel::GetError(), KesMfgModel::kValueNotFinite);
    EXPECT_EQ(ParameterValue("P1"), 1.0);
    KesMfgModel::ModifyParameterValue("NOPE", KesRawCollint(), KesRawColldouble(),
                                      KesListValKesUnicodeString());
    EXPECT_EQ(KesMfgModel::GetError(), KesMfgModel::kNoSuchParameter);

    int d[7] = {9, 9, 9, 9, 9, 9, 9};
    KesRawCollint ints;
    KesRawColldouble reals{5.0}; // replaced by what the model holds: nothing
    KesListValKesUnicodeString texts;
    KesMfgModel::ReadParameterDesc("NOPE", d[0], d[1], d[2], d[3], d[4], d[5], d[6], ints, reals,
                                   texts);
    EXPECT_EQ(KesMfgModel::GetError(), KesMfgModel::kNoSuchParameter);
    EXPECT_EQ((std::vector<int>(d, d + 7)), (std::vector<int>(7, 0)));
    EXPECT_EQ(reals.Size(), 0);
}

TEST_F(KesMfgServicesTest, ReportedCodesAreShownOnStandardErrorAndKeptInOrder) {
    KesStderrCapture captured;
    for (int code : {20001, 9623, 20002, 424242}) {
        KesMfgBaseGII::SetGIIError(code, 0);
    }
    EXPECT_EQ(KesMfgBaseGII::GetReportedCodes(), (std::vector<int>{20001, 9623, 20002, 424242}));
    EXPECT_EQ(captured.Text(),
              "Manufacturing model, code 20001: a parameter of that name exists already; choose "
              "another name\n"
              "Manufacturing model, code 9623: a parameter's real value must be a finite number\n"
              "Manufacturing model, code 20002: the parameter was created with the value shown "
              "and the value is bound to it\n"
              "Manufacturing model, code 424242: unknown code\n");
    KesMfgBaseGII::ClearReportedCodes();
    EXPECT_TRUE(KesMfgBaseGII::GetReportedCodes().empty());
}

TEST_F(KesMfgServicesTest, TheDialogEditorAnswersOnlyWhatWasTyped) {
    KesDlgTestFrame owner;
    auto* dialog =
        new KesMfgDialogEditor(&owner, "CreateParameter", 0xe00, 16, 16, 1, 0, "ParameterName", 0);
    KesDlgEditor* field = dialog->GetField(0);
    EXPECT_EQ(field->GetName(), "ParameterName");
    EXPECT_FALSE(field->UserType("hidden")); // a dialog starts hidden
    dialog->SetVisibility(kes::kShown);
    owner.SetSensitivity(kes::kInsensitive); // its owner's state does not reach it
    std::vector<std::vector<std::string>> answers;
    for (const char* typed : {"", "   ", " p1 ", "A_NAME_LONGER_THAN_16"}) {
        EXPECT_TRUE(field->UserType(typed));
        std::unique_ptr<KesListValKesUnicodeString> texts(dialog->GetEditorTexts());
        answers.push_back(Strings(*texts));
    }
    EXPECT_EQ(answers,
              (std::vector<std::vector<std::string>>{{}, {}, {" p1 "}, {"A_NAME_LONGER_TH"}}));
}

} // namespace
