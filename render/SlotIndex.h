// Slot numbers by key in one open-addressed table of 32-bit slots (linear
// probing, deletion by shifting back what follows): a slot's key is read
// from wherever the slots are kept, so the index costs a few bytes an entry
// where a node-based map costs forty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace kestrin::render {

// KeyOf: std::uint64_t (std::uint32_t slot) const, the key the slot is
// filed under for as long as it is in the index.
template <class KeyOf>
class SlotIndex {
public:
    static constexpr std::uint32_t npos = 0xFFFFFFFF;

    explicit SlotIndex(KeyOf keyOf) : keyOf_(std::move(keyOf)) {}

    std::size_t size() const { return size_; }
    std::uint32_t find(std::uint64_t key) const {
        const std::size_t at = position(key);
        return at == kNowhere ? npos : table_[at];
    }
    bool contains(std::uint64_t key) const { return position(key) != kNowhere; }
    // Asks for the part of the table `key` is looked for in ahead of the
    // look-up: in a big table nearly every look-up misses the cache.
    void prefetch(std::uint64_t key) const {
#if defined(__GNUC__)
        if (!table_.empty()) __builtin_prefetch(&table_[home(key)]);
#endif
    }

    // `key` must not be in the index.
    void insert(std::uint64_t key, std::uint32_t slot) {
        reserve(size_ + 1);
        std::size_t i = home(key);
        while (table_[i] != npos) i = (i + 1) & mask();
        table_[i] = slot;
        ++size_;
    }
    void erase(std::uint64_t key) {
        std::size_t hole = position(key);
        if (hole == kNowhere) return;
        // What follows in the run moves back into the hole unless its home
        // lies after the hole (cyclically), up to where it stands.
        for (std::size_t j = (hole + 1) & mask(); table_[j] != npos; j = (j + 1) & mask()) {
            const std::size_t h = home(keyOf_(table_[j]));
            const bool between = hole <= j ? (hole < h && h <= j) : (hole < h || h <= j);
            if (between) continue;
            table_[hole] = table_[j];
            hole = j;
        }
        table_[hole] = npos;
        --size_;
    }
    // Room for `entries` without growing (at most three quarters full).
    void reserve(std::size_t entries) {
        std::size_t n = table_.empty() ? 16 : table_.size();
        while (entries * 4 > n * 3) n *= 2;
        if (n != table_.size()) rehash(n);
    }
    void clear() {
        table_.clear();
        size_ = 0;
    }

private:
    static constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

    std::size_t mask() const { return table_.size() - 1; }
    std::size_t home(std::uint64_t key) const {  // Fibonacci hashing: the top bits of key times 2^64 / phi
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
    }
    std::size_t position(std::uint64_t key) const {
        if (table_.empty()) return kNowhere;
        for (std::size_t i = home(key);; i = (i + 1) & mask()) {
            if (table_[i] == npos) return kNowhere;
            if (keyOf_(table_[i]) == key) return i;
        }
    }
    void rehash(std::size_t n) {  // n a power of two
        std::vector<std::uint32_t> old = std::move(table_);
        table_.assign(n, npos);
        shift_ = 64;
        for (std::size_t k = n; k > 1; k /= 2) --shift_;
        for (const std::uint32_t slot : old) {
            if (slot == npos) continue;
            std::size_t i = home(keyOf_(slot));
            while (table_[i] != npos) i = (i + 1) & mask();
            table_[i] = slot;
        }
    }

    KeyOf keyOf_;
    std::vector<std::uint32_t> table_;
    std::size_t size_ = 0;
    int shift_ = 64;
};

}  // namespace kestrin::render
