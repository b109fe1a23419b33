#include "reference.h"

#include <cstring>
#include <regex>

namespace catalog {

namespace {

// A code span that survives backticks inside the text.
std::string Code(const std::string& s) {
  size_t longest = 0, run = 0;
  for (char c : s) {
    run = c == '`' ? run + 1 : 0;
    if (run > longest) longest = run;
  }
  const std::string fence(longest + 1, '`');
  const bool pad = !s.empty() && (s.front() == '`' || s.back() == '`');
  return fence + (pad ? " " : "") + s + (pad ? " " : "") + fence;
}

std::string Declaration(const Function& f) {
  std::string out = "DECLARE EXTERNAL FUNCTION " + f.name + "\n";
  if (!f.arguments.empty()) out += "  " + f.arguments + "\n";
  out += "  RETURNS " + f.returns + "\n";
  out += "  ENTRY_POINT '" + f.name + "' MODULE_NAME 'qor_udf3.dll';";
  return out;
}

bool PassesNull(const Example& ex) {
  static const std::regex kNull(R"(\bNULL\b)");
  return std::regex_search(ex.expr, kNull);
}

struct Subsystem {
  std::string name;
  std::vector<std::string> groups;  // in script order
};

std::vector<Subsystem> Subsystems(const Catalog& catalog) {
  std::vector<Subsystem> out;
  for (const auto& f : catalog.functions) {
    const std::string name = SubsystemOf(f.group);
    Subsystem* s = nullptr;
    for (auto& known : out) {
      if (known.name == name) s = &known;
    }
    if (s == nullptr) s = &out.emplace_back(Subsystem{name, {}});
    bool known_group = false;
    for (const auto& g : s->groups) known_group = known_group || g == f.group;
    if (!known_group) s->groups.push_back(f.group);
  }
  return out;
}

std::string Capitalised(std::string s) {
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

void AppendFunction(std::string& out, const Function& f) {
  out += "<a id=\"" + Anchor(f.name) + "\"></a>\n";
  out += "#### " + f.signature + "\n\n";
  out += "```sql\n" + Declaration(f) + "\n```\n\n";

  // The declaration above shows the argument and result types and the
  // heading the argument names: no line repeats them.
  const std::vector<std::string> types = SplitTopLevel(f.arguments);
  out += "**Answers:** " + f.doc + "\n\n";

  if (!types.empty()) {
    out += "**NULL arguments:**";
    const std::vector<std::string> said = NullSentences(f.doc);
    for (const auto& s : said) out += " " + s;
    std::vector<const Example*> with_null;
    for (const auto& ex : f.examples) {
      if (PassesNull(ex)) with_null.push_back(&ex);
    }
    if (!with_null.empty()) {
      out += said.empty() ? " " : " For example ";
      for (size_t i = 0; i < with_null.size(); ++i) {
        if (i > 0) out += ", ";
        out += Code(with_null[i]->expr) + " gives " + Code(with_null[i]->expected);
      }
      out += ".";
    } else if (said.empty()) {
      out += " not described.";
    }
    out += "\n\n";
  }

  // Only what differs from the common logging rule (stated once, at the top).
  if (!f.logs.empty()) out += "**Logs:** " + f.logs + "\n\n";

  out += "| Call | Answer |\n|---|---|\n";
  for (const auto& ex : f.examples) {
    out += "| " + TableCell(Code(ex.expr)) + " | " + TableCell(Code(ex.expected)) + " |\n";
  }
  out += "\n";
}

}  // namespace

std::string Anchor(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c >= 'A' && c <= 'Z') {
      out.push_back(static_cast<char>(c - 'A' + 'a'));
    } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') {
      out.push_back(c);
    } else if (!out.empty() && out.back() != '-') {
      out.push_back('-');
    }
  }
  while (!out.empty() && out.back() == '-') out.pop_back();
  return out;
}

std::string SubsystemOf(const std::string& group) {
  if (group.empty()) return "Other functions";
  size_t colon = group.find(": ");
  return colon == std::string::npos ? group : group.substr(0, colon);
}

std::string PartOf(const std::string& group) {
  size_t colon = group.find(": ");
  return colon == std::string::npos ? std::string() : group.substr(colon + 2);
}

