// A list that only grows, whose elements never move: kept in blocks of many
// elements each (a std::deque makes a block of 512 bytes, an allocation for
// every four or five entries of a drawing of a million).
#pragma once

#include <cassert>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace kestrin::db {

template <typename T, std::size_t kPerBlock = 4096>
class StableList {
public:
    StableList() = default;
    StableList(const StableList&) = delete;
    StableList& operator=(const StableList&) = delete;
    ~StableList() { clear(); }

    template <typename... Args>
    T& emplace_back(Args&&... args) {
        assert(reserved_ == 0);
        if (size_ % kPerBlock == 0) blocks_.emplace_back(new Slot[kPerBlock]);  // left unset until used
        T* t = new (blocks_.back()[size_ % kPerBlock].bytes) T(std::forward<Args>(args)...);
        ++size_;
        return *t;
    }
    // Room for `n` more elements, left unmade: each is made by emplaceAt,
    // on any thread, and then all of them are taken in by commit(n).
    void reserveMore(std::size_t n) {
        reserved_ = n;
        while (blocks_.size() * kPerBlock < size_ + n) blocks_.emplace_back(new Slot[kPerBlock]);
    }
    template <typename... Args>
    T& emplaceAt(std::size_t k, Args&&... args) {
        assert(k >= size_ && k < size_ + reserved_);
        return *new (blocks_[k / kPerBlock][k % kPerBlock].bytes) T(std::forward<Args>(args)...);
    }
    void commit(std::size_t n) {
        assert(n <= reserved_);
        size_ += n;
        reserved_ = 0;
    }

    std::size_t size() const { return size_; }
    T& operator[](std::size_t k) { return *at(k); }

    void clear() {
        for (std::size_t k = size_; k-- > 0;) at(k)->~T();
        size_ = 0;
        blocks_.clear();
    }

    class Iterator {
    public:
        Iterator(StableList* list, std::size_t k) : list_(list), k_(k) {}
        T& operator*() const { return *list_->at(k_); }
        Iterator& operator++() {
            ++k_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return k_ != other.k_; }

    private:
        StableList* list_;
        std::size_t k_;
    };
    Iterator begin() { return {this, 0}; }
    Iterator end() { return {this, size_}; }

private:
    // Room for one element, made without constructing it.
    struct Slot {
        alignas(T) unsigned char bytes[sizeof(T)];
    };
    T* at(std::size_t k) const {
        return std::launder(reinterpret_cast<T*>(blocks_[k / kPerBlock][k % kPerBlock].bytes));
    }

    std::vector<std::unique_ptr<Slot[]>> blocks_;
    std::size_t size_ = 0;
    std::size_t reserved_ = 0;  // rooms after size_ being made
};

}  // namespace kestrin::db
