// The path functions on the host's fixed configuration paths: the Samba
// configuration files, /opt/firebird/aliases.conf and the trace log. Runs
// only inside the throwaway root of in_throwaway_root.sh (a mount namespace whose
// root is an overlay that vanishes afterwards): everything written here to
// /etc, /opt, /server or /tmp never reaches the machine.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "files/path_resolver.h"
#include "files/smb_shares.h"
#include "files/trace.h"
#include "files/unc_path.h"
#include "frame/errors.h"
#include "frame/log.h"
#include "../unit/test_util.h"

namespace qor {
namespace {

namespace fs = std::filesystem;
using qortest::ReadFile;
using qortest::ScopedCwd;
using qortest::TempDir;
using qortest::WriteFile;

constexpr const char* kMarker = "/etc/qor_throwaway_root";

void Put(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  WriteFile(path, text);
}

class ThrowawayRoot : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kMarker)) GTEST_SKIP() << "runs only inside tests/files/in_throwaway_root.sh";
    for (const char* path : kSmbConfPaths) fs::remove_all(path);
    fs::remove_all(kServerAliasFile);
    ASSERT_FALSE(work_.path().empty());
  }
  void TearDown() override {
    if (!old_path_.empty()) setenv("PATH", old_path_.c_str(), 1);
  }

  // A hostname program first on PATH that prints `text`.
  void StandInHostname(const std::string& text) {
    const std::string bin = work_.File("bin");
    fs::create_directories(bin);
    WriteFile(bin + "/hostname", "#!/bin/sh\nprintf '" + text + "'\n");
    chmod((bin + "/hostname").c_str(), 0755);
    if (old_path_.empty()) old_path_ = getenv("PATH");
    setenv("PATH", (bin + ":" + old_path_).c_str(), 1);
  }

  std::string TraceText() const { return ReadFile(std::string(kTraceDir) + "/" + TraceFileName()); }

  TempDir work_;
  std::string old_path_;
};

TEST_F(ThrowawayRoot, FirstReadableSambaConfigurationOnly) {
  Put(kSmbConfPaths[0], "[a]\npath = /A\n");
  Put(kSmbConfPaths[1], "[a]\npath = /B\n[b]\npath = /only/in/second\n");
  Put(kSmbConfPaths[2], "[a]\npath = /C\n");
  std::string error;
  EXPECT_EQ(GetSharePfad("A", error), "/A");
  EXPECT_EQ(GetSharePfad("b", error), "");  // the second file is not consulted
  EXPECT_EQ(error, "");

  Put(kSmbConfPaths[0], "");  // readable without shares: still the one used
  EXPECT_EQ(GetSharePfad("a", error), "");
  ShareTable table;
  EXPECT_FALSE(LoadSmbShares(table));
  EXPECT_EQ(error, "");

  fs::remove(kSmbConfPaths[0]);
  EXPECT_EQ(GetSharePfad("a", error), "/B");
  fs::remove(kSmbConfPaths[1]);
  fs::create_directory(kSmbConfPaths[1]);  // there but unreadable: the next is tried
  EXPECT_EQ(GetSharePfad("a", error), "/C");
  EXPECT_TRUE(LoadSmbShares(table));
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table[0].path, "/C");
  EXPECT_EQ(error, "");
}

TEST_F(ThrowawayRoot, MissingSambaConfiguration) {
  std::string error;
  EXPECT_EQ(GetSharePfad("a", error), "");
  EXPECT_EQ(error, "smb.conf nicht gefunden");
  EXPECT_EQ(GetAbsolutePfad("\\\\host\\daten\\x.fdb"), "8smb.conf nicht gefunden");

  ShareTable table{{"old", "/old"}};
  EXPECT_FALSE(LoadSmbShares(table));
  EXPECT_TRUE(table.empty());
  const std::string trace = TraceText();
  EXPECT_NE(trace.find(" : smb.conf nicht gefunden\n"), std::string::npos) << trace;

  // A trace log that cannot be written: the line goes to the error log.
  const std::string trace_file = std::string(kTraceDir) + "/" + TraceFileName();
  fs::remove(trace_file);
  fs::create_directory(trace_file);
  ScopedCwd cwd(work_.path());
  EXPECT_FALSE(LoadSmbShares(table));
  EXPECT_NE(ReadFile(work_.File("qor_udf3.err")).find(": smb.conf nicht gefunden"), std::string::npos);
  fs::remove(trace_file);
}

