// The inline codes of multiline text (MTEXT) read into tokens, each with
// the formatting in effect: \P new paragraph (also \N, \X, a line feed and
// ^J), \~ a space that does not break, \f \F font, \H height, \W width
// factor, \Q obliquing, \T tracking, \C \c colour, \A vertical alignment,
// \L \l \O \o \K \k lines under, over and through, \S stacked text (a^b
// without a bar, a/b with a bar, a#b diagonal), \p paragraph settings
// (passed over), braces for local formatting, \\ \{ \} the characters
// themselves. The text of a token keeps the %% codes and the \U+ and \M+
// escapes (TextCodes.h reads them); any other backslash stays as typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/Colors.h"
#include "render/FontLibrary.h"

namespace kestrin::render {

struct MTextFormat {
    std::optional<FontRequest> font;  // none: the style's font
    double height = 1;                // drawing units
    double widthFactor = 1;
    double obliqueDeg = 0;
    double tracking = 1;
    bool underline = false;
    bool overline = false;
    bool strike = false;
    std::optional<ColorChoice> color;   // none: the entity's colour
    int align = 0;                    // \A: 0 bottom (baseline), 1 middle, 2 top
};

struct MTextToken {
    enum Kind {
        Text,       // `text` (no spaces in it)
        Space,      // a space; `nonBreaking` for \~
        Tab,
        Paragraph,
        Stack,      // `text` over `lower`, `stack` '^', '/' or '#'
    } kind = Text;
    std::string text;
    std::string lower;
    char stack = 0;
    bool nonBreaking = false;
    MTextFormat format;
};

std::vector<MTextToken> parseMText(std::string_view content, const MTextFormat& initial);

}  // namespace kestrin::render
