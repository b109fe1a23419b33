// The engine test bed: an embedded Firebird 3 engine with a private root
// directory whose firebird.conf lets it load the freshly built library, and a
// fresh database in a temporary directory with the declaration script
// applied. The process works in that directory, so the library's error log
// lands there too.
#pragma once

#include <string>

#include "fb_session.h"

namespace fbtest {

FbSession& Db();
// The temporary directory that is the working directory during the tests.
const std::string& WorkDir();
// The test database; more attachments to it: FbSession(DatabasePath()).
const std::string& DatabasePath();
// Runs a shell command; returns its exit status and puts its output in `out`.
int RunCommand(const std::string& command, std::string& out);

}  // namespace fbtest
