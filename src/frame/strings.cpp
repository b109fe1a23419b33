#include "frame/strings.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <system_error>

namespace qor {
namespace {

// Texts longer than this are not numbers as a whole (see ParseLeadingInt).
constexpr size_t kMaxIntText = 255;

constexpr bool IsLeadBlank(char c) noexcept { return c == ' ' || c == '\t'; }
constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// Any control byte or space (1 to 32) counts as a blank for the list splitter.
constexpr bool IsListBlank(char c) noexcept {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

// 0-35 for 0-9, a-z, A-Z; 99 for anything else (never a digit of any base).
constexpr unsigned DigitValue(char c) noexcept {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A' + 10);
  return 99;
}

// ---------------------------------------------------------------------------
// Integers

struct IntScan {
  bool ok = false;
  size_t bad = 0;  // index of the first invalid character; size() when the text ends too early
  int64_t value = 0;
};

// Checks the whole of s against the integer syntax and computes its value.
IntScan ScanInt(std::string_view s) noexcept {
  const size_t n = s.size();
  size_t i = 0;
  while (i < n && IsLeadBlank(s[i])) ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i < n) {
    const char c = s[i];
    if (c == '$' || c == 'x' || c == 'X') {
      base = 16;
      ++i;
    } else if (c == '0' && i + 1 < n && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
      base = 16;
      i += 2;
    } else if (c == '%') {
      base = 2;
      ++i;
    } else if (c == '&') {
      base = 8;
      ++i;
    }
  }
  // Decimal numbers must stay inside the signed range (the negative side is
  // one larger); the other bases may use all 64 bits as a bit pattern.
  constexpr uint64_t kSignedMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  const uint64_t limit = base != 10 ? std::numeric_limits<uint64_t>::max()
                                    : (negative ? kSignedMax + 1 : kSignedMax);
  const size_t first = i;
  uint64_t u = 0;
  for (; i < n; ++i) {
    const unsigned d = DigitValue(s[i]);
    if (d >= base) break;
    if (u > (limit - d) / base) break;  // this digit would carry beyond the range
    u = u * base + d;
  }
  IntScan r;
  r.bad = i;
  if (i == first || i != n) return r;
  r.ok = true;
  // Modular conversion: -2^63 and the bit patterns of the other bases come
  // out as two's complement.
  r.value = static_cast<int64_t>(negative ? 0 - u : u);
  return r;
}

// ---------------------------------------------------------------------------
// Floating-point numbers

struct FloatScan {
  bool ok = false;
  // Index of the first character that cannot continue a valid number;
  // size() when the text ends before it is one (as "1e" or "-").
  size_t bad = 0;
  bool negative = false;
  std::string_view intDigits;
  std::string_view fracDigits;
  bool expNegative = false;
  std::string_view expDigits;
};

constexpr size_t kNoSwap = static_cast<size_t>(-1);

// Checks the whole of s against the floating-point syntax, reading the
// character at index swapAt (if any) with "," and "." exchanged. The pieces
// it returns point into s; the decimal separator is not part of them, so
// the exchanged character never has to be written anywhere.
// `bad` is where the text stops being the start of some valid number: in
// "5EUR" that is the "U" ("5E" may still become "5E3"), in ".x" the "x".
FloatScan ScanFloat(std::string_view s, size_t swapAt) noexcept {
  const size_t n = s.size();
  auto isPoint = [&](size_t k) { return k == swapAt ? s[k] == ',' : s[k] == '.'; };
  FloatScan r;
  size_t i = 0;
  while (i < n && IsLeadBlank(s[i])) ++i;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    r.negative = s[i] == '-';
    ++i;
  }
  const size_t mantissa = i;
  while (i < n && IsDigit(s[i])) ++i;
  r.intDigits = s.substr(mantissa, i - mantissa);
  if (i < n && isPoint(i)) {
    const size_t frac = ++i;
    while (i < n && IsDigit(s[i])) ++i;
    r.fracDigits = s.substr(frac, i - frac);
  }
  if (r.intDigits.empty() && r.fracDigits.empty()) {
    r.bad = i;  // no digit yet: what stands here (a letter, a second point, the end) is wrong
    return r;
  }
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    bool expNegative = false;
    if (j < n && (s[j] == '+' || s[j] == '-')) {
      expNegative = s[j] == '-';
      ++j;
    }
    const size_t digits = j;
    while (j < n && IsDigit(s[j])) ++j;
    if (j == digits) {
      // The marker (and sign) could still start an exponent; the character
      // after them, or the end of the text, is what does not fit. The part
      // before it ends in an incomplete exponent and is no number either.
      r.bad = j;
      return r;
    }
    r.expNegative = expNegative;
    r.expDigits = s.substr(digits, j - digits);
    i = j;
  }
  r.bad = i;
  r.ok = i == n;
  return r;
}

