// qor_front_bench: the per-call cost of every function through the legacy
// and the UDR front, in one run of an embedded engine. Each function is
// called with the arguments of its first documented example, N times in one
// PSQL loop per front, and through a UDR no-op of the same signature (the
// same front over entry points that do nothing); the cost of the loop itself
// (the same loop around a constant) is taken off. Prints one table line per
// function.
//   qor_front_bench [calls per loop, default 20000]
//   qor_front_bench --sizes [calls per loop]
// --sizes shows what a UDR call costs the engine against the declared sizes
// of its text argument and result: one entry point declared with VARCHAR(n)
// arguments and results of growing n, a real function and a no-op.
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

#include "catalog.h"
#include "cpu_time.h"
#include "fb_session.h"
#include "private_root.h"
#include "udr_catalog.h"

namespace {

// Processor seconds for one EXECUTE BLOCK that evaluates `expr` n times: the
// best of three runs (the machine's other load only ever adds time).
double LoopSeconds(fbtest::FbSession& db, const std::string& expr, int n) {
  const std::string sql =
      "EXECUTE BLOCK RETURNS (C INTEGER) AS DECLARE I INTEGER = 0; BEGIN C = 0; WHILE (I < " +
      std::to_string(n) + ") DO BEGIN IF ((" + expr + ") IS NULL) THEN C = C + 1; I = I + 1; END SUSPEND; END";
  double best = 0;
  for (int run = 0; run < 3; ++run) {
    const double start = qor_bench::CpuSeconds();
    db.Query(sql);
    const double t = qor_bench::CpuSeconds() - start;
    if (run == 0 || t < best) best = t;
  }
  return best;
}

// The cost of a text call against the declared sizes of its argument and
// result, through the real fn_UpperCase and a no-op of its signature.
void SizeSweep(fbtest::FbSession& session, int n) {
  static const int kSizes[] = {100, 1000, 4000, 8000, 8192, 16000, 32765};
  const std::string arg = "'Müller & Söhne, Abt. 4'";
  auto declare = [&](const std::string& name, int in, int out, const char* module) {
    session.Execute("CREATE OR ALTER FUNCTION " + name + " (P VARCHAR(" + std::to_string(in) +
                    ") CHARACTER SET NONE) RETURNS VARCHAR(" + std::to_string(out) +
                    ") CHARACTER SET NONE EXTERNAL NAME '" + module + "!fn_UpperCase' ENGINE UDR");
  };
  const double empty = LoopSeconds(session, "1", n);
  std::printf("calls per loop: %d; µs per call, loop taken off\n\n", n);
  std::printf("| declared | in n, out 100: call | no-op | in 100, out n: call | no-op | in n, out n: call | no-op |\n"
              "|---:|---:|---:|---:|---:|---:|---:|\n");
  auto us = [&](const std::string& f) { return (LoopSeconds(session, f + "(" + arg + ")", n) - empty) * 1e6 / n; };
  for (int size : kSizes) {
    declare("S_IN", size, 100, "qor_udf3.dll");
    declare("S_IN_NOOP", size, 100, "qor_udr_noop.dll");
    declare("S_OUT", 100, size, "qor_udf3.dll");
    declare("S_OUT_NOOP", 100, size, "qor_udr_noop.dll");
    declare("S_BOTH", size, size, "qor_udf3.dll");
    declare("S_BOTH_NOOP", size, size, "qor_udr_noop.dll");
    std::printf("| %d | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f |\n", size, us("S_IN"), us("S_IN_NOOP"),
                us("S_OUT"), us("S_OUT_NOOP"), us("S_BOTH"), us("S_BOTH_NOOP"));
    std::fflush(stdout);
  }
  std::printf("\nUPPER built-in: %.3f; a number no-op (fn_SHSoll's signature): %.3f\n",
              (LoopSeconds(session, "UPPER(" + arg + ")", n) - empty) * 1e6 / n,
              (LoopSeconds(session, "NOOP_fn_SHSoll('S', 1.5)", n) - empty) * 1e6 / n);
}

// One table line per function: legacy, UDR and UDR no-op.
void PerFunction(fbtest::FbSession& session, const catalog::Catalog& cat,
                 const std::vector<catalog::Shape>& shapes, int n) {
  const double empty = LoopSeconds(session, "1", n);
  // The statement's own cost dominates a short loop: measured alike.
  const double empty_few = LoopSeconds(session, "1", 200);
  std::printf("calls per loop: %d; loop alone: %.3f us per turn\n\n", n, empty * 1e6 / n);
  std::printf("| function | legacy us/call | UDR us/call | UDR no-op us/call | UDR / legacy | UDR / no-op |\n"
              "|---|---|---|---|---|---|\n");
  static const std::regex kCall(R"(\b(fn_\w+)\s*\()");
  for (size_t i = 0; i < cat.functions.size(); ++i) {
    const auto& f = cat.functions[i];
    if (!shapes[i].served) continue;
    const std::string& expr = f.examples.front().expr;
    const std::string udr = std::regex_replace(expr, kCall, "UDR_$1(");
    const std::string noop_expr = std::regex_replace(expr, kCall, "NOOP_$1(");
    // A function that starts a host command or touches files costs far
    // more per call: a few calls are enough to show it.
    int calls = n;
    const char* note = "";
    double loop = empty;
    if ((LoopSeconds(session, expr, 200) - empty_few) / 200 > 200e-6) {
      calls = 200;
      loop = empty_few;
      note = " (slow: 200 calls)";
    }
    const double legacy = (LoopSeconds(session, expr, calls) - loop) * 1e6 / calls;
    const double front = (LoopSeconds(session, udr, calls) - loop) * 1e6 / calls;
    const double noop = (LoopSeconds(session, noop_expr, calls) - loop) * 1e6 / calls;
    std::printf("| %s%s | %.3f | %.3f | %.3f | %.2f | %.2f |\n", f.name.c_str(), note, legacy, front,
                noop, legacy > 0 ? front / legacy : 0.0, noop > 0 ? front / noop : 0.0);
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool sizes = false;
  if (argc > 1 && std::string(argv[1]) == "--sizes") {
    sizes = true;
    --argc;
    ++argv;
  }
  const int n = argc > 1 ? std::atoi(argv[1]) : 20000;
  if (n < 1) return 2;
  fbtest::PrivateRoot root;
  try {
    root = fbtest::MakePrivateRoot({"qor_front_bench_", QOR_LIBRARY_DIR, QOR_LIBRARY_DIR, QOR_SQL_SCRIPT});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (chdir(root.work.c_str()) != 0) return 1;
  const std::string db = root.database;
  catalog::Catalog cat = catalog::Parse(catalog::ReadFile(QOR_SQL_SCRIPT));
  if (!cat.errors.empty()) {
    for (const auto& e : cat.errors) std::fprintf(stderr, "%s\n", e.c_str());
    return 1;
  }
  std::vector<std::string> refused;
  std::vector<catalog::Shape> shapes = catalog::Shapes(cat, refused);
  for (const auto& e : refused) std::fprintf(stderr, "no UDR form: %s\n", e.c_str());
  int rc = 0;
  try {
    fbtest::FbSession session(db);
    for (size_t i = 0; i < cat.functions.size(); ++i) {
      if (!shapes[i].served) continue;
      session.Execute(catalog::UdrCreate(cat.functions[i], shapes[i], "UDR_"));
      session.Execute(catalog::UdrCreate(cat.functions[i], shapes[i], "NOOP_", "qor_udr_noop.dll"));
    }
    if (sizes) {
      SizeSweep(session, n);
    } else {
      PerFunction(session, cat, shapes, n);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    rc = 1;
  }
  fbtest::RemovePrivateRoot(root);
  return rc;
}
