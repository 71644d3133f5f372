#include "platform/fonts/FontService.h"

namespace kestrin::fonts {

namespace {
FontService* installed = nullptr;
}

FontService& FontService::current() { return installed ? *installed : system(); }

void FontService::install(FontService* service) { installed = service; }

}  // namespace kestrin::fonts
