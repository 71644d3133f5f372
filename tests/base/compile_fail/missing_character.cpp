// Must not compile: the check mark has no code page 1251 form.
#include "base/Cp1251.h"

using namespace kestrin;

const char* const kBad = "готово ✓"_cp;
