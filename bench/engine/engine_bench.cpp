// What each declared function costs per call through the embedded engine:
// through the legacy front and the UDR front (its full and its compact size
// profile), next to no-op entry points of the same SQL signatures and to the
// engine's built-in doing the same job where there is one.
//
// For every function of sql/qor_udf3.sql its first example without NULL is
// the typical call. Each way of making it runs as COUNT(<expression>) over a
// table of rows, all of them alternately in rounds, together with COUNT(1)
// over the same rows, which is taken off: the fastest round of each gives the
// microseconds per call. Functions with a blob argument run once more with
// that argument 1 KB and 1 MB long (the example's text, then filler lines),
// to show that their cost grows linearly; the built-in of a blob function
// without one of its own is one that reads the whole blob.
//
//   qor_engine_bench [--rounds=N] [--filter=TEXT] [--dry-run]
//
// --dry-run runs every query once on one row and times nothing: it checks
// that every case, its no-op twins and its built-in run through the engine.
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
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
#include "cpu_time.h"
#include "fb_session.h"
#include "noop_gen.h"
#include "private_root.h"
#include "udr_catalog.h"
#include "udr_profile.h"

namespace {

using fbtest::FbSession;

constexpr int kRowCount = 20000;  // rows in BENCH_ROWS, the most one query uses
constexpr int kMinRows = 20;
constexpr double kTargetSeconds = 0.1;  // aimed duration of one timed query

struct Options {
  int rounds = 5;
  std::string filter;
  bool dry_run = false;
};

// An embedded engine with a private root that may load the library and the
// no-op libraries through both fronts (the UDR no-op library lies beside the
// library), and a fresh database with the declaration script
// applied, in a temporary directory that is also the working directory.
class Engine {
 public:
  Engine()
      : root_(fbtest::MakePrivateRoot({"qor_bench_", std::string(QOR_LIBRARY_DIR) + ";" + QOR_NOOP_DIR,
                                       QOR_LIBRARY_DIR, QOR_SQL_SCRIPT})) {
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
        call.args = catalog::SplitTopLevel(expr.substr(call.open + 1, i - call.open - 1));
        return true;
      }
    }
    return false;
  }
  return false;
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

// The ways of making one call that a case times, in table order.
enum Way { kBaseline, kBuiltin, kLegacy, kLegacyNoop, kUdr, kCompact, kCompactNoop, kWays };

// The SQL name prefixes of the UDR forms: the library's full and compact
// profile, and the compact no-op.
constexpr const char* kUdrPrefix = "UDR_";
constexpr const char* kCompactPrefix = "UDC_";
constexpr const char* kCompactNoopPrefix = "NOC_";

// One timed case: every way of making the function's call, over `from`.
struct Case {
  std::string function;
  std::string input = "typical";
  std::string builtin;       // the built-in's form as the table shows it; empty when none
  std::string exprs[kWays];  // empty for a way the case does not have
  std::string from = "(SELECT FIRST {n} ID FROM BENCH_ROWS) R";
  int rows = 0;
  double us[kWays] = {};  // per call, COUNT(1) taken off
  bool compact_refused = false;  // the result is longer than the compact profile admits
  std::string failure;
};