TEST_F(ThrowawayRoot, SharesResolveInBothForms) {
  const std::string base = work_.File("srv/daten");
  fs::create_directories(base + "/abt");
  WriteFile(base + "/abt/x.fdb", "x");
  Put(kSmbConfPaths[0], "[global]\n  workgroup = W\n[daten]\n  path = " + base + "\n[laufwerk]\n  path = C:\\\n");
  ScopedCwd cwd(work_.path());
  EXPECT_EQ(GetAbsolutePfad("\\\\host\\daten\\abt\\x.fdb"), "1" + base + "/abt/x.fdb");
  EXPECT_EQ(GetAbsolutePfad("host:DATEN\\abt\\X.fdb"), "1" + base + "/abt/x.fdb");
  EXPECT_EQ(GetAbsolutePfad("host:daten\\abt\\neu.fdb"), "2" + base + "/abt/neu.fdb");
  EXPECT_EQ(GetAbsolutePfad("host:laufwerk\\x.fdb"), "0C:\\x.fdb");
  EXPECT_EQ(GetAbsolutePfad("host:c\\daten\\x.fdb"), "0c:\\daten\\x.fdb");
}

TEST_F(ThrowawayRoot, NetworkPathsThroughSharesAliasesAndHostName) {
  Put(kSmbConfPaths[0],
      "[daten]\n path = /srv/daten\n[abt]\n path = /srv/daten/abt\n[gross]\n path = /SRV/Gross\n");
  Put(kServerAliasFile, "# firma = /nowhere\nfirma = /srv/daten/firma.fdb\n");
  StandInHostname("dbhost\\n");
  EXPECT_EQ(GetUNCPfad("/srv/daten/abt/x.fdb"), "\\\\dbhost\\abt\\x.fdb");
  EXPECT_EQ(GetUNCPfad("/srv/daten/x.fdb"), "\\\\dbhost\\daten\\x.fdb");
  EXPECT_EQ(GetUNCPfad("/srv/gross/x.fdb"), "\\\\dbhost\\gross\\x.fdb");
  EXPECT_EQ(GetUNCPfad("FIRMA"), "\\\\dbhost\\daten\\firma.fdb");
  EXPECT_EQ(GetUNCPfad("/srv/daten"), "");
  EXPECT_EQ(GetUNCPfad("/elsewhere/x.fdb"), "");
  EXPECT_EQ(GetUNCPfad("\\\\other\\share\\x.fdb"), "\\\\other\\share\\x.fdb");

  // Longer than the declared result: empty rather than a failing statement.
  Put(kServerAliasFile, "lang = /srv/daten/" + std::string(32767, 'y') + "/x.fdb\n");
  EXPECT_EQ(GetUNCPfad("lang"), "");
  EXPECT_EQ(GetUNCPfad("\\\\" + std::string(kMaxUncLength - 1, 'z')), "");
  EXPECT_EQ(GetUNCPfad("\\\\" + std::string(kMaxUncLength - 2, 'z')).size(), kMaxUncLength);
  Put(kServerAliasFile, "firma = /srv/daten/firma.fdb\n");

  StandInHostname("  db\\nhost \\n");  // lines joined, then trimmed
  EXPECT_EQ(GetHostName(), "dbhost");

  setenv("PATH", "/nonexistent", 1);  // hostname cannot be started
  EXPECT_THROW(GetUNCPfad("/srv/daten/x.fdb"), IoError);
  EXPECT_EQ(GetUNCPfad("/elsewhere/x.fdb"), "");  // no match: the host is not asked

  fs::remove(kServerAliasFile);
  ASSERT_EQ(symlink("/proc/self/mem", kServerAliasFile), 0);  // cannot be read, even by root
  EXPECT_THROW(GetUNCPfad("firma"), IoError);
  fs::remove(kServerAliasFile);
  fs::create_directory(kServerAliasFile);  // no regular file: ignored
  EXPECT_EQ(GetUNCPfad("firma"), "");
}

