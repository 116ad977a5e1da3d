// KesMfgAttNotifyPB: sent to the parent frame when the push button of a link attribute is
// pressed; the owner of the frame then opens the sub-dialog that edits the linked values.
#pragma once

#include "framework/KesMfgAttNotification.h"

class KesMfgAttNotifyPB : public KesMfgAttNotification<KesMfgAttNotifyPB> {
public:
    static constexpr const char* kClassName = "KesMfgAttNotifyPB";
    using KesMfgAttNotification::KesMfgAttNotification;
};
