// Network paths: the \\host\share\... name under which Windows clients reach
// a file of the server host through a Samba share.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "files/smb_shares.h"
#include "frame/udf_result.h"

namespace qor {

// The alias file of the network paths (an absolute path, unlike the
// resolver's ./aliases.conf).
inline constexpr const char* kServerAliasFile = "/opt/firebird/aliases.conf";
// The longest network path handed back: the longest text the engine hands on
// from a function result (its VARCHAR limit); a longer one is answered with
// the empty text.
inline constexpr size_t kMaxUncLength = kMaxTextResult;

// The server's host name: the output of the hostname program, its lines
// joined and trimmed. Raises IoError when the program cannot be started.
std::string GetHostName();

// The directory and the name joined with "/" (none added after a trailing
// "/"); the name alone when the directory is empty.
std::string JoinPfad(std::string_view directory, std::string_view name);

// Orders shares by path, byte by byte ignoring the case of ASCII letters, a
// path that is a prefix of the other first. Negative, zero or positive.
int CompareSharePfad(const ShareTable& table, size_t i, size_t j);

// The network path of a server path (or drive path such as C:\daten\x.fdb)
// through `shares`: the most specific share whose path contains it, behind
// "\\" and the host name. Empty when no share contains it, and for any
// other form. `host` is asked only when a share matches.
std::string UncPathFromShares(std::string path, ShareTable shares,
                              const std::function<std::string()>& host);

// The network path of a server path or of an alias of
// /opt/firebird/aliases.conf, through the host's Samba configuration. A
// location already in the network form is answered unchanged. Empty when the
// answer would be longer than kMaxUncLength.
std::string GetUNCPfad(std::string_view path);

}  // namespace qor
