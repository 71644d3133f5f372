// Feeds arbitrary bytes to the REGEDIT4 reader: each input must end in a
// registry or a RegistryFileError, never a crash, a hang or another
// exception. A registry that reads must write and read back to the same
// keys and values, and its written text must be stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry/Regedit4.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrin::registry;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const Tree tree = readRegedit4(bytes, "fuzz.reg");
        const std::string once = writeRegedit4(tree, newlineOf(bytes));
        const Tree again = readRegedit4(once, "written.reg");
        if (!sameContent(tree, again)) std::abort();
        if (writeRegedit4(again, newlineOf(bytes)) != once) std::abort();
    } catch (const RegistryFileError&) {
    }
    return 0;
}
