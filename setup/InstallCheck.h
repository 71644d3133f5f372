// What the setup checks before it registers anything: that every file of the
// installed file set is there to copy, and that the target folder is there
// or can be made, every missing level of it.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Framework.h"

// The messages (CP1251) naming each file or folder in the way of an
// installation from `sourceDir` into `target`; empty when nothing is.
std::vector<CString> installationProblems(const CString& sourceDir, const CString& target);

// Why the folder `target` (a Windows path) can neither be found nor made,
// or empty when it is there or can be made.
CString targetFolderProblem(const CString& target);

// The OS's reason for a failure (UTF-8, as a rule plain ASCII) in the
// setup's code page.
CString osReasonText(const std::string& utf8);
