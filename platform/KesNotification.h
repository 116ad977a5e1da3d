// Base class of every notification: a small object created on the heap by its sender, handed
// to KesCommand::SendNotification, and released by the framework after delivery.
#pragma once

#include "platform/KesBaseUnknown.h"

class KesNotification : public KesBaseUnknown {
public:
    explicit KesNotification(int code = -1) : code_(code) {}
    ~KesNotification() override = default;
    const KesMetaObject* GetMetaObject() const override { return MetaObject(); }
    int GetCode() const { return code_; }

    static const KesMetaObject* MetaObject();

private:
    int code_;
};
