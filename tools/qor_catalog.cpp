// qor_catalog: works with the function catalogue in the SQL declaration
// script.
//   qor_catalog check  <script> [<README>]  problems in the script; README table up to date
//   qor_catalog readme <script> <README>    rewrites the README's function table
//   qor_catalog names  <script>             the declared function names, one per line
//   qor_catalog demo   <script>             an isql script that runs every example
#include <cstdio>
#include <cstring>
#include <string>

#include "catalog.h"

namespace {

int Usage() {
  std::fputs("usage: qor_catalog check|readme|names|demo <script> [<README>]\n", stderr);
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
  if (cmd == "check" || cmd == "readme") {
    if (argc < 4) return cmd == "check" ? 0 : Usage();
    std::string readme = catalog::ReadFile(argv[3]);
    std::string updated;
    if (!SpliceReadme(readme, catalog::ReadmeTable(cat), updated)) {
      std::fprintf(stderr, "%s: no function table markers\n", argv[3]);
      return 1;
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
