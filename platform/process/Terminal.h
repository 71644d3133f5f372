// Whether the program's standard streams are a terminal (a person typing).
#pragma once

namespace kestrin::process {

bool standardInputIsTerminal();

}  // namespace kestrin::process
