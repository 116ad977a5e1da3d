#include "framework/KesMfgUnitConversion.h"

#include <cmath>

KesMfgUnitConversion::KesMfgUnitConversion(int firstUnitCode, int secondUnitCode, int thirdUnitCode,
                                           int unitFlag)
    : kind_(Kind::None) {
    if (firstUnitCode == 0 && secondUnitCode == 0 && thirdUnitCode == -1) {
        kind_ = Kind::DivideBy360;
    } else if (firstUnitCode == 0 && secondUnitCode == 0 && thirdUnitCode == 1 && unitFlag == 1) {
        kind_ = Kind::MultiplyBy60;
    }
}

double KesMfgUnitConversion::ToShown(double callerValue) const {
    switch (kind_) {
    case Kind::DivideBy360:
        return callerValue / 360.0;
    case Kind::MultiplyBy60:
        return callerValue * 60.0;
    case Kind::None:
        break;
    }
    return callerValue;
}

double KesMfgUnitConversion::ToCaller(double shownValue) const {
    switch (kind_) {
    case Kind::DivideBy360:
        return shownValue * 360.0;
    case Kind::MultiplyBy60:
        return shownValue / 60.0;
    case Kind::None:
        break;
    }
    return shownValue;
}

double KesMfgSpinnerStep(double minimum, double maximum) {
    const double r = (maximum - minimum) / 100.0;
    if (std::isnan(r)) {
        return 0.1;
    }
    if (r < 0.02) {
        return 0.05;
    }
    if (r < 2.0) {
        return 0.5;
    }
    if (r < 20.0) {
        return 5.0;
    }
    if (r < 200.0) {
        return 10.0;
    }
    return 100.0;
}
