// The command line: printing, the host commands a module may run, and the
// display refresh.
#pragma once

// printf-style output on the command line (CP1251). Answers the number of
// bytes printed.
int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

#include <string>

#include "host/api/AdsTypes.h"

// Runs a host command given as (type, value) pairs ended by 0 or RTNONE:
// acedCommand(RTSTR, "_regen", 0). The host runs REGEN; any other command
// prints the host's unknown-command line and answers RTERROR.
int acedCommand(int type, ...);

// Redraws the display (counted).
void acedUpdateDisplay();

namespace kestrin::host {
// The host's REGEN: counts the regeneration and prints its line.
void regenerate();
// Prints the host's line for a command it does not know.
void printUnknownCommand(const std::string& name);
}  // namespace kestrin::host
