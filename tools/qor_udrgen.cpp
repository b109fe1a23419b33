// qor_udrgen: writes the UDR front's files from the declaration script.
//   qor_udrgen table  <script> <out> [<module>]   the routine table the UDR front registers
//   qor_udrgen sql    <script> <out> [<module>]   UDR declarations (CREATE OR ALTER FUNCTION)
//   qor_udrgen to-udr <script> <out> [<module>]   in-place switch of a legacy-declared database
//   qor_udrgen to-legacy <script> <out> [<module>] the way back
//   qor_udrgen upgrade-check <script> <out>        declarations that differ from the shipped ones
//   qor_udrgen noops  <script> <out> [<module>]   no-op entry points of the same signatures (benchmark)
//   qor_udrgen check  <script> <sql dir>          the committed scripts are up to date
// <module> (default qor_udf3.dll) is the library the declarations name.
#include <cstdio>
#include <string>

#include "udr_catalog.h"

namespace {

int Usage() {
  std::fputs("usage: qor_udrgen table|sql|to-udr|to-legacy|upgrade-check|noops <script> <out> [<module>]\n"
             "       qor_udrgen check <script> <sql dir>\n",
             stderr);
  return 2;
}

// Writes the file only when its content changes (keeps rebuilds quiet).
bool WriteIfChanged(const std::string& path, const std::string& text) {
  if (catalog::ReadFile(path) == text) return true;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string cmd = argv[1];
  const std::string module = argc > 4 ? argv[4] : catalog::kModule;
  const std::string script = catalog::ReadFile(argv[2]);
  if (script.empty()) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  catalog::Catalog cat = catalog::ParseForModule(script, module);
  for (const auto& e : cat.errors) std::fprintf(stderr, "%s: %s\n", argv[2], e.c_str());
  if (!cat.errors.empty()) return 1;
  // A declaration the UDR front cannot serve leaves that function out of the
  // UDR files (the engine tests name it); the rest is written.
  std::vector<std::string> refused;
  std::vector<catalog::Shape> shapes = catalog::Shapes(cat, refused);
  for (const auto& e : refused) {
    std::fprintf(stderr, "%s: warning: no UDR form for %s\n", argv[2], e.c_str());
  }

  if (cmd == "check") {
    const std::string dir = argv[3];
    const std::pair<std::string, std::string> files[] = {
        {dir + "/qor_udf3_udr.sql", catalog::UdrScript(cat, shapes, module)},
        {dir + "/qor_udf3_to_udr.sql", catalog::ToUdrScript(cat, shapes, module)},
        {dir + "/qor_udf3_to_legacy.sql", catalog::ToLegacyScript(cat, shapes, module)},
        {dir + "/qor_udf3_upgrade_check.sql", catalog::UpgradeCheckScript(cat, shapes)},
    };
    int rc = 0;
    for (const auto& [path, text] : files) {
      if (catalog::ReadFile(path) != text) {
        std::fprintf(stderr, "%s differs from %s; run the 'udr_sql' build target\n",
                     path.c_str(), argv[2]);
        rc = 1;
      }
    }
    return rc;
  }
  std::string text;
  if (cmd == "table") {
    text = catalog::UdrTable(cat, shapes);
  } else if (cmd == "sql") {
    text = catalog::UdrScript(cat, shapes, module);
  } else if (cmd == "to-udr") {
    text = catalog::ToUdrScript(cat, shapes, module);
  } else if (cmd == "to-legacy") {
    text = catalog::ToLegacyScript(cat, shapes, module);
  } else if (cmd == "upgrade-check") {
    text = catalog::UpgradeCheckScript(cat, shapes);
  } else if (cmd == "noops") {
    text = catalog::NoopSource(cat, shapes);
  } else {
    return Usage();
  }
  if (!WriteIfChanged(argv[3], text)) {
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
