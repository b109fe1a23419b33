// Reading the small host files that the path functions consult: the database
// alias files and the Samba configuration. Files are read whole and split
// into lines at LF, CR or CR LF.
#pragma once

#include <sys/stat.h>

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "frame/strings.h"

namespace qor {

// The lines of text; a line break at the very end adds no empty line.
TextList SplitTextLines(std::string_view text);

// The host's configuration files are small: one longer than this is not read.
inline constexpr size_t kMaxConfigFile = 1 << 20;

// Reads a whole regular file of at most kMaxConfigFile bytes into `text`: 0,
// or the errno of the failed open or read (then `text` is empty). Anything
// but a regular file gives EINVAL (EISDIR for a directory) without waiting
// on it, a longer file EFBIG.
int ReadWholeFile(const std::string& path, std::string& text);

// One line of an alias file: name "=" value, both trimmed.
struct AliasEntry {
  std::string name;
  std::string value;
};
using AliasList = std::vector<AliasEntry>;

// The alias lines of a file's text: each line trimmed of bytes below 33;
// lines starting with "#" dropped; every other line split at its first "="
// into a trimmed name and a trimmed value (a line without "=" has an empty
// value, an empty line an empty name too).
AliasList ParseAliasText(std::string_view text);

// Why an alias file of this status is not to be trusted, or the empty text
// when it is: it must be a regular file that belongs to the process's
// effective user or root and that others may not write; its group may.
// Anyone else who could write it could point the server's path functions at
// any file the server can reach.
std::string UntrustedReason(const struct stat& st);

// The alias list of the file at `path`: empty when no entry of that name
// exists, and when the file is not to be trusted (UntrustedReason, or a
// symbolic link whose own owner is neither that user nor root); the error
// log then says why, once per process for each `noted` flag. IoError when
// it exists but cannot be read.
AliasList ReadAliasFile(const std::string& path, std::atomic<bool>& noted);

// The value of the first entry whose name equals `name` ignoring the case of
// ASCII letters; empty when there is none.
std::string_view AliasValue(const AliasList& aliases, std::string_view name) noexcept;

}  // namespace qor
