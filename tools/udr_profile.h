// Size profiles of the UDR declarations. The engine pays for a UDR call in
// proportion to the declared sizes of its text parameters and result, not
// to the texts actually passed (see the front benchmark's --sizes table), so
// the same functions can be declared
//   - in the full profile (the default): every text as long as the legacy
//     declaration admits, so that every text the legacy front accepts is
//     accepted;
//   - in the compact profile: no text argument or result longer than
//     kCompactTextLimit bytes, for databases whose texts are that short. A
//     longer text fails the statement (string right truncation), as a text
//     beyond the legacy declaration does.
// The profile only changes the lengths in the declarations: the library and
// the routine table are the same for both.
#pragma once

#include <string>
#include <vector>

#include "udr_catalog.h"

namespace catalog {

// The longest text of the compact profile: below the sizes at which the
// engine's cost per call starts to grow with the declaration.
inline constexpr int kCompactTextLimit = 4000;

// The shapes with every text argument and text result cut to at most `limit`
// bytes (declarations shorter than that keep their length).
std::vector<Shape> CompactShapes(const std::vector<Shape>& shapes, int limit = kCompactTextLimit);

// The comment that heads a script of the compact profile.
std::string CompactScriptNote(int limit = kCompactTextLimit);

}  // namespace catalog
