#include "platform/KesNotification.h"

const KesMetaObject* KesNotification::MetaObject() {
    static const KesMetaObject* meta =
        KesRegisterClass("KesNotification", KesBaseUnknown::MetaObject());
    return meta;
}
