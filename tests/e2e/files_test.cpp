// Files, directories and database paths through the engine, on files in a
// temporary directory. The FilesThrowawayRoot tests also write the host's fixed
// configuration paths and run only inside tests/files/in_throwaway_root.sh (a
// throw-away mount namespace); elsewhere they are skipped.
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "engine.h"

namespace fbtest {
namespace {

namespace fs = std::filesystem;

// A scratch directory below the working directory, removed afterwards, and
// PATH restored.
class FilesEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = WorkDir() + "/files_test";
    fs::remove_all(dir_);
    fs::create_directories(dir_ + "/data");
    old_path_ = getenv("PATH") == nullptr ? "" : getenv("PATH");
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    fs::remove_all(dir_);
    fs::remove_all(WorkDir() + "/aliases.conf");
  }
  // A stand-in program first on PATH.
  void StandIn(const std::string& name, const std::string& body) {
    ASSERT_TRUE(WriteFileBytes(dir_ + "/bin/" + name, "#!/bin/sh\n" + body));
    chmod((dir_ + "/bin/" + name).c_str(), 0755);
    setenv("PATH", (dir_ + "/bin:" + old_path_).c_str(), 1);
  }
  std::string dir_;
  std::string old_path_;
};

TEST_F(FilesEngine, ResolveTestCreateDropAndRename) {
  const std::string d = dir_ + "/data/";
  ASSERT_TRUE(WriteFileBytes(d + "firma.fdb", "x"));
  ASSERT_TRUE(WriteFileBytes(d + "notes.txt", "x"));
  ASSERT_TRUE(WriteFileBytes(WorkDir() + "/aliases.conf", "# alt = /nowhere.fdb\nFirma = " + d + "firma.fdb\n"));

  EXPECT_EQ(Text("fn_Filepath(" + Quote("host:" + d + "FIRMA.FDB") + ")"), "5" + d + "firma.fdb");
  EXPECT_EQ(Text("fn_Filepath('host:firma')"), "5" + d + "firma.fdb");
  EXPECT_EQ(Text("fn_Filepath(" + Quote("host:" + d + "neu.fdb") + ")"), "6" + d + "neu.fdb");
  EXPECT_EQ(Text("fn_Filepath(" + Quote("host:" + d + "neu/x.fdb") + ")"), "0" + d + "neu/x.fdb");
  EXPECT_EQ(Text("fn_Filepath('host:alt')"), "8Keine Pfadangabe vorhanden!");

  // Over rows of a table, as callers use them.
  Db().Execute("CREATE TABLE files_loc (id INTEGER, loc VARCHAR(2000))");
  const char* names[] = {"FIRMA.FDB", "neu.fdb", "neu/x.fdb", "", "notes.TXT"};
  for (int i = 0; i < 5; ++i) {
    Db().Execute("INSERT INTO files_loc VALUES (" + std::to_string(i) + ", " + Quote("host:" + d + names[i]) + ")");
  }
  Db().Execute("INSERT INTO files_loc VALUES (5, NULL)");
  auto rows = Db().Query(
      "SELECT fn_FileExists(loc), fn_DirectoryExists(loc), fn_FileGetAttr(loc) FROM files_loc ORDER BY id");
  Db().Execute("DROP TABLE files_loc");
  const int want[][2] = {{1, 0}, {0, 1}, {0, 0}, {1, 0}, {1, 0}, {0, 0}};
  ASSERT_EQ(rows.size(), 6u);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][0].integer, want[i][0]) << i;
    EXPECT_EQ(rows[i][1].integer, want[i][1]) << i;
    EXPECT_EQ(rows[i][2].integer, 0) << i;
  }

  EXPECT_EQ(Number("fn_CreateDir(" + Quote("host:" + d + "neu/tief/") + ")"), 1);
  EXPECT_TRUE(fs::is_directory(d + "neu/tief"));
  EXPECT_EQ(Number("fn_CreateDir(" + Quote("host:" + d + "flach") + ")"), 1);
  EXPECT_FALSE(fs::exists(d + "flach"));
  EXPECT_EQ(Number("fn_CreateDir(" + Quote("host:" + d + "firma.fdb/x/") + ")"), 0);

  EXPECT_EQ(Number("fn_RenameDatabase(" + Quote(d + "firma.fdb") + ", " + Quote(d + "b.txt") + ")"), 0);
  EXPECT_EQ(Number("fn_RenameDatabase(" + Quote(d + "firma.fdb") + ", " + Quote(d + "b.FBK") + ")"), 1);
  EXPECT_TRUE(fs::exists(d + "b.FBK"));
  EXPECT_EQ(Number("fn_DropDatabase(" + Quote(d + "notes.txt") + ")"), 0);
  EXPECT_TRUE(fs::exists(d + "notes.txt"));
  EXPECT_EQ(Number("fn_DropDatabase(" + Quote(d + "b.FBK") + ")"), 1);
  EXPECT_FALSE(fs::exists(d + "b.FBK"));
  EXPECT_EQ(Number("fn_DropDatabase(" + Quote(d + "b.FBK") + ")"), 0);
}

