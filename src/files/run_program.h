// Starting the host programs df, chmod and hostname. No shell is involved:
// each argument reaches the program as one argv entry, so no caller text can
// act as shell syntax.
#pragma once

#include <string>
#include <vector>

namespace qor {

// Starts `argv[0]` (looked up in PATH) with the arguments `argv`, standard
// input and error on /dev/null and standard output into `output` (pass
// nullptr to discard it), and waits for it to end. Returns the wait status
// (as waitpid gives it; -1 when the child was reaped elsewhere). Raises
// IoError when the program cannot be started. No descriptor of the call
// stays open, and none leaks into the child.
int RunProgram(const std::vector<std::string>& argv, std::string* output);

}  // namespace qor
