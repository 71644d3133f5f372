// Room for the values a reader makes itself (converted strings, numbers of a
// binary file) until the record that holds them is packed: views into it stay
// valid until reset().
#pragma once

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace kestrin::dxf {

class TextArena {
public:
    std::string_view keep(std::string_view text) {
        if (text.empty()) return {};
        if (text.size() > kBlock) {
            big_.push_back(std::make_unique<char[]>(text.size()));
            std::memcpy(big_.back().get(), text.data(), text.size());
            return {big_.back().get(), text.size()};
        }
        if (blocks_.empty() || used_ + text.size() > kBlock) {
            if (!blocks_.empty()) ++current_;
            if (current_ == blocks_.size()) blocks_.push_back(std::make_unique<char[]>(kBlock));
            used_ = 0;
        }
        char* at = blocks_[current_].get() + used_;
        std::memcpy(at, text.data(), text.size());
        used_ += text.size();
        return {at, text.size()};
    }

    // Forgets every value; the regular blocks are kept for what comes next.
    void reset() {
        current_ = 0;
        used_ = 0;
        big_.clear();
    }

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<std::unique_ptr<char[]>> big_;  // values longer than a block
    std::size_t current_ = 0;
    std::size_t used_ = 0;
};

}  // namespace kestrin::dxf
