// qor_catalog: works with the function catalogue in the SQL declaration
// script.
//   qor_catalog check  <script> [<README>]  problems in the script; README table up to date
//   qor_catalog readme <script> <README>    rewrites the README's function table
//   qor_catalog names  <script>             the declared function names, one per line
//   qor_catalog demo   <script>             an isql script that runs every example
//   qor_catalog reference       <script> <md>  rewrites the function reference
//   qor_catalog check-reference <script> <md>  the function reference is up to date
//   qor_catalog noop-source     <script> <cpp> the benchmark's no-op entry points
// When the README holds the overview markers, check and readme also keep the
// overview by subsystem between them.
#include <cstdio>
#include <cstring>
#include <string>

#include "catalog.h"
#include "noop_gen.h"
#include "reference.h"

namespace {

int Usage() {
  std::fputs("usage: qor_catalog check|readme|names|demo|reference|check-reference|noop-source\n"
             "                   <script> [<file>]\n",
             stderr);
  return 2;
}

bool SpliceReadme(const std::string& readme, const std::string& table, std::string& out) {
  size_t b = readme.find(catalog::kReadmeBegin);
  size_t e = readme.find(catalog::kReadmeEnd);
  if (b == std::string::npos || e == std::string::npos || e < b) return false;
  b += std::strlen(catalog::kReadmeBegin);
  out = readme.substr(0, b) + "\n" + table + readme.substr(e);
  return true;
}

// The reference path as the README links it.
constexpr const char* kReferenceLink = "docs/functions.md";

// Writes `text` to `path` unless it already holds exactly that.
int WriteIfChanged(const char* path, const std::string& old_text, const std::string& text) {
  if (text == old_text) return 0;
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size()) {
    std::fprintf(stderr, "cannot write %s\n", path);
    if (f != nullptr) std::fclose(f);
    return 1;
  }
  return std::fclose(f) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string cmd = argv[1];
  std::string script = catalog::ReadFile(argv[2]);
  if (script.empty()) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  catalog::Catalog cat = catalog::Parse(script);
  for (const auto& e : cat.errors) std::fprintf(stderr, "%s: %s\n", argv[2], e.c_str());
  if (!cat.errors.empty()) return 1;

  if (cmd == "names") {
    for (const auto& f : cat.functions) std::printf("%s\n", f.name.c_str());
    return 0;
  }
  if (cmd == "demo") {
    std::printf("SET LIST ON;\n");
    for (const auto& f : cat.functions) {
      for (const auto& ex : f.examples) {
        std::printf("SELECT '%s' AS \"call\", %s AS \"result\" FROM RDB$DATABASE;\n",
                    [&] {
                      std::string q;
                      for (char c : ex.expr) {
                        q.push_back(c);
                        if (c == '\'') q.push_back('\'');
                      }
                      return q;
                    }().c_str(),
                    ex.expr.c_str());
      }
    }
    return 0;
  }
  if (cmd == "noop-source") {
    if (argc < 4) return Usage();
    return WriteIfChanged(argv[3], catalog::ReadFile(argv[3]), catalog::NoopSource(cat));
  }
  if (cmd == "reference" || cmd == "check-reference") {
    if (argc < 4) return Usage();
    const std::string old_text = catalog::ReadFile(argv[3]);
    const std::string text = catalog::Reference(cat);
    if (cmd == "reference") return WriteIfChanged(argv[3], old_text, text);
    if (old_text != text) {
      std::fprintf(stderr, "%s: the function reference differs from %s; run the 'readme' build target\n",
                   argv[3], argv[2]);
      return 1;
    }
    return 0;
  }
  if (cmd == "check" || cmd == "readme") {
    if (argc < 4) return cmd == "check" ? 0 : Usage();
    std::string readme = catalog::ReadFile(argv[3]);
    std::string updated;
    if (!SpliceReadme(readme, catalog::ReadmeTable(cat), updated)) {
      std::fprintf(stderr, "%s: no function table markers\n", argv[3]);
      return 1;
    }
    if (updated.find(catalog::kOverviewBegin) != std::string::npos) {
      std::string with_overview;
      if (!catalog::SpliceBetween(updated, catalog::kOverviewBegin, catalog::kOverviewEnd,
                                  catalog::ReadmeOverview(cat, kReferenceLink), with_overview)) {
        std::fprintf(stderr, "%s: broken overview markers\n", argv[3]);
        return 1;
      }
      updated = with_overview;
    }
    if (cmd == "check") {
      if (updated != readme) {
        std::fprintf(stderr,
                     "%s: the function table differs from %s; run the 'readme' build target\n",
                     argv[3], argv[2]);
        return 1;
      }
      return 0;
    }
    if (updated != readme) {
      FILE* f = std::fopen(argv[3], "wb");
      if (f == nullptr || std::fwrite(updated.data(), 1, updated.size(), f) != updated.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
      }
      std::fclose(f);
    }
    return 0;
  }
  return Usage();
}