std::vector<std::string> NullSentences(const std::string& doc) {
  static const std::regex kNull(R"(\bNULL\b)");
  std::vector<std::string> out;
  size_t start = 0;
  while (start < doc.size()) {
    size_t end = doc.find(". ", start);
    end = end == std::string::npos ? doc.size() : end + 1;
    std::string sentence = doc.substr(start, end - start);
    size_t b = sentence.find_first_not_of(' ');
    if (b != std::string::npos) sentence = sentence.substr(b);
    if (std::regex_search(sentence, kNull)) {
      out.push_back(Capitalised(sentence));
    }
    start = end;
  }
  return out;
}

bool SpliceBetween(const std::string& text, const char* begin, const char* end,
                   const std::string& content, std::string& out) {
  size_t b = text.find(begin);
  size_t e = text.find(end);
  if (b == std::string::npos || e == std::string::npos || e < b) return false;
  b += std::strlen(begin);
  out = text.substr(0, b) + "\n" + content + text.substr(e);
  return true;
}

std::string Reference(const Catalog& catalog) {
  const std::vector<Subsystem> subsystems = Subsystems(catalog);
  std::string out;
  out += "# Function reference\n\n";
  out += "<!-- Generated from sql/qor_udf3.sql by `qor_gen` (build target `generated`);"
         " a test fails when it is out of date. Do not edit by hand. -->\n\n";
  out += "Every function of `libqor_udf3.dll.so` as declared by `sql/qor_udf3.sql`, by subsystem: "
         "its declaration, what it answers, what SQL NULL arguments give, what it logs when that "
         "is not the rule below, and its examples. The tests run every example through the engine and check the answer shown. "
         "In an answer in quotes, `\\n`, `\\r` and `\\t` stand for a line feed, a carriage return "
         "and a tab, `\\\\` for one backslash and `''` for one quote: `'\\\\\\\\dbhost\\\\daten'` "
         "is the text `\\\\dbhost\\daten`.\n\n";
  out += "**Logs.** An error caught inside a function is written to the error log `qor_udf3.err` "
         "in the server's working directory as `<function>: <message>`, and the call still returns "
         "a valid result. The functions below that log anything else, or nothing, say so under "
         "**Logs**:";
  {
    std::string sep = " ";
    for (const auto& f : catalog.functions) {
      if (f.logs.empty()) continue;
      out += sep + "[" + Code(f.name) + "](#" + Anchor(f.name) + ")";
      sep = ", ";
    }
    out += sep == " " ? " none.\n\n" : ".\n\n";
  }
  out += std::to_string(catalog.functions.size()) + " functions:\n\n";
  for (const auto& s : subsystems) {
    out += "- [" + s.name + "](#" + Anchor(s.name) + ")";
    std::string sep = ": ";
    for (const auto& f : catalog.functions) {
      if (SubsystemOf(f.group) != s.name) continue;
      out += sep + "[" + Code(f.name) + "](#" + Anchor(f.name) + ")";
      sep = ", ";
    }
    out += "\n";
  }
  out += "\n";
  for (const auto& s : subsystems) {
    out += "<a id=\"" + Anchor(s.name) + "\"></a>\n";
    out += "## " + s.name + "\n\n";
    for (const auto& g : s.groups) {
      const std::string part = PartOf(g);
      if (!part.empty()) out += "### " + Capitalised(part) + "\n\n";
      for (const auto& f : catalog.functions) {
        if (f.group == g) AppendFunction(out, f);
      }
    }
  }
  while (out.size() >= 2 && out[out.size() - 1] == '\n' && out[out.size() - 2] == '\n') out.pop_back();
  return out;
}

std::string ReadmeOverview(const Catalog& catalog, const std::string& reference_path) {
  std::string out;
  for (const auto& s : Subsystems(catalog)) {
    out += "- [" + s.name + "](" + reference_path + "#" + Anchor(s.name) + ")";
    std::string sep = ": ";
    for (const auto& f : catalog.functions) {
      if (SubsystemOf(f.group) != s.name) continue;
      out += sep + "[" + Code(f.name) + "](" + reference_path + "#" + Anchor(f.name) + ")";
      sep = ", ";
    }
    out += "\n";
  }
  return out;
}

}  // namespace catalog
