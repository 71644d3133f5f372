// Object ids and handles. An id names one object of one database for the
// database's lifetime; the null id names none. A handle is the object's
// number in its drawing (DXF group 5), shown in hex.
#pragma once

#include <cstdint>
#include <vector>

class AcDbDatabase;
namespace kestrin::db {
struct Entry;
}

class AcDbHandle {
public:
    AcDbHandle() = default;
    AcDbHandle(std::uint64_t value) : value_(value) {}
    bool isNull() const { return value_ == 0; }
    std::uint64_t value() const { return value_; }
    // Uppercase hex without leading zeros; the buffer needs 17 bytes.
    void getIntoAsciiBuffer(char* buffer) const;
    bool operator==(const AcDbHandle&) const = default;

private:
    std::uint64_t value_ = 0;
};

class AcDbObjectId {
public:
    AcDbObjectId() = default;
    explicit AcDbObjectId(kestrin::db::Entry* entry) : entry_(entry) {}
    static const AcDbObjectId kNull;

    bool isNull() const { return entry_ == nullptr; }
    bool isValid() const { return entry_ != nullptr; }
    bool isErased() const;
    void setNull() { entry_ = nullptr; }
    AcDbHandle handle() const;
    AcDbDatabase* database() const;

    bool operator==(const AcDbObjectId& other) const { return entry_ == other.entry_; }
    bool operator!=(const AcDbObjectId& other) const { return entry_ != other.entry_; }
    bool operator<(const AcDbObjectId& other) const { return handle().value() < other.handle().value(); }

    kestrin::db::Entry* entry() const { return entry_; }

private:
    kestrin::db::Entry* entry_ = nullptr;
};
inline const AcDbObjectId AcDbObjectId::kNull{};

// The host's growable array, as much of it as modules use.
template <class T>
class AcArray {
public:
    int length() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    const T& at(int i) const { return items_.at(static_cast<std::size_t>(i)); }
    T& at(int i) { return items_.at(static_cast<std::size_t>(i)); }
    const T& operator[](int i) const { return at(i); }
    T& operator[](int i) { return at(i); }
    int append(const T& value) {
        items_.push_back(value);
        return length() - 1;
    }
    void removeAll() { items_.clear(); }

private:
    std::vector<T> items_;
};
using AcDbObjectIdArray = AcArray<AcDbObjectId>;
