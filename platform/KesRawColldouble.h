// Vector of reals, indexed from 1: the real value vector of every value record.
#pragma once

#include "platform/KesRawColl.h"

class KesRawColldouble : public KesRawColl<double> {
public:
    using KesRawColl<double>::KesRawColl;
};
