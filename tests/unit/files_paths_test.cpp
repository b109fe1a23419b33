// Path resolution and the file functions on a temporary directory; shares
// come from a table of the test instead of the host's Samba configuration.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "files/file_ops.h"
#include "files/path_resolver.h"
#include "frame/errors.h"
#include "test_util.h"

namespace qor {
namespace {

using qortest::ScopedCwd;
using qortest::TempDir;
using qortest::WriteFile;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(tmp_.path().empty());
    root_ = tmp_.path();
    std::filesystem::create_directories(root_ + "/data/sub");
    std::filesystem::create_directories(root_ + "/srv/daten/abt");
    WriteFile(root_ + "/data/firma.fdb", "x");
    WriteFile(root_ + "/data/Mixed.FDB", "x");
    WriteFile(root_ + "/data/NoDot", "x");
    WriteFile(root_ + "/srv/daten/abt/x.fdb", "x");
    std::filesystem::create_directories(root_ + "/data/Dir.fdb");
  }

  // Shares of the tests: daten under the temp root, and one whose path ends
  // in ":\"; "none" when the configuration is missing.
  std::string Resolve(const std::string& path, bool have_conf = true) {
    const std::map<std::string, std::string> shares = {
        {"daten", root_ + "/srv/daten"}, {"laufwerk", "C:\\"}};
    return ResolvePfad(path, [&](std::string_view share, std::string& error) -> std::string {
      if (!have_conf) {
        error = "smb.conf nicht gefunden";
        return {};
      }
      auto it = shares.find(std::string(share));
      return it == shares.end() ? std::string() : it->second;
    });
  }

  TempDir tmp_;
  TempDir work_;  // the working directory: ./aliases.conf
  std::string root_;
};

TEST_F(PathsTest, ServerPathsExistCaseHitsDirectoryOnlyOrNothing) {
  ScopedCwd cwd(work_.path());
  const std::string& r = root_;
  struct Case {
    std::string location, result;
  } cases[] = {
      {"host:" + r + "/data/firma.fdb", "5" + r + "/data/firma.fdb"},
      {"host:" + r + "/data/FIRMA.FDB", "5" + r + "/data/firma.fdb"},
      {"host:" + r + "/data/mixed.fdb", "5" + r + "/data/Mixed.FDB"},
      {"host:" + r + "/data/neu.fdb", "6" + r + "/data/neu.fdb"},
      {"host:" + r + "/nodata/firma.fdb", "0" + r + "/nodata/firma.fdb"},
      // Only the last component is matched without regard to case.
      {"host:" + r + "/DATA/firma.fdb", "0" + r + "/DATA/firma.fdb"},
      // Never a directory, never a name without a point.
      {"host:" + r + "/data/DIR.FDB", "6" + r + "/data/DIR.FDB"},
      {"host:" + r + "/data/nodot", "6" + r + "/data/nodot"},
      // Directories exist for the existence test.
      {"host:" + r + "/data", "5" + r + "/data"},
      {"host:" + r + "/data/", "5" + r + "/data/"},
      {"host:" + r + "/data/neu/", "0" + r + "/data/neu/"},
      {"host:C:\\daten\\x.fdb", "0C:\\daten\\x.fdb"},
      {"host:c\\daten\\x.fdb", "0c:\\daten\\x.fdb"},  // no share c: a drive letter
      {"host:unbekannt\\x.fdb", "0host:unbekannt\\x.fdb"},
      {"firma.fdb", "8Ungueltige Pfadangabe"},
      {r + "/data/firma.fdb", "8Ungueltige Pfadangabe"},
      {"", "8Ungueltige Pfadangabe"},
      {"\\\\host", "8Ungueltige Pfadangabe"},
      {"host:firma.fdb", "8Keine Pfadangabe vorhanden!"},
      {"host:", "8Keine Pfadangabe vorhanden!"},
      {"\\\\host\\daten", "8Keine Pfadangabe vorhanden!"},
  };
  for (const auto& c : cases) EXPECT_EQ(Resolve(c.location), c.result) << c.location;
}