// The engine's built-ins doing the job of a function, over the arguments
// {1}, {2}, ... of its call. Blob functions without a built-in of their own
// are compared with one that reads the whole blob (kReadsBlob).
constexpr const char* kReadsBlob = "POSITION(ASCII_CHAR(1) IN {1})";
struct Builtin {
  const char* function;
  const char* expr;
};
constexpr Builtin kBuiltins[] = {
    {"fn_Version", "RDB$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION')"},
    {"fn_SubString", "SUBSTRING({1} FROM {2} FOR {3})"},
    {"fn_SubStrEx", "SUBSTRING({1} FROM {2} FOR {3})"},
    {"fn_Copy", "SUBSTRING({1} FROM {2} FOR {3})"},
    {"fn_UpperCase", "UPPER({1})"},
    {"fn_LowerCase", "LOWER({1})"},
    {"fn_Trim", "TRIM({1})"},
    {"fn_Pos", "POSITION({1} IN {2})"},
    {"fn_ReplaceStr", "REPLACE({3}, {1}, {2})"},
    {"fn_CrLf", "LPAD('', 2 * {1}, ASCII_CHAR(13) || ASCII_CHAR(10))"},
    {"fn_Ascii_Char2", "ASCII_CHAR({1})"},
    {"fn_IntToStr", "CAST({1} AS VARCHAR(11))"},
    {"fn_FloatToStr", "CAST({1} AS VARCHAR(30))"},
    {"fn_UUIDStr", "UUID_TO_CHAR(GEN_UUID())"},
    {"fn_Runden", "ROUND({1}, {2})"},
    {"fn_Division", "IIF({2} = 0, 0, {1} / {2})"},
    {"fn_Trunc", "TRUNC({1})"},
    {"fn_Frac", "{1} - TRUNC({1})"},
    {"fn_BlobSize", "OCTET_LENGTH({1})"},
    {"fn_StrToBlob", "CAST({1} AS BLOB SUB_TYPE TEXT)"},
    {"fn_BlobToStr", "CAST(SUBSTRING({1} FROM 1 FOR 32759) AS VARCHAR(32759))"},
    {"fn_BlobToSubString", "SUBSTRING({1} FROM {2} FOR {3})"},
    {"fn_BlobSubField", kReadsBlob},
    {"fn_ListValue", kReadsBlob},
    {"fn_ListLine", kReadsBlob},
    {"fn_ScanBlob", "POSITION({2} IN {1})"},
    {"fn_GetYear", "EXTRACT(YEAR FROM {1})"},
    {"fn_GetMonth", "EXTRACT(MONTH FROM {1})"},
    {"fn_GetDay", "EXTRACT(DAY FROM {1})"},
    {"fn_DayOfTheMonth", "EXTRACT(DAY FROM {1})"},
    {"fn_DayOfTheWeek", "MOD(EXTRACT(WEEKDAY FROM {1}) + 6, 7) + 1"},
    {"fn_StrToDateTime", "CAST({1} AS TIMESTAMP)"},
    {"fn_ValToDateTime", "CAST({1} AS TIMESTAMP)"},
    {"fn_GetDate", "CAST(CAST({1} AS DATE) AS TIMESTAMP)"},
    {"fn_GetTime", "DATEDIFF(MILLISECOND FROM CAST({1} AS DATE) TO {1}) / 86400000e0"},
    {"fn_GetDateTime", "DATEDIFF(MILLISECOND FROM TIMESTAMP '1899-12-30 00:00' TO {1}) / 86400000e0"},
    {"fn_TimeStampToFloat", "DATEDIFF(MILLISECOND FROM TIMESTAMP '1899-12-30 00:00' TO {1}) / 86400000e0"},
    {"fn_FloatToTimeStamp", "DATEADD(CAST({1} * 86400000 AS BIGINT) MILLISECOND TO TIMESTAMP '1899-12-30 00:00')"},
    {"fn_DateTimeToStr", "CAST({1} AS VARCHAR(24))"},
    {"fn_SecondsBetween", "ABS(DATEDIFF(SECOND FROM {1} TO {2}))"},
    {"fn_DateToJahrMo", "EXTRACT(YEAR FROM {1}) * 100 + EXTRACT(MONTH FROM {1})"},
    {"fn_SHSoll", "IIF({1} = 'S', {2}, 0)"},
    {"fn_SHHaben", "IIF({1} = 'H', {2}, 0)"},
    {"fn_SHBetrag", "IIF({1} = 'H', -{2}, {2})"},
};

// Functions that start a host command or touch files: their own work
// dominates, and the targets against the no-op and the legacy call do not
// apply to them.
constexpr const char* kHostOrFile[] = {
    "fn_BlobSaveToFile", "fn_BlobLoadFromFile", "fn_LoadFromFile", "fn_Filepath", "fn_FileExists",
    "fn_DirectoryExists", "fn_CreateDir", "fn_FileGetAttr", "fn_FileSetRight", "fn_DropDatabase",
    "fn_RenameDatabase", "fn_DiskFree", "fn_DiskSize", "fn_UNCpath"};

bool HostOrFile(const std::string& name) {
  return std::any_of(std::begin(kHostOrFile), std::end(kHostOrFile), [&](const char* n) { return name == n; });
}

const char* BuiltinOf(const std::string& name) {
  for (const Builtin& b : kBuiltins) {
    if (name == b.function) return b.expr;
  }
  return nullptr;
}

// The built-in's expression over the call's arguments.
std::string Instantiate(const std::string& pattern, const std::vector<std::string>& args) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t close = pattern.find('}', i);
    if (pattern[i] == '{' && close != std::string::npos) {
      const size_t k = static_cast<size_t>(std::atoi(pattern.c_str() + i + 1));
      if (k >= 1 && k <= args.size()) {
        out += "(" + args[k - 1] + ")";
        i = close;
        continue;
      }
    }
    out.push_back(pattern[i]);
  }
  return out;
}

