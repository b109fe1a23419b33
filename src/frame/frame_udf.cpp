// Entry points of the library frame.

#include "frame/args.h"
#include "frame/export.h"
#include "frame/guard.h"
#include "frame/version.h"
#include "text/text_functions.h"

using namespace qor;

// The key is trimmed in place first, as fn_Trim does.
QOR_EXPORT char* fn_Version(char* key) {
  return GuardText(__func__, [&] { return VersionInfo(ArgText(TrimInPlace(key))); });
}
