#include "platform/KesMetaObject.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

const KesCLSID CLSID_KesMetaClass{1};

namespace {

struct DictionaryEntry {
    KesCLSID kind;
    std::string className;
    std::string entryName;
    KesMetaObject* metaObject = nullptr;
};

// Looks names up without building a string for each query.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};
using RegistryMap =
    std::unordered_map<std::string, std::unique_ptr<KesMetaObject>, NameHash, std::equal_to<>>;

// Never freed: meta-objects outlive every object that points to them.
RegistryMap& Registry() {
    static auto* registry = new RegistryMap;
    return *registry;
}

std::unordered_map<unsigned long long, DictionaryEntry>& Dictionary() {
    static auto* dictionary = new std::unordered_map<unsigned long long, DictionaryEntry>;
    return *dictionary;
}

} // namespace

bool KesMetaObject::IsAKindOf(const char* className) const {
    if (className == nullptr) {
        return false;
    }
    for (const KesMetaObject* meta = this; meta != nullptr; meta = meta->base_) {
        if (meta->className_ == className) {
            return true;
        }
    }
    return false;
}

KesMetaObject* QueryMetaObject(const char* className) {
    if (className == nullptr) {
        return nullptr;
    }
    const auto found = Registry().find(std::string_view(className));
    return found == Registry().end() ? nullptr : found->second.get();
}

KesMetaObject* fct_FindMetaObject(const char* className) {
    if (className == nullptr) {
        return nullptr;
    }
    auto& slot = Registry()[className];
    if (!slot) {
        slot = std::make_unique<KesMetaObject>(className);
    }
    return slot.get();
}

KesCLSID fct_CreateCLSID() {
    // Identifiers below 0x100 are reserved for the framework's own kinds.
    static unsigned long long next = 0x100;
    return KesCLSID{next++};
}

int AddDictionary(const KesCLSID& id, const KesCLSID& kind, const char* className,
                  const char* entryName, void*, KesMetaObject* metaObject, void*, void*) {
    if (id.IsNull() || Dictionary().count(id.value) != 0) {
        return -1;
    }
    Dictionary()[id.value] =
        DictionaryEntry{kind, className ? className : "", entryName ? entryName : "", metaObject};
    return 0;
}

const KesMetaObject* KesFindDictionaryEntry(const KesCLSID& id) {
    const auto found = Dictionary().find(id.value);
    return found == Dictionary().end() ? nullptr : found->second.metaObject;
}

int KesCountDictionaryEntries(const char* className) {
    if (className == nullptr) {
        return 0;
    }
    int count = 0;
    for (const auto& [id, entry] : Dictionary()) {
        count += entry.className == className ? 1 : 0;
    }
    return count;
}

KesMetaObject* KesRegisterClass(const char* className, const KesMetaObject* base) {
    KesMetaObject* meta = QueryMetaObject(className);
    if (meta != nullptr) {
        if (!meta->HasClassId()) {
            const KesCLSID id = fct_CreateCLSID();
            AddDictionary(id, CLSID_KesMetaClass, className, "MetaObject", nullptr, meta, nullptr,
                          nullptr);
            meta->SetClassId(id);
        }
    } else {
        const KesCLSID id = fct_CreateCLSID();
        meta = fct_FindMetaObject(className);
        if (meta == nullptr) {
            return nullptr;
        }
        AddDictionary(id, CLSID_KesMetaClass, className, "MetaObject", nullptr, meta, nullptr,
                      nullptr);
        meta->SetClassId(id);
    }
    meta->SetFlag(1);
    meta->SetBaseMetaObject(base);
    return meta;
}