// Fills the expressions of every way from the expression `expr` that calls
// the function (`call` found in it).
void SetWays(Case& c, const std::string& expr, const Call& call) {
  auto renamed = [&](const std::string& name) {
    return expr.substr(0, call.start) + name + expr.substr(call.open);
  };
  c.exprs[kBaseline] = "1";
  c.exprs[kLegacy] = expr;
  c.exprs[kLegacyNoop] = renamed(catalog::NoopName(c.function));
  c.exprs[kUdr] = renamed(kUdrPrefix + c.function);
  c.exprs[kCompact] = renamed(kCompactPrefix + c.function);
  c.exprs[kCompactNoop] = renamed(kCompactNoopPrefix + c.function);
  const char* builtin = BuiltinOf(c.function);
  if (builtin != nullptr) {
    c.builtin = builtin;
    c.exprs[kBuiltin] = expr.substr(0, call.start) + Instantiate(builtin, call.args) + expr.substr(call.close + 1);
  }
}

std::string Query(const std::string& expr, const std::string& from, int rows) {
  std::string f = from;
  const size_t at = f.find("{n}");
  if (at != std::string::npos) f.replace(at, 3, std::to_string(rows));
  return "SELECT COUNT(" + expr + ") FROM " + f;
}

// Processor seconds the query takes (see cpu_time.h).
double Seconds(FbSession& db, const std::string& sql) {
  const double start = qor_bench::CpuSeconds();
  db.Query(sql);
  return qor_bench::CpuSeconds() - start;
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
  SetWays(base, typical->expr, call);
  out.push_back(base);

  // Blob arguments at 1 KB and 1 MB: the example's text and filler lines.
  // A blob result is a declared argument that the call does not pass.
  std::vector<catalog::ArgKind> kinds;
  for (size_t i = 0; i < f.shape.args.size(); ++i) {
    if (f.shape.mode == catalog::ReturnMode::Parameter && static_cast<int>(i) + 1 == f.shape.parameter) continue;
    kinds.push_back(f.shape.args[i].kind);
  }
  if (!f.shape.served || kinds.size() != call.args.size()) return out;
  std::vector<size_t> blobs;
  std::string literal;
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] != catalog::ArgKind::Blob) continue;
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
    SetWays(c, expr, sized);
    if (c.builtin.empty()) {
      c.builtin = kReadsBlob;
      c.exprs[kBuiltin] = Instantiate(kReadsBlob, {"B.B"});
    }
    c.from = "(SELECT FIRST {n} ID FROM BENCH_ROWS) R CROSS JOIN BENCH_BLOBS B WHERE B.ID = " +
             std::to_string(id);
    out.push_back(c);
  }
  return out;
}

void Measure(Case& c, FbSession& db, const Options& opt) {
  // Every way once on one row (which also loads the modules). A result
  // longer than the compact profile admits fails that way only, as it fails
  // the caller's statement: the case goes on without it.
  c.rows = 1;
  for (int w = 0; w < kWays; ++w) {
    if (c.exprs[w].empty()) continue;
    try {
      db.Query(Query(c.exprs[w], c.from, 1));
    } catch (const std::exception& e) {
      if (w != kCompact || std::strstr(e.what(), "string right truncation") == nullptr) throw;
      c.exprs[kCompact].clear();
      c.compact_refused = true;
    }
  }
  if (opt.dry_run) return;
  // Enough rows for the legacy call to take about kTargetSeconds: grown
  // until the fixed cost of a query (prepare, transaction) no longer
  // dominates.
  int rows = kMinRows;
  for (;;) {
    const double t = Seconds(db, Query(c.exprs[kLegacy], c.from, rows));
    if (t >= kTargetSeconds / 2 || rows >= kRowCount) break;
    const double factor = t > 0 ? std::clamp(kTargetSeconds / t, 2.0, 10.0) : 10.0;
    rows = static_cast<int>(std::min(double{kRowCount}, rows * factor));
  }
  c.rows = rows;
  std::vector<double> times[kWays];
  for (int r = 0; r < opt.rounds; ++r) {
    // Alternate the order of the ways between rounds.
    for (int k = 0; k < kWays; ++k) {
      const int w = r % 2 == 0 ? k : kWays - 1 - k;
      if (!c.exprs[w].empty()) times[w].push_back(Seconds(db, Query(c.exprs[w], c.from, c.rows)));
    }
  }
  const double baseline = Fastest(times[kBaseline]);
  for (int w = 0; w < kWays; ++w) {
    c.us[w] = c.exprs[w].empty() ? 0 : (Fastest(times[w]) - (w == kBaseline ? 0 : baseline)) * 1e6 / c.rows;
  }
}

