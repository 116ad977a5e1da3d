// KesMfgModel: the built-in in-memory model, and the statics that hand every call to the
// installed model service.
//
// Index:
//   The built-in model
//   Installation
//   The calls, forwarded
//   Host and test queries
#include "platform/KesMfgModel.h"

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------------------------
// The built-in model
// ---------------------------------------------------------------------------------------------
namespace {

struct Parameter {
    KesUnicodeString name;
    std::array<int, 7> description{}; // d1..d7
    KesRawCollint ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;
};

class BuiltInModel final : public KesMfgModelService {
public:
    KesListValKesUnicodeString* GetParameters() override {
        auto names = std::make_unique<KesListValKesUnicodeString>();
        for (const Parameter& parameter : parameters_) {
            names->Append(parameter.name);
        }
        error_ = KesMfgModel::kNoError;
        return names.release();
    }

    void ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                           int& d5, int& d6, int& d7, KesRawCollint& ints, KesRawColldouble& reals,
                           KesListValKesUnicodeString& texts) override {
        const Parameter* parameter = Find(name);
        const std::array<int, 7> description =
            parameter != nullptr ? parameter->description : std::array<int, 7>{};
        d1 = description[0];
        d2 = description[1];
        d3 = description[2];
        d4 = description[3];
        d5 = description[4];
        d6 = description[5];
        d7 = description[6];
        ReadParameter(name, ints, reals, texts);
    }

    void ReadParameter(const KesUnicodeString& name, KesRawCollint& ints, KesRawColldouble& reals,
                       KesListValKesUnicodeString& texts) override {
        const Parameter* parameter = Find(name);
        if (parameter == nullptr) {
            ints.RemoveAll();
            reals.RemoveAll();
            texts.RemoveAll();
            error_ = KesMfgModel::kNoSuchParameter;
            return;
        }
        ints = parameter->ints;
        reals = parameter->reals;
        texts = parameter->texts;
        error_ = KesMfgModel::kNoError;
    }

    void CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4, int& d5,
                         int& d6, int& d7, const KesRawCollint& ints, const KesRawColldouble& reals,
                         const KesListValKesUnicodeString& texts) override {
        if (!KesMfgModel::IsWellFormedName(name)) {
            error_ = KesMfgModel::kMalformedName;
            return;
        }
        if (Find(name) != nullptr) {
            error_ = KesMfgModel::kParameterExists;
            return;
        }
        if (!KesMfgModel::AreFinite(reals)) {
            error_ = KesMfgModel::kValueNotFinite;
            return;
        }
        byName_.emplace(name.Str(), parameters_.size());
        parameters_.push_back(Parameter{name, {d1, d2, d3, d4, d5, d6, d7}, ints, reals, texts});
        error_ = KesMfgModel::kNoError;
    }

    void ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                              const KesRawColldouble& reals,
                              const KesListValKesUnicodeString& texts) override {
        Parameter* parameter = Find(name);
        if (parameter == nullptr) {
            error_ = KesMfgModel::kNoSuchParameter;
            return;
        }
        if (!KesMfgModel::AreFinite(reals)) {
            error_ = KesMfgModel::kValueNotFinite;
            return;
        }
        parameter->ints = ints;
        parameter->reals = reals;
        parameter->texts = texts;
        error_ = KesMfgModel::kNoError;
    }

    int GetError() override { return error_; }

    // Not part of the service: the built-in model's own queries.
    void Clear() {
        parameters_.clear();
        byName_.clear();
        error_ = KesMfgModel::kNoError;
    }
    int Count() const { return static_cast<int>(parameters_.size()); }
    const Parameter* Find(const KesUnicodeString& name) const {
        const auto found = byName_.find(name.Str());
        return found == byName_.end() ? nullptr : &parameters_[found->second];
    }
    Parameter* Find(const KesUnicodeString& name) {
        return const_cast<Parameter*>(std::as_const(*this).Find(name));
    }

private:
    std::vector<Parameter> parameters_; // in the order of creation
    // Each name's place in parameters_: every call names its parameter, and a model may hold
    // thousands. Parameters are only added, or all cleared at once.
    std::unordered_map<std::string, size_t> byName_;
    int error_ = KesMfgModel::kNoError;
};

// Never freed, so hosts may still reach the model from static destructors.
BuiltInModel& TheBuiltInModel() {
    static auto* model = new BuiltInModel;
    return *model;
}

// ---------------------------------------------------------------------------------------------
// Installation
// ---------------------------------------------------------------------------------------------
struct Installation {
    KesMfgModelService* service = nullptr; // null: the built-in model answers
    bool lastCallFailed = false;           // the service threw during the last operation
};

Installation& TheInstallation() {
    static Installation installation;
    return installation;
}

KesMfgModelService& Service() {
    KesMfgModelService* service = TheInstallation().service;
    return service != nullptr ? *service : TheBuiltInModel();
}

