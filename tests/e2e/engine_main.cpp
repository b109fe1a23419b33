#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "engine.h"

namespace fbtest {

namespace {

std::string g_work_dir;
std::string g_database;
std::unique_ptr<FbSession> g_db;

void WriteText(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) throw std::runtime_error("cannot write " + path);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    try {
      Start();
    } catch (const std::exception& e) {
      FAIL() << "engine test bed: " << e.what();
    }
  }

  void Start() {
    namespace fs = std::filesystem;
    std::string base = fs::temp_directory_path().string() + "/qor_engine_XXXXXX";
    if (mkdtemp(base.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = base;
    std::string fbroot = root_ + "/firebird";
    fs::create_directories(fbroot);
    fs::create_directories(root_ + "/lock");
    fs::create_directories(root_ + "/work");
    for (const char* entry : {"plugins", "intl", "firebird.msg", "lib", "include"}) {
      fs::create_directory_symlink(std::string(QOR_FIREBIRD_ROOT) + "/" + entry, fbroot + "/" + entry);
    }
    WriteText(fbroot + "/firebird.conf", std::string("UdfAccess = Restrict ") + QOR_LIBRARY_DIR + "\n");
    // The UDR engine finds the library's UDR front in the build directory.
    WriteText(fbroot + "/plugins.conf", std::string("Plugin = UDR {\n  Module = ") + QOR_FIREBIRD_ROOT +
                                            "/plugins/udr_engine\n  Config = UDR_config\n}\n"
                                            "Config = UDR_config {\n  path = " + QOR_LIBRARY_DIR + "\n}\n");
    setenv("FIREBIRD", fbroot.c_str(), 1);
    setenv("FIREBIRD_LOCK", (root_ + "/lock").c_str(), 1);
    setenv("FIREBIRD_TMP", (root_ + "/work").c_str(), 1);
    g_work_dir = root_ + "/work";
    // A child process of the multi-process tests shares its parent's
    // working directory (and so its error log).
    if (const char* shared = getenv("QOR_ENGINE_WORK_DIR")) g_work_dir = shared;
    if (chdir(g_work_dir.c_str()) != 0) throw std::runtime_error("chdir failed");

    // Create the database and apply the declaration script with isql, the
    // way an administrator installs the functions.
    std::string db = root_ + "/test.fdb";
    WriteText(root_ + "/create.sql", "CREATE DATABASE '" + db + "' USER 'SYSDBA';\n");
    std::string out;
    std::string isql = std::string(QOR_ISQL) + " -q -b";
    if (RunCommand(isql + " -i " + root_ + "/create.sql", out) != 0 ||
        RunCommand(isql + " -user SYSDBA -i " + QOR_SQL_SCRIPT + " " + db, out) != 0) {
      throw std::runtime_error("setting up the database failed:\n" + out);
    }
    g_database = db;
    g_db = std::make_unique<FbSession>(db);
  }

  void TearDown() override {
    g_db.reset();
    if (getenv("QOR_KEEP_TEMP") == nullptr && !root_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(root_, ignored);
    }
  }

 private:
  std::string root_;
};

}  // namespace

FbSession& Db() { return *g_db; }
const std::string& WorkDir() { return g_work_dir; }
const std::string& DatabasePath() { return g_database; }

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

}  // namespace fbtest

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new fbtest::EngineEnvironment);
  return RUN_ALL_TESTS();
}
