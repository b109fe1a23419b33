// qor_udrgen: writes the UDR front's files from the declaration script.
//   qor_udrgen table  <script> <out> [<module>]   the routine table the UDR front registers
//   qor_udrgen sql    <script> <out> [<module> [<charset>]]  UDR declarations (CREATE OR ALTER FUNCTION)
//   qor_udrgen to-udr <script> <out> [<module> [<charset>]]  in-place switch of a legacy-declared database
//   qor_udrgen to-legacy <script> <out> [<module> [<charset>]] the way back
//   qor_udrgen legacy <script> <out> [<module> [<charset>]]  the legacy declarations
//   qor_udrgen sql-compact, to-udr-compact ...   as sql and to-udr, in the compact size profile
//   qor_udrgen upgrade-check <script> <out> [<module> [<charset>]] declarations that differ from the shipped ones
//   qor_udrgen noops  <script> <out> [<module>]   no-op entry points of the same signatures (benchmark)
//   qor_udrgen check  <script> <sql dir>          the committed scripts are up to date
// <module> (default qor_udf3.dll) is the library the declarations name.
// <charset> declares every text that names no set in that one-byte set, for
// a database whose default set has several bytes per character; without it
// texts are in the database's default set. The committed scripts in sql/ are
// those without a set and those with WIN1252 (qor_udf3_*_win1252.sql).
#include <cstdio>
#include <string>

#include "udr_catalog.h"
#include "udr_profile.h"

namespace {

int Usage() {
  std::fputs("usage: qor_udrgen table|sql|to-udr|to-legacy|legacy|upgrade-check|sql-compact|to-udr-compact|noops <script> <out> [<module> [<charset>]]\n"
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
  const std::string charset = argc > 5 ? argv[5] : "";
  const std::string source = catalog::ReadFile(argv[2]);
  if (source.empty()) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  // The scripts generated for one character set (none: the database's default).
  struct Generated {
    std::string legacy;
    catalog::Catalog cat;
    std::vector<catalog::Shape> shapes;
  };
  auto generate = [&](const std::string& cs, Generated& g) {
    g.legacy = catalog::ScriptInCharset(source, cs);
    g.cat = catalog::ParseForModule(g.legacy, module);
    for (const auto& e : g.cat.errors) std::fprintf(stderr, "%s: %s\n", argv[2], e.c_str());
    if (!g.cat.errors.empty()) return false;
    // A declaration the UDR front cannot serve leaves that function out of the
    // UDR files (the engine tests name it); the rest is written.
    std::vector<std::string> refused;
    g.shapes = catalog::Shapes(g.cat, refused);
    for (const auto& e : refused) {
      std::fprintf(stderr, "%s: warning: no UDR form for %s\n", argv[2], e.c_str());
    }
    return true;
  };

  if (cmd == "check") {
    const std::string dir = argv[3];
    int rc = 0;
    for (const std::string cs : {"", catalog::kMultiByteTextCharset}) {
      Generated g;
      if (!generate(cs, g)) return 1;
      std::vector<std::pair<std::string, std::string>> files = {
          {"qor_udf3_udr.sql", catalog::UdrScript(g.cat, g.shapes, module)},
          {"qor_udf3_to_udr.sql", catalog::ToUdrScript(g.cat, g.shapes, module)},
          {"qor_udf3_to_legacy.sql", catalog::ToLegacyScript(g.cat, g.shapes, module)},
          {"qor_udf3_upgrade_check.sql", catalog::UpgradeCheckScript(g.cat, g.shapes)},
          {"qor_udf3_udr_compact.sql",
           catalog::CompactScriptNote() + catalog::UdrScript(g.cat, catalog::CompactShapes(g.shapes), module)},
          {"qor_udf3_to_udr_compact.sql",
           catalog::CompactScriptNote() + catalog::ToUdrScript(g.cat, catalog::CompactShapes(g.shapes), module)},
      };
      if (!cs.empty()) files.push_back({"qor_udf3.sql", g.legacy});
      for (const auto& [name, text] : files) {
        const std::string path = dir + "/" + catalog::ScriptFileName(name, cs);
        if (catalog::ReadFile(path) != text) {
          std::fprintf(stderr, "%s differs from %s; run the 'udr_sql' build target\n",
                       path.c_str(), argv[2]);
          rc = 1;
        }
      }
    }
    return rc;
  }
  Generated g;
  if (!generate(charset, g)) return 1;
  const catalog::Catalog& cat = g.cat;
  const std::vector<catalog::Shape>& shapes = g.shapes;
  std::string text;
  if (cmd == "legacy") {
    text = g.legacy;
  } else if (cmd == "table") {
    text = catalog::UdrTable(cat, shapes);
  } else if (cmd == "sql") {
    text = catalog::UdrScript(cat, shapes, module);
  } else if (cmd == "to-udr") {
    text = catalog::ToUdrScript(cat, shapes, module);
  } else if (cmd == "sql-compact") {
    text = catalog::CompactScriptNote() + catalog::UdrScript(cat, catalog::CompactShapes(shapes), module);
  } else if (cmd == "to-udr-compact") {
    text = catalog::CompactScriptNote() + catalog::ToUdrScript(cat, catalog::CompactShapes(shapes), module);
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