TEST_F(PathsTest, ShareFormsGiveOneAndTwo) {
  ScopedCwd cwd(work_.path());
  const std::string base = root_ + "/srv/daten";
  EXPECT_EQ(Resolve("\\\\host\\daten\\abt\\x.fdb"), "1" + base + "/abt/x.fdb");
  EXPECT_EQ(Resolve("host:daten\\abt\\x.fdb"), "1" + base + "/abt/x.fdb");
  EXPECT_EQ(Resolve("host:daten\\abt\\X.FDB"), "1" + base + "/abt/x.fdb");
  EXPECT_EQ(Resolve("host:daten\\abt\\neu.fdb"), "2" + base + "/abt/neu.fdb");
  EXPECT_EQ(Resolve("host:daten\\neu\\x.fdb"), "0" + base + "/neu/x.fdb");
  EXPECT_EQ(Resolve("host:laufwerk\\x.fdb"), "0C:\\x.fdb");
  EXPECT_EQ(Resolve("host:daten\\abt\\x.fdb", false), "8smb.conf nicht gefunden");
  EXPECT_EQ(Resolve("host:" + root_ + "/data/firma.fdb", false), "5" + root_ + "/data/firma.fdb");
}

TEST_F(PathsTest, AliasesFromTheWorkingDirectory) {
  ScopedCwd cwd(work_.path());
  WriteFile(work_.File("aliases.conf"),
            "# firma = /nowhere.fdb\n"
            "firma = " + root_ + "/data/firma.fdb\n"
            "firma = /second.fdb\n"
            "weiter = host2:" + root_ + "/data/Mixed.fdb\n"
            "b = " + root_ + "/data/neu.fdb\n"
            "\n");
  EXPECT_EQ(Resolve("host:firma"), "5" + root_ + "/data/firma.fdb");
  EXPECT_EQ(Resolve("host:FIRMA"), "5" + root_ + "/data/firma.fdb");
  EXPECT_EQ(Resolve("host:weiter"), "5" + root_ + "/data/Mixed.FDB");
  EXPECT_EQ(Resolve("a:b:c"), "6" + root_ + "/data/neu.fdb");  // the key is the second field
  EXPECT_EQ(Resolve("host:# firma"), "8Keine Pfadangabe vorhanden!");
  EXPECT_EQ(Resolve("firma"), "8Ungueltige Pfadangabe");  // no second field: the empty line's empty value
}

TEST_F(PathsTest, UnreadableAliasFileIsAnError) {
  ScopedCwd cwd(work_.path());
  // The server's own link to a file whose reading fails, even for root.
  ASSERT_EQ(symlink("/proc/self/mem", work_.File("aliases.conf").c_str()), 0);
  EXPECT_THROW(GetAbsolutePfad("host:/"), IoError);
  // No regular file at all: ignored (and said so in the error log).
  std::filesystem::remove(work_.File("aliases.conf"));
  std::filesystem::create_directory(work_.File("aliases.conf"));
  EXPECT_EQ(GetAbsolutePfad("host:/"), "5/");
}

TEST_F(PathsTest, ResultsUpTo250Characters) {
  ScopedCwd cwd(work_.path());
  const std::string dir = root_ + "/data/";
  const std::string fits(250 - 1 - dir.size(), 'n');
  EXPECT_EQ(Resolve("host:" + dir + fits), "6" + dir + fits);
  EXPECT_EQ(Resolve("host:" + dir + fits + "n"), "8Pfadangabe/Fehlermeldung zu lang!");
  EXPECT_EQ(Resolve("host:/" + std::string(40000, 'x')), "8Pfadangabe/Fehlermeldung zu lang!");
}

