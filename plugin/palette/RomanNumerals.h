// Roman numerals for the palette: a number from 1 to 100 typed into the
// numeral field (8038) becomes its numeral between the host's overline and
// underline codes, inserted into the text field.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/Framework.h"

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

// The ">>" click. `input` is the palette's member bound to 8038 (current
// through the field's change handler). A valid input replaces the text
// field's selection without an undo record; the focus goes to the text
// field. A refused input shows a message box (the palette's title as its
// caption) and puts the focus back into the numeral field. Either way the
// numeral field is emptied (by writing the palette's data to its controls)
// and ">>" is disabled. Answers whether something was inserted.
bool outputRomanNumeral(CWnd& palette, std::string& input, CEdit& textField);

// The numeral field's change: reads the palette's controls, then enables ">>"
// exactly when the field holds text.
void onRomanInputChanged(CWnd& palette, const std::string& input);
