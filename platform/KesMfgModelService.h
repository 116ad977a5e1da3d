// KesMfgModelService: what answers the calls of the manufacturing model (KesMfgModel).
//
// The attributes call KesMfgModel's statics; each static hands the call to the service installed
// with KesMfgModel::Install, and to the built-in in-memory model (KesMfgModel::BuiltIn) when no
// host installed one. A host whose document owns the parameters implements this interface over
// its document, or wraps the built-in model (forwards every call to it and tells the host what
// changed), and installs it while its dialogs are open.
//
// The operations and their contract are KesMfgModel's (see KesMfgModel.h): same arguments, same
// meaning, the outcome of each operation answered by GetError right after it, 0 on success.
// What the attributes do with a failure is decided by the code: 9620 on a creation means "the
// name is taken"; any other non-zero code is a failure the attribute reports or recovers from.
//
// A service may throw, or answer an error code that KesMfgModel does not list: the statics
// catch the exception and answer KesMfgModel::kServiceFailed as the operation's outcome, and
// turn an unlisted code into kServiceFailed too (see KesMfgModel.h). An implementation should
// still not rely on that: it is the safety net, not the way to report a refusal.
//
// Called on the dialog framework's single event thread only.
#pragma once

#include "platform/KesListValKesUnicodeString.h"
#include "platform/KesRawColldouble.h"
#include "platform/KesRawCollint.h"

class KesMfgModelService {
public:
    virtual ~KesMfgModelService() = default;

    // A new list of the parameters' names in the model's order; the caller deletes it. A null
    // answer is taken as a failure (KesMfgModel::GetParameters then answers an empty list).
    virtual KesListValKesUnicodeString* GetParameters() = 0;
    // The description d1..d7 and the current values of a parameter; zeros and empty lists and
    // an error when there is no such parameter.
    virtual void ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                                   int& d5, int& d6, int& d7, KesRawCollint& ints,
                                   KesRawColldouble& reals, KesListValKesUnicodeString& texts) = 0;
    // The current values of a parameter; empty lists and an error when there is none.
    virtual void ReadParameter(const KesUnicodeString& name, KesRawCollint& ints,
                               KesRawColldouble& reals, KesListValKesUnicodeString& texts) = 0;
    // Adds a parameter with the description d1..d7 and the given values.
    virtual void CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                                 int& d5, int& d6, int& d7, const KesRawCollint& ints,
                                 const KesRawColldouble& reals,
                                 const KesListValKesUnicodeString& texts) = 0;
    // Replaces a parameter's current values.
    virtual void ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                                      const KesRawColldouble& reals,
                                      const KesListValKesUnicodeString& texts) = 0;
    // The outcome of the last operation: 0, or one of KesMfgModel's codes.
    virtual int GetError() = 0;

protected:
    KesMfgModelService() = default;
    KesMfgModelService(const KesMfgModelService&) = default;
    KesMfgModelService& operator=(const KesMfgModelService&) = default;
};
