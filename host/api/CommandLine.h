// The command line: printing, the host commands a module may run, and the
// display refresh.
#pragma once

// printf-style output on the command line (CP1251). Answers the number of
// bytes printed.
int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

#include <string>

#include "base/Signal.h"
#include "host/api/AdsTypes.h"

// Runs a host command given as (type, value) pairs ended by 0 or RTNONE:
// acedCommand(RTSTR, "_regen", 0). The host runs REGEN; any other command
// prints the host's unknown-command line and answers RTERROR.
int acedCommand(int type, ...);

// Redraws the display (counted).
void acedUpdateDisplay();

namespace kestrin::host {

// What the command line tells its views, in the order it happens (CP1251):
//   promptShown  a prompt, before the person's answer is read.
//   printed      text printed (acutPrintf, the host's own lines), once per
//                print: it may hold several lines or part of one.
//   inputEchoed  the echo of what the person entered (a word, a point, "").
// Nothing fires for an empty prompt or an empty print.
struct CommandLineEvents {
    Signal<const std::string&> promptShown;
    Signal<const std::string&> printed;
    Signal<const std::string&> inputEchoed;
};
CommandLineEvents& commandLineEvents();

// Show, print and echo on the command line: into the session transcript,
// then to the views.
void showPrompt(const std::string& cp1251);
void print(const std::string& cp1251);
void echoInput(const std::string& cp1251);

// The host's REGEN: counts the regeneration and prints its line.
void regenerate();
// Prints the host's line for a command it does not know.
void printUnknownCommand(const std::string& name);
}  // namespace kestrin::host
