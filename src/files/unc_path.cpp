#include "files/unc_path.h"

#include <algorithm>
#include <atomic>

#include "files/config_lines.h"
#include "files/path_resolver.h"
#include "files/run_program.h"
#include "frame/strings.h"
#include "frame/case_tables.h"

namespace qor {

namespace {

bool StartsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix) noexcept {
  return text.size() >= prefix.size() && EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string GetHostName() {
  std::string output;
  RunProgram({"hostname"}, &output);
  std::string joined;
  for (const std::string& line : SplitTextLines(output)) joined += line;
  return std::string(TrimText(joined));
}

std::string JoinPfad(std::string_view directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
  std::string joined(directory);
  if (joined.back() != '/') joined.push_back('/');
  joined.append(name);
  return joined;
}

int CompareSharePfad(const ShareTable& table, size_t i, size_t j) {
  const std::string& a = table.at(i).path;
  const std::string& b = table.at(j).path;
  const size_t n = std::min(a.size(), b.size());
  for (size_t k = 0; k < n; ++k) {
    const auto ca = static_cast<unsigned char>(AsciiUpper(a[k]));
    const auto cb = static_cast<unsigned char>(AsciiUpper(b[k]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string UncPathFromShares(std::string path, ShareTable shares,
                              const std::function<std::string()>& host) {
  const char sep = path.starts_with('/') ? '/' : '\\';
  const size_t drive = path.find(":\\");  // 0-based: the drive letter is before it
  if (drive != 1 && sep != '/') return {};
  if (drive != std::string::npos && drive >= 1) path.erase(0, drive - 1);

  const size_t last = path.find_last_of("/\\");
  const std::string dir = last == std::string::npos ? std::string() : path.substr(0, last + 1);
  const std::string name = last == std::string::npos ? path : path.substr(last + 1);

  std::vector<size_t> order(shares.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t i, size_t j) {
    return CompareSharePfad(shares, i, j) < 0;
  });

  // From the greatest path down: a share inside another share wins.
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const SmbShare& share = shares[*it];
    std::string probe = share.path;
    if (!probe.ends_with(sep)) probe.push_back(sep);
    if (!StartsWithIgnoreAsciiCase(dir, probe)) continue;

    const std::string rest = JoinPfad(std::string_view(dir).substr(share.path.size()), name);
    std::string result = "\\\\" + host();
    if (!result.ends_with(sep)) result.push_back(sep);
    result += share.name;
    if (!result.ends_with(sep) && !rest.empty() && rest.front() != sep) result.push_back(sep);
    result += rest;
    if (!rest.empty() && rest.front() == sep) std::replace(result.begin(), result.end(), '/', '\\');
    return result;
  }
  return {};
}

namespace {

// Set once the error log has said why the server's alias file is ignored.
std::atomic<bool> g_server_alias_file_noted{false};

std::string Deliverable(std::string path) {
  return path.size() > kMaxUncLength ? std::string() : path;
}

}  // namespace

std::string GetUNCPfad(std::string_view path) {
  std::string argument(path);
  const AliasList aliases = ReadAliasFile(kServerAliasFile, g_server_alias_file_noted);
  const std::string_view value = AliasValue(aliases, argument);
  if (!value.empty()) argument = std::string(value);
  if (argument.starts_with("\\\\")) return Deliverable(argument);  // a network path already

  const char sep = argument.starts_with('/') ? '/' : '\\';
  const size_t drive = argument.find(":\\");
  if (drive != 1 && sep != '/') return {};  // before reading the share table

  ShareTable shares;
  if (!LoadSmbShares(shares)) return {};
  return Deliverable(
      UncPathFromShares(std::move(argument), std::move(shares), [] { return GetHostName(); }));
}

}  // namespace qor
