// Roman numerals for the palette: a number from 1 to 100 typed into the
// numeral field (8038) becomes its numeral between the host's overline and
// underline codes, inserted into the text field.
#pragma once

#include <optional>
#include <string>


// Every entry is "number-numeral " for 1 to 100, in ascending order.
extern const char* const kRomanNumeralTable;

inline constexpr int kLargestRomanNumber = 100;

// Reads the numeral field's text: a whole number once blanks around it and
// leading zeros are dropped ("05", " 7 " read as 5 and 7). Anything else
// (letters, a sign, blanks between digits, nothing at all) answers nullopt.
// Numbers too long for an int answer INT_MAX, which is above the range.
std::optional<int> readRomanInput(const std::string& input);

// The numeral of the entry that begins with `number` followed by its hyphen;
// empty when the table has no such entry (outside 1..100).
std::string romanNumeralOf(int number);

// "%%O%%U" + numeral + "%%u%%o": lined above and below, switched off after.
std::string romanCodeString(const std::string& numeral);

// Messages of a refused input.
const char* romanTooLargeMessage();  // above 100
const char* romanRangeMessage();     // not a whole number from 1 to 100

// What the ">>" click makes of the numeral field's text: the code string to
// insert, or, for a refused input, the message to show (and no code).
struct RomanOutput {
    std::string code;
    const char* refusal = nullptr;
};
RomanOutput romanOutput(const std::string& input);
