#include "framework/KesListPtrKesMfgAttribute.h"

KesListPtrKesMfgAttribute::KesListPtrKesMfgAttribute(int capacity)
    : vector_(new KesRawCollPV(capacity)) {}

KesListPtrKesMfgAttribute::KesListPtrKesMfgAttribute(const KesListPtrKesMfgAttribute& other)
    : KesCollecRoot(other), vector_(new KesRawCollPV(*other.vector_)) {}

KesListPtrKesMfgAttribute&
KesListPtrKesMfgAttribute::operator=(const KesListPtrKesMfgAttribute& other) {
    if (this != &other) {
        *vector_ = *other.vector_;
    }
    return *this;
}

KesListPtrKesMfgAttribute::~KesListPtrKesMfgAttribute() {
    delete vector_;
}

KesMfgAttribute* KesListPtrKesMfgAttribute::operator[](int position) const {
    if (!vector_->IsValidPosition(position)) {
        return nullptr;
    }
    return static_cast<KesMfgAttribute*>((*vector_)[position]);
}
