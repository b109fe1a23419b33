// Entry points of the accounting functions: thin adapters that read the
// engine arguments, run the internal function inside the error guard and hand
// the result back as the SQL declaration promises.

#include "accounting/account_range.h"
#include "accounting/debit_credit.h"
#include "accounting/kst_aufteilung.h"
#include "frame/args.h"
#include "frame/export.h"
#include "frame/guard.h"

using namespace qor;

// ---------------------------------------------------------------------------
// Accounting: debit and credit amounts

QOR_EXPORT double fn_SHSoll(const char* flag, const double* amount) {
  return Guard(__func__, 0.0, [&] { return SHSoll(ArgText(flag), ArgValue(amount)); });
}

QOR_EXPORT double fn_SHHaben(const char* flag, const double* amount) {
  return Guard(__func__, 0.0, [&] { return SHHaben(ArgText(flag), ArgValue(amount)); });
}

QOR_EXPORT double fn_SHBetrag(const char* flag, const double* amount) {
  return Guard(__func__, ArgValue(amount),
               [&] { return SHBetrag(ArgText(flag), ArgValue(amount)); });
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

// ---------------------------------------------------------------------------
// Accounting: booking sums and due dates
