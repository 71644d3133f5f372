// Whether the program's standard streams are terminals: input a person
// types at, error output a person watches (progress shown in place).
#pragma once

namespace kestrin::process {

bool standardInputIsTerminal();
bool standardErrorIsTerminal();

}  // namespace kestrin::process
