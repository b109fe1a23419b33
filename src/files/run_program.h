// Starting the host programs df, chmod and hostname. No shell is involved:
// each argument reaches the program as one argv entry, so no caller text can
// act as shell syntax.
#pragma once

#include <string>
#include <vector>

namespace qor {

// How long a host program may take, in milliseconds. df, chmod and hostname
// answer within milliseconds; one that hangs (on a network file system that
// does not answer, say) would otherwise hold the server's thread for ever.
inline constexpr int kProgramTimeLimitMs = 5000;

// Starts `argv[0]` (looked up in PATH) with the arguments `argv`, standard
// input and error on /dev/null and standard output into `output` (pass
// nullptr to discard it), and waits for it to end. Returns the wait status
// (as waitpid gives it; -1 when the child was reaped elsewhere). Raises
// IoError when the program cannot be started, and when it has not ended
// within `limit_ms`: then the program and every process it started in its
// process group (it runs in a group of its own) are killed and the program
// is reaped. No descriptor of the call stays open, and none leaks into the
// child.
int RunProgram(const std::vector<std::string>& argv, std::string* output,
               int limit_ms = kProgramTimeLimitMs);

}  // namespace qor
