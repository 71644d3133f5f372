// The runtime class system: every host object knows its class descriptor
// (isA), classes know their parent (isKindOf), and cast() answers null for an
// object of another class. Class descriptors are registered by name in the
// "ClassDictionary" of the system registry.
#pragma once

#include <map>
#include <memory>
#include <string>

class AcRxClass;

// Declares the class-identity members of a host class; the matching
// ACRX_DEFINE_MEMBERS(Class, Parent) goes into its source file.
#define ACRX_DECLARE_MEMBERS(CLASS)                                                        \
    static AcRxClass* desc();                                                              \
    AcRxClass* isA() const override;                                                       \
    static CLASS* cast(const AcRxObject* inPtr) {                                          \
        return inPtr != nullptr && inPtr->isKindOf(desc())                                 \
                   ? static_cast<CLASS*>(const_cast<AcRxObject*>(inPtr))                  \
                   : nullptr;                                                              \
    }

#define ACRX_DEFINE_MEMBERS(CLASS, PARENT)                                                 \
    AcRxClass* CLASS::desc() {                                                             \
        static AcRxClass* const cls = kestrin::rx::classNamed(#CLASS, PARENT::desc());     \
        return cls;                                                                        \
    }                                                                                      \
    AcRxClass* CLASS::isA() const { return desc(); }

class AcRxObject {
public:
    virtual ~AcRxObject() = default;
    static AcRxClass* desc();
    virtual AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* aClass) const;
    static AcRxObject* cast(const AcRxObject* inPtr) { return const_cast<AcRxObject*>(inPtr); }
};

class AcRxClass : public AcRxObject {
public:
    AcRxClass(std::string name, AcRxClass* parent) : name_(std::move(name)), parent_(parent) {}
    ACRX_DECLARE_MEMBERS(AcRxClass)

    const char* name() const { return name_.c_str(); }
    AcRxClass* myParent() const { return parent_; }
    bool isDerivedFrom(const AcRxClass* other) const;

private:
    std::string name_;
    AcRxClass* parent_;
};

// A dictionary of host objects by name (case-sensitive); it does not own them.
class AcRxDictionary : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDictionary)

    AcRxObject* at(const char* key) const;
    // Stores `object` under `key`; answers the object stored there before.
    AcRxObject* atPut(const char* key, AcRxObject* object);
    AcRxObject* remove(const char* key);
    bool has(const char* key) const { return at(key) != nullptr; }
    unsigned int numEntries() const { return static_cast<unsigned int>(entries_.size()); }

private:
    std::map<std::string, AcRxObject*> entries_;
};

namespace kestrin::rx {

// The descriptor registered under `name`, created with `parent` when it does
// not exist yet. Descriptors live as long as the process.
AcRxClass* classNamed(const std::string& name, AcRxClass* parent);

// The "ClassDictionary": every class descriptor by name.
AcRxDictionary& classDictionary();

}  // namespace kestrin::rx
