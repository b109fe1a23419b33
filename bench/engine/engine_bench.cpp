// What each declared function costs per call through the embedded engine,
// next to a no-op entry point declared with the same SQL signature.
//
// For every function of sql/qor_udf3.sql its first example without NULL is
// the typical call. It runs as COUNT(<call>) over a table of rows, and the
// same query with the no-op twin runs alternately with it; the fastest round
// of each gives the microseconds per call, the no-op's and their ratio. Functions with a
// blob argument run once more with that argument 1 KB and 1 MB long (the
// example's text, then filler lines), to show that their cost grows linearly.
//
//   qor_engine_bench [--rounds=N] [--filter=TEXT] [--dry-run]
//
// --dry-run runs every query once on one row and times nothing: it checks
// that every case and its no-op twin run through the engine.
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalog.h"
#include "fb_session.h"
#include "private_root.h"
#include "noop_gen.h"

namespace {

using fbtest::FbSession;

constexpr int kRowCount = 20000;  // rows in BENCH_ROWS, the most one query uses
constexpr int kMinRows = 20;
constexpr double kTargetSeconds = 0.1;  // aimed duration of one timed query

struct Options {
  int rounds = 7;
  std::string filter;
  bool dry_run = false;
};

// An embedded engine with a private root that may load both the library and
// the no-op library, and a fresh database with the declaration script
// applied, in a temporary directory that is also the working directory.
class Engine {
 public:
  Engine()
      : root_(fbtest::MakePrivateRoot({"qor_bench_", std::string(QOR_LIBRARY_DIR) + ";" + QOR_NOOP_DIR, "",
                                       QOR_SQL_SCRIPT})) {
    if (chdir(root_.work.c_str()) != 0) throw std::runtime_error("chdir failed");
    db_ = std::make_unique<FbSession>(root_.database);
  }
  ~Engine() {
    db_.reset();
    fbtest::RemovePrivateRoot(root_);
  }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  FbSession& Db() { return *db_; }

