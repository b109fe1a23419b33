// qor_gen: every file made from the declaration script.
//
//   qor_gen all   <script> <source dir>   rewrites every committed generated file
//   qor_gen check <script> <source dir>   fails when one of them is out of date
//       (the README's function table and overview, docs/functions.md, and the
//       scripts in sql/: the UDR, switch, way-back and upgrade-check scripts,
//       each also for WIN1252 and, for the UDR and switch scripts, in the
//       compact size profile, and qor_udf3_win1252.sql)
//
// One file at a time (into the build tree, or for a test library):
//   qor_gen names  <script>                the declared function names, one per line
//   qor_gen demo   <script>                an isql script that runs every example
//   qor_gen seeds  <script> <dir>          a fuzz seed for every function without one
//   qor_gen readme <script> <README>       the README's function table and overview
//   qor_gen reference <script> <md>        the function reference
//   qor_gen noop-source <script> <cpp>     the benchmark's no-op entry points
//   qor_gen table|sql|to-udr|to-legacy|legacy|upgrade-check|sql-compact|to-udr-compact|noops
//           <script> <out> [<module> [<charset>]]
// <module> (default qor_udf3.dll) is the library the declarations name.
// <charset> declares every text that names no set in that one-byte set, for
// a database whose default set has several bytes per character; without it
// texts are in the database's default set.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "catalog.h"
#include "noop_gen.h"
#include "reference.h"
#include "udr_catalog.h"
#include "udr_profile.h"

namespace {

int Usage() {
  std::fputs("usage: qor_gen all|check <script> <source dir>\n"
             "       qor_gen names|demo <script>\n"
             "       qor_gen seeds <script> <corpus dir>\n"
             "       qor_gen readme|reference|noop-source <script> <file>\n"
             "       qor_gen table|sql|to-udr|to-legacy|legacy|upgrade-check|sql-compact|to-udr-compact|noops\n"
             "               <script> <out> [<module> [<charset>]]\n",
             stderr);
  return 2;
}

// Writes the file only when its content changes (keeps rebuilds quiet).
bool WriteIfChanged(const std::string& path, const std::string& text) {
  if (catalog::ReadFile(path) == text) return true;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return ok;
}

// The reference path as the README links it.
constexpr const char* kReferenceLink = "docs/functions.md";

// The README with its function table (and overview, when it has the markers)
// made from the catalogue. False when the markers are missing.
bool Readme(const catalog::Catalog& cat, const std::string& path, const std::string& readme,
            std::string& out) {
  if (!catalog::SpliceBetween(readme, catalog::kReadmeBegin, catalog::kReadmeEnd,
                              catalog::ReadmeTable(cat), out)) {
    std::fprintf(stderr, "%s: no function table markers\n", path.c_str());
    return false;
  }
  if (out.find(catalog::kOverviewBegin) == std::string::npos) return true;
  std::string with_overview;
  if (!catalog::SpliceBetween(out, catalog::kOverviewBegin, catalog::kOverviewEnd,
                              catalog::ReadmeOverview(cat, kReferenceLink), with_overview)) {
    std::fprintf(stderr, "%s: broken overview markers\n", path.c_str());
    return false;
  }
  out = with_overview;
  return true;
}

// The catalogue of the script as declared for one character set (none: the
// database's default) and module.
struct Variant {
  std::string legacy;
  catalog::Catalog cat;
  std::vector<catalog::Shape> shapes;
};

bool MakeVariant(const std::string& source, const char* script_path, const std::string& charset,
                 const std::string& module, Variant& v) {
  v.legacy = catalog::ScriptInCharset(source, charset);
  v.cat = catalog::ParseForModule(v.legacy, module);
  for (const auto& e : v.cat.errors) std::fprintf(stderr, "%s: %s\n", script_path, e.c_str());
  if (!v.cat.errors.empty()) return false;
  // A declaration the UDR front cannot serve leaves that function out of the
  // UDR files (the engine tests name it); the rest is written.
  std::vector<std::string> refused;
  v.shapes = catalog::Shapes(v.cat, refused);
  for (const auto& e : refused) {
    std::fprintf(stderr, "%s: warning: no UDR form for %s\n", script_path, e.c_str());
  }
  return true;
}

// One generated file of a variant by its subcommand name; false for an
// unknown name.
bool OneFile(const std::string& cmd, const Variant& v, const std::string& module, std::string& text) {
  const catalog::Catalog& cat = v.cat;
  const std::vector<catalog::Shape>& shapes = v.shapes;
  if (cmd == "legacy") {
    text = v.legacy;
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
    return false;
  }
  return true;
}

// Every committed generated file under the source directory `root`, with the
// content it should have.
bool Committed(const std::string& source, const char* script_path, const std::string& root,
               std::vector<std::pair<std::string, std::string>>& files) {
  const std::string module = catalog::kModule;
  for (const std::string cs : {"", catalog::kMultiByteTextCharset}) {
    Variant v;
    if (!MakeVariant(source, script_path, cs, module, v)) return false;
    if (cs.empty()) {
      const std::string readme_path = root + "/README.md";
      std::string readme;
      if (!Readme(v.cat, readme_path, catalog::ReadFile(readme_path), readme)) return false;
      files.push_back({readme_path, readme});
      files.push_back({root + "/docs/functions.md", catalog::Reference(v.cat)});
    }
    const std::pair<const char*, const char*> scripts[] = {
        {"qor_udf3.sql", "legacy"},
        {"qor_udf3_udr.sql", "sql"},
        {"qor_udf3_to_udr.sql", "to-udr"},
        {"qor_udf3_to_legacy.sql", "to-legacy"},
        {"qor_udf3_upgrade_check.sql", "upgrade-check"},
        {"qor_udf3_udr_compact.sql", "sql-compact"},
        {"qor_udf3_to_udr_compact.sql", "to-udr-compact"},
    };
    for (const auto& [name, cmd] : scripts) {
      // The script without a set is the source itself.
      if (cs.empty() && std::string(cmd) == "legacy") continue;
      std::string text;
      OneFile(cmd, v, module, text);
      files.push_back({root + "/sql/" + catalog::ScriptFileName(name, cs), text});
    }
  }
  return true;
}

std::string SqlLiteral(const std::string& s) {
  std::string q;
  for (char c : s) {
    q.push_back(c);
    if (c == '\'') q.push_back('\'');
  }
  return q;
}

// A fuzz seed: the function's name and a NUL (the target picks the function
// by it), the arguments of its first documented example as text material,
// and a tail of bytes that the target reads as choices of argument kinds.
std::string Seed(const catalog::Function& f) {
  std::string example;
  const std::string call = f.name + "(";
  for (const auto& ex : f.examples) {
    if (ex.expr.compare(0, call.size(), call) != 0) continue;
    const size_t close = ex.expr.rfind(')');
    if (close != std::string::npos && close >= call.size()) {
      example = ex.expr.substr(call.size(), close - call.size());
    }
    break;
  }
  return f.name + std::string(1, '\0') + example +
         "\x20\x40\x60\x80\xa0\xc0\xe0\xff\x11\x22\x33\x44\x55\x66\x77\x88";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string cmd = argv[1];
  const std::string source = catalog::ReadFile(argv[2]);
  if (source.empty()) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }

  if (cmd == "all" || cmd == "check") {
    if (argc < 4) return Usage();
    std::vector<std::pair<std::string, std::string>> files;
    if (!Committed(source, argv[2], argv[3], files)) return 1;
    int rc = 0;
    for (const auto& [path, text] : files) {
      if (cmd == "all") {
        if (!WriteIfChanged(path, text)) rc = 1;
      } else if (catalog::ReadFile(path) != text) {
        std::fprintf(stderr, "%s differs from %s; run the 'generated' build target\n",
                     path.c_str(), argv[2]);
        rc = 1;
      }
    }
    return rc;
  }

  const std::string module = argc > 4 ? argv[4] : catalog::kModule;
  const std::string charset = argc > 5 ? argv[5] : "";
  Variant v;
  if (!MakeVariant(source, argv[2], charset, module, v)) return 1;
  const catalog::Catalog& cat = v.cat;

  if (cmd == "names") {
    for (const auto& f : cat.functions) std::printf("%s\n", f.name.c_str());
    return 0;
  }
  if (cmd == "demo") {
    std::printf("SET LIST ON;\n");
    for (const auto& f : cat.functions) {
      for (const auto& ex : f.examples) {
        std::printf("SELECT '%s' AS \"call\", %s AS \"result\" FROM RDB$DATABASE;\n",
                    SqlLiteral(ex.expr).c_str(), ex.expr.c_str());
      }
    }
    return 0;
  }
  if (argc < 4) return Usage();
  const std::string out = argv[3];
  if (cmd == "seeds") {
    for (const auto& f : cat.functions) {
      const std::string path = out + "/seed_" + f.name;
      if (FILE* seen = std::fopen(path.c_str(), "rb")) {
        std::fclose(seen);
        continue;
      }
      if (!WriteIfChanged(path, Seed(f))) return 1;
      std::printf("new seed: %s\n", path.c_str());
    }
    return 0;
  }
  std::string text;
  if (cmd == "readme") {
    if (!Readme(cat, out, catalog::ReadFile(out), text)) return 1;
  } else if (cmd == "reference") {
    text = catalog::Reference(cat);
  } else if (cmd == "noop-source") {
    text = catalog::NoopSource(cat);
  } else if (!OneFile(cmd, v, module, text)) {
    return Usage();
  }
  return WriteIfChanged(out, text) ? 0 : 1;
}
