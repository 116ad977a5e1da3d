// Vector of integers, indexed from 1: the integer and boolean value vector of every value record.
#pragma once

#include "platform/KesRawColl.h"

class KesRawCollint : public KesRawColl<int> {
public:
    using KesRawColl<int>::KesRawColl;
};
