// The text rules of the path functions: configuration lines, alias lists,
// the Samba share table, df output and network paths. No host file is read.
#include <gtest/gtest.h>

#include "files/config_lines.h"
#include "files/disk_space.h"
#include "files/file_ops.h"
#include "files/path_resolver.h"
#include "files/smb_shares.h"
#include "files/unc_path.h"

namespace qor {
namespace {

TEST(SplitTextLines, AnyLineBreakAndNoEmptyLastLine) {
  struct Case {
    std::string text;
    TextList lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\nb\r\n\r\n", {"a", "", "b", ""}},
      {"\r\r\n\n", {"", "", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << c.text;
}

TEST(AliasList, TrimmedNamesAndValuesFirstCaseInsensitiveMatchWins) {
  const AliasList aliases = ParseAliasText(
      "  # firma = /old/firma.fdb\r\n"
      "\tfirma =  /data/firma.fdb  \n"
      "FIRMA = /second.fdb\n"
      "leer =\n"
      "leer = /later.fdb\n"
      "noequals\n"
      "\n"
      "second = host2:/db/x.fdb = y\n");
  EXPECT_EQ(AliasValue(aliases, "Firma"), "/data/firma.fdb");
  EXPECT_EQ(AliasValue(aliases, "leer"), "");  // the first match decides, even when empty
  EXPECT_EQ(AliasValue(aliases, "noequals"), "");
  EXPECT_EQ(AliasValue(aliases, "second"), "host2:/db/x.fdb = y");
  EXPECT_EQ(AliasValue(aliases, "# firma"), "");
  EXPECT_EQ(AliasValue(aliases, "missing"), "");
  // The empty line is an entry with an empty name and value.
  ASSERT_EQ(aliases.size(), 7u);
  EXPECT_EQ(aliases[5].name, "");
  EXPECT_EQ(aliases[5].value, "");
}

// The Samba configuration of the examples: a global section, a share with a
// path, a share without one, and a printers section with a path.
const char* kSmbExample =
    "[global]\n"
    "   workgroup = FIRMA\n"
    "[daten]\n"
    "   path = /srv/daten\n"
    "[homes]\n"
    "   browseable = no\n"
    "[printers]\n"
    "   path = /var/spool/samba\n";

TEST(SmbShares, SharePathAndTableOfTheExample) {
  const TextList lines = SmbConfLines(kSmbExample);
  EXPECT_EQ(SharePathFromLines(lines, "DATEN"), "/srv/daten");
  EXPECT_EQ(SharePathFromLines(lines, "homes"), "/var/spool/samba");
  EXPECT_EQ(SharePathFromLines(lines, "printers"), "");
  EXPECT_EQ(SharePathFromLines(lines, "global"), "");
  const ShareTable table = SharesFromLines(lines);
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].name, "daten");
  EXPECT_EQ(table[0].path, "/srv/daten");
  EXPECT_EQ(table[1].name, "homes");
  EXPECT_EQ(table[1].path, "/var/spool/samba");
}

TEST(SmbShares, HeaderAndPathLineRules) {
  const TextList lines = SmbConfLines(
      "path = /before/any/share\n"
      "[Global]\n"
      "[printers2]\n"
      "  path = /p2\n"
      "[ daten ]\n"
      "  path = /spaced\n"
      "[empty]\n"
      "  path =   \n"
      "  path = /second/line\n"
      "[named]\n"
      "  pathname = /x\n"
      "[twice]\n"
      "  PATH=\t= /first\n"
      "[unclosed\n"
      "  path = /unclosed\n"
      "[TWICE]\n"
      "  path = /second\n"
      "; path = /comment\n");
  EXPECT_EQ(SharePathFromLines(lines, "printers2"), "");  // no share header of its own
  EXPECT_EQ(SharePathFromLines(lines, "daten"), "");
  EXPECT_EQ(SharePathFromLines(lines, " daten "), "/spaced");
  EXPECT_EQ(SharePathFromLines(lines, "empty"), "/second/line");
  EXPECT_EQ(SharePathFromLines(lines, "named"), "name = /x");
  EXPECT_EQ(SharePathFromLines(lines, "twice"), "/first");
  EXPECT_EQ(SharePathFromLines(lines, ""), "/unclosed");  // "[" without "]": empty name

  const ShareTable table = SharesFromLines(lines);
  auto path_of = [&](const std::string& name) -> std::string {
    for (const auto& s : table) {
      if (s.name == name) return s.path;
    }
    return "<none>";
  };
  // [Global] and [printers2] leave the lines before any share outside.
  EXPECT_EQ(path_of(" daten "), "/spaced");
  EXPECT_EQ(path_of("empty"), "<none>");  // the empty path line ends the search
  EXPECT_EQ(path_of("named"), "name = /x");
  EXPECT_EQ(path_of("unclosed"), "<none>");
  EXPECT_EQ(path_of(""), "<none>");  // an empty name is never stored
  EXPECT_EQ(path_of("twice"), "/second");  // the later section replaces in place
  EXPECT_EQ(path_of("TWICE"), "<none>");
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[2].name, "twice");
}

TEST(SmbShares, LongPathValuesAreCutPerReader) {
  const std::string value = "/" + std::string(299, 'v');
  const TextList lines = SmbConfLines("[d]\npath" + value + "\n");
  EXPECT_EQ(SharePathFromLines(lines, "d"), value.substr(0, 200));
  const ShareTable table = SharesFromLines(lines);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table[0].path, value.substr(0, 254));
}

TEST(ReplaceAll, RepeatsFromTheStart) {
  struct Case {
    const char* old_text;
    const char* new_text;
    const char* text;
    const char* result;
  } cases[] = {
      {"  ", " ", "a     b  c", "a b c"},
      {"\\", "/", "\\srv\\daten\\x", "/srv/daten/x"},
      {"ab", "b", "aaab", "b"},
      {"", "x", "abc", "abc"},
      {"x", "", "xaxbx", "ab"},
      {"a", "aa", "aba", "aabaa"},  // a new text holding the old one: one pass
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    ReplaceAll(c.old_text, c.new_text, text);
    EXPECT_EQ(text, c.result) << c.text;
  }
}

TEST(DfFieldFromOutput, FirstLineOfAFileSystemPathWrappedOrNot) {
  const std::string header = "Filesystem     1K-blocks  Used Available Use% Mounted on\n";
  struct Case {
    std::string output;
    double size, available;
  } cases[] = {
      {header + "/dev/sda1 4096 1024 2560 29% /\n", 4.0, 2.5},
      {header + "/dev/mapper/vg-root\n      5120  512  4608  10% /\n", 5.0, 4.5},
      {header + "/dev/sdb\t1536\t0\t1536\t0%\t/data\n", 1.5, 1.5},
      {header + "tmpfs 4096 0 4096 0% /tmp\n", 0.0, 0.0},
      {header + "tmpfs 4096 0 4096 0% /tmp\n/dev/x 2048 0 1024 0% /x\n", 2.0, 1.0},
      {header, 0.0, 0.0},
      {"", 0.0, 0.0},
      {"/dev/sda1 big used free 1% /\n", 0.0, 0.0},
      {"/dev/sda1 10,5 1 3.5 1% /\n", 10.5 / 1024, 3.5 / 1024},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(DfFieldFromOutput(c.output, DfField::Size), c.size) << c.output;
    EXPECT_DOUBLE_EQ(DfFieldFromOutput(c.output, DfField::Available), c.available) << c.output;
  }
}

TEST(IsDatabaseFile, FourExtensionsAnyCase) {
  for (const char* yes : {"/d/x.fdb", "X.Gbk", "a.GDB", ".fbk", "/x.FbK"}) EXPECT_TRUE(IsDatabaseFile(yes)) << yes;
  for (const char* no : {"", "fdb", ".fd", "/d/x.txt", "x.fdb ", "x.fdbx", "xfdb"}) EXPECT_FALSE(IsDatabaseFile(no)) << no;
}

TEST(JoinPfad, AlwaysWithSlash) {
  EXPECT_EQ(JoinPfad("", "x.fdb"), "x.fdb");
  EXPECT_EQ(JoinPfad("/abt/", "x.fdb"), "/abt/x.fdb");
  EXPECT_EQ(JoinPfad("/abt", "x.fdb"), "/abt/x.fdb");
  EXPECT_EQ(JoinPfad("\\abt\\", "x.fdb"), "\\abt\\/x.fdb");
}

TEST(CompareSharePfad, ByPathIgnoringAsciiCasePrefixFirst) {
  const ShareTable t = {{"a", "/srv/Daten"}, {"b", "/SRV/daten"}, {"c", "/srv/daten/abt"}, {"d", "/srv/b"}};
  EXPECT_EQ(CompareSharePfad(t, 0, 1), 0);
  EXPECT_LT(CompareSharePfad(t, 0, 2), 0);
  EXPECT_GT(CompareSharePfad(t, 2, 0), 0);
  EXPECT_GT(CompareSharePfad(t, 0, 3), 0);
}

TEST(UncPathFromShares, MostSpecificShareWins) {
  const ShareTable shares = {
      {"abt", "/srv/daten/abt"}, {"daten", "/srv/daten"}, {"slash", "/srv/slash/"},
      {"upper", "/SRV/Gross"}, {"drive", "C:\\daten"}, {"other", "/srv/datenbank"}};
  int asked = 0;
  auto host = [&] {
    ++asked;
    return std::string("dbhost");
  };
  struct Case {
    const char* path;
    const char* unc;
  } cases[] = {
      {"/srv/daten/abt/x.fdb", "\\\\dbhost\\abt\\x.fdb"},
      {"/srv/daten/sub/x.fdb", "\\\\dbhost\\daten\\sub\\x.fdb"},
      {"/srv/daten/x.fdb", "\\\\dbhost\\daten\\x.fdb"},
      {"/srv/slash/abt/x.fdb", "\\\\dbhost/slash/abt/x.fdb"},
      {"/srv/gross/Abt/x.fdb", "\\\\dbhost\\upper\\Abt\\x.fdb"},
      {"C:\\daten\\abt\\x.fdb", "\\\\dbhost\\drive\\abt\\\\x.fdb"},
      {"/srv/datenbank/x.fdb", "\\\\dbhost\\other\\x.fdb"},
      {"/srv/datenalt/x.fdb", ""},  // a longer directory name is not inside /srv/daten
      {"/srv/daten", ""},  // the directory part /srv/ lies under no share
      {"/elsewhere/x.fdb", ""},
      {"dbhost:/srv/daten/x.fdb", ""},
      {"D:\\daten\\x.fdb", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UncPathFromShares(c.path, shares, host), c.unc) << c.path;
  EXPECT_EQ(asked, 7);  // only for a matching share
}

}  // namespace
}  // namespace qor
