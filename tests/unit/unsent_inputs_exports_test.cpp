// Inputs the engine never sends, given to the exported functions directly:
// NaN and infinite amounts, and timestamps whose time field holds a whole day
// or more. Whatever arrives, the answer must be one the engine takes, and a
// refused input leaves exactly one record in the error log.

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "frame/engine_types.h"
#include "library_exports.h"
#include "test_util.h"

namespace {

using qortest::Export;
using qortest::Take;

// Runs a call in a fresh working directory and gives back what it wrote to
// the error log there.
class ErrorLogScope {
 public:
  ErrorLogScope() : cwd_(dir_.path()) {}
  std::string Log() const { return qortest::ReadFile(dir_.File("qor_udf3.err")); }

 private:
  qortest::TempDir dir_;
  qortest::ScopedCwd cwd_;
};

// One record (CR, date-time, ": ") ending with `record`.
void ExpectOneRecord(const std::string& log, const std::string& record) {
  ASSERT_FALSE(log.empty()) << "no record, expected " << record;
  EXPECT_EQ(log.front(), '\r');
  EXPECT_EQ(log.find('\r', 1), std::string::npos) << "more than one record: " << log;
  const std::string suffix = ": " + record;
  EXPECT_TRUE(log.size() >= suffix.size() && log.compare(log.size() - suffix.size(), suffix.size(), suffix) == 0)
      << log.substr(1);
}

TEST(UnsentInputs, NaNOrInfiniteAmountsGiveZeroAndOneRecord) {
  using SideFn = double(const char*, const double*);
  using ExtFn = double(const char*, const double*, const char*, const char*);
  using SumFn = double(const char*, const double*, const double*, const double*, const double*);
  auto* soll = Export<SideFn>("fn_SHSoll");
  auto* haben = Export<SideFn>("fn_SHHaben");
  auto* betrag = Export<SideFn>("fn_SHBetrag");
  auto* ext = Export<ExtFn>("fn_SHBetragExt");
  auto* sum = Export<SumFn>("fn_Buchungssumme");
  ASSERT_TRUE(soll && haben && betrag && ext && sum);
  static const double nan = std::numeric_limits<double>::quiet_NaN();
  static const double inf = std::numeric_limits<double>::infinity();
  static const double minus_inf = -inf, zero = 0.0, one = 1.0, five = 5.0;
  struct Row {
    const char* what;
    std::function<double()> call;
    const char* record;  // nullptr: nothing logged
  };
  const Row rows[] = {
      {"fn_SHSoll('S', NaN)", [&] { return soll("S", &nan); }, "fn_SHSoll: Invalid floating point operation"},
      {"fn_SHHaben('H', Inf)", [&] { return haben("H", &inf); }, "fn_SHHaben: Floating point overflow"},
      {"fn_SHBetrag('H', NaN)", [&] { return betrag("H", &nan); }, "fn_SHBetrag: Invalid floating point operation"},
      {"fn_SHBetrag('S', -Inf)", [&] { return betrag("S", &minus_inf); }, "fn_SHBetrag: Floating point overflow"},
      {"fn_SHBetragExt('C', Inf)", [&] { return ext("C", &inf, "SD", "HC"); },
       "fn_SHBetragExt: Floating point overflow"},
      {"fn_Buchungssumme('S', NaN, 1, 0, 0)", [&] { return sum("S", &nan, &one, &zero, &zero); },
       "fn_Buchungssumme: Invalid floating point operation"},
      {"fn_Buchungssumme('H', 1, 0, Inf, 5)", [&] { return sum("H", &one, &zero, &inf, &five); },
       "fn_Buchungssumme: Floating point overflow"},
      // a side that does not take the amount answers its plain 0
      {"fn_SHSoll('H', NaN)", [&] { return soll("H", &nan); }, nullptr},
      {"fn_SHBetragExt('X', Inf)", [&] { return ext("X", &inf, "SD", "HC"); }, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ErrorLogScope scope;
    const double result = row.call();
    EXPECT_EQ(result, 0.0);
    if (row.record == nullptr) {
      EXPECT_EQ(scope.Log(), "");
    } else {
      ExpectOneRecord(scope.Log(), row.record);
    }
  }
}

// A time field of a whole day or more counts as the last moment of the day
// of the date field, in every function: none moves to the next day, none
// shows 24:00 or more, none fails.
TEST(UnsentInputs, TimeOfAWholeDayOrMoreStaysOnItsDay) {
  using PartFn = int32_t(const TFBTimeStamp*);
  using DoubleFn = double(const TFBTimeStamp*);
  using TextFn = char*(const TFBTimeStamp*);
  using MaskFn = char*(const char*, const TFBTimeStamp*);
  auto* get_day = Export<PartFn>("fn_GetDay");
  auto* get_time = Export<DoubleFn>("fn_GetTime");
  auto* to_float = Export<DoubleFn>("fn_TimeStampToFloat");
  auto* to_str = Export<TextFn>("fn_DateTimeToStr");
  auto* mask = Export<MaskFn>("fn_MaskDate");
  ASSERT_TRUE(get_day && get_time && to_float && to_str && mask);
  // 2023-02-01 is day 44958 after 1899-12-30, engine date 59976.
  for (const uint32_t time : {864000000u, 864000001u, 1728000000u, 4294967295u}) {
    SCOPED_TRACE(time);
    ErrorLogScope scope;
    const TFBTimeStamp ts{59976, time};
    EXPECT_EQ(get_day(&ts), 1);
    EXPECT_EQ(get_time(&ts), 863999999 / 864000000.0);
    EXPECT_EQ(to_float(&ts), 44958 + 863999999 / 864000000.0);
    EXPECT_EQ(Take(to_str(&ts)), "01.02.2023 23:59:59");
    EXPECT_EQ(Take(mask("", &ts)), "01.02.2023");
    EXPECT_EQ(Take(mask("T8", &ts)), "23:59:59");
    EXPECT_EQ(scope.Log(), "");
  }
}

}  // namespace
