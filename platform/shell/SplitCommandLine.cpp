#include "platform/shell/SplitCommandLine.h"

namespace kestrin::shell {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One argument from `at`, which stands on a non-blank character.
std::string nextArgument(const std::string& line, std::size_t& at) {
    std::string word;
    bool quoted = false;
    while (at < line.size()) {
        const char c = line[at];
        if (!quoted && isBlank(c)) break;
        if (c == '\\') {
            std::size_t count = 0;
            while (at < line.size() && line[at] == '\\') ++count, ++at;
            if (at < line.size() && line[at] == '"') {
                word.append(count / 2, '\\');
                if (count % 2 == 1) {
                    word += '"';
                    ++at;
                }
            } else {
                word.append(count, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                word += '"';
                at += 2;
                continue;
            }
            quoted = !quoted;
            ++at;
            continue;
        }
        word += c;
        ++at;
    }
    return word;
}

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size() && isBlank(line[at])) ++at;
    if (at == line.size()) return words;

    // The program: no escapes; quotes only switch blanks off and on.
    std::string program;
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') quoted = !quoted;
        else if (!quoted && isBlank(c)) break;
        else program += c;
    }
    words.push_back(program);

    for (;;) {
        while (at < line.size() && isBlank(line[at])) ++at;
        if (at >= line.size()) break;
        words.push_back(nextArgument(line, at));
    }
    return words;
}

}  // namespace kestrin::shell
