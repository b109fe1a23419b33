// Entry points of the text, list and Soundex functions: thin adapters that
// read the engine arguments, run the internal function inside the error
// guard and hand the result back as the SQL declaration promises.

#include <cstring>
#include <string>

#include "frame/args.h"
#include "frame/case_tables.h"
#include "frame/export.h"
#include "frame/guard.h"
#include "frame/number_text.h"
#include "frame/udf_result.h"
#include "text/list_functions.h"
#include "text/soundex.h"
#include "text/text_functions.h"
#include "text/uuid.h"

using namespace qor;

// ---------------------------------------------------------------------------
// Text functions

QOR_EXPORT int32_t fn_CompareText(const char* a, const char* b) {
  return Guard(__func__, 0, [&] { return CompareText(ArgText(a), ArgText(b)); });
}

QOR_EXPORT char* fn_SubStrEx(const char* text, int32_t* start, int32_t* count) {
  return GuardText(__func__, [&] {
    int32_t s = ArgValue(start), c = ArgValue(count);
    const std::string_view part = SubStrEx(ArgText(text), s, c);
    StoreBack(start, s);
    StoreBack(count, c);
    return part;
  });
}

// The same function under its older name; its errors are logged as fn_SubStrEx.
QOR_EXPORT char* fn_SubString(const char* text, int32_t* start, int32_t* count) {
  return fn_SubStrEx(text, start, count);
}

QOR_EXPORT char* fn_Copy(const char* text, int32_t* index, int32_t* count) {
  return GuardTextNoted(
      __func__,
      [&] {
        int32_t i = ArgValue(index), c = ArgValue(count);
        const std::string_view part = CopyText(ArgText(text), i, c);
        StoreBack(index, i);
        StoreBack(count, c);
        return part;
      },
      [&] { return " Count=" + std::to_string(ArgValue(count)); });
}

// The three in-place functions change their argument and return a pointer
// into it: the declarations must not let the server free the result.
QOR_EXPORT char* fn_UpperCase(char* text) {
  return Guard(__func__, text, [&] { return UpperCaseInPlace(text); });
}

QOR_EXPORT char* fn_LowerCase(char* text) {
  return Guard(__func__, text, [&] { return LowerCaseInPlace(text); });
}

QOR_EXPORT char* fn_Trim(char* text) {
  return Guard(__func__, text, [&] { return TrimInPlace(text); });
}

QOR_EXPORT int32_t fn_Pos(const char* search, const char* text) {
  return Guard(__func__, 0, [&] { return PosText(ArgText(search), ArgText(text)); });
}

// Both replace functions are declared RETURNS CSTRING(32767): a longer
// result fails the caller's statement, so it is built only as far as needed
// to be refused.
constexpr size_t kMaxReplaceResult = 32767;

QOR_EXPORT char* fn_ReplaceStr(const char* search, const char* replacement, const char* text) {
  return GuardText(__func__, [&] {
    return ReplaceText(ArgText(search), ArgText(replacement), ArgText(text), true, false,
                       kMaxReplaceResult);
  });
}

QOR_EXPORT char* fn_StrReplace(const char* search, const char* replacement, const char* text,
                               const int16_t* all, const int16_t* ignore_case) {
  return GuardText(__func__, [&] {
    return ReplaceText(ArgText(search), ArgText(replacement), ArgText(text), ArgValue(all) == 1,
                       ArgValue(ignore_case) == 1, kMaxReplaceResult);
  });
}

QOR_EXPORT char* fn_CrLf(const int32_t* count) {
  return GuardText(__func__, [&] { return CrLfText(ArgValue(count)); });
}

// Only the first byte at the address is the character (the low byte of the
// integer the server passes).
QOR_EXPORT char* fn_Ascii_Char2(const unsigned char* code) {
  return GuardText(__func__, [&] {
    const char c = static_cast<char>(ArgValue(code));
    return c == '\0' ? std::string() : std::string(1, c);
  });
}

QOR_EXPORT char* fn_IntToStr(const int32_t* value) {
  return GuardText(__func__, [&] { return IntText(ArgValue(value)); });
}

QOR_EXPORT char* fn_FloatToStr(const double* value) {
  return GuardText(__func__, [&] { return NumberText(ArgValue(value)); });
}

QOR_EXPORT char* fn_UUIDStr() {
  return GuardText(__func__, [] { return NewUuidText(); });
}

// ---------------------------------------------------------------------------
// Delimited list functions

QOR_EXPORT char* fn_GetCommaPos(const char* text, const int16_t* n) {
  return GuardText(__func__, [&] { return ListItemAt(ArgText(text), ArgValue(n), ','); });
}

QOR_EXPORT char* fn_GetPos(const char* text, const int16_t* n, const char* separator) {
  return GuardText(__func__, [&] {
    return ListItemAt(ArgText(text), ArgValue(n), ListSeparator(ArgText(separator)));
  });
}

QOR_EXPORT char* fn_GetCommaPosition(const char* text, const int16_t* n, const char* separator,
                                     int16_t* maximum) {
  return GuardText(__func__, [&] {
    int32_t m = ArgValue(maximum);
    std::string item = ListItemCut(ArgText(text), ArgValue(n), ListSeparator(ArgText(separator)), m);
    StoreBack(maximum, m);
    return item;
  });
}

QOR_EXPORT char* fn_CommaTextValue(const char* text, const char* name) {
  return GuardText(__func__, [&] { return CommaTextValue(ArgText(text), ArgText(name)); });
}

// ---------------------------------------------------------------------------
// Soundex code

// A 6-byte buffer with the 5-character code, or nil (SQL NULL) for a name of
// fewer than 2 characters.
QOR_EXPORT char* fn_Soundex(const char* name) {
  return Guard(__func__, static_cast<char*>(nullptr), [&]() -> char* {
    const std::string_view text = ArgText(name);
    if (text.size() < 2) return nullptr;
    const std::string code = SoundexCode(text);
    char* out = static_cast<char*>(UdfAlloc(6));
    std::memcpy(out, code.data(), 5);
    out[5] = '\0';
    return out;
  });
}
