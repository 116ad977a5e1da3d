// KesHostModelService: kes-host's manufacturing model, answered from its part document.
//
// Installed with KesMfgModel::Install while the host runs, it makes the document's parameters
// the model the attributes see: a parameter a dialog creates is a parameter of the document at
// once, and a value edited in the host's table is what the next read answers. Every change a
// dialog makes is told to the host (SetChanged), which refreshes its table and marks the
// document modified. The operations keep the model's contract (platform/KesMfgModel.h): the
// same codes (9620 to 9623) and the same refusals, and a failed operation changes nothing.
#pragma once

#include "KesHostDocument.h"

#include "platform/KesMfgModelService.h"

#include <functional>
#include <string>

class KesHostModelService final : public KesMfgModelService {
public:
    // Answers from `document`, which must outlive the service.
    explicit KesHostModelService(KesHostDocument& document) : document_(&document) {}

    // Answers from another document from now on (a document opened or made new).
    void SetDocument(KesHostDocument& document) { document_ = &document; }
    // Called after each operation that changed the document, with the parameter's name.
    void SetChanged(std::function<void(const std::string&)> changed) {
        changed_ = std::move(changed);
    }

    KesListValKesUnicodeString* GetParameters() override;
    void ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                           int& d5, int& d6, int& d7, KesRawCollint& ints, KesRawColldouble& reals,
                           KesListValKesUnicodeString& texts) override;
    void ReadParameter(const KesUnicodeString& name, KesRawCollint& ints, KesRawColldouble& reals,
                       KesListValKesUnicodeString& texts) override;
    void CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4, int& d5,
                         int& d6, int& d7, const KesRawCollint& ints, const KesRawColldouble& reals,
                         const KesListValKesUnicodeString& texts) override;
    void ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                              const KesRawColldouble& reals,
                              const KesListValKesUnicodeString& texts) override;
    int GetError() override { return error_; }

private:
    void Changed(const std::string& name);

    KesHostDocument* document_;
    std::function<void(const std::string&)> changed_;
    int error_ = 0;
};
