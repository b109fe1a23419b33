// The entry point that reports which build of the library is installed.

#include "frame/args.h"
#include "frame/case_tables.h"
#include "frame/export.h"
#include "frame/guard.h"
#include "version/version.h"

using namespace qor;

// The key is trimmed in place first, as fn_Trim does.
QOR_EXPORT char* fn_Version(char* key) {
  return GuardText(__func__, [&] { return VersionInfo(ArgText(TrimInPlace(key))); });
}
