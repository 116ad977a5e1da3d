// KesMfgModel: the parameters of the manufacturing model, as the dialogs of the host see them.
//
// Who answers. The statics below are the calls the attributes make; each one hands the call to
// the installed model service (KesMfgModelService). Until a host installs its own, the built-in
// model answers (BuiltIn): a process-wide, in-memory, ordered set of named parameters that a
// host fills when it opens a part and clears when it closes it (tests do the same). Install
// returns the service it replaces; Install(nullptr) puts the built-in model back. The installed
// service is not owned: it must outlive its installation.
//
// A service that fails. When the installed service throws, the static catches the exception,
// leaves the out-arguments as a failed read leaves them (zeros and empty lists; an empty list of
// names), and GetError answers kServiceFailed until the next operation. When the service's
// GetError throws or answers a code that is not listed below, GetError answers kServiceFailed
// too. So an attribute never sees an exception or a code it cannot place: it takes the path of
// any other failure (the parameter is not offered, the creation is refused, the code 9624 is
// reported to the user).
//
// The data model, for every service. Each parameter has a
// description of seven integers d1..d7 (d1 the type code: 0 boolean, 1 integer, 2 real, 3 text;
// d2 its kind; d3, d4, d5 its first, second and third unit codes; d6 and d7 reserved) and its
// current values in three lists (integers, reals, texts). Names compare exactly, byte for byte:
// "P1" and "p1" are two parameters, and no blank is ever trimmed.
//
// Every operation stores its outcome, read back with GetError() right after the call: 0 on
// success, else one of the codes below. Nothing throws and nothing is printed; showing an error
// to the user is the error-reporting service's job (KesMfgBaseGII).
//
//   9620  CreateParameter: a parameter of that name exists already.
//   9621  CreateParameter: the name is empty, longer than 72 characters, or holds a blank or a
//         control character (a name must survive the value records, which carry it padded to
//         72 characters, and the trimming of typed names).
//   9622  ReadParameterDesc, ReadParameter, ModifyParameterValue: no parameter of that name.
//   9623  CreateParameter, ModifyParameterValue: a real value that is not a finite number.
//   9624  any operation: the installed service failed (threw, or answered an unlisted code).
//
// A failed operation changes nothing in the model. The reads fill their out-arguments with
// zeros and empty lists when the parameter does not exist.
//
// The model lives on the dialog framework's single event thread; it has no lock.
#pragma once

#include "platform/KesMfgModelService.h"

class KesMfgModel {
public:
    static constexpr int kNoError = 0;
    static constexpr int kParameterExists = 9620;
    static constexpr int kMalformedName = 9621;
    static constexpr int kNoSuchParameter = 9622;
    static constexpr int kValueNotFinite = 9623;
    static constexpr int kServiceFailed = 9624;
    // Longest name, in characters.
    static constexpr int kMaxNameLength = 72;

    KesMfgModel() = delete;

    // Makes `service` answer every call below; null puts the built-in model back. Answers the
    // service that answered until now (the built-in one included). Sets the error to 0.
    static KesMfgModelService* Install(KesMfgModelService* service);
    // The service that answers now: the installed one, or the built-in model.
    static KesMfgModelService* Installed();
    // The built-in in-memory model, whatever is installed; a host service may forward to it.
    static KesMfgModelService* BuiltIn();

    // A new list of the parameters' names in the model's order (the order of creation); the
    // caller deletes it. Never null. Sets the error to 0.
    static KesListValKesUnicodeString* GetParameters();

    // Replaces d1..d7 with the parameter's description and the three lists with its current
    // values. Unknown name: error 9622, zeros and empty lists.
    static void ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                                  int& d5, int& d6, int& d7, KesRawCollint& ints,
                                  KesRawColldouble& reals, KesListValKesUnicodeString& texts);
    // Replaces the three lists with the parameter's current values. Unknown name: error 9622,
    // empty lists.
    static void ReadParameter(const KesUnicodeString& name, KesRawCollint& ints,
                              KesRawColldouble& reals, KesListValKesUnicodeString& texts);

    // Adds a parameter at the end of the model with the description d1..d7 and the given
    // values (often empty lists: the values are written later with ModifyParameterValue). The
    // integers are left as they were passed. Errors 9620, 9621, 9623.
    static void CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                                int& d5, int& d6, int& d7, const KesRawCollint& ints,
                                const KesRawColldouble& reals,
                                const KesListValKesUnicodeString& texts);
    // Replaces the parameter's current values by the given lists. Errors 9622, 9623.
    static void ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                                     const KesRawColldouble& reals,
                                     const KesListValKesUnicodeString& texts);

    // The outcome of the last operation: 0 or one of the codes above.
    static int GetError();
    // What a code means, in a few words for the user; null for a code the model does not use.
    // The same for every service.
    static const char* GetErrorText(int code);
    // Whether `code` is one of the codes above (0 included).
    static bool IsListedCode(int code);
    // The rules every model keeps, for a host's own service to keep them too: a name of 1 to
    // kMaxNameLength characters with no blank or control character (else 9621), and reals that
    // are all finite numbers (else 9623).
    static bool IsWellFormedName(const KesUnicodeString& name);
    static bool AreFinite(const KesRawColldouble& reals);

    // For hosts and tests. Clear empties the built-in model and sets its error to 0, whatever
    // is installed (a host's own model is the host's to clear). The two queries ask the
    // installed service through GetParameters: with the built-in model installed they leave
    // the error as it is; with a host's service its error is what its GetParameters answers.
    static void Clear();
    static int GetParameterCount();
    static bool HasParameter(const KesUnicodeString& name);
};
