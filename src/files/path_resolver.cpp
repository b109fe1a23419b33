#include "files/path_resolver.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <optional>

#include "files/config_lines.h"
#include "files/smb_shares.h"
#include "files/trace.h"
#include "frame/strings.h"

namespace qor {

namespace {

constexpr const char* kInvalidPath = "Ungueltige Pfadangabe";
constexpr const char* kTooLong = "8Pfadangabe/Fehlermeldung zu lang!";
constexpr const char* kNoPath = "8Keine Pfadangabe vorhanden!";

// Set once the error log has said why ./aliases.conf is ignored.
std::atomic<bool> g_alias_file_noted{false};

struct Resolution {
  std::string argument;
  std::string full_path;
  std::string error;
  bool share_form = false;
};

// The location's own forms: host:path, \\host\share\... and host:share\...
void AnalyseForm(Resolution& r, const ShareLookup& shares) {
  size_t p;
  if (r.argument.starts_with("\\\\")) {
    r.argument.erase(0, 2);
    p = r.argument.find('\\');
  } else {
    p = r.argument.find(':');
  }
  if (p == std::string::npos) {
    r.error = kInvalidPath;
    return;
  }
  const std::string rest = r.argument.substr(p + 1);
  if (rest.empty() || rest.find(':') != std::string::npos || rest.front() == '/' ||
      rest.front() == '\\') {
    r.full_path = rest;
    return;
  }
  const size_t q = rest.find('\\');
  if (q == std::string::npos) return;  // a relative name: nothing to resolve
  r.share_form = true;
  const std::string name = rest.substr(0, q);
  const std::string base = shares(name, r.error);
  if (base.empty()) {
    // No such share: a one-letter name is a drive letter.
    r.full_path = name.size() == 1 ? name + ":\\" + rest.substr(q + 1) : r.argument;
    return;
  }
  r.full_path = base.ends_with(":\\") ? base + rest.substr(q + 1) : base + rest.substr(q);
  if (r.full_path.front() == '/') ReplaceAll("\\", "/", r.full_path);
}

// A file (not a directory) in `dir` whose name equals `name` but for the case
// of ASCII letters; only names with a "." are considered.
std::optional<std::string> FindOtherCase(const std::string& dir, std::string_view name) {
  DIR* listing = opendir(dir.c_str());
  if (listing == nullptr) return std::nullopt;
  std::optional<std::string> hit;
  try {
    while (dirent* entry = readdir(listing)) {
      std::string_view entry_name(entry->d_name);
      if (entry_name.find('.') == std::string_view::npos) continue;
      if (!EqualsIgnoreAsciiCase(entry_name, name)) continue;
      struct stat st;
      std::string entry_path = dir + std::string(entry_name);
      if (stat(entry_path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
      hit = std::string(entry_name);
      break;
    }
  } catch (...) {
    closedir(listing);
    throw;
  }
  closedir(listing);
  return hit;
}

std::string Classify(const Resolution& r) {
  const std::string& full = r.full_path;
  const char found = r.share_form ? '1' : '5';
  const char only_dir = r.share_form ? '2' : '6';
  if (access(full.c_str(), F_OK) == 0) return found + full;
  const size_t sep = full.find_last_of("/\\");
  if (full.front() == '/') {
    const std::string dir = full.substr(0, sep + 1);
    if (auto hit = FindOtherCase(dir, std::string_view(full).substr(sep + 1))) {
      return found + dir + *hit;
    }
  }
  const std::string dir = sep == std::string::npos ? full : full.substr(0, sep + 1);
  struct stat st;
  if (stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return only_dir + full;
  return '0' + full;
}

}  // namespace

void ReplaceAll(std::string_view old_text, std::string_view new_text, std::string& text) {
  if (old_text.empty()) return;
  if (new_text.find(old_text) != std::string_view::npos) {
    // Replacing again from the start would never end: one pass instead.
    size_t pos = 0;
    while ((pos = text.find(old_text, pos)) != std::string::npos) {
      text.replace(pos, old_text.size(), new_text);
      pos += new_text.size();
    }
    return;
  }
  size_t pos = 0;
  // Nothing before the last hit can match again (new_text holds no old_text,
  // and a match reaching back into new_text starts at most old-1 before it).
  while ((pos = text.find(old_text, pos)) != std::string::npos) {
    text.replace(pos, old_text.size(), new_text);
    pos = pos >= old_text.size() ? pos - (old_text.size() - 1) : 0;
  }
}

std::string ResolvePfad(std::string_view path, const ShareLookup& shares) {
  Resolution r;
  r.argument = std::string(path);

  // Alias step: ./aliases.conf in the working directory, keyed by the
  // second ":" field of the location. Outside the resolver's own catch: an
  // alias file that cannot be read is reported to the caller.
  const AliasList aliases = ReadAliasFile(kAliasFile, g_alias_file_noted);
  if (!aliases.empty()) {
    const std::string key = ListItem(r.argument, 1, ':', BlanksInItems);
    const std::string_view value = AliasValue(aliases, key);
    if (!value.empty()) {
      r.argument = std::string(value);
      if (r.argument.front() == '/') r.full_path = r.argument;
    }
  }

  std::string result;
  try {
    if (r.full_path.empty()) AnalyseForm(r, shares);
    if (!r.full_path.empty() && r.error.empty()) result = Classify(r);
    if (!r.error.empty()) result = "8" + r.error;
    if (result.size() > kMaxResolvedLength) result = kTooLong;
    if (result.empty()) result = kNoPath;
  } catch (...) {
    try {
      TraceOrLog("GetAbsolutePfad EXCEPT: " + result);
    } catch (...) {
    }
    // Kept as built so far, within the length every caller relies on.
    if (result.size() > kMaxResolvedLength) result = kTooLong;
  }
  return result;
}

std::string GetAbsolutePfad(std::string_view path) {
  return ResolvePfad(path, [](std::string_view share, std::string& error) {
    return GetSharePfad(share, error);
  });
}

}  // namespace qor
