// The integer rules of an integer spinner, shared by the attributes that show integers in
// spinners: the spinner keeps a real, the attribute takes its floor, and the range is divided
// into one step per integer.
#pragma once

#include <climits>
#include <cmath>

// The floor of a spinner value as an int (3.7 gives 3, -2.5 gives -3), saturated to the int
// range; a NaN gives 0.
inline int KesMfgFloorToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double floored = std::floor(value);
    if (floored <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    if (floored >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(floored);
}

// maximum - minimum as the spinner's step count (one step per integer), saturated to the int
// range so that the full int range does not overflow. A negative difference is passed on as it
// is; the spinner takes a count below 1 as 1.
inline int KesMfgSpinnerStepCount(int minimum, int maximum) {
    const long long count = static_cast<long long>(maximum) - minimum;
    if (count > INT_MAX) {
        return INT_MAX;
    }
    if (count < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(count);
}