// The double nearest to a scanned number; zero (with the number's sign) when
// it is too small for a double, 0.0 when it is too large.
double FloatValue(const FloatScan& f) noexcept {
  // The value is D * 10^exp10 with D the digits of both parts as one integer.
  // They are copied into a fixed buffer without leading zeros; past
  // kMaxDigits significant digits the rest only matters as "zero or not",
  // which one extra digit 1 keeps (the halfway points between two doubles
  // have fewer than 770 significant digits, so rounding stays exact).
  constexpr size_t kMaxDigits = 800;
  constexpr int64_t kExpCap = int64_t{1} << 50;  // far beyond any double, far inside int64
  char buf[kMaxDigits + 32];
  size_t len = 0;
  if (f.negative) buf[len++] = '-';

  int64_t exponent = 0;
  for (char c : f.expDigits) {
    if (exponent < kExpCap) exponent = exponent * 10 + (c - '0');
  }
  if (f.expNegative) exponent = -exponent;
  exponent -= static_cast<int64_t>(f.fracDigits.size());

  size_t kept = 0;
  int64_t dropped = 0;
  bool started = false;
  bool sticky = false;
  auto take = [&](char c) {
    if (!started) {
      if (c == '0') return;
      started = true;
    }
    if (kept < kMaxDigits) {
      buf[len++] = c;
      ++kept;
    } else {
      ++dropped;
      sticky = sticky || c != '0';
    }
  };
  for (char c : f.intDigits) take(c);
  for (char c : f.fracDigits) take(c);

  const double zero = f.negative ? -0.0 : 0.0;
  if (!started) return zero;
  exponent += dropped;
  if (sticky) {
    buf[len++] = '1';
    ++kept;
    --exponent;
  }
  // The value lies in [10^(magnitude-1), 10^magnitude).
  const int64_t magnitude = exponent + static_cast<int64_t>(kept);
  if (magnitude > 400) return 0.0;
  if (magnitude < -400) return zero;

  buf[len++] = 'e';
  const auto written = std::to_chars(buf + len, buf + sizeof buf, exponent);
  double value = 0.0;
  const auto read = std::from_chars(buf, written.ptr, value);
  if (read.ec == std::errc::result_out_of_range) return magnitude > 0 ? 0.0 : zero;
  if (read.ec != std::errc() || read.ptr != written.ptr) return 0.0;  // cannot happen: buf is well-formed
  return value;
}

// ---------------------------------------------------------------------------
// Lists

// Walks the items of a list text one at a time, exactly as SplitList reads
// them. Items come out raw: a quoted item without its quotes but with its
// doubled quotes still doubled.
class ItemReader {
 public:
  ItemReader(std::string_view text, char separator, BlankRule blanks) noexcept
      : s_(text.substr(0, text.find('\0'))), sep_(separator), blanks_(blanks == BlanksSeparate) {
    SkipBlanks();
    done_ = pos_ == s_.size();
  }