TEST_F(ThrowawayRoot, ErrorInsideTheResolverIsTracedAndAnswered) {
  ScopedCwd cwd(work_.path());
  auto failing = [](std::string_view, std::string&) -> std::string { throw IoError("lookup failed"); };
  EXPECT_EQ(ResolvePfad("host:daten\\x.fdb", failing), "");  // the result built so far
  EXPECT_NE(TraceText().find(" : GetAbsolutePfad EXCEPT: \n"), std::string::npos) << TraceText();

  // The trace log cannot be written either: the line goes to the error log.
  const std::string trace_file = std::string(kTraceDir) + "/" + TraceFileName();
  fs::remove(trace_file);
  fs::create_directory(trace_file);
  EXPECT_EQ(ResolvePfad("host:daten\\x.fdb", failing), "");
  EXPECT_NE(ReadFile(work_.File("qor_udf3.err")).find(": GetAbsolutePfad EXCEPT: "), std::string::npos);
  fs::remove(trace_file);
}

// /tmp/QOR_UDF is made for the server alone; one that another user made, or
// a link, is not used: the records go to the error log, which names the
// refused directory.
TEST_F(ThrowawayRoot, TraceDirectoryOfAnotherUserOrALinkIsNotUsed) {
  ScopedCwd cwd(work_.path());
  fs::remove_all(kTraceDir);
  ResetTraceFileName();
  LogTrace("made");
  struct stat st;
  ASSERT_EQ(lstat(kTraceDir, &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  EXPECT_EQ(st.st_uid, geteuid());

  const std::string elsewhere = work_.File("elsewhere");
  fs::create_directory(elsewhere);
  struct Case {
    const char* name;
    const char* reason;
  } cases[] = {{"another user's", "it belongs to user 65534"}, {"a link", "it is a symbolic link"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(kTraceDir);
    if (std::string(c.name) == "a link") {
      ASSERT_EQ(symlink(elsewhere.c_str(), kTraceDir), 0);
    } else {
      ASSERT_EQ(mkdir(kTraceDir, 0777), 0);
      ASSERT_EQ(chmod(kTraceDir, 0777), 0);
      ASSERT_EQ(chown(kTraceDir, 65534, 65534), 0);
    }
    ResetTraceFileName();
    fs::remove(work_.File("qor_udf3.err"));
    TraceOrLog("fn_BlobLoadFromFile: Unable to open file \"a\nb\"");
    TraceOrLog("second");
    EXPECT_TRUE(fs::is_empty(elsewhere));
    if (!fs::is_symlink(kTraceDir)) {
      EXPECT_TRUE(fs::is_empty(kTraceDir));
    }
    const std::string log = ReadFile(work_.File("qor_udf3.err"));
    EXPECT_NE(log.find(": Trace directory /tmp/QOR_UDF not used: " + std::string(c.reason) + "\r"),
              std::string::npos) << log;
    EXPECT_NE(log.find(": fn_BlobLoadFromFile: Unable to open file \"a\\x0Ab\"\r"), std::string::npos) << log;
    EXPECT_TRUE(log.ends_with(": second")) << log;
  }
  fs::remove_all(kTraceDir);
  ResetTraceFileName();
}

// /opt/firebird/aliases.conf counts only while it is the server's or root's
// and others may not write it.
TEST_F(ThrowawayRoot, ServerAliasFileOthersControlIsIgnored) {
  Put(kSmbConfPaths[0], "[daten]\n path = /srv/daten\n");
  Put(kServerAliasFile, "firma = /srv/daten/firma.fdb\n");
  StandInHostname("dbhost\\n");
  ScopedCwd cwd(work_.path());
  const std::string shared = "\\\\dbhost\\daten\\firma.fdb";
  EXPECT_EQ(GetUNCPfad("firma"), shared);
  struct Case {
    mode_t mode;
    uid_t owner;
    bool used;
  } cases[] = {{0666, 0, false}, {0664, 0, true}, {0644, 65534, false}, {0600, 0, true}};
  for (const auto& c : cases) {
    ASSERT_EQ(chown(kServerAliasFile, c.owner, c.owner), 0);
    ASSERT_EQ(chmod(kServerAliasFile, c.mode), 0);
    EXPECT_EQ(GetUNCPfad("firma"), c.used ? shared : "") << std::oct << c.mode << " " << std::dec << c.owner;
  }
}

}  // namespace
}  // namespace qor