 private:
  fbtest::PrivateRoot root_;
  std::unique_ptr<FbSession> db_;
};

// Splits at the commas outside quotes and parentheses.
std::vector<std::string> SplitTopLevel(const std::string& s) {
  std::vector<std::string> out(1);
  int depth = 0;
  bool quoted = false;
  for (char c : s) {
    if (c == '\'') quoted = !quoted;  // '' inside a literal toggles twice
    if (!quoted && c == '(') ++depth;
    if (!quoted && c == ')') --depth;
    if (!quoted && depth == 0 && c == ',') {
      out.emplace_back();
      continue;
    }
    out.back().push_back(c);
  }
  for (auto& part : out) {
    size_t b = part.find_first_not_of(' ');
    size_t e = part.find_last_not_of(' ');
    part = b == std::string::npos ? std::string() : part.substr(b, e - b + 1);
  }
  if (out.size() == 1 && out[0].empty()) out.clear();
  return out;
}

// The call of `name` in an expression: where its name starts and its
// argument list "(...)" ends, and the arguments. False when there is none.
struct Call {
  size_t start = 0, open = 0, close = 0;
  std::vector<std::string> args;
};
bool FindCall(const std::string& expr, const std::string& name, Call& call) {
  for (size_t at = expr.find(name + "("); at != std::string::npos; at = expr.find(name + "(", at + 1)) {
    if (at > 0 && (std::isalnum(static_cast<unsigned char>(expr[at - 1])) || expr[at - 1] == '_')) continue;
    call.start = at;
    call.open = at + name.size();
    int depth = 0;
    bool quoted = false;
    for (size_t i = call.open; i < expr.size(); ++i) {
      const char c = expr[i];
      if (c == '\'') quoted = !quoted;
      if (quoted) continue;
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) {
        call.close = i;
        call.args = SplitTopLevel(expr.substr(call.open + 1, i - call.open - 1));
        return true;
      }
    }
    return false;
  }
  return false;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The first SQL text literal in an expression, quotes included.
std::string FirstLiteral(const std::string& expr) {
  size_t b = expr.find('\'');
  if (b == std::string::npos) return {};
  for (size_t i = b + 1; i < expr.size(); ++i) {
    if (expr[i] != '\'') continue;
    if (i + 1 < expr.size() && expr[i + 1] == '\'') {
      ++i;
      continue;
    }
    return expr.substr(b, i - b + 1);
  }
  return {};
}

// One timed case: the function's call and its no-op twin, over `from`.
struct Case {
  std::string function;
  std::string input = "typical";
  std::string call, noop;
  std::string from = "(SELECT FIRST {n} ID FROM BENCH_ROWS) R";
  int rows = 0;
  double us = 0, noop_us = 0;
  std::string failure;
};

std::string Query(const std::string& expr, const std::string& from, int rows) {
  std::string f = from;
  const size_t at = f.find("{n}");
  if (at != std::string::npos) f.replace(at, 3, std::to_string(rows));
  return "SELECT COUNT(" + expr + ") FROM " + f;
}

double Seconds(FbSession& db, const std::string& sql) {
  const auto start = std::chrono::steady_clock::now();
  db.Query(sql);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fastest round: other load on the machine only ever adds time.
double Fastest(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

// The typical call and, for blob arguments, the sized calls of a function.
std::vector<Case> CasesOf(const catalog::Function& f, FbSession& db, int& blob_id) {
  std::vector<Case> out;
  const catalog::Example* typical = nullptr;
  for (const auto& ex : f.examples) {
    if (ex.expr.find("NULL") == std::string::npos) {
      typical = &ex;
      break;
    }
  }
  if (typical == nullptr && !f.examples.empty()) typical = &f.examples.front();
  Case base;
  base.function = f.name;
  Call call;
  if (typical == nullptr || !FindCall(typical->expr, f.name, call)) {
    base.failure = "no example calls " + f.name;
    out.push_back(base);
    return out;
  }
  auto twin = [&](const std::string& expr, const Call& c) {
    return expr.substr(0, c.start) + catalog::NoopName(f.name) + expr.substr(c.open);
  };
  base.call = typical->expr;
  base.noop = twin(typical->expr, call);
  out.push_back(base);

  // Blob arguments at 1 KB and 1 MB: the example's text and filler lines.
  std::vector<std::string> types = SplitTopLevel(f.arguments);
  // A blob result is a declared argument that the call does not pass.
  const std::string returns = Upper(f.returns);
  const size_t parameter = returns.find("PARAMETER ");
  if (parameter != std::string::npos) {
    const size_t k = static_cast<size_t>(std::atoi(returns.c_str() + parameter + 10));
    if (k >= 1 && k <= types.size()) types.erase(types.begin() + static_cast<std::ptrdiff_t>(k - 1));
  }
  if (types.size() != call.args.size()) return out;
  std::vector<size_t> blobs;
  std::string literal;
  for (size_t i = 0; i < types.size(); ++i) {
    if (Upper(types[i]).find("BLOB") == std::string::npos) continue;
    blobs.push_back(i);
    if (literal.empty()) literal = FirstLiteral(call.args[i]);
  }
  if (blobs.empty()) return out;
  if (literal.size() <= 2) literal = "'x'";
  for (const auto& [label, size] : {std::pair<const char*, int>{"1 KB", 1024}, {"1 MB", 1 << 20}}) {
    const int id = ++blob_id;
    // The example's text on the first line, then filler lines that match no
    // key, so that a call reads the whole blob but its answer stays as short
    // as the example's.
    db.Execute("EXECUTE BLOCK AS DECLARE b BLOB SUB_TYPE TEXT; DECLARE f BLOB SUB_TYPE TEXT; BEGIN b = " +
               literal + " || ASCII_CHAR(10); f = '~~~~~~~~~~~~~~~' || ASCII_CHAR(10); WHILE (OCTET_LENGTH(f) < " +
               std::to_string(size) + ") DO f = f || f; " +
               "INSERT INTO BENCH_BLOBS (ID, B) VALUES (" + std::to_string(id) + ", LEFT(:b || :f, " +
               std::to_string(size) + ")); END");
    std::string args;
    for (size_t i = 0; i < call.args.size(); ++i) {
      if (i > 0) args += ", ";
      args += std::find(blobs.begin(), blobs.end(), i) != blobs.end() ? std::string("B.B") : call.args[i];
    }
    const std::string expr = typical->expr.substr(0, call.open) + "(" + args + ")" +
                             typical->expr.substr(call.close + 1);
    Call sized;
    FindCall(expr, f.name, sized);
    Case c;
    c.function = f.name;
    c.input = label;
    c.call = expr;
    c.noop = twin(expr, sized);
    c.from = "(SELECT FIRST {n} ID FROM BENCH_ROWS) R CROSS JOIN BENCH_BLOBS B WHERE B.ID = " +
             std::to_string(id);
    out.push_back(c);
  }
  return out;
}

void Measure(Case& c, FbSession& db, const Options& opt) {
  if (opt.dry_run) {
    c.rows = 1;
    db.Query(Query(c.call, c.from, 1));
    db.Query(Query(c.noop, c.from, 1));
    return;
  }
  // Enough rows for one query to take about kTargetSeconds: grown until the
  // fixed cost of a query (prepare, transaction) no longer dominates.
  db.Query(Query(c.call, c.from, 1));  // loads the module
  db.Query(Query(c.noop, c.from, 1));
  int rows = kMinRows;
  for (;;) {
    const double t = Seconds(db, Query(c.call, c.from, rows));
    if (t >= kTargetSeconds / 2 || rows >= kRowCount) break;
    const double factor = t > 0 ? std::clamp(kTargetSeconds / t, 2.0, 10.0) : 10.0;
    rows = static_cast<int>(std::min(double{kRowCount}, rows * factor));
  }
  c.rows = rows;
  const std::string call = Query(c.call, c.from, c.rows);
  const std::string noop = Query(c.noop, c.from, c.rows);
  std::vector<double> calls, noops;
  for (int r = 0; r < opt.rounds; ++r) {
    // Alternate which of the two goes first.
    if (r % 2 == 0) {
      calls.push_back(Seconds(db, call));
      noops.push_back(Seconds(db, noop));
    } else {
      noops.push_back(Seconds(db, noop));
      calls.push_back(Seconds(db, call));
    }
  }
  c.us = Fastest(calls) * 1e6 / c.rows;
  c.noop_us = Fastest(noops) * 1e6 / c.rows;
}

int Run(const Options& opt) {
  const catalog::Catalog cat = catalog::Parse(catalog::ReadFile(QOR_SQL_SCRIPT));
  for (const auto& e : cat.errors) std::fprintf(stderr, "%s: %s\n", QOR_SQL_SCRIPT, e.c_str());
  if (!cat.errors.empty() || cat.functions.empty()) return 1;

  Engine engine;
  FbSession& db = engine.Db();
  db.Execute("CREATE TABLE BENCH_ROWS (ID INTEGER NOT NULL PRIMARY KEY)");
  db.Execute("CREATE TABLE BENCH_BLOBS (ID INTEGER NOT NULL PRIMARY KEY, B BLOB SUB_TYPE TEXT)");
  db.Execute("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < " + std::to_string(kRowCount) +
             ") DO BEGIN i = i + 1; INSERT INTO BENCH_ROWS (ID) VALUES (:i); END END");
  for (const auto& f : cat.functions) db.Execute(catalog::NoopDeclaration(f));

  std::vector<Case> cases;
  int blob_id = 0;
  int failures = 0;
  for (const auto& f : cat.functions) {
    if (!opt.filter.empty() && f.name.find(opt.filter) == std::string::npos) continue;
    std::vector<Case> mine;
    try {
      mine = CasesOf(f, db, blob_id);
    } catch (const std::exception& e) {
      Case failed;
      failed.function = f.name;
      failed.failure = e.what();
      mine.push_back(failed);
    }
    for (auto& c : mine) {
      if (c.failure.empty()) {
        try {
          Measure(c, db, opt);
        } catch (const std::exception& e) {
          c.failure = e.what();
        }
      }
      if (!c.failure.empty()) {
        ++failures;
        std::fprintf(stderr, "%s (%s): %s\n", c.function.c_str(), c.input.c_str(), c.failure.c_str());
      }
      cases.push_back(c);
    }
  }
  if (opt.dry_run) {
    std::printf("dry run: %zu cases of %zu functions, %d failed\n", cases.size(), cat.functions.size(),
                failures);
    return failures == 0 ? 0 : 1;
  }

  std::stable_sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) {
    auto ratio = [](const Case& c) { return c.failure.empty() && c.noop_us > 0 ? c.us / c.noop_us : 1e300; };
    return ratio(a) < ratio(b);
  });
  std::printf("| Function | Input | Rows | µs per call | No-op µs | Ratio |\n");
  std::printf("|---|---|---:|---:|---:|---:|\n");
  for (const auto& c : cases) {
    if (!c.failure.empty()) {
      std::printf("| %s | %s | | failed | | |\n", c.function.c_str(), c.input.c_str());
      continue;
    }
    const double ratio = c.noop_us > 0 ? c.us / c.noop_us : 0;
    std::printf("| %s | %s | %d | %.2f | %.2f | %.2f%s |\n", c.function.c_str(), c.input.c_str(), c.rows,
                c.us, c.noop_us, ratio, ratio > 1.10 ? " *" : "");
  }
  std::printf("\n* above 1.10 times the no-op. %d case(s) failed.\n", failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--dry-run") {
      opt.dry_run = true;
    } else if (arg.rfind("--rounds=", 0) == 0) {
      opt.rounds = std::max(1, std::atoi(arg.c_str() + 9));
    } else if (arg.rfind("--filter=", 0) == 0) {
      opt.filter = arg.substr(9);
    } else {
      std::fprintf(stderr, "usage: %s [--rounds=N] [--filter=TEXT] [--dry-run]\n", argv[0]);
      return 2;
    }
  }
  try {
    return Run(opt);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qor_engine_bench: %s\n", e.what());
    return 1;
  }
}
