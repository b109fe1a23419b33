// An embedded Firebird 3 engine with a private root directory, as the engine
// tests and the engine benchmarks use it: links to the installed engine, a
// firebird.conf that lets it load UDF libraries from given directories, a
// plugins.conf whose UDR path is a given directory, and a fresh database with
// a declaration script applied, the way an administrator installs the
// functions. Nothing outside the temporary directory is touched.
#pragma once

#include <string>

namespace fbtest {

struct PrivateRootOptions {
  std::string name_prefix;  // of the temporary directory, e.g. "qor_engine_"
  std::string udf_access;   // directories after "UdfAccess = Restrict", ";"-separated
  std::string udr_path;     // the UDR engine's module path; empty: the installed plugins.conf
  std::string script;       // declaration script applied to the new database
};

struct PrivateRoot {
  std::string base;      // the temporary directory (removed by RemovePrivateRoot)
  std::string work;      // base/work: FIREBIRD_TMP, and a working directory to use
  std::string database;  // base/<name>.fdb
};

// The installed Firebird root whose engine runs: $QOR_FIREBIRD_ROOT when set
// (scripts/fb4_run.sh sets it to Firebird 4's), else the one of the build.
std::string FirebirdRoot();

// Makes the root and the database and points FIREBIRD, FIREBIRD_LOCK and
// FIREBIRD_TMP of this process at it. Throws std::runtime_error with isql's
// output when the database cannot be set up.
PrivateRoot MakePrivateRoot(const PrivateRootOptions& options);
// Creates a database whose default character set is `charset` (empty: none
// named, i.e. NONE) and applies a script to it with isql, as SYSDBA in the
// current root; `scratch` is a directory for isql's input. Throws
// std::runtime_error with isql's output when either fails.
void CreateDatabase(const std::string& path, const std::string& charset, const std::string& script,
                    const std::string& scratch);
// Removes it unless QOR_KEEP_TEMP is set.
void RemovePrivateRoot(const PrivateRoot& root);

// Runs a shell command; returns its exit status and puts its output
// (standard output and error) in `out`.
int RunCommand(const std::string& command, std::string& out);
// Writes text to a file; throws std::runtime_error when it cannot.
void WriteText(const std::string& path, const std::string& text);

}  // namespace fbtest