  // The next item, or false when there is none left.
  bool Next(std::string_view& raw, bool& quoted) noexcept {
    if (done_) return false;
    const size_t n = s_.size();
    quoted = pos_ < n && s_[pos_] == '"';
    if (quoted) {
      const size_t start = ++pos_;
      size_t end = n;  // an unclosed quote runs to the end
      while (pos_ < n) {
        if (s_[pos_] == '"') {
          if (pos_ + 1 < n && s_[pos_ + 1] == '"') {
            pos_ += 2;
            continue;
          }
          end = pos_++;
          break;
        }
        ++pos_;
      }
      raw = s_.substr(start, end - start);
    } else {
      const size_t start = pos_;
      while (pos_ < n && s_[pos_] != sep_ && !(blanks_ && IsListBlank(s_[pos_]))) ++pos_;
      raw = s_.substr(start, pos_ - start);
    }
    SkipBlanks();
    if (pos_ == n) {
      done_ = true;
    } else if (s_[pos_] == sep_) {
      ++pos_;  // a separator at the very end leaves one more (empty) item
      SkipBlanks();
    }
    return true;
  }

 private:
  void SkipBlanks() noexcept {
    if (!blanks_) return;
    while (pos_ < s_.size() && IsListBlank(s_[pos_])) ++pos_;
  }

  std::string_view s_;
  char sep_;
  bool blanks_;
  size_t pos_ = 0;
  bool done_ = false;
};

// Appends a raw item to out, undoubling the quotes of a quoted one.
void AppendItem(std::string& out, std::string_view raw, bool quoted) {
  if (!quoted) {
    out.append(raw);
    return;
  }
  out.reserve(out.size() + raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    out.push_back(raw[i]);
    if (raw[i] == '"') ++i;  // a raw quoted item holds quotes only in pairs
  }
}

}  // namespace

int64_t ParseLeadingInt64(std::string_view text) noexcept {
  if (text.empty()) return 0;
  if (text.size() > kMaxIntText) {
    // Invalid at position 256: only the first 255 characters get their one retry.
    const IntScan r = ScanInt(text.substr(0, kMaxIntText));
    return r.ok ? r.value : 0;
  }
  const IntScan whole = ScanInt(text);
  if (whole.ok) return whole.value;
  const IntScan part = ScanInt(text.substr(0, whole.bad));
  return part.ok ? part.value : 0;
}

int32_t ParseLeadingInt(std::string_view text) noexcept {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ParseLeadingInt64(text))));
}

double ParseFloatText(std::string_view text) noexcept {
  if (text.empty()) return 0.0;
  const FloatScan whole = ScanFloat(text, kNoSwap);
  if (whole.ok) return FloatValue(whole);
  const size_t p = whole.bad;
  const size_t swapAt = (p < text.size() && (text[p] == ',' || text[p] == '.')) ? p : kNoSwap;
  const FloatScan swapped = ScanFloat(text, swapAt);
  if (swapped.ok) return FloatValue(swapped);
  const FloatScan part = ScanFloat(text.substr(0, swapped.bad), swapAt);
  return part.ok ? FloatValue(part) : 0.0;
}

std::string_view TextAfter(std::string_view text, char c) noexcept {
  const size_t at = text.find(c);
  return at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
}

std::string_view TextBefore(std::string_view text, char c) noexcept {
  const size_t at = text.find(c);
  return at == std::string_view::npos ? text : text.substr(0, at);
}

void SplitList(std::string_view text, TextList& list, char separator, BlankRule blanks) {
  list.clear();
  ItemReader reader(text, separator, blanks);
  std::string_view raw;
  bool quoted = false;
  while (reader.Next(raw, quoted)) AppendItem(list.emplace_back(), raw, quoted);
}

void ForEachListItem(std::string_view text, char separator, BlankRule blanks,
                     const std::function<bool(const std::string& item)>& visit) {
  ItemReader reader(text, separator, blanks);
  std::string item;
  std::string_view raw;
  bool quoted = false;
  while (reader.Next(raw, quoted)) {
    item.clear();
    AppendItem(item, raw, quoted);
    if (!visit(item)) return;
  }
}

std::string ListItem(std::string_view text, int32_t n, char separator, BlankRule blanks) {
  std::string item;
  if (n < 0) return item;
  ItemReader reader(text, separator, blanks);
  std::string_view raw;
  bool quoted = false;
  for (int32_t i = 0; reader.Next(raw, quoted); ++i) {
    if (i == n) {
      AppendItem(item, raw, quoted);
      break;
    }
  }
  return item;
}

std::string AsciiUpperCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace qor
