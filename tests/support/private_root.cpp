#include "private_root.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace fbtest {

int RunCommand(const std::string& command, std::string& out) {
  out.clear();
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (p == nullptr) return -1;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteText(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) throw std::runtime_error("cannot write " + path);
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (std::fclose(f) != 0 || !written) throw std::runtime_error("cannot write " + path);
}

namespace {

// Debian's Firebird 4 tools set FIREBIRD to the installed root whatever the
// caller says, and its engine refuses a plugin reached through the private
// root's links ("Actual module name does not match requested"). There the
// engine runs from the installed root, and $QOR_FIREBIRD_CONF_DIR, its
// configuration directory inside the throw-away overlay of
// scripts/fb4_run.sh, gets copies of the private root's files; returns
// whether it did. Each copy is renamed into place, so an engine starting in
// another test process reads the old file or the new one, never half of one.
bool CopyConfiguration(const std::string& fbroot) {
  namespace fs = std::filesystem;
  const char* dir = getenv("QOR_FIREBIRD_CONF_DIR");
  if (dir == nullptr || *dir == '\0') return false;
  for (const char* name : {"firebird.conf", "plugins.conf"}) {
    const std::string target = std::string(dir) + "/" + name;
    const std::string temp = target + ".qor" + std::to_string(getpid());
    fs::copy_file(fbroot + "/" + name, temp, fs::copy_options::overwrite_existing);
    fs::rename(temp, target);
  }
  return true;
}

}  // namespace

std::string FirebirdRoot() {
  const char* root = getenv("QOR_FIREBIRD_ROOT");
  return root != nullptr && *root != '\0' ? root : QOR_FIREBIRD_ROOT;
}

PrivateRoot MakePrivateRoot(const PrivateRootOptions& options) {
  namespace fs = std::filesystem;
  std::string base = fs::temp_directory_path().string() + "/" + options.name_prefix + "XXXXXX";
  if (mkdtemp(base.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  PrivateRoot root;
  root.base = base;
  root.work = base + "/work";
  const std::string fbroot = base + "/firebird";
  fs::create_directories(fbroot);
  fs::create_directories(base + "/lock");
  fs::create_directories(root.work);
  const std::string installed = FirebirdRoot();
  for (const char* entry : {"plugins", "firebird.msg", "lib", "include"}) {
    fs::create_directory_symlink(installed + "/" + entry, fbroot + "/" + entry);
  }
  // The character set module must be a file of its own under the root, not a
  // link: the installed fbintl.conf names it as $(root)/intl/fbintl, and the
  // engine's module loader resolves the links of a loaded module's path and
  // then refuses its symbols, which carry the unresolved path ("CHARACTER SET
  // ISO8859_1 is not installed"). A hard link (same file system) or a copy
  // has no link to resolve.
  fs::create_directories(fbroot + "/intl");
  const std::string intl_module = installed + "/intl/libfbintl.so";
  std::error_code no_hard_link;
  fs::create_hard_link(intl_module, fbroot + "/intl/libfbintl.so", no_hard_link);
  if (no_hard_link) fs::copy_file(intl_module, fbroot + "/intl/libfbintl.so");
  WriteText(fbroot + "/firebird.conf", "UdfAccess = Restrict " + options.udf_access + "\n");
  if (options.udr_path.empty()) {
    fs::create_symlink(installed + "/plugins.conf", fbroot + "/plugins.conf");
  } else {
    WriteText(fbroot + "/plugins.conf", std::string("Plugin = UDR {\n  Module = ") + installed +
                                            "/plugins/udr_engine\n  Config = UDR_config\n}\n"
                                            "Config = UDR_config {\n  path = " + options.udr_path + "\n}\n");
  }
  setenv("FIREBIRD", CopyConfiguration(fbroot) ? installed.c_str() : fbroot.c_str(), 1);
  setenv("FIREBIRD_LOCK", (base + "/lock").c_str(), 1);
  setenv("FIREBIRD_TMP", root.work.c_str(), 1);

  root.database = base + "/" + options.name_prefix + "db.fdb";
  CreateDatabase(root.database, "", options.script, base);
  return root;
}

void CreateDatabase(const std::string& path, const std::string& charset, const std::string& script,
                    const std::string& scratch) {
  const std::string create = scratch + "/create.sql";
  WriteText(create, "CREATE DATABASE '" + path + "' USER 'SYSDBA'" +
                        (charset.empty() ? "" : " DEFAULT CHARACTER SET " + charset) + ";\n");
  std::string out;
  const std::string isql = std::string(QOR_ISQL) + " -q -b";
  if (RunCommand(isql + " -i " + create, out) != 0 ||
      RunCommand(isql + " -user SYSDBA -i " + script + " " + path, out) != 0) {
    throw std::runtime_error("setting up the database " + path + " failed:\n" + out);
  }
}

void RemovePrivateRoot(const PrivateRoot& root) {
  if (getenv("QOR_KEEP_TEMP") != nullptr || root.base.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(root.base, ignored);
}

}  // namespace fbtest
