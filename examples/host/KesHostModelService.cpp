// kes-host's model service over the document's parameters.
#include "KesHostModelService.h"

#include "platform/KesMfgModel.h"

#include <cmath>

namespace {

void Fill(const KesHostParameter& parameter, KesRawCollint& ints, KesRawColldouble& reals,
          KesListValKesUnicodeString& texts) {
    for (const int value : parameter.integers) {
        ints.Append(value);
    }
    for (const double value : parameter.reals) {
        reals.Append(value);
    }
    for (const std::string& value : parameter.texts) {
        texts.Append(KesUnicodeString(value));
    }
}

} // namespace

KesListValKesUnicodeString* KesHostModelService::GetParameters() {
    auto* names = new KesListValKesUnicodeString();
    for (const KesHostParameter& parameter : document_->parameters) {
        names->Append(KesUnicodeString(parameter.name));
    }
    error_ = KesMfgModel::kNoError;
    return names;
}

void KesHostModelService::ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3,
                                            int& d4, int& d5, int& d6, int& d7, KesRawCollint& ints,
                                            KesRawColldouble& reals,
                                            KesListValKesUnicodeString& texts) {
    ints.RemoveAll();
    reals.RemoveAll();
    texts.RemoveAll();
    d1 = d2 = d3 = d4 = d5 = d6 = d7 = 0;
    const KesHostParameter* parameter = document_->Find(name.Str());
    if (parameter == nullptr) {
        error_ = KesMfgModel::kNoSuchParameter;
        return;
    }
    d1 = parameter->type;
    d2 = parameter->kind;
    d3 = parameter->units[0];
    d4 = parameter->units[1];
    d5 = parameter->units[2];
    Fill(*parameter, ints, reals, texts);
    error_ = KesMfgModel::kNoError;
}

void KesHostModelService::ReadParameter(const KesUnicodeString& name, KesRawCollint& ints,
                                        KesRawColldouble& reals,
                                        KesListValKesUnicodeString& texts) {
    ints.RemoveAll();
    reals.RemoveAll();
    texts.RemoveAll();
    const KesHostParameter* parameter = document_->Find(name.Str());
    if (parameter == nullptr) {
        error_ = KesMfgModel::kNoSuchParameter;
        return;
    }
    Fill(*parameter, ints, reals, texts);
    error_ = KesMfgModel::kNoError;
}

void KesHostModelService::CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3,
                                          int& d4, int& d5, int& /*d6*/, int& /*d7*/,
                                          const KesRawCollint& ints, const KesRawColldouble& reals,
                                          const KesListValKesUnicodeString& texts) {
    if (!KesMfgModel::IsWellFormedName(name)) {
        error_ = KesMfgModel::kMalformedName;
        return;
    }
    if (document_->Find(name.Str()) != nullptr) {
        error_ = KesMfgModel::kParameterExists;
        return;
    }
    if (!KesMfgModel::AreFinite(reals)) {
        error_ = KesMfgModel::kValueNotFinite;
        return;
    }
    KesHostParameter parameter;
    parameter.name = name.Str();
    parameter.type = d1;
    parameter.kind = d2;
    parameter.units[0] = d3;
    parameter.units[1] = d4;
    parameter.units[2] = d5;
    parameter.integers = ints.Items();
    parameter.reals = reals.Items();
    for (const KesUnicodeString& text : texts.Items()) {
        parameter.texts.push_back(text.Str());
    }
    document_->parameters.push_back(std::move(parameter));
    error_ = KesMfgModel::kNoError;
    Changed(name.Str());
}

void KesHostModelService::ModifyParameterValue(const KesUnicodeString& name,
                                               const KesRawCollint& ints,
                                               const KesRawColldouble& reals,
                                               const KesListValKesUnicodeString& texts) {
    KesHostParameter* parameter = document_->Find(name.Str());
    if (parameter == nullptr) {
        error_ = KesMfgModel::kNoSuchParameter;
        return;
    }
    if (!KesMfgModel::AreFinite(reals)) {
        error_ = KesMfgModel::kValueNotFinite;
        return;
    }
    parameter->integers = ints.Items();
    parameter->reals = reals.Items();
    parameter->texts.clear();
    for (const KesUnicodeString& text : texts.Items()) {
        parameter->texts.push_back(text.Str());
    }
    error_ = KesMfgModel::kNoError;
    Changed(name.Str());
}

void KesHostModelService::Changed(const std::string& name) {
    if (changed_) {
        changed_(name);
    }
}
