// KesMfgAttNotifyModif: sent to the parent frame whenever an attribute's value or option state
// has been changed. It carries no data: the receiver asks the attributes for their values.
#pragma once

#include "framework/KesMfgAttNotification.h"

class KesMfgAttNotifyModif : public KesMfgAttNotification<KesMfgAttNotifyModif> {
public:
    static constexpr const char* kClassName = "KesMfgAttNotifyModif";
    using KesMfgAttNotification::KesMfgAttNotification;
};
