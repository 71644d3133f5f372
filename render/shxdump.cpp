// shxdump FONT.shx: each shape as the renderer draws it, one line a shape:
// NUMBER ADVANCE_X ADVANCE_Y MIN_X MIN_Y MAX_X MAX_Y STROKES (font units).
// Used to check the shape reader against another reading of the same font.
#include <cstdio>
#include <iostream>

#include "platform/fs/FileSystem.h"
#include "render/ShxFont.h"

int main(int argc, char** argv) {
    using namespace kestrin;
    if (argc != 2) {
        std::cerr << "usage: shxdump FONT.shx\n";
        return 2;
    }
    auto bytes = fs::FileSystem::current().readFile(argv[1]);
    if (!bytes) {
        std::cerr << "shxdump: " << bytes.error().message() << "\n";
        return 2;
    }
    try {
        const auto font = render::ShxFont::parse(*bytes, argv[1]);
        std::printf("font %d %d\n", font->above(), font->below());
        for (int n = 1; n < 65536; ++n) {
            const render::Glyph* g = font->glyph(n);
            if (!g) continue;
            const render::Box& b = g->box;
            if (b.empty()) std::printf("%d %.4f %.4f - - - - 0\n", n, g->advance.x, g->advance.y);
            else
                std::printf("%d %.4f %.4f %.4f %.4f %.4f %.4f %zu\n", n, g->advance.x, g->advance.y, b.minX, b.minY,
                            b.maxX, b.maxY, g->strokes.size());
        }
    } catch (const render::FontError& e) {
        std::cerr << "shxdump: " << e.what() << "\n";
        return 2;
    }
    return 0;
}
