// Conversion between the unit a caller uses and the unit an attribute shows, and the step of a
// real spinner. Shared by the real attributes, single-valued, multi-valued and parameterised.
//
// Unit codes (first, second, third) and the unit flag select the conversion:
//   0, 0, -1 (any flag): shown = caller / 360, caller = shown * 360;
//   0, 0, 1 with flag 1:  shown = caller * 60,  caller = shown / 60;
//   anything else:        no conversion.
#pragma once

class KesMfgUnitConversion {
public:
    KesMfgUnitConversion(int firstUnitCode, int secondUnitCode, int thirdUnitCode, int unitFlag);

    double ToShown(double callerValue) const;
    double ToCaller(double shownValue) const;
    bool Converts() const { return kind_ != Kind::None; }

private:
    enum class Kind { None, DivideBy360, MultiplyBy60 };
    Kind kind_;
};

// The step of a real spinner over [minimum, maximum]: with r = (maximum - minimum) / 100,
// 0.05 below 0.02, 0.5 below 2, 5 below 20, 10 below 200, 100 from 200 on, and 0.1 when r is
// not a number.
double KesMfgSpinnerStep(double minimum, double maximum);
