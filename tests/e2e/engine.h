// The engine test bed: an embedded Firebird 3 engine with a private root
// directory whose firebird.conf lets it load the freshly built library, and a
// fresh database in a temporary directory with the declaration script
// applied. The process works in that directory, so the library's error log
// lands there too.
#pragma once

#include <string>

#include "fb_session.h"
#include "private_root.h"  // RunCommand

namespace fbtest {

FbSession& Db();
// The temporary directory that is the working directory during the tests.
const std::string& WorkDir();
// The test database; more attachments to it: FbSession(DatabasePath()).
const std::string& DatabasePath();

// Helpers the engine test files share (engine_util.cpp).

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes bytes to a file, making its directory first; false when it fails.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The library's error log in the working directory, and what it holds.
std::string ErrorLogPath();
std::string ErrorLog();

// Runs a one-value query on an empty error log; `log` gets what it wrote.
SqlValue ScalarLogged(const std::string& expr, std::string& log);
// The text or number of a one-value query; a NULL fails the test.
std::string Text(const std::string& expr);
double Number(const std::string& expr);

// The log holds exactly one record and it ends with `record`.
void ExpectOneRecord(const std::string& log, const std::string& record);

// A SQL string literal of text, inner quotes doubled.
std::string Quote(const std::string& text);
// SQL expression of a text with LF and CR in it: one literal with "~" and
// "^" standing for them (a chain of thousands of concatenations would be too
// deep for the engine's parser). The text must hold neither character.
std::string SqlText(const std::string& text);

}  // namespace fbtest
