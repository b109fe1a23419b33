#include "catalog.h"

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>

namespace catalog {

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::string Squeeze(const std::string& s) {
  std::string out;
  bool blank = false;
  for (char c : s) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out.push_back(' ');
    blank = false;
    out.push_back(c);
  }
  return out;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string ReadFile(const std::string& path) {
  std::string out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  char buf[8192];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

Catalog Parse(const std::string& script) {
  Catalog cat;
  std::istringstream in(script);
  std::string line;
  int line_no = 0;
  std::string group;
  Function pending;
  bool have_pending = false;
  std::string statement;
  int statement_line = 0;
  auto error = [&](int at, const std::string& what) {
    cat.errors.push_back("line " + std::to_string(at) + ": " + what);
  };
  static const std::regex kSignature(R"(^(fn_\w+)\(.*\)$)");
  static const std::regex kDeclare(
      R"(^DECLARE EXTERNAL FUNCTION (\w+) ?(.*?) RETURNS (.*?) ENTRY_POINT '(\w+)' MODULE_NAME '([^']*)';$)",
      std::regex::icase);

  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (statement.empty() && StartsWith(line, "--")) {
      std::string body = line.substr(2);
      if (StartsWith(body, " ## ")) {
        group = Trim(body.substr(4));
      } else if (StartsWith(body, " fn_")) {
        if (have_pending) error(line_no, "documentation of " + pending.name + " has no declaration");
        pending = Function{};
        pending.signature = Trim(body);
        std::smatch m;
        if (!std::regex_match(pending.signature, m, kSignature)) {
          error(line_no, "malformed signature: " + pending.signature);
        } else {
          pending.name = m[1];
        }
        pending.group = group;
        have_pending = true;
      } else if (have_pending && StartsWith(body, "   ")) {
        std::string text = Trim(body);
        if (StartsWith(text, "Example: ")) {
          text = text.substr(9);
          size_t arrow = text.rfind(" -> ");
          if (arrow == std::string::npos) {
            error(line_no, "example without \" -> \"");
          } else {
            pending.examples.push_back({Trim(text.substr(0, arrow)), Trim(text.substr(arrow + 4)), line_no});
          }
        } else if (StartsWith(text, "Logs: ")) {
          if (!pending.logs.empty()) pending.logs.push_back(' ');
          pending.logs += text.substr(6);
        } else {
          if (!pending.doc.empty()) pending.doc.push_back(' ');
          pending.doc += text;
        }
      }
      continue;
    }
    std::string t = Trim(line);
    if (statement.empty() && t.empty()) continue;
    if (statement.empty()) statement_line = line_no;
    statement += line + "\n";
    if (t.empty() || t.back() != ';') continue;

    std::string stmt = Squeeze(statement);
    statement.clear();
    std::smatch m;
    if (std::regex_match(stmt, m, kDeclare)) {
      std::string name = m[1];
      if (!have_pending || pending.name != name) {
        error(statement_line, "declaration of " + name + " without its documentation block");
        continue;
      }
      if (m[4] != name) error(statement_line, name + ": ENTRY_POINT differs from the name");
      if (m[5] != "qor_udf3.dll") error(statement_line, name + ": MODULE_NAME is not 'qor_udf3.dll'");
      if (pending.doc.empty()) error(statement_line, name + ": no description");
      if (pending.examples.empty()) error(statement_line, name + ": no example");
      for (const auto& f : cat.functions) {
        if (f.name == name) error(statement_line, name + " declared twice");
      }
      pending.arguments = m[2];
      pending.returns = m[3];
      pending.declaration = stmt;
      cat.functions.push_back(pending);
      have_pending = false;
    } else if (stmt != "COMMIT;") {
      error(statement_line, "unexpected statement: " + stmt);
    }
  }
  if (!statement.empty()) error(statement_line, "statement without final ';'");
  if (have_pending) error(line_no, "documentation of " + pending.name + " has no declaration");
  return cat;
}

bool DecodeExpected(const std::string& written, Expected& out) {
  out = Expected{};
  if (written == "NULL") {
    out.kind = 'N';
    return true;
  }
  if (written.size() >= 2 && written.front() == '\'' && written.back() == '\'') {
    out.kind = 'T';
    for (size_t i = 1; i + 1 < written.size(); ++i) {
      char c = written[i];
      if (c == '\'') {
        if (i + 2 < written.size() && written[i + 1] == '\'') ++i;
        else return false;
        out.text.push_back('\'');
      } else if (c == '\\' && i + 2 < written.size()) {
        char e = written[++i];
        switch (e) {
          case 'n': out.text.push_back('\n'); break;
          case 'r': out.text.push_back('\r'); break;
          case 't': out.text.push_back('\t'); break;
          case '\\': out.text.push_back('\\'); break;
          default: return false;
        }
      } else {
        out.text.push_back(c);
      }
    }
    return true;
  }
  char* end = nullptr;
  out.kind = 'D';
  out.number = std::strtod(written.c_str(), &end);
  return !written.empty() && end != nullptr && *end == '\0';
}

namespace {

std::string Cell(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '|') out += "\\|";
    else out.push_back(c);
  }
  return out;
}

}  // namespace

std::string ReadmeTable(const Catalog& catalog) {
  std::string out;
  std::string group = "\x01";
  for (const auto& f : catalog.functions) {
    if (f.group != group) {
      group = f.group;
      if (!out.empty()) out += "\n";
      if (!group.empty()) out += "#### " + group + "\n\n";
      out += "| Function | Declared arguments | Result | What it answers | Example |\n";
      out += "|---|---|---|---|---|\n";
    }
    const Example& ex = f.examples.front();
    out += "| `" + Cell(f.signature) + "` | " + Cell(f.arguments.empty() ? "none" : f.arguments) +
           " | " + Cell(f.returns) + " | " + Cell(f.doc) + " | `" + Cell(ex.expr) + "` → `" +
           Cell(ex.expected) + "` |\n";
  }
  return out;
}

}  // namespace catalog