TEST_F(FilesEngine, NoInjectionStringActs) {
  const std::string mark = dir_ + "/pwned";
  const std::string texts[] = {
      "/x; touch " + mark,         "/x && touch " + mark,     "/x | touch " + mark,
      "$(touch " + mark + ")",     "`touch " + mark + "`",    "/x > " + mark,
      "/x\ntouch " + mark,         "'; touch " + mark + " '", "\"; touch " + mark + " \"",
      "-x; touch " + mark,
  };
  const size_t logged = ErrorLog().size();
  for (const std::string& text : texts) {
    EXPECT_EQ(Number("fn_FileSetRight(" + Quote(text) + ")"), 0) << text;
    Number("fn_DiskFree(" + Quote("host:" + text) + ")");
    Number("fn_DiskSize(" + Quote("host:" + text) + ")");
  }
  EXPECT_FALSE(fs::exists(mark));
  EXPECT_EQ(ErrorLog().size(), logged);

  // The whole text names one file, whatever it holds.
  const std::string odd = dir_ + "/data/a b; $(x) -R.fdb";
  ASSERT_TRUE(WriteFileBytes(odd, "x"));
  chmod(odd.c_str(), 0);
  EXPECT_EQ(Number("fn_FileSetRight(" + Quote(odd) + ")"), 0);
  struct stat st;
  ASSERT_EQ(stat(odd.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0666, 0666);
}

TEST_F(FilesEngine, DiskFiguresFromDf) {
  // The real df against statvfs.
  struct statvfs vfs;
  ASSERT_EQ(statvfs(dir_.c_str(), &vfs), 0);
  const double size = static_cast<double>(vfs.f_blocks) * static_cast<double>(vfs.f_frsize) / 1048576.0;
  const double got = Number("fn_DiskSize(" + Quote("host:" + dir_) + ")");
  if (got == 0.0) {
    std::string out;
    RunCommand("df -k " + dir_, out);
    GTEST_SKIP() << "no device path in df's answer: " << out;
  }
  EXPECT_NEAR(got, size, 1.0 / 1024);
  EXPECT_NEAR(Number("fn_DiskFree(" + Quote("host:" + dir_) + ")"),
              static_cast<double>(vfs.f_bavail) * static_cast<double>(vfs.f_frsize) / 1048576.0, 256.0);

  // A stand-in df with a wrapped entry.
  StandIn("df", "printf 'Filesystem 1K-blocks Used Available Use%% Mounted on\\n"
                "/dev/mapper/vg-root\\n      5120  512  4608  10%% /\\n'\n");
  EXPECT_EQ(Number("fn_DiskSize('host:/srv/x.fdb')"), 5.0);
  EXPECT_EQ(Number("fn_DiskFree(NULL)"), 4.5);
  StandIn("df", "printf 'Filesystem 1K-blocks Used Available Use%% Mounted on\\n"
                "tmpfs 4096 0 4096 0%% /\\n'\n");
  EXPECT_EQ(Number("fn_DiskSize(NULL)"), 0.0);
}

// Arguments as long as a column can hold are accepted, and the answers fit
// their declared results.
TEST_F(FilesEngine, LongestArgumentsFitTheDeclarations) {
  // The longest text a column holds: VARCHAR(32765).
  const std::string longest = "host:/" + std::string(32765 - 6, 'x');
  EXPECT_EQ(Text("fn_Filepath(" + Quote(longest) + ")"), "8Pfadangabe/Fehlermeldung zu lang!");
  EXPECT_EQ(Number("fn_FileExists(" + Quote(longest) + ")"), 0);
  EXPECT_EQ(Number("fn_CreateDir(" + Quote(longest) + ")"), 0);
  const std::string unc = "\\\\" + std::string(32765 - 2, 'x');
  EXPECT_EQ(Text("fn_UNCpath(" + Quote(unc) + ")"), unc);
  Db().Execute("CREATE TABLE files_long (loc VARCHAR(32765))");
  Db().Execute("INSERT INTO files_long VALUES (" + Quote(unc) + ")");
  auto rows = Db().Query("SELECT fn_UNCpath(loc), fn_Filepath(loc) FROM files_long");
  Db().Execute("DROP TABLE files_long");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].text, unc);
  EXPECT_EQ(rows[0][1].text, "8Ungueltige Pfadangabe");  // no "\\" after the host
}

