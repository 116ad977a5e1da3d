#include "framework/KesMfgAttNotifyModif.h"

KesMetaObject* KesMfgAttNotifyModif::meta_object = nullptr;

const KesMetaObject* KesMfgAttNotifyModif::MetaObject() {
    if (meta_object == nullptr) {
        meta_object = KesRegisterClass("KesMfgAttNotifyModif", KesNotification::MetaObject());
    }
    return meta_object;
}
