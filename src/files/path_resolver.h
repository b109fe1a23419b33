// Resolving a database location, in every form the application's clients
// write one, to the absolute path of the file on the server host, classified
// by a leading status character:
//   "5" the entry exists (or a file whose name differs only in the case of
//       ASCII letters exists in the same directory; then its own name is used)
//   "6" the entry does not exist but its directory does
//   "0" neither exists
//   "1" / "2" as "5" / "6", for a location in the Samba share form
//   "8" the location cannot be resolved; a message follows
// Forms: host:/server/path, host:alias (from ./aliases.conf in the working
// directory), host:share\dir\file and \\host\share\dir\file (through the
// Samba configuration), host:C:\dir\file (kept as it is).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qor {

inline constexpr const char* kAliasFile = "./aliases.conf";
// A resolved path text never has more characters than this.
inline constexpr size_t kMaxResolvedLength = 250;

// Gives the path of a share, or the empty text; sets the error text when the
// share configuration cannot be read.
using ShareLookup = std::function<std::string(std::string_view share, std::string& error)>;

// The resolved path text of `path`, looking shares up through GetSharePfad.
// Raises IoError when ./aliases.conf exists but cannot be read; one that is
// not to be trusted (UntrustedReason) is ignored.
std::string GetAbsolutePfad(std::string_view path);
// The same with another share lookup.
std::string ResolvePfad(std::string_view path, const ShareLookup& shares);

// Replaces every occurrence of `old_text` in `text` by `new_text`, searching
// from the start each time (so "  " by " " leaves no two blanks). An empty
// `old_text` changes nothing.
void ReplaceAll(std::string_view old_text, std::string_view new_text, std::string& text);

}  // namespace qor