// An alias file that cannot be read, a program that cannot be started: each
// function logs its own name and answers its neutral result.
TEST_F(FilesEngine, ErrorsAreLoggedWithNeutralResults) {
  // The server's own link to a file that cannot be read, even by root.
  ASSERT_EQ(symlink("/proc/self/mem", (WorkDir() + "/aliases.conf").c_str()), 0);
  struct Case {
    const char* function;
    std::string expr;
  } cases[] = {
      {"fn_Filepath", "IIF(fn_Filepath('host:/') = '', 1, 0)"},
      {"fn_FileExists", "fn_FileExists('host:/')"},
      {"fn_DirectoryExists", "fn_DirectoryExists('host:/qor_x.fdb')"},
      {"fn_CreateDir", "fn_CreateDir('host:/')"},
      {"fn_FileGetAttr", "fn_FileGetAttr('host:/')"},
      {"fn_DiskFree", "fn_DiskFree('host:/')"},
      {"fn_DiskSize", "fn_DiskSize('host:/')"},
  };
  for (const auto& c : cases) {
    const size_t before = ErrorLog().size();
    const double want = std::string(c.function) == "fn_Filepath" ? 1 : 0;
    EXPECT_EQ(Number(c.expr), want) << c.expr;
    const std::string added = ErrorLog().substr(before);
    EXPECT_NE(added.find(std::string(c.function) + ": Cannot read ./aliases.conf"), std::string::npos)
        << c.function << ": " << added;
  }
  fs::remove(WorkDir() + "/aliases.conf");

  setenv("PATH", "/nonexistent", 1);  // no program can be started
  for (const char* fn : {"fn_DiskFree", "fn_DiskSize", "fn_FileSetRight"}) {
    const size_t before = ErrorLog().size();
    EXPECT_EQ(Number(std::string(fn) + "('/x')"), 0) << fn;
    EXPECT_NE(ErrorLog().substr(before).find(std::string(fn) + ": Cannot start "), std::string::npos) << fn;
  }
}

// What someone who shares the server's working directory (/tmp on Debian)
// can plant there: a link in place of the error log, an alias file of their
// own or one that anyone may write.
TEST_F(FilesEngine, PlantedErrorLogLinkAndAliasFilesAreNotFollowed) {
  const std::string victim = dir_ + "/data/firma.fdb";
  const std::string victim_text(10000, 'v');
  ASSERT_TRUE(WriteFileBytes(victim, victim_text));
  const std::string saved = ErrorLog();
  fs::remove(ErrorLogPath());
  ASSERT_EQ(symlink(victim.c_str(), ErrorLogPath().c_str()), 0);
  setenv("PATH", "/nonexistent", 1);  // each call logs an error
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Number("fn_DiskFree('/x')"), 0);
  setenv("PATH", old_path_.c_str(), 1);
  EXPECT_EQ(ReadFileBytes(victim), victim_text);
  fs::remove(ErrorLogPath());
  ASSERT_TRUE(WriteFileBytes(ErrorLogPath(), saved));

  const std::string alias = WorkDir() + "/aliases.conf";
  ASSERT_TRUE(WriteFileBytes(alias, "firma = " + victim + "\n"));
  struct Case {
    mode_t mode;
    uid_t owner;
    bool used;
  } cases[] = {{0644, 65534, false}, {0666, 0, false}, {0664, 0, true}};
  const size_t before = ErrorLog().size();
  for (const auto& c : cases) {
    ASSERT_EQ(chown(alias.c_str(), c.owner, c.owner), 0);
    ASSERT_EQ(chmod(alias.c_str(), c.mode), 0);
    EXPECT_EQ(Text("fn_Filepath('dbhost:firma')"), c.used ? "5" + victim : "8Keine Pfadangabe vorhanden!")
        << std::oct << c.mode << " " << std::dec << c.owner;
  }
  // Said at most once per process (an earlier test may have said it).
  const std::string added = ErrorLog().substr(before);
  size_t notices = 0;
  for (size_t pos = added.find("Alias file ./aliases.conf ignored: "); pos != std::string::npos;
       pos = added.find("Alias file ./aliases.conf ignored: ", pos + 1)) {
    ++notices;
  }
  EXPECT_LE(notices, 1u) << added;
}

