// KesMfgModel: the process-wide parameter set and its error code.
#include "platform/KesMfgModel.h"

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace {

struct Parameter {
    KesUnicodeString name;
    std::array<int, 7> description{}; // d1..d7
    KesRawCollint ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;
};

struct Model {
    std::vector<Parameter> parameters; // in the order of creation
    int error = KesMfgModel::kNoError;
};

// Never freed, so hosts may still reach the model from static destructors.
Model& TheModel() {
    static auto* model = new Model;
    return *model;
}

Parameter* Find(const KesUnicodeString& name) {
    for (Parameter& parameter : TheModel().parameters) {
        if (parameter.name == name) {
            return &parameter;
        }
    }
    return nullptr;
}

bool IsWellFormedName(const KesUnicodeString& name) {
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

bool AllFinite(const KesRawColldouble& reals) {
    for (double value : reals.Items()) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

void SetError(int code) {
    TheModel().error = code;
}

} // namespace

KesListValKesUnicodeString* KesMfgModel::GetParameters() {
    auto names = std::make_unique<KesListValKesUnicodeString>();
    for (const Parameter& parameter : TheModel().parameters) {
        names->Append(parameter.name);
    }
    SetError(kNoError);
    return names.release();
}

void KesMfgModel::ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3,
                                    int& d4, int& d5, int& d6, int& d7, KesRawCollint& ints,
                                    KesRawColldouble& reals, KesListValKesUnicodeString& texts) {
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

void KesMfgModel::ReadParameter(const KesUnicodeString& name, KesRawCollint& ints,
                                KesRawColldouble& reals, KesListValKesUnicodeString& texts) {
    const Parameter* parameter = Find(name);
    if (parameter == nullptr) {
        ints.RemoveAll();
        reals.RemoveAll();
        texts.RemoveAll();
        SetError(kNoSuchParameter);
        return;
    }
    ints = parameter->ints;
    reals = parameter->reals;
    texts = parameter->texts;
    SetError(kNoError);
}

void KesMfgModel::CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                                  int& d5, int& d6, int& d7, const KesRawCollint& ints,
                                  const KesRawColldouble& reals,
                                  const KesListValKesUnicodeString& texts) {
    if (!IsWellFormedName(name)) {
        SetError(kMalformedName);
        return;
    }
    if (Find(name) != nullptr) {
        SetError(kParameterExists);
        return;
    }
    if (!AllFinite(reals)) {
        SetError(kValueNotFinite);
        return;
    }
    TheModel().parameters.push_back(
        Parameter{name, {d1, d2, d3, d4, d5, d6, d7}, ints, reals, texts});
    SetError(kNoError);
}

void KesMfgModel::ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                                       const KesRawColldouble& reals,
                                       const KesListValKesUnicodeString& texts) {
    Parameter* parameter = Find(name);
    if (parameter == nullptr) {
        SetError(kNoSuchParameter);
        return;
    }
    if (!AllFinite(reals)) {
        SetError(kValueNotFinite);
        return;
    }
    parameter->ints = ints;
    parameter->reals = reals;
    parameter->texts = texts;
    SetError(kNoError);
}

int KesMfgModel::GetError() {
    return TheModel().error;
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
    default:
        return nullptr;
    }
}

void KesMfgModel::Clear() {
    TheModel().parameters.clear();
    SetError(kNoError);
}

int KesMfgModel::GetParameterCount() {
    return static_cast<int>(TheModel().parameters.size());
}

bool KesMfgModel::HasParameter(const KesUnicodeString& name) {
    return Find(name) != nullptr;
}
