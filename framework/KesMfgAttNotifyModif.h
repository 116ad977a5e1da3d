// KesMfgAttNotifyModif: sent to the parent frame whenever an attribute's value or option state
// has been changed. It carries no data: the receiver asks the attributes for their values.
#pragma once

#include "platform/KesNotification.h"

class KesMfgAttNotifyModif : public KesNotification {
public:
    // Every sender passes -1.
    explicit KesMfgAttNotifyModif(int code) : KesNotification(code) {}
    ~KesMfgAttNotifyModif() override = default;

    const KesMetaObject* GetMetaObject() const override { return MetaObject(); }
    const char* IsA() const override { return MetaObject()->GetClassName(); }
    bool IsAKindOf(const char* className) const override {
        return MetaObject()->IsAKindOf(className);
    }

    // The class's meta-object, registered on first use.
    static const KesMetaObject* MetaObject();
    static const char* ClassName() { return MetaObject()->GetClassName(); }
    static KesCLSID ClassId() { return MetaObject()->GetClassId(); }
    // The class cannot be created by name.
    static KesBaseUnknown* CreateItself() { return nullptr; }

    static KesMetaObject* meta_object;
};
