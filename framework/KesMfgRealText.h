// How the real attributes read the text of a real field and keep the reals they are given
// finite. Shared by the real attributes, single-valued, multi-valued and parameterised, so that
// every real field reads the same text as the same number.
#pragma once

#include "platform/KesUnicodeString.h"

// Reads the text of a real field (blanks around it allowed):
//   a finite number: that number (-0 reads as 0);
//   a number too large for a real ("1e999", a 1,000-digit number, "inf", "-infinity"): the
//     largest finite real of its sign;
//   a number too small for a real ("1e-999"): 0;
//   any other text (empty, "abc", "nan"): 0.
// Returns true only in the first case, when the text is a finite number as written. A null
// target is refused (false).
bool KesMfgReadRealText(const KesUnicodeString& text, double* value);

// An infinite real becomes the largest finite real of its sign; other reals, NaN included, are
// returned unchanged.
double KesMfgFiniteReal(double value);

// A limit given by the caller: an infinite limit becomes the largest finite real of its sign, a
// NaN limit no bound on its side (`unbounded`: -DBL_MAX for a minimum, DBL_MAX for a maximum).
double KesMfgFiniteLimit(double limit, double unbounded);