// A ratio for the table; "" when the divisor is missing or too small to
// divide by.
std::string Ratio(double a, double b) {
  if (b < 0.005) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", a / b);
  return text;
}

// The table row of a case; marks a missed target with '*'.
void PrintRow(const Case& c) {
  if (!c.failure.empty()) {
    std::printf("| %s | %s | failed | | | | | | | | | |\n", c.function.c_str(), c.input.c_str());
    return;
  }
  const double* us = c.us;
  const bool exempt = HostOrFile(c.function);
  // The ratios are those of the compact UDR call, or of the full one where
  // the compact profile refuses the result.
  const double udr = c.compact_refused ? us[kUdr] : us[kCompact];
  std::string noop_ratio = Ratio(udr, us[kCompactNoop]);
  std::string legacy_ratio = Ratio(udr, us[kLegacy]);
  std::string builtin_ratio = c.exprs[kBuiltin].empty() ? "" : Ratio(udr, us[kBuiltin]);
  if (!exempt && c.input == "typical" && udr > 2 * us[kCompactNoop]) noop_ratio += " *";
  if (!exempt && udr > 0.1 * us[kLegacy]) legacy_ratio += " *";
  if (c.input == "1 MB" && !c.exprs[kBuiltin].empty() && udr > 1.5 * us[kBuiltin]) builtin_ratio += " *";
  char compact[32] = "too long";
  if (!c.compact_refused) std::snprintf(compact, sizeof compact, "%.2f", us[kCompact]);
  std::string builtin = c.builtin;
  for (size_t at = builtin.find('|'); at != std::string::npos; at = builtin.find('|', at + 2)) {
    builtin.replace(at, 1, "\\|");
  }
  char builtin_us[32] = "";
  if (!c.exprs[kBuiltin].empty()) std::snprintf(builtin_us, sizeof builtin_us, "%.2f", us[kBuiltin]);
  std::printf("| %s | %s | %s%s%s | %s | %.2f | %.2f | %.2f | %s | %.2f | %s | %s | %s |\n", c.function.c_str(),
              c.input.c_str(), builtin.empty() ? "" : "`", builtin.c_str(), builtin.empty() ? "" : "`",
              builtin_us, us[kLegacy], us[kLegacyNoop], us[kUdr], compact, us[kCompactNoop],
              noop_ratio.c_str(), legacy_ratio.c_str(), builtin_ratio.c_str());
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
  std::vector<std::string> refused;
  const std::vector<catalog::Shape> shapes = catalog::Shapes(cat, refused);
  const std::vector<catalog::Shape> compact = catalog::CompactShapes(shapes);
  for (size_t i = 0; i < cat.functions.size(); ++i) {
    if (!shapes[i].served) continue;
    db.Execute(catalog::UdrCreate(cat.functions[i], shapes[i], kUdrPrefix));
    db.Execute(catalog::UdrCreate(cat.functions[i], compact[i], kCompactPrefix));
    db.Execute(catalog::UdrCreate(cat.functions[i], compact[i], kCompactNoopPrefix, "qor_udr_noop.dll"));
  }

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
    // The sized calls of a function that writes a file leave it 1 MB long:
    // the typical call once more leaves it as the later examples expect it
    // (fn_BlobSaveToFile writes the small file that fn_LoadFromFile reads).
    if (mine.size() > 1 && mine.front().failure.empty()) {
      db.Query(Query(mine.front().exprs[kLegacy], mine.front().from, 1));
    }
  }
  if (opt.dry_run) {
    std::printf("dry run: %zu cases of %zu functions, %d failed\n", cases.size(), cat.functions.size(),
                failures);
    return failures == 0 ? 0 : 1;
  }

  std::printf("µs per call, COUNT(1) over the same rows taken off; the UDR columns: the full and the\n"
              "compact size profile and a no-op of the compact signature; ratios of the compact UDR call.\n\n");
  std::printf("| Function | Input | Built-in | Built-in µs | Legacy µs | Legacy no-op µs | UDR µs | "
              "UDR compact µs | Compact no-op µs | / no-op | / legacy | / built-in |\n");
  std::printf("|---|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const auto& c : cases) PrintRow(c);
  std::printf("\n* a target missed: above 2 times the no-op or 0.1 times the legacy call (functions that\n"
              "neither start a host command nor touch files), or a 1 MB blob above 1.5 times the built-in.\n"
              "too long: the result is longer than the compact profile admits (the ratios are the full\n"
              "profile's then).\n"
              "%d case(s) failed.\n", failures);
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
