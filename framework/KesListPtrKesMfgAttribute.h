// KesListPtrKesMfgAttribute: a list of attribute pointers, indexed from 1, through which a
// caller tells a steering attribute which attributes it impacts. The list never owns the
// attributes; copies share them.
#pragma once

#include "platform/KesCollecRoot.h"
#include "platform/KesRawCollPV.h"

class KesMfgAttribute;

class KesListPtrKesMfgAttribute : public KesCollecRoot {
public:
    // The argument is the initial capacity.
    explicit KesListPtrKesMfgAttribute(int capacity = 0);
    KesListPtrKesMfgAttribute(const KesListPtrKesMfgAttribute& other);
    KesListPtrKesMfgAttribute& operator=(const KesListPtrKesMfgAttribute& other);
    ~KesListPtrKesMfgAttribute() override;

    void Append(KesMfgAttribute* attribute) { vector_->Append(attribute); }
    int Size() const { return vector_->Size(); }
    // The attribute at 1-based `position`; null outside 1..Size().
    KesMfgAttribute* operator[](int position) const;
    void RemoveAll() { vector_->RemoveAll(); }

    const KesRawCollPV& GetVector() const { return *vector_; }
    KesRawCollPV& GetVector() { return *vector_; }

private:
    KesRawCollPV* vector_; // owned
};
