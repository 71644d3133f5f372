// The characters of a drawing's text string: code page 1251 bytes, the
// control codes (%%nnn, %%c %%d %%p, %%o %%u, %%%) and the escapes of
// characters the code page lacks (\U+XXXX, and \M+nXXXX for a double-byte
// character of an East Asian code page).
#pragma once

#include <string_view>
#include <vector>

namespace kestrin::render {

struct TextItem {
    enum Kind {
        Byte,     // a code page 1251 character (value: the byte)
        Unicode,  // an escaped character (value: its code point)
        Shape,    // %%nnn: the font's shape nnn
        Symbol,   // %%c %%d %%p (value: 'c', 'd' or 'p')
        Over,     // %%o: the line over toggles
        Under,    // %%u: the line under toggles
    } kind;
    int value;
};

// %%nnn takes one to three digits; %%x of any other letter, and an escape
// that is not well formed, stay as typed.
std::vector<TextItem> parseTextCodes(std::string_view text);

// The code point of the double-byte character `code` (two bytes, high first)
// of \M+n's code page n: 1 Japanese (932), 2 traditional Chinese (950),
// 3 Korean (949), 4 Korean Johab (1361), 5 simplified Chinese (936); 0 when
// there is none.
char32_t multiByteCharacter(int page, unsigned code);

}  // namespace kestrin::render
