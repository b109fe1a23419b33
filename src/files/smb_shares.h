// The Samba share table of the server host: which server directory a share
// exports.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/strings.h"

namespace qor {

// The Samba configuration files, tried in this order; the first that can be
// read is used and the others are not consulted.
inline constexpr const char* kSmbConfPaths[] = {
    "/etc/samba/smb.conf",
    "/etc/smb.conf",
    "/server/samba/lib/smb.conf",
};
inline constexpr const char* kSmbConfMissing = "smb.conf nicht gefunden";

struct SmbShare {
  std::string name;
  std::string path;
};
using ShareTable = std::vector<SmbShare>;

// The lines of a configuration text, each trimmed of bytes below 33 and
// followed by one blank (so that no line is empty).
TextList SmbConfLines(std::string_view text);

// SmbConfLines of the first readable configuration file; false when none
// could be read.
bool ReadSmbConfLines(TextList& lines);

// The path of the share `name` (ASCII case ignored) in the configuration
// lines: the first non-empty path line (value cut to 200 characters) of the
// first section of that name that has one; empty when none.
std::string SharePathFromLines(const TextList& lines, std::string_view name);

// The table of all shares in the configuration lines: per share section its
// first path line (value cut to 254 characters); a later section of the same
// name replaces the earlier entry in its place.
ShareTable SharesFromLines(const TextList& lines);

// SharePathFromLines over the host's configuration; sets `error` to
// "smb.conf nicht gefunden" when no configuration file can be read.
std::string GetSharePfad(std::string_view name, std::string& error);

// Fills `table` (cleared first) from the host's configuration; writes the
// trace line "smb.conf nicht gefunden" when there is none. True when the
// table holds at least one share.
bool LoadSmbShares(ShareTable& table);

}  // namespace qor
