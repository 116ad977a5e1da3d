// Vector of untyped pointers, indexed from 1. It never owns what it points to.
#pragma once

#include "platform/KesRawColl.h"

class KesRawCollPV : public KesRawColl<void*> {
public:
    using KesRawColl<void*>::KesRawColl;
};