// Runs one operation on the installed service. An exception is caught and remembered for
// GetError; `onFailure` then puts the out-arguments in the state of a failed read.
template <class Call, class OnFailure> void Forward(Call&& call, OnFailure&& onFailure) {
    Installation& installation = TheInstallation();
    installation.lastCallFailed = false;
    try {
        call(Service());
    } catch (...) {
        installation.lastCallFailed = true;
        onFailure();
    }
}

void EmptyLists(KesRawCollint& ints, KesRawColldouble& reals, KesListValKesUnicodeString& texts) {
    ints.RemoveAll();
    reals.RemoveAll();
    texts.RemoveAll();
}

} // namespace

KesMfgModelService* KesMfgModel::Install(KesMfgModelService* service) {
    Installation& installation = TheInstallation();
    KesMfgModelService* replaced = &Service();
    installation.service = service == &TheBuiltInModel() ? nullptr : service;
    installation.lastCallFailed = false;
    return replaced;
}

KesMfgModelService* KesMfgModel::Installed() {
    return &Service();
}

KesMfgModelService* KesMfgModel::BuiltIn() {
    return &TheBuiltInModel();
}

// ---------------------------------------------------------------------------------------------
// The calls, forwarded
// ---------------------------------------------------------------------------------------------
KesListValKesUnicodeString* KesMfgModel::GetParameters() {
    KesListValKesUnicodeString* names = nullptr;
    Forward([&](KesMfgModelService& service) { names = service.GetParameters(); },
            [&] { names = nullptr; });
    if (names == nullptr) {
        TheInstallation().lastCallFailed = true; // "never null" holds for every service
        return new KesListValKesUnicodeString;
    }
    return names;
}

void KesMfgModel::ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3,
                                    int& d4, int& d5, int& d6, int& d7, KesRawCollint& ints,
                                    KesRawColldouble& reals, KesListValKesUnicodeString& texts) {
    Forward(
        [&](KesMfgModelService& service) {
            service.ReadParameterDesc(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
        },
        [&] {
            d1 = d2 = d3 = d4 = d5 = d6 = d7 = 0;
            EmptyLists(ints, reals, texts);
        });
}

void KesMfgModel::ReadParameter(const KesUnicodeString& name, KesRawCollint& ints,
                                KesRawColldouble& reals, KesListValKesUnicodeString& texts) {
    Forward([&](KesMfgModelService& service) { service.ReadParameter(name, ints, reals, texts); },
            [&] { EmptyLists(ints, reals, texts); });
}

void KesMfgModel::CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                                  int& d5, int& d6, int& d7, const KesRawCollint& ints,
                                  const KesRawColldouble& reals,
                                  const KesListValKesUnicodeString& texts) {
    Forward(
        [&](KesMfgModelService& service) {
            service.CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
        },
        [] {});
}

void KesMfgModel::ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                                       const KesRawColldouble& reals,
                                       const KesListValKesUnicodeString& texts) {
    Forward(
        [&](KesMfgModelService& service) {
            service.ModifyParameterValue(name, ints, reals, texts);
        },
        [] {});
}

int KesMfgModel::GetError() {
    if (TheInstallation().lastCallFailed) {
        return kServiceFailed;
    }
    int code = kServiceFailed;
    try {
        code = Service().GetError();
    } catch (...) {
        return kServiceFailed;
    }
    return IsListedCode(code) ? code : kServiceFailed;
}

bool KesMfgModel::IsWellFormedName(const KesUnicodeString& name) {
    if (name.IsEmpty() || name.GetLengthInChar() > KesMfgModel::kMaxNameLength) {
        return false;
    }
    for (char c : name.Str()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            return false; // blanks and control characters
        }
    }
    return true;
}

bool KesMfgModel::AreFinite(const KesRawColldouble& reals) {
    for (double value : reals.Items()) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

bool KesMfgModel::IsListedCode(int code) {
    return GetErrorText(code) != nullptr;
}

const char* KesMfgModel::GetErrorText(int code) {
    switch (code) {
    case kNoError:
        return "no error";
    case kParameterExists:
        return "a parameter of that name exists already";
    case kMalformedName:
        return "a parameter name must not be empty, be longer than 72 characters or hold "
               "blanks or control characters";
    case kNoSuchParameter:
        return "there is no parameter of that name";
    case kValueNotFinite:
        return "a parameter's real value must be a finite number";
    case kServiceFailed:
        return "the manufacturing model could not carry out the operation";
    default:
        return nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// Host and test queries
// ---------------------------------------------------------------------------------------------
void KesMfgModel::Clear() {
    TheBuiltInModel().Clear();
}

int KesMfgModel::GetParameterCount() {
    if (TheInstallation().service == nullptr) {
        return TheBuiltInModel().Count();
    }
    const std::unique_ptr<KesListValKesUnicodeString> names(GetParameters());
    return names->Size();
}

bool KesMfgModel::HasParameter(const KesUnicodeString& name) {
    if (TheInstallation().service == nullptr) {
        return TheBuiltInModel().Find(name) != nullptr;
    }
    const std::unique_ptr<KesListValKesUnicodeString> names(GetParameters());
    for (const KesUnicodeString& candidate : names->Items()) {
        if (candidate == name) {
            return true;
        }
    }
    return false;
}
