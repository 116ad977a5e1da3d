// KesMfgAttNotifyPB: sent to the parent frame when the push button of a link attribute is
// pressed; the owner of the frame then opens the sub-dialog that edits the linked values.
#pragma once

#include "platform/KesNotification.h"

class KesMfgAttNotifyPB : public KesNotification {
public:
    // Every sender passes -1.
    explicit KesMfgAttNotifyPB(int code) : KesNotification(code) {}
    ~KesMfgAttNotifyPB() override = default;

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
