#include "plugin/palette/LayoutConverter.h"

#include <algorithm>

#include "base/Cp1251.h"

using namespace kestrin::literals;

const std::string& CLayoutConverter::lowerLetters() {
    static const std::string table = "йцукенгшщзхъфывапролджэячсмитьбюqwertyuiopasdfghjklzxcvbnm"_cp;
    return table;
}

const std::string& CLayoutConverter::upperLetters() {
    static const std::string table = "ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮQWERTYUIOPASDFGHJKLZXCVBNM"_cp;
    return table;
}

const std::string& CLayoutConverter::keyCharacters() {
    static const std::string table = "QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>/qwertyuiop[]asdfghjkl;'zxcvbnm,./";
    return table;
}

const std::string& CLayoutConverter::cyrillicCharacters() {
    static const std::string table = "ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ.йцукенгшщзхъфывапролджэячсмитьбю."_cp;
    return table;
}

std::string CLayoutConverter::mapCharacters(const std::string& text, const std::string& from,
                                            const std::string& to) const {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (const auto at = from.find(c); at != std::string::npos && at < to.size()) result += to[at];
        else if (const auto back = to.find(c); back != std::string::npos && back < from.size()) result += from[back];
        else result += c;
    }
    return result;
}

std::string CLayoutConverter::convertLayout(const std::string& text) const {
    return mapCharacters(text, keyCharacters(), cyrillicCharacters());
}

std::string CLayoutConverter::convertCase(const std::string& text) const {
    return mapCharacters(text, lowerLetters(), upperLetters());
}

std::string convertSelection(const std::string& text, int start, int end, SelectionConversion conversion) {
    const int length = static_cast<int>(text.size());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    const std::string middle = text.substr(start, end - start);
    const CLayoutConverter converter;
    const std::string converted =
        conversion == SelectionConversion::Layout ? converter.convertLayout(middle) : converter.convertCase(middle);
    return text.substr(0, start) + converted + text.substr(end);
}
