#include "host/dxf/TagList.h"

namespace kestrin::dxf {

void TagList::insert(std::size_t i, int code, std::string_view value) {
    tags_.insert(tags_.begin() + static_cast<std::ptrdiff_t>(i), Tag{code, std::string(value)});
}

void TagList::erase(std::size_t i) { tags_.erase(tags_.begin() + static_cast<std::ptrdiff_t>(i)); }

std::size_t TagList::find(int code, std::size_t from) const {
    for (std::size_t i = from; i < tags_.size(); ++i)
        if (tags_[i].code == code) return i;
    return npos;
}

}  // namespace kestrin::dxf
