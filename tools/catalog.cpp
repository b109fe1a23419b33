#include "catalog.h"

#include <cstdio>
#include <cstdlib>
#include <vector>
#include <regex>
#include <sstream>

namespace catalog {

namespace {

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

// "<type> [(n)] [CHARACTER SET cs] <rest>": the kind, length and charset; the
// words after the type are left in `rest`.
bool ParseType(const std::string& text, ArgKind& kind, int& length, std::string& charset,
               std::string& rest, std::string& error) {
  static const std::regex kType(
      R"(^(CSTRING\s*\(\s*(\d+)\s*\)|DOUBLE PRECISION|INTEGER|INT|SMALLINT|BIGINT|TIMESTAMP|DATE|BLOB)(\s+CHARACTER SET\s+(\w+))?(.*)$)");
  std::smatch m;
  std::string u = Upper(Trim(text));
  if (!std::regex_match(u, m, kType)) {
    error = "unsupported type: " + text;
    return false;
  }
  std::string t = m[1];
  length = 0;
  if (t.rfind("CSTRING", 0) == 0) {
    kind = ArgKind::Text;
    length = std::atoi(m[2].str().c_str());
    if (length < 1 || length > 32767) {
      error = "CSTRING length out of range: " + text;
      return false;
    }
  } else if (t == "DOUBLE PRECISION") {
    kind = ArgKind::Double;
  } else if (t == "INTEGER" || t == "INT") {
    kind = ArgKind::Integer;
  } else if (t == "SMALLINT") {
    kind = ArgKind::Smallint;
  } else if (t == "BIGINT") {
    kind = ArgKind::Bigint;
  } else if (t == "TIMESTAMP") {
    kind = ArgKind::TimeStamp;
  } else if (t == "DATE") {
    kind = ArgKind::Date;
  } else {
    kind = ArgKind::Blob;
  }
  charset = m[4];
  if (!charset.empty() && kind != ArgKind::Text) {
    error = "CHARACTER SET on a non-text type: " + text;
    return false;
  }
  rest = Trim(m[5]);
  return true;
}

}  // namespace

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> SplitTopLevel(const std::string& s) {
  std::vector<std::string> out;
  std::string cur;
  int depth = 0;
  bool quoted = false;
  for (char c : s) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && c == '(') ++depth;
    if (!quoted && c == ')') --depth;
    if (!quoted && c == ',' && depth == 0) {
      out.push_back(Trim(cur));
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!Trim(cur).empty() || !out.empty()) out.push_back(Trim(cur));
  return out;
}

std::string TableCell(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '|') out += "\\|";
    else out.push_back(c);
  }
  return out;
}

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
      if (!ParseShape(pending, pending.shape, pending.shape_error)) {
        pending.shape = Shape{};
        pending.shape.served = false;
      }
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

bool ParseShape(const Function& f, Shape& out, std::string& error) {
  out = Shape{};
  for (const std::string& a : SplitTopLevel(f.arguments)) {
    ArgShape arg;
    std::string rest;
    if (!ParseType(a, arg.kind, arg.length, arg.charset, rest, error)) return false;
    if (rest == "NULL") {
      arg.nullable = true;
    } else if (!rest.empty()) {
      error = "unsupported argument passing: " + a;
      return false;
    }
    out.args.push_back(arg);
  }
  if (out.args.size() > 15) {
    error = "more than 15 arguments";
    return false;
  }
  std::string r = Upper(Trim(f.returns));
  static const std::regex kParameter(R"(^PARAMETER\s+(\d+)$)");
  std::smatch m;
  if (std::regex_match(r, m, kParameter)) {
    out.mode = ReturnMode::Parameter;
    out.parameter = std::atoi(m[1].str().c_str());
    if (out.parameter < 1 || out.parameter > static_cast<int>(out.args.size()) ||
        out.args[static_cast<size_t>(out.parameter - 1)].kind != ArgKind::Blob) {
      error = "RETURNS PARAMETER must name a BLOB argument";
      return false;
    }
    out.result = ArgKind::Blob;
    return true;
  }
  std::string rest;
  if (!ParseType(r, out.result, out.result_length, out.result_charset, rest, error)) return false;
  if (out.result == ArgKind::Blob) {
    error = "a BLOB result must be RETURNS PARAMETER n";
    return false;
  }
  if (rest == "BY VALUE") {
    out.mode = ReturnMode::ByValue;
    if (out.result == ArgKind::Text || out.result == ArgKind::TimeStamp ||
        out.result == ArgKind::Date) {
      error = "texts, timestamps and dates cannot be returned by value";
      return false;
    }
  } else if (rest == "FREE_IT") {
    out.mode = ReturnMode::FreeIt;
  } else if (rest.empty()) {
    out.mode = ReturnMode::ByReference;
  } else {
    error = "unsupported RETURNS clause: " + f.returns;
    return false;
  }
  return true;
}

std::vector<Shape> Shapes(const Catalog& cat, std::vector<std::string>& errors) {
  std::vector<Shape> out;
  for (const Function& f : cat.functions) {
    if (!f.shape_error.empty()) errors.push_back(f.name + ": " + f.shape_error);
    out.push_back(f.shape);
  }
  return out;
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
    out += "| `" + TableCell(f.signature) + "` | " + TableCell(f.arguments.empty() ? "none" : f.arguments) +
           " | " + TableCell(f.returns) + " | " + TableCell(f.doc) + " | `" + TableCell(ex.expr) + "` → `" +
           TableCell(ex.expected) + "` |\n";
  }
  return out;
}

}  // namespace catalog
