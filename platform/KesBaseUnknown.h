// Root class of the object model: interface query, reference counting and class identity.
//
// Reference counting is used for objects handed over to the framework (notifications): the
// creator holds the first reference, Release deletes the object when the count reaches 0.
// Widgets belong to their widget tree instead and are never released.
#pragma once

#include "platform/KesMetaObject.h"

class KesBaseUnknown {
public:
    KesBaseUnknown() = default;
    KesBaseUnknown(const KesBaseUnknown&) : KesBaseUnknown() {}
    KesBaseUnknown& operator=(const KesBaseUnknown&) { return *this; }

    // Answers 0 and this object for the null identifier or the object's own class identifier,
    // -1 and null otherwise.
    virtual int QueryInterface(const KesCLSID& id, void** object);
    virtual unsigned long AddRef();
    // Deletes the object when the count reaches 0; returns the new count.
    virtual unsigned long Release();
    virtual ~KesBaseUnknown() = default;
    virtual const KesMetaObject* GetMetaObject() const;
    virtual const char* IsA() const;
    virtual bool IsAKindOf(const char* className) const;
    virtual bool IsNull() const { return false; }
    virtual bool IsEqual(const KesBaseUnknown* other) const { return other == this; }
    virtual void SetImpl(KesBaseUnknown*) {}
    virtual int QueryInterface(const char* className, void** object);

    static const KesMetaObject* MetaObject();

private:
    unsigned long references_ = 1;
};
