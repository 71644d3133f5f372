// Whether the program's standard input is a terminal a person types at.
#pragma once

namespace kestrin::process {

bool standardInputIsTerminal();

}  // namespace kestrin::process
