// The object model's meta-objects and their process-wide registry.
//
// A meta-object describes one class by name: its class identifier, its base meta-object (for
// IsAKindOf) and a flag word. The registry holds one meta-object per class name for the life of
// the process; the dictionary records the identifiers registered with AddDictionary. Both live
// on the dialog framework's single thread and are never freed, so meta-objects may be used
// from static destructors.
#pragma once

#include <string>

struct KesCLSID {
    unsigned long long value = 0; // 0 is the null identifier
    bool IsNull() const { return value == 0; }
    bool operator==(const KesCLSID&) const = default;
};

// Identifier of the meta-class kind, used as the second argument of AddDictionary.
extern const KesCLSID CLSID_KesMetaClass;

class KesMetaObject {
public:
    explicit KesMetaObject(std::string className) : className_(std::move(className)) {}
    KesMetaObject(const KesMetaObject&) = delete;
    KesMetaObject& operator=(const KesMetaObject&) = delete;

    const char* GetClassName() const { return className_.c_str(); }
    bool HasClassId() const { return !classId_.IsNull(); }
    const KesCLSID& GetClassId() const { return classId_; }
    void SetClassId(const KesCLSID& id) { classId_ = id; }

    const KesMetaObject* GetBaseMetaObject() const { return base_; }
    void SetBaseMetaObject(const KesMetaObject* base) { base_ = base; }
    int GetFlag() const { return flag_; }
    void SetFlag(int flag) { flag_ = flag; }

    // True when the class is `className` or derives from it (through the base meta-objects).
    bool IsAKindOf(const char* className) const;

private:
    std::string className_;
    KesCLSID classId_;
    const KesMetaObject* base_ = nullptr;
    int flag_ = 0;
};

// The meta-object registered under `className`, or null when there is none (or the name is
// null).
KesMetaObject* QueryMetaObject(const char* className);
// The meta-object registered under `className`, created and registered when there is none.
// Null only for a null name.
KesMetaObject* fct_FindMetaObject(const char* className);
// A new identifier, never null and never returned before in this process.
KesCLSID fct_CreateCLSID();
// Records `id` in the dictionary as an entry of kind `kind` for `className`, reached through
// the entry point `entryName` and answering `metaObject`. The pointer arguments other than
// the meta-object are reserved. Returns 0, or -1 (nothing recorded) when the identifier is
// null or recorded already.
int AddDictionary(const KesCLSID& id, const KesCLSID& kind, const char* className,
                  const char* entryName, void* reserved1, KesMetaObject* metaObject,
                  void* reserved2, void* reserved3);

// Registers a class of the object model by name and returns its meta-object: the meta-object
// already registered under that name, or a new one; it gets a class identifier recorded in the
// dictionary unless it holds one already, the flag 1 and the given base meta-object. Classes
// call it once, from their static MetaObject(), and keep the answer.
KesMetaObject* KesRegisterClass(const char* className, const KesMetaObject* base);

// Dictionary look-ups for hosts and tests.
const KesMetaObject* KesFindDictionaryEntry(const KesCLSID& id);
int KesCountDictionaryEntries(const char* className);
