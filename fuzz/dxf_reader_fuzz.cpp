// Feeds arbitrary bytes to the DXF reader, ASCII or binary, of any version:
// each input must end in a document or a DxfError, never a crash, a hang or
// another exception. A document that reads must write and read back to the
// same bytes, and so must the same document turned into another version.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/dxf/DxfFile.h"
#include "host/dxf/VersionChange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrin::dxf;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Document doc;
    try {
        doc = readDxf(bytes, "fuzz.dxf");
    } catch (const DxfError&) {
        return 0;
    }
    try {
        const std::string once = writeDxf(doc);
        const std::string twice = writeDxf(readDxf(once, "written.dxf"));
        if (once != twice) std::abort();  // the writer's output must read back unchanged
    } catch (const DxfError&) {
        // A document that reads may still hold what cannot be written (a code
        // page the writer lacks is refused by the reader first); never more.
    }
    // The last byte picks a version to convert to.
    const auto& versions = knownVersions();
    const DxfVersion& target = versions[size == 0 ? 0 : data[size - 1] % versions.size()];
    try {
        changeVersion(doc, target);
        const std::string converted = writeDxf(doc);
        const Document back = readDxf(converted, "converted.dxf");
        if (writeDxf(back) != converted) std::abort();
    } catch (const DxfError&) {
    }
    return 0;
}
