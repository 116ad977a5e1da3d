// KesMfgModel: the parameters of the manufacturing model, as the dialogs of the host see them.
//
// The model is process-wide: one ordered set of named parameters that a host fills when it
// opens a part and clears when it closes it (tests do the same). Each parameter has a
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
//
// A failed operation changes nothing in the model. The reads fill their out-arguments with
// zeros and empty lists when the parameter does not exist.
//
// The model lives on the dialog framework's single event thread; it has no lock.
#pragma once

#include "platform/KesListValKesUnicodeString.h"
#include "platform/KesRawColldouble.h"
#include "platform/KesRawCollint.h"

class KesMfgModel {
public:
    static constexpr int kNoError = 0;
    static constexpr int kParameterExists = 9620;
    static constexpr int kMalformedName = 9621;
    static constexpr int kNoSuchParameter = 9622;
    static constexpr int kValueNotFinite = 9623;
    // Longest name, in characters.
    static constexpr int kMaxNameLength = 72;

    KesMfgModel() = delete;

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
    static const char* GetErrorText(int code);

    // For hosts and tests. Clear empties the model and sets the error to 0; the two queries
    // leave the error as it is.
    static void Clear();
    static int GetParameterCount();
    static bool HasParameter(const KesUnicodeString& name);
};
