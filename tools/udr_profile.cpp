#include "udr_profile.h"

#include <algorithm>

namespace catalog {

std::vector<Shape> CompactShapes(const std::vector<Shape>& shapes, int limit) {
  std::vector<Shape> out = shapes;
  for (Shape& s : out) {
    for (ArgShape& a : s.args) {
      if (a.kind == ArgKind::Text) a.length = std::min(a.length, limit);
    }
    if (s.result == ArgKind::Text) s.result_length = std::min(s.result_length, limit);
  }
  return out;
}

std::string CompactScriptNote(int limit) {
  const std::string n = std::to_string(limit);
  return "-- Compact size profile: no text argument or result is declared longer than\n"
         "-- " + n + " bytes. A call costs the server less the shorter its texts are\n"
         "-- declared, whatever texts it passes; a text or result longer than " + n + "\n"
         "-- bytes fails the statement (string right truncation). Use it where no\n"
         "-- caller passes or expects longer texts; the full profile (the scripts without\n"
         "-- _compact) accepts every text the legacy front accepts. Either profile's\n"
         "-- switch script changes a database from the other one in place.\n"
         "--\n";
}

}  // namespace catalog
