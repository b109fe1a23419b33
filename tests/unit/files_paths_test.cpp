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

}  // namespace
}  // namespace qor
