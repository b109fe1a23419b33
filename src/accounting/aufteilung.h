// The Aufteilung text: how a booking amount is allocated to cost centres.
//
//   FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG
//   1=4711,"A 1",,400,,100,123.45
//
// Every line is key "=" value. The field line names the fields; each share
// line holds one value per field, as a comma text. Readers find fields by
// name, never by position.
#pragma once

#include <string_view>
#include <vector>

#include "frame/lines.h"
#include "frame/strings.h"

namespace qor {

// The field line both writers produce.
inline constexpr std::string_view kAufteilungFieldLine =
    "FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG";
inline constexpr std::string_view kFieldLineKey = "Felder";

// The field names of the first line whose key is "Felder" in any letter
// case, and that line's index; -1 and no names when there is none.
struct FieldLine {
  int index = -1;
  TextList names;
};
FieldLine FindFieldLine(const std::vector<std::string_view>& lines);

// The position of the first field named `name` (any letter case), or -1.
int FieldPosition(const TextList& names, std::string_view name);

}  // namespace qor
