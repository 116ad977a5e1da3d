#include "framework/KesMfgAttNotifyPB.h"

KesMetaObject* KesMfgAttNotifyPB::meta_object = nullptr;

const KesMetaObject* KesMfgAttNotifyPB::MetaObject() {
    if (meta_object == nullptr) {
        meta_object = KesRegisterClass("KesMfgAttNotifyPB", KesNotification::MetaObject());
    }
    return meta_object;
}