TEST_F(PathsTest, ExistsAndDirectoryByStatus) {
  ScopedCwd cwd(work_.path());
  const std::string loc = "host:" + root_ + "/data/";
  EXPECT_EQ(FileExists(loc + "FIRMA.FDB"), 1);
  EXPECT_EQ(FileExists(loc + "sub"), 1);
  EXPECT_EQ(DirectoryExists(loc + "sub"), 0);
  EXPECT_EQ(DirectoryExists(loc + "neu.fdb"), 1);
  EXPECT_EQ(DirectoryExists(loc + "firma.fdb"), 0);
  EXPECT_EQ(FileExists(loc + "neu.fdb"), 0);
  EXPECT_EQ(FileExists("firma.fdb"), 0);
  EXPECT_EQ(FileGetAttr(loc + "firma.fdb"), 0);
}

TEST_F(PathsTest, CreateDirOnlyWhereTheDirectoryIsMissing) {
  ScopedCwd cwd(work_.path());
  const std::string loc = "host:" + root_ + "/data/";
  EXPECT_EQ(CreateDir(loc + "neu/"), 1);
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/data/neu"));
  EXPECT_EQ(CreateDir(loc + "flach"), 1);  // status 6: its directory exists already
  EXPECT_FALSE(std::filesystem::exists(root_ + "/data/flach"));
  EXPECT_EQ(CreateDir(loc + "a/b/c\\"), 1);  // missing parents too
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/data/a/b/c"));
  EXPECT_FALSE(std::filesystem::exists(root_ + "/data/a/b/c\\"));  // the final separator is dropped
  EXPECT_EQ(CreateDir(loc + "x/y\\z"), 1);  // "\" separates as well
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/data/x"));
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/data/x/y\\z"));
  EXPECT_EQ(CreateDir(loc + "firma.fdb/unter/"), 0);  // a file is in the way
  EXPECT_EQ(CreateDir("firma"), 0);
  // Relative results are never created in the working directory.
  EXPECT_EQ(CreateDir("host:C:\\daten\\neu\\"), 0);
  EXPECT_EQ(CreateDir("host:unbekannt\\neu\\"), 0);
  EXPECT_TRUE(std::filesystem::is_empty(work_.path()));
}

TEST_F(PathsTest, DropAndRenameOnlyDatabaseFiles) {
  const std::string d = root_ + "/data/";
  WriteFile(d + "x.txt", "x");
  WriteFile(d + "X.Gbk", "x");
  EXPECT_EQ(DropDatabase(d + "x.txt"), 0);
  EXPECT_TRUE(std::filesystem::exists(d + "x.txt"));
  EXPECT_EQ(DropDatabase(d + "X.Gbk"), 1);
  EXPECT_FALSE(std::filesystem::exists(d + "X.Gbk"));
  EXPECT_EQ(DropDatabase(d + "X.Gbk"), 0);
  EXPECT_EQ(DropDatabase(d + "Dir.fdb"), 0);
  EXPECT_EQ(DropDatabase(d + "FIRMA.FDB"), 0);  // used as it stands, no case resolution

  EXPECT_EQ(RenameDatabase(d + "firma.fdb", d + "b.txt"), 0);
  EXPECT_FALSE(std::filesystem::exists(d + "b.txt"));
  EXPECT_EQ(RenameDatabase(d + "x.txt", d + "x.fdb"), 0);
  EXPECT_EQ(RenameDatabase(d + "firma.fdb", d + "Mixed.FDB"), 1);  // replaces the target
  EXPECT_FALSE(std::filesystem::exists(d + "firma.fdb"));
  EXPECT_TRUE(std::filesystem::exists(d + "Mixed.FDB"));
  EXPECT_EQ(RenameDatabase(d + "firma.fdb", d + "again.fdb"), 0);
}

// The case-blind search follows symbolic links: a link to a file is a file
// and matches, a link to a directory is a directory and never does.
TEST_F(PathsTest, CaseBlindMatchThroughSymbolicLinks) {
  ScopedCwd cwd(work_.path());
  const std::string d = root_ + "/data/";
  std::filesystem::create_symlink(d + "firma.fdb", d + "link.fdb");
  std::filesystem::create_directory_symlink(d + "sub", d + "dirlink.fdb");
  std::filesystem::create_symlink(d + "missing.fdb", d + "dangling.fdb");
  EXPECT_EQ(Resolve("host:" + d + "LINK.FDB"), "5" + d + "link.fdb");
  EXPECT_EQ(Resolve("host:" + d + "DIRLINK.FDB"), "6" + d + "DIRLINK.FDB");
  EXPECT_EQ(Resolve("host:" + d + "DANGLING.FDB"), "6" + d + "DANGLING.FDB");
  EXPECT_EQ(Resolve("host:" + d + "dirlink.fdb"), "5" + d + "dirlink.fdb");  // exists as written
}

