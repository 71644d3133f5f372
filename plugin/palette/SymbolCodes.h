// The symbol keyboard of the palette: 53 buttons, each inserting a text
// control code into the text field at the caret. Most glyphs exist only in
// the own shape font, so those codes make sense only under the style "ZOR".
#pragma once

#include <array>
#include <string>


enum class SymbolKind {
    Mode,     // push-like check box: opening code when up before the click, closing code when down
    Dual,     // own-font code under the kept style "ZOR", else the host's built-in code
    OwnFont,  // inserts only while the style box reads "ZOR"
    Greek,    // a letter of the Symbol font: inserts without a test
};

struct SymbolButton {
    int id;
    SymbolKind kind;
    const char* code;       // opening code (Mode), own-font code (Dual), the code (others)
    const char* otherCode;  // closing code (Mode), host code (Dual), null (others)
};

const std::array<SymbolButton, 53>& symbolButtons();
// The button `id`; null for an id that is not a symbol button.
const SymbolButton* findSymbolButton(int id);

// Index of a mode button in the palette's mode states: 8029 superscript 0,
// 8030 subscript 1, 8031 overline 2, 8032 underline 3; -1 for others.
int modeStateIndex(int id);
inline constexpr int kDiameterButton = 8033;

// Runs of consecutive symbol-button ids, for the palette's message table.
struct IdRange {
    int first, last;
};
inline constexpr std::array<IdRange, 9> kSymbolButtonRanges = {{
    {8012, 8012}, {8025, 8037}, {8039, 8040}, {8042, 8042}, {8045, 8045},
    {8047, 8047}, {8049, 8052}, {8061, 8084}, {8086, 8091},
}};

// The code a click inserts, from the mode state before the click, the kept
// style name (the style of the preview entity) and the style box's text;
// empty when the click inserts nothing.
std::string symbolCodeFor(const SymbolButton& button, bool modeWasOn, const std::string& keptStyleName,
                          const std::string& styleBoxText);

// What a click of symbol button `id` inserts; empty when it inserts nothing
// (not a symbol button, or an own-font button under another style). Mode
// buttons decide by `modeStates` (8029..8032) as they were before the
// click, dual buttons by the kept style name (the preview's style), own-font
// buttons by the style box's text.
std::string symbolClickCode(int id, const int (&modeStates)[4], const std::string& keptStyleName,
                            const std::string& styleBoxText);
