// Feeds arbitrary bytes to the session-script reader: each input must end in
// a script or a ScriptError that names a line ("fuzz.ks:3: ..."), never a
// crash, a hang or another exception. Every line is also read as typed at a
// terminal, with the same rule.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/session/ActionParser.h"
#include "platform/session/ScriptError.h"
#include "platform/session/ScriptSource.h"

namespace {

// "fuzz.ks:N: ..." with N a line number of the input.
bool namesALine(const std::string& message, std::size_t lines) {
    constexpr std::string_view kName = "fuzz.ks:";
    if (message.compare(0, kName.size(), kName) != 0) return false;
    std::size_t i = kName.size(), n = 0;
    if (i >= message.size() || message[i] < '1' || message[i] > '9') return false;
    for (; i < message.size() && message[i] >= '0' && message[i] <= '9'; ++i) n = n * 10 + (message[i] - '0');
    return i < message.size() && message[i] == ':' && n >= 1 && n <= lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrin::session;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    try {
        ScriptSource script("fuzz.ks", text);
        while (script.next({})) {
        }
    } catch (const ScriptError& e) {
        if (!namesALine(e.what(), lines)) std::abort();
    }
    std::size_t start = 0, lineNo = 0;
    while (start <= text.size()) {
        const std::size_t eol = std::min(text.find('\n', start), text.size());
        ++lineNo;
        try {
            parseTypedAction(text.substr(start, eol - start), "fuzz.ks:" + std::to_string(lineNo));
        } catch (const ScriptError& e) {
            if (e.origin() != "fuzz.ks:" + std::to_string(lineNo)) std::abort();
        }
        start = eol + 1;
    }
    return 0;
}
