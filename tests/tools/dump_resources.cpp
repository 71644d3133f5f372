// Prints the module's bitmap and icon resources as text for check_bitmaps.py:
// one line per image, "bitmap|icon ID WIDTH HEIGHT" followed by each pixel
// as RRGGBB, rows from the top.
#include <cstdio>

#include "platform/ui/ResourceChain.h"

namespace {
void dump(const char* kind, const kestrin::ui::ImageResource& image) {
    std::printf("%s %d %d %d", kind, image.id, image.width, image.height);
    for (COLORREF c : image.pixels) std::printf(" %02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    std::printf("\n");
}
}  // namespace

int main() {
    const kestrin::ui::ResourceTable* table = kestrinModuleResources();
    for (const auto& image : table->bitmaps) dump("bitmap", image);
    for (const auto& image : table->icons) dump("icon", image);
    return 0;
}
