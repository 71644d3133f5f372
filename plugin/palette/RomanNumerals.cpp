#include "plugin/palette/RomanNumerals.h"

#include <climits>

#include "base/Cp1251.h"

using namespace kestrin::literals;

const char* const kRomanNumeralTable =
    "1-I 2-II 3-III 4-IV 5-V 6-VI 7-VII 8-VIII 9-IX 10-X "
    "11-XI 12-XII 13-XIII 14-XIV 15-XV 16-XVI 17-XVII 18-XVIII 19-XIX 20-XX "
    "21-XXI 22-XXII 23-XXIII 24-XXIV 25-XXV 26-XXVI 27-XXVII 28-XXVIII 29-XXIX 30-XXX "
    "31-XXXI 32-XXXII 33-XXXIII 34-XXXIV 35-XXXV 36-XXXVI 37-XXXVII 38-XXXVIII 39-XXXIX 40-XL "
    "41-XLI 42-XLII 43-XLIII 44-XLIV 45-XLV 46-XLVI 47-XLVII 48-XLVIII 49-XLIX 50-L "
    "51-LI 52-LII 53-LIII 54-LIV 55-LV 56-LVI 57-LVII 58-LVIII 59-LIX 60-LX "
    "61-LXI 62-LXII 63-LXIII 64-LXIV 65-LXV 66-LXVI 67-LXVII 68-LXVIII 69-LXIX 70-LXX "
    "71-LXXI 72-LXXII 73-LXXIII 74-LXXIV 75-LXXV 76-LXXVI 77-LXXVII 78-LXXVIII 79-LXXIX 80-LXXX "
    "81-LXXXI 82-LXXXII 83-LXXXIII 84-LXXXIV 85-LXXXV 86-LXXXVI 87-LXXXVII 88-LXXXVIII 89-LXXXIX 90-XC "
    "91-XCI 92-XCII 93-XCIII 94-XCIV 95-XCV 96-XCVI 97-XCVII 98-XCVIII 99-XCIX 100-C ";

std::optional<int> readRomanInput(const std::string& input) {
    const auto first = input.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const auto last = input.find_last_not_of(' ');
    std::string digits = input.substr(first, last - first + 1);
    for (const char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    const auto significant = digits.find_first_not_of('0');
    if (significant == std::string::npos) return 0;  // only zeros
    digits.erase(0, significant);
    if (digits.size() > 9) return INT_MAX;
    return std::stoi(digits);
}

std::string romanNumeralOf(int number) {
    if (number < 1 || number > kLargestRomanNumber) return {};
    // The entry's own start: the table's beginning or right after a blank, so
    // that 0 cannot land inside "10" and 1 not inside "11".
    const std::string table = kRomanNumeralTable;
    const std::string key = std::to_string(number) + "-";
    for (auto at = table.find(key); at != std::string::npos; at = table.find(key, at + 1)) {
        if (at != 0 && table[at - 1] != ' ') continue;
        const auto begin = at + key.size();
        const auto end = table.find(' ', begin);
        return table.substr(begin, end - begin);
    }
    return {};
}

std::string romanCodeString(const std::string& numeral) { return "%%O%%U" + numeral + "%%u%%o"; }

const char* romanTooLargeMessage() { return "Число не должно превышать 100"_cp; }
const char* romanRangeMessage() { return "Введите число от 1 до 100"_cp; }

RomanOutput romanOutput(const std::string& input) {
    const std::optional<int> number = readRomanInput(input);
    const std::string numeral = number ? romanNumeralOf(*number) : std::string();
    if (!numeral.empty()) return {romanCodeString(numeral)};
    const bool tooLarge = number && *number > kLargestRomanNumber;
    return {std::string(), tooLarge ? romanTooLargeMessage() : romanRangeMessage()};
}