// Only the ASCII letters are folded: other bytes, Latin-1 or UTF-8, must
// match as they are, in file names and in alias names alike.
TEST_F(PathsTest, OnlyAsciiLettersAreFolded) {
  ScopedCwd cwd(work_.path());
  const std::string d = root_ + "/data/";
  WriteFile(d + "\xC4rger.fdb", "x");      // Latin-1 A umlaut
  WriteFile(d + "\xC3\x84tna.fdb", "x");  // UTF-8 A umlaut
  EXPECT_EQ(Resolve("host:" + d + "\xC4RGER.FDB"), "5" + d + "\xC4rger.fdb");
  EXPECT_EQ(Resolve("host:" + d + "\xE4rger.fdb"), "6" + d + "\xE4rger.fdb");
  EXPECT_EQ(Resolve("host:" + d + "\xC3\xA4tna.fdb"), "6" + d + "\xC3\xA4tna.fdb");
  EXPECT_EQ(Resolve("host:" + d + "\xC3\x84TNA.fdb"), "5" + d + "\xC3\x84tna.fdb");
  // 0x40 '@' and 0x60 '`' lie next to the letters but are no letters.
  WriteFile(d + "a@.fdb", "x");
  EXPECT_EQ(Resolve("host:" + d + "A`.FDB"), "6" + d + "A`.FDB");
  WriteFile(work_.File("aliases.conf"), "\xC4rger = " + d + "firma.fdb\n");
  EXPECT_EQ(Resolve("host:\xC4RGER"), "5" + d + "firma.fdb");
  EXPECT_EQ(Resolve("host:\xE4rger"), "8Keine Pfadangabe vorhanden!");
}

// An alias line with an empty name anywhere in the file, not only the empty
// last line, is what a location without a second ":" field finds: the first
// such line decides.
TEST_F(PathsTest, EmptyAliasNameInTheMiddle) {
  ScopedCwd cwd(work_.path());
  const std::string d = root_ + "/data/";
  WriteFile(work_.File("aliases.conf"), "x = /nowhere.fdb\n = " + d + "firma.fdb\n = /later.fdb\nfirma = /x.fdb\n");
  EXPECT_EQ(Resolve("firma"), "5" + d + "firma.fdb");
  EXPECT_EQ(Resolve("host:"), "5" + d + "firma.fdb");  // the empty second field too
  EXPECT_EQ(Resolve("host:firma"), "6/x.fdb");
  // An empty line before it: its empty value is found first and replaces nothing.
  WriteFile(work_.File("aliases.conf"), "x = /nowhere.fdb\n\n = " + d + "firma.fdb\n");
  EXPECT_EQ(Resolve("firma"), "8Ungueltige Pfadangabe");
}

