#include "platform/KesBaseUnknown.h"

int KesBaseUnknown::QueryInterface(const KesCLSID& id, void** object) {
    if (object == nullptr) {
        return -1;
    }
    const KesMetaObject* meta = GetMetaObject();
    if (id.IsNull() || (meta != nullptr && meta->GetClassId() == id)) {
        *object = this;
        return 0;
    }
    *object = nullptr;
    return -1;
}

int KesBaseUnknown::QueryInterface(const char* className, void** object) {
    if (object == nullptr) {
        return -1;
    }
    if (IsAKindOf(className)) {
        *object = this;
        return 0;
    }
    *object = nullptr;
    return -1;
}

unsigned long KesBaseUnknown::AddRef() {
    return ++references_;
}

unsigned long KesBaseUnknown::Release() {
    const unsigned long left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

const KesMetaObject* KesBaseUnknown::GetMetaObject() const {
    return MetaObject();
}

const char* KesBaseUnknown::IsA() const {
    return GetMetaObject()->GetClassName();
}

bool KesBaseUnknown::IsAKindOf(const char* className) const {
    return GetMetaObject()->IsAKindOf(className);
}

const KesMetaObject* KesBaseUnknown::MetaObject() {
    static const KesMetaObject* meta = KesRegisterClass("KesBaseUnknown", nullptr);
    return meta;
}
