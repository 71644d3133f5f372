// System variables of the current drawing.
//
// Readers answer 0 when the host gave the value, 3 when it refused the
// variable (the out value is then left as it was). Writers answer true
// exactly when the host accepted the value. Numbers are always written as
// reals (RTREAL), also for integer variables; texts as RTSTR.
#pragma once

#include <string>

int getStringVar(const char* name, std::string& value);
int getRealVar(const char* name, double& value);
int getShortVar(const char* name, int& value);
bool setRealVar(const char* name, double value);
bool setStringVar(const char* name, const std::string& value);

// Answers of the readers.
inline constexpr int kVarOk = 0;
inline constexpr int kVarRefused = 3;