// A pseudo file reports a size of 0 and may never end: the blob gets its
// first MiB, and the trace log a line saying it was cut.
TEST_F(FilesEngine, PseudoFileIntoABlobIsCut) {
  EXPECT_EQ(Number("fn_BlobSize(fn_BlobLoadFromFile('/proc/self/pagemap'))"), 1048576);
  EXPECT_GT(Number("fn_BlobSize(fn_BlobLoadFromFile('/proc/self/status'))"), 0);
}

// df is never asked about a device or a pipe, and one that does not answer
// is stopped after its time limit: the answer is 0 with a record.
TEST_F(FilesEngine, DfNeverAtADeviceAndStoppedWhenItHangs) {
  StandIn("df", "touch " + dir_ + "/ran\nprintf '/dev/x 2048 0 1024 0%% /\\n'\n");
  ASSERT_EQ(mkfifo((dir_ + "/pipe").c_str(), 0600), 0);
  const std::vector<std::string> not_measured = {"/dev/zero", "/dev/sda", dir_ + "/pipe"};
  for (const std::string& path : not_measured) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) continue;
    std::string log;
    EXPECT_EQ(ScalarLogged("fn_DiskFree(" + Quote("h:" + path) + ")", log).number, 0.0) << path;
    ExpectOneRecord(log, "fn_DiskFree: Cannot measure " + path + ": no directory or regular file");
    EXPECT_FALSE(fs::exists(dir_ + "/ran")) << path;
  }
  EXPECT_EQ(Number("fn_DiskFree(" + Quote("h:" + dir_) + ")"), 1.0);

  StandIn("df", "sleep 60\n");
  const auto start = std::chrono::steady_clock::now();
  std::string log;
  EXPECT_EQ(ScalarLogged("fn_DiskSize('h:/')", log).number, 0.0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 15.0);
  ExpectOneRecord(log, "fn_DiskSize: df did not end within 5000 ms and was stopped");
}

// ---------------------------------------------------------------------------
// Inside the throwaway root only.

class FilesThrowawayRoot : public FilesEngine {
 protected:
  void SetUp() override {
    // The base first: TearDown runs after a skip as well and restores PATH.
    FilesEngine::SetUp();
    if (!fs::exists("/etc/qor_throwaway_root")) GTEST_SKIP() << "runs only inside tests/files/in_throwaway_root.sh";
    for (const char* p : {"/etc/samba/smb.conf", "/etc/smb.conf", "/server/samba/lib/smb.conf",
                          "/opt/firebird/aliases.conf"}) {
      fs::remove_all(p);
    }
  }
};

