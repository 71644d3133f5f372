// A command line split into its words by the rules of the host platform's C
// runtime. The program comes first and ends at the first blank or tab outside
// double quotes (quotes in it only switch blanks off and on; backslashes are
// kept, they separate folders there). The arguments follow, split at blanks
// and tabs outside quotes; 2n backslashes before a quote give n backslashes
// and the quote opens or closes a quoted part, 2n+1 give n and a literal
// quote, and "" inside a quoted part is one literal quote.
#pragma once

#include <string>
#include <vector>

namespace kestrin::shell {

// The words of `commandLine`, the program first; empty for a blank line.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

}  // namespace kestrin::shell
