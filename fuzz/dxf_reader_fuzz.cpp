// Feeds arbitrary bytes to the DXF reader: each input must end in a document
// or a DxfError, never a crash, a hang or another exception. A document that
// reads must also write and read back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/dxf/DxfFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrin::dxf;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const Document doc = readDxf(bytes, "fuzz.dxf");
        const std::string once = writeDxf(doc);
        const std::string twice = writeDxf(readDxf(once, "written.dxf"));
        if (once != twice) std::abort();  // the writer's output must read back unchanged
    } catch (const DxfError&) {
    }
    return 0;
}