// The forms of a location beside the usual ones: a path right after the host
// of a network path, a share whose path ends in "/", a share on a drive.
TEST_F(PathsTest, NetworkPathAndShareBaseForms) {
  ScopedCwd cwd(work_.path());
  const std::map<std::string, std::string> shares = {{"slash", root_ + "/srv/daten/"},
                                                     {"drive", "D:\\data"}};
  auto resolve = [&](const std::string& path) {
    return ResolvePfad(path, [&](std::string_view share, std::string&) -> std::string {
      auto it = shares.find(std::string(share));
      return it == shares.end() ? std::string() : it->second;
    });
  };
  const std::string d = root_ + "/data/";
  // \\host\/path: what follows the host's backslash is a server path (no share).
  EXPECT_EQ(resolve("\\\\host\\" + d + "firma.fdb"), "5" + d + "firma.fdb");
  EXPECT_EQ(resolve("\\\\host\\" + d + "FIRMA.FDB"), "5" + d + "firma.fdb");
  EXPECT_EQ(resolve("\\\\host\\" + d + "neu.fdb"), "6" + d + "neu.fdb");
  // A base ending in "/" is joined with the backslash, which becomes a second "/".
  EXPECT_EQ(resolve("host:slash\\abt\\x.fdb"), "1" + root_ + "/srv/daten//abt/x.fdb");
  EXPECT_EQ(resolve("\\\\host\\slash\\abt\\neu.fdb"), "2" + root_ + "/srv/daten//abt/neu.fdb");
  // A drive base that does not end in ":\" keeps its backslashes and never exists here.
  EXPECT_EQ(resolve("host:drive\\abt\\x.fdb"), "0D:\\data\\abt\\x.fdb");
  EXPECT_EQ(resolve("\\\\host\\drive\\x.fdb"), "0D:\\data\\x.fdb");
}

// A directory made by fn_CreateDir, and each missing parent, has the mode
// 0777 less the process's file creation mask.
TEST_F(PathsTest, CreateDirHonoursTheUmask) {
  ScopedCwd cwd(work_.path());
  for (const mode_t mask : {mode_t{022}, mode_t{027}, mode_t{077}}) {
    const mode_t old = umask(mask);
    const std::string top = root_ + "/data/m" + std::to_string(mask);
    const int32_t made = CreateDir("host:" + top + "/inner/");
    umask(old);
    ASSERT_EQ(made, 1);
    for (const std::string& dir : {top, top + "/inner"}) {
      struct stat st {};
      ASSERT_EQ(stat(dir.c_str(), &st), 0) << dir;
      EXPECT_EQ(st.st_mode & 07777, 0777 & ~mask) << dir;
    }
  }
}

// Drop and rename work on the name given, as the system does: a link is
// removed, never the file it points to; a FIFO is removed without being
// opened (an open would wait for a writer); a directory is never dropped but
// is renamed like a file, and nothing replaces a directory or a file of
// the other kind.
TEST_F(PathsTest, DropAndRenameOnLinksFifosAndDirectories) {
  const std::string d = root_ + "/data/";
  std::filesystem::create_symlink(d + "firma.fdb", d + "link.fdb");
  EXPECT_EQ(DropDatabase(d + "link.fdb"), 1);
  EXPECT_FALSE(std::filesystem::is_symlink(std::filesystem::symlink_status(d + "link.fdb")));
  EXPECT_TRUE(std::filesystem::exists(d + "firma.fdb"));
  std::filesystem::create_directory_symlink(d + "sub", d + "dirlink.fdb");
  EXPECT_EQ(DropDatabase(d + "dirlink.fdb"), 1);
  EXPECT_TRUE(std::filesystem::is_directory(d + "sub"));

  ASSERT_EQ(mkfifo((d + "pipe.fbk").c_str(), 0600), 0);
  EXPECT_EQ(DropDatabase(d + "pipe.fbk"), 1);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(d + "pipe.fbk")));

  EXPECT_EQ(RenameDatabase(d + "Dir.fdb", d + "Moved.fdb"), 1);
  EXPECT_TRUE(std::filesystem::is_directory(d + "Moved.fdb"));
  EXPECT_FALSE(std::filesystem::exists(d + "Dir.fdb"));
  EXPECT_EQ(RenameDatabase(d + "firma.fdb", d + "Moved.fdb"), 0);  // a file onto a directory
  EXPECT_EQ(RenameDatabase(d + "Moved.fdb", d + "firma.fdb"), 0);  // a directory onto a file
  EXPECT_TRUE(std::filesystem::is_regular_file(d + "firma.fdb"));
  EXPECT_TRUE(std::filesystem::is_directory(d + "Moved.fdb"));
  EXPECT_EQ(DropDatabase(d + "Moved.fdb"), 0);
  EXPECT_TRUE(std::filesystem::is_directory(d + "Moved.fdb"));
}

}  // namespace
}  // namespace qor
