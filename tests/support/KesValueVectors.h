// Test support: the six value vectors of a value record, filled by an attribute.
#pragma once

#include "framework/KesMfgValueRecords.h"

using KesValueVectors = KesMfgValueRecords;
