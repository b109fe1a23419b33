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
#include "private_root.h"

namespace fbtest {

namespace {

std::string g_work_dir;
std::string g_database;
std::unique_ptr<FbSession> g_db;

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
    root_ = MakePrivateRoot({"qor_engine_", QOR_LIBRARY_DIR, QOR_LIBRARY_DIR, QOR_SQL_SCRIPT});
    g_work_dir = root_.work;
    // A child process of the multi-process tests shares its parent's
    // working directory (and so its error log).
    if (const char* shared = getenv("QOR_ENGINE_WORK_DIR")) g_work_dir = shared;
    if (chdir(g_work_dir.c_str()) != 0) throw std::runtime_error("chdir failed");
    g_database = root_.database;
    g_db = std::make_unique<FbSession>(g_database);
  }

  void TearDown() override {
    g_db.reset();
    RemovePrivateRoot(root_);
  }

 private:
  PrivateRoot root_;
};

}  // namespace

FbSession& Db() { return *g_db; }
const std::string& WorkDir() { return g_work_dir; }
const std::string& DatabasePath() { return g_database; }

}  // namespace fbtest

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new fbtest::EngineEnvironment);
  return RUN_ALL_TESTS();
}