TEST_F(FilesThrowawayRoot, SharesAndNetworkPaths) {
  const std::string base = dir_ + "/srv/daten";
  ASSERT_TRUE(WriteFileBytes(base + "/abt/x.fdb", "x"));
  ASSERT_TRUE(WriteFileBytes("/etc/samba/smb.conf", "[global]\n workgroup = W\n[daten]\n path = " + base +
                                                        "\n[abt]\n path = " + base + "/abt\n"));
  ASSERT_TRUE(WriteFileBytes("/opt/firebird/aliases.conf", "firma = " + base + "/firma.fdb\n"));
  StandIn("hostname", "echo dbhost\n");

  EXPECT_EQ(Text("fn_Filepath('\\\\dbhost\\daten\\abt\\X.FDB')"), "1" + base + "/abt/x.fdb");
  EXPECT_EQ(Text("fn_Filepath('dbhost:daten\\abt\\neu.fdb')"), "2" + base + "/abt/neu.fdb");
  EXPECT_EQ(Number("fn_FileExists('dbhost:daten\\abt\\x.fdb')"), 1);
  EXPECT_EQ(Number("fn_DirectoryExists('\\\\dbhost\\daten\\abt\\neu.fdb')"), 1);
  EXPECT_EQ(Number("fn_CreateDir('dbhost:daten\\neu\\')"), 1);
  EXPECT_TRUE(fs::is_directory(base + "/neu"));

  EXPECT_EQ(Text("fn_UNCpath(" + Quote(base + "/abt/x.fdb") + ")"), "\\\\dbhost\\abt\\x.fdb");
  EXPECT_EQ(Text("fn_UNCpath(" + Quote(base + "/neu/x.fdb") + ")"), "\\\\dbhost\\daten\\neu\\x.fdb");
  EXPECT_EQ(Text("fn_UNCpath('firma')"), "\\\\dbhost\\daten\\firma.fdb");
  EXPECT_EQ(Text("fn_UNCpath('/elsewhere/x.fdb')"), "");

  // The host name cannot be asked: logged, empty answer.
  setenv("PATH", "/nonexistent", 1);
  size_t before = ErrorLog().size();
  EXPECT_EQ(Text("fn_UNCpath(" + Quote(base + "/x.fdb") + ")"), "");
  EXPECT_NE(ErrorLog().substr(before).find("fn_UNCpath: Cannot start hostname"), std::string::npos);

  // An alias file that cannot be read: logged, empty answer.
  fs::remove("/opt/firebird/aliases.conf");
  ASSERT_EQ(symlink("/proc/self/mem", "/opt/firebird/aliases.conf"), 0);
  before = ErrorLog().size();
  EXPECT_EQ(Text("fn_UNCpath('firma')"), "");
  EXPECT_NE(ErrorLog().substr(before).find("fn_UNCpath: Cannot read /opt/firebird/aliases.conf"),
            std::string::npos);
}

TEST_F(FilesThrowawayRoot, NoSambaConfiguration) {
  EXPECT_EQ(Text("fn_Filepath('dbhost:daten\\x.fdb')"), "8smb.conf nicht gefunden");
  EXPECT_EQ(Number("fn_FileExists('\\\\dbhost\\daten\\x.fdb')"), 0);
  EXPECT_EQ(Text("fn_UNCpath('/srv/daten/x.fdb')"), "");
  bool traced = false;
  for (const auto& entry : fs::directory_iterator("/tmp/QOR_UDF")) {
    if (ReadFileBytes(entry.path()).find(" : smb.conf nicht gefunden\n") != std::string::npos) traced = true;
  }
  EXPECT_TRUE(traced);
}

// /tmp/QOR_UDF made by another user: the trace records go to the error log.
TEST_F(FilesThrowawayRoot, TraceDirectoryOfAnotherUserIsNotUsed) {
  fs::remove_all("/tmp/QOR_UDF");
  ASSERT_EQ(mkdir("/tmp/QOR_UDF", 0777), 0);
  ASSERT_EQ(chmod("/tmp/QOR_UDF", 0777), 0);
  ASSERT_EQ(chown("/tmp/QOR_UDF", 65534, 65534), 0);
  const size_t before = ErrorLog().size();
  const std::string missing = dir_ + "/no_such\nfile.txt";
  EXPECT_EQ(Number("fn_BlobSize(fn_BlobLoadFromFile(" + SqlText(missing) + "))"), 0);
  EXPECT_TRUE(fs::is_empty("/tmp/QOR_UDF"));
  const std::string added = ErrorLog().substr(before);
  EXPECT_NE(added.find("fn_BlobLoadFromFile: Unable to open file \"" + dir_ + "/no_such\\x0Afile.txt\""),
            std::string::npos)
      << added;
  fs::remove_all("/tmp/QOR_UDF");
}

// The server's alias file counts only while others may not write it.
TEST_F(FilesThrowawayRoot, ServerAliasFileAnyoneMayWriteIsIgnored) {
  const std::string base = dir_ + "/srv/daten";
  ASSERT_TRUE(WriteFileBytes("/etc/samba/smb.conf", "[daten]\n path = " + base + "\n"));
  ASSERT_TRUE(WriteFileBytes("/opt/firebird/aliases.conf", "firma = " + base + "/firma.fdb\n"));
  StandIn("hostname", "echo dbhost\n");
  EXPECT_EQ(Text("fn_UNCpath('firma')"), "\\\\dbhost\\daten\\firma.fdb");
  chmod("/opt/firebird/aliases.conf", 0666);
  EXPECT_EQ(Text("fn_UNCpath('firma')"), "");
}

}  // namespace
}  // namespace fbtest
