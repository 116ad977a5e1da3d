// The shape shared by the attribute notifications: a notification class of the object model,
// registered by its class name on first use, carrying no data. Each class derives from this
// template with itself and provides its name as kClassName; the template gives it its own
// static meta_object.
#pragma once

#include "platform/KesNotification.h"

template <class Notification> class KesMfgAttNotification : public KesNotification {
public:
    // Every sender passes -1.
    explicit KesMfgAttNotification(int code) : KesNotification(code) {}
    ~KesMfgAttNotification() override = default;

    const KesMetaObject* GetMetaObject() const override { return MetaObject(); }
    const char* IsA() const override { return MetaObject()->GetClassName(); }
    bool IsAKindOf(const char* className) const override {
        return MetaObject()->IsAKindOf(className);
    }

    // The class's meta-object, registered on first use and kept for the life of the process.
    static const KesMetaObject* MetaObject() {
        if (meta_object == nullptr) {
            meta_object = KesRegisterClass(Notification::kClassName, KesNotification::MetaObject());
        }
        return meta_object;
    }
    static const char* ClassName() { return MetaObject()->GetClassName(); }
    static KesCLSID ClassId() { return MetaObject()->GetClassId(); }
    // The class cannot be created by name.
    static KesBaseUnknown* CreateItself() { return nullptr; }

    static inline KesMetaObject* meta_object = nullptr;
};
