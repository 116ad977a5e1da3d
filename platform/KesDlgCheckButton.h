// A check button (declared with the other state buttons).
#pragma once

#include "platform/KesDlgStateButton.h"
