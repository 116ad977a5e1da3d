// Builds against the installed package as a host would: its document owns the model's
// parameters and answers the dialogs through a model service it installs; a panel file is read
// and built, and the user binds the feed to a parameter of the document and creates another.
// The package may have been moved since it was installed: the menus still have their texts
// (the argument: the step item's title expected, "Define step…" when none is given), and the
// package names the folder of its resource files.
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesMfgModel.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelFile.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The host's document: its parameters, in its own form, and the calls the dialogs made.
class DocumentModel final : public KesMfgModelService {
public:
    struct Parameter {
        std::string name;
        std::array<int, 7> description;
        std::vector<double> reals;
    };
    std::vector<Parameter> parameters;
    std::vector<std::string> calls;

    KesListValKesUnicodeString* GetParameters() override {
        calls.push_back("GetParameters");
        auto* names = new KesListValKesUnicodeString;
        for (const Parameter& parameter : parameters) {
            names->Append(KesUnicodeString(parameter.name));
        }
        error_ = KesMfgModel::kNoError;
        return names;
    }
    void ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                           int& d5, int& d6, int& d7, KesRawCollint& ints, KesRawColldouble& reals,
                           KesListValKesUnicodeString& texts) override {
        calls.push_back("ReadParameterDesc " + name.Str());
        const Parameter* parameter = Find(name.Str());
        const std::array<int, 7> d =
            parameter != nullptr ? parameter->description : std::array<int, 7>{};
        d1 = d[0], d2 = d[1], d3 = d[2], d4 = d[3], d5 = d[4], d6 = d[5], d7 = d[6];
        Fill(parameter, ints, reals, texts);
    }
    void ReadParameter(const KesUnicodeString& name, KesRawCollint& ints, KesRawColldouble& reals,
                       KesListValKesUnicodeString& texts) override {
        calls.push_back("ReadParameter " + name.Str());
        Fill(Find(name.Str()), ints, reals, texts);
    }
    void CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4, int& d5,
                         int& d6, int& d7, const KesRawCollint&, const KesRawColldouble& reals,
                         const KesListValKesUnicodeString&) override {
        calls.push_back("CreateParameter " + name.Str());
        if (Find(name.Str()) != nullptr) {
            error_ = KesMfgModel::kParameterExists;
            return;
        }
        parameters.push_back({name.Str(), {d1, d2, d3, d4, d5, d6, d7}, reals.Items()});
        error_ = KesMfgModel::kNoError;
    }
    void ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint&,
                              const KesRawColldouble& reals,
                              const KesListValKesUnicodeString&) override {
        calls.push_back("ModifyParameterValue " + name.Str());
        Parameter* parameter = Find(name.Str());
        error_ = parameter != nullptr ? KesMfgModel::kNoError : KesMfgModel::kNoSuchParameter;
        if (parameter != nullptr) {
            parameter->reals = reals.Items();
        }
    }
    int GetError() override { return error_; }

    Parameter* Find(const std::string& name) {
        const auto found = std::find_if(parameters.begin(), parameters.end(),
                                        [&](const Parameter& p) { return p.name == name; });
        return found != parameters.end() ? &*found : nullptr;
    }
    bool Called(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

private:
    void Fill(const Parameter* parameter, KesRawCollint& ints, KesRawColldouble& reals,
              KesListValKesUnicodeString& texts) {
        ints.RemoveAll();
        reals.RemoveAll();
        texts.RemoveAll();
        if (parameter != nullptr) {
            for (double value : parameter->reals) {
                reals.Append(value);
            }
        }
        error_ = parameter != nullptr ? KesMfgModel::kNoError : KesMfgModel::kNoSuchParameter;
    }
    int error_ = KesMfgModel::kNoError;
};

bool Check(bool ok, const char* what) {
    if (!ok) {
        std::cout << "consumer host FAILED: " << what << std::endl;
    }
    return ok;
}

bool Run(DocumentModel& document, const std::string& stepTitle) {
    KesPanelDescription description;
    const std::string fault = KesPanelFile::Read(KES_CONSUMER_PANEL, description);
    if (!Check(fault.empty(), "the panel file was not read")) {
        std::cout << fault << std::endl;
        return false;
    }
    KesDlgTestFrame frame;
    KesPanelBuilder builder;
    if (!Check(builder.Build(description, frame).empty(), "the panel was not built")) {
        return false;
    }
    KesMfgAttDoubleParam* feed = nullptr;
    for (KesMfgAttribute* attribute : builder.Attributes()) {
        feed = feed != nullptr ? feed : dynamic_cast<KesMfgAttDoubleParam*>(attribute);
    }
    if (!Check(feed != nullptr, "the panel has no parameterised real")) {
        return false;
    }
    const KesDialog* defineStep = feed->FindDescendant("defstep");
    bool ok = Check(defineStep != nullptr && defineStep->GetTitle().Str() == stepTitle,
                    "the step item does not have its text");
    ok &= Check(std::filesystem::is_regular_file(std::filesystem::path(KES_CONSUMER_RESOURCE_DIR) /
                                                 "KesMfgAttDoubleParam.kesres"),
                "KesAttributes_RESOURCE_DIR does not hold the resource files");
    // The user opens the list, then types the name of the document's parameter.
    KesDlgCombo* combo = feed->GetParameterCombo();
    ok &= Check(combo->UserDrop() && combo->GetLineCount() == 2 &&
                    combo->GetLine(1).Str() == "FEED_FINISHING_PASS",
                "the document's parameter is not offered");
    ok &= Check(combo->UserType("feed_finishing_pass") && feed->GetShownValue() == 450.0 &&
                    feed->GetBoundParameterName() == "FEED_FINISHING_PASS",
                "the document's parameter was not bound");
    ok &= Check(document.Called("ReadParameter FEED_FINISHING_PASS"),
                "the document was not asked for the value");
    // The user creates a parameter from the value shown: it lands in the document.
    ok &= Check(combo->UserType("FEED_ROUGHING"), "the name was not typed");
    const DocumentModel::Parameter* created = document.Find("FEED_ROUGHING");
    ok &= Check(created != nullptr && created->reals == std::vector<double>{450.0},
                "the created parameter is not in the document");
    KesListValKesUnicodeString names, texts;
    KesRawCollint typeCodes, counts, ints;
    KesRawColldouble reals;
    int group = 0;
    feed->GetAttValue(&group, &names, &typeCodes, &counts, &ints, &reals, &texts);
    ok &= Check(counts.Size() == 1 && counts[1] == -1 && texts.Size() == 1 &&
                    texts[1].Str().substr(0, 14) == "FEED_ROUGHING ",
                "the record does not name the created parameter");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const std::string stepTitle = argc > 1 ? argv[1] : "Define step…";
    DocumentModel document;
    document.parameters.push_back({"FEED_FINISHING_PASS", {2, 1, 1, 2, 0, 0, 0}, {450.0}});
    KesMfgModelService* builtIn = KesMfgModel::Install(&document);
    bool ok = Run(document, stepTitle);
    KesMfgModel::Install(nullptr); // before the document goes
    ok = ok && builtIn == KesMfgModel::BuiltIn() && KesMfgModel::GetParameterCount() == 0;
    std::cout << (ok ? "consumer host ok" : "consumer host FAILED") << std::endl;
    return ok ? 0 : 1;
}
