#include "host/db/AcRxObject.h"

#include <memory>
#include <vector>

namespace kestrin::rx {

AcRxDictionary& classDictionary() {
    static AcRxDictionary* const dictionary = new AcRxDictionary;  // lives as long as the process
    return *dictionary;
}

AcRxClass* classNamed(const std::string& name, AcRxClass* parent) {
    if (auto* existing = static_cast<AcRxClass*>(classDictionary().at(name.c_str()))) return existing;
    static std::vector<std::unique_ptr<AcRxClass>>* const owned = new std::vector<std::unique_ptr<AcRxClass>>;
    owned->push_back(std::make_unique<AcRxClass>(name, parent));
    classDictionary().atPut(name.c_str(), owned->back().get());
    return owned->back().get();
}

}  // namespace kestrin::rx

AcRxClass* AcRxObject::desc() {
    static AcRxClass* const cls = kestrin::rx::classNamed("AcRxObject", nullptr);
    return cls;
}

AcRxClass* AcRxObject::isA() const { return desc(); }

bool AcRxObject::isKindOf(const AcRxClass* aClass) const { return aClass != nullptr && isA()->isDerivedFrom(aClass); }

ACRX_DEFINE_MEMBERS(AcRxClass, AcRxObject)

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
    for (const AcRxClass* c = this; c != nullptr; c = c->parent_)
        if (c == other) return true;
    return false;
}

ACRX_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)

AcRxObject* AcRxDictionary::at(const char* key) const {
    if (key == nullptr) return nullptr;
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const char* key, AcRxObject* object) {
    if (key == nullptr) return nullptr;
    AcRxObject*& slot = entries_[key];
    AcRxObject* previous = slot;
    slot = object;
    return previous;
}

AcRxObject* AcRxDictionary::remove(const char* key) {
    if (key == nullptr) return nullptr;
    const auto it = entries_.find(key);
    if (it == entries_.end()) return nullptr;
    AcRxObject* previous = it->second;
    entries_.erase(it);
    return previous;
}
