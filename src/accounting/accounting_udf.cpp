// Entry points of the accounting functions: thin adapters that read the
// engine arguments, run the internal function inside the error guard and hand
// the result back as the SQL declaration promises.

#include "accounting/account_range.h"
#include "accounting/booking.h"
#include "accounting/debit_credit.h"
#include "accounting/kst_aufteilung.h"
#include "accounting/kst_verteilen.h"
#include "frame/args.h"
#include "frame/errors.h"
#include "frame/export.h"
#include "frame/errors.h"
#include "frame/guard.h"
#include "frame/timestamp.h"

using namespace qor;

// ---------------------------------------------------------------------------
// Accounting: debit and credit amounts

QOR_EXPORT double fn_SHSoll(const char* flag, const double* amount) {
  return Guard(__func__, 0.0, [&] { return SHSoll(ArgText(flag), ArgValue(amount)); });
}

QOR_EXPORT double fn_SHHaben(const char* flag, const double* amount) {
  return Guard(__func__, 0.0, [&] { return SHHaben(ArgText(flag), ArgValue(amount)); });
}

// Fails only for a NaN or infinite amount, which has no sound answer but 0.
QOR_EXPORT double fn_SHBetrag(const char* flag, const double* amount) {
  return Guard(__func__, 0.0, [&] { return SHBetrag(ArgText(flag), ArgValue(amount)); });
}

QOR_EXPORT double fn_SHBetragExt(const char* flag, const double* amount, const char* positive,
                                 const char* negative) {
  return Guard(__func__, 0.0, [&] {
    return SHBetragExt(ArgText(flag), ArgValue(amount), ArgText(positive), ArgText(negative));
  });
}

// ---------------------------------------------------------------------------
// Accounting: account ranges

// The account is declared NULL-able: a missing account (nil) belongs to no
// range, where reading it as 0 would put it into every range that starts at 0.
QOR_EXPORT char* fn_Kontenbereich(const double* account, const char* ranges,
                                  const char* decimals) {
  return GuardText(
      __func__,
      [&] {
        const bool belongs = account != nullptr &&
                             Kontenbereich(*account, ArgText(ranges), ArgText(decimals));
        return std::string_view(belongs ? "1" : "0");
      },
      "0");
}

// ---------------------------------------------------------------------------
// Accounting: cost-centre allocation texts

QOR_EXPORT char* fn_KstToAufteilung(const double* kst, const double* fallback_koart,
                                    const double* koart, const double* betrag, const char* ktr) {
  return GuardText(__func__, [&] {
    return KstToAufteilung(ArgValue(kst), ArgValue(fallback_koart), ArgValue(koart),
                           ArgValue(betrag), ArgText(ktr));
  });
}

QOR_EXPORT char* fn_KstToAufteilung2(const double* kst, const double* fallback_koart,
                                     const double* koart, const double* betrag,
                                     const double* menge, const char* ktr) {
  return GuardText(__func__, [&] {
    return KstToAufteilung2(ArgValue(kst), ArgValue(fallback_koart), ArgValue(koart),
                            ArgValue(betrag), ArgValue(menge), ArgText(ktr));
  });
}

// ---------------------------------------------------------------------------
// Accounting: distribution of amounts and quantity reversal

// Whatever goes wrong, the allocation comes back as it was, never lost or
// half rewritten. A NULL amount leaves the text unchanged too.
QOR_EXPORT char* fn_KstBetragVerteilen(const char* text, const double* amount) {
  const std::string_view input = ArgText(text);
  return GuardText(
      __func__,
      [&] {
        if (amount == nullptr) return std::string(input);
        return FitTextResult(KstBetragVerteilen(input, *amount));
      },
      input);
}

QOR_EXPORT char* fn_KstMengenStorno(const char* text) {
  const std::string_view input = ArgText(text);
  return GuardText(__func__, [&] { return FitTextResult(KstMengenStorno(input)); }, input);
}

// ---------------------------------------------------------------------------
// Accounting: booking sums and due dates

QOR_EXPORT double fn_Buchungssumme(const char* side, const double* amount, const double* condition,
                                   const double* first, const double* second) {
  return Guard(__func__, 0.0, [&] {
    return Buchungssumme(ArgText(side), ArgValue(amount), ArgValue(condition), ArgValue(first),
                         ArgValue(second));
  });
}

// The start date is the engine's 32-bit date (a DATE argument). A NULL start
// date gives NULL; a date the calendar cannot hold is logged and gives
// 30.12.1899, the library's answer for "no date".
QOR_EXPORT TFBTimeStamp* fn_Ablauf_Tag(const int32_t* start, const int32_t* days,
                                       const int32_t* mode, const int32_t* mode1_days,
                                       const int32_t* mode1_months) {
  if (start == nullptr) return nullptr;
  return GuardTimeStamp(
      __func__,
      [&] {
        const int64_t due = AblaufTag(int64_t{*start} + kEngineDayZero, ArgValue(days), ArgValue(mode),
                                      ArgValue(mode1_days), ArgValue(mode1_months));
        return TFBTimeStamp{CheckedInt32(due - kEngineDayZero), 0};
      },
      TFBTimeStamp{-kEngineDayZero, 0});
}
