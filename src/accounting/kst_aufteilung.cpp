#include "accounting/kst_aufteilung.h"

#include "accounting/aufteilung.h"
#include "frame/number_text.h"
#include "frame/case_tables.h"

namespace qor {

namespace {

// The cost unit as it can stand in one share line: a line break inside it
// would split the line when the allocation is read back, and shift every
// later field, so CR and LF become blanks.
std::string OneLine(std::string_view ktr) {
  std::string out(ktr);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

// The checks both writers start with; false when there is nothing to write.
// The cost type falls back to fallback_koart when it is below 1.
bool ResolveKoart(double kst, double fallback_koart, double& koart, std::string_view ktr) {
  if (koart < 1.0) koart = fallback_koart;
  if (koart < 1.0) return false;
  return !(kst < 1.0 && TrimText(ktr).empty());
}

}  // namespace

std::string KstToAufteilung(double kst, double fallback_koart, double koart, double betrag,
                            std::string_view ktr) {
  if (!ResolveKoart(kst, fallback_koart, koart, ktr)) return {};
  // KSTNR, KTRNR, KZORIG, KOART, MENGE, PROZENT, BETRAG
  TextList share{NumberText(kst), OneLine(ktr), {}, NumberText(koart), {}, "100", NumberText(betrag)};
  std::string out;
  out.reserve(kAufteilungFieldLine.size() + ktr.size() + 64);
  out.append(kAufteilungFieldLine).append("\n1=").append(JoinCommaText(share)).append("\n");
  return out;
}

std::string KstToAufteilung2(double kst, double fallback_koart, double koart, double betrag,
                             double menge, std::string_view ktr) {
  if (!ResolveKoart(kst, fallback_koart, koart, ktr)) return {};
  std::string out;
  out.reserve(kAufteilungFieldLine.size() + ktr.size() + 80);
  out.append(kAufteilungFieldLine).append("\r\n1=");
  out.append(QuoteNonAlnum(NumberText(kst))).append(",");
  out.append(QuoteNonAlnum(OneLine(ktr))).append(",,");
  out.append(QuoteNonAlnum(NumberText(koart))).append(",");
  out.append(QuoteNonAlnum(NumberText(menge))).append(",100,");
  out.append(QuoteNonAlnum(NumberText(betrag))).append("\r\n");
  return out;
}

}  // namespace qor
