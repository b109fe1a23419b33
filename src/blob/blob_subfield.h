// Questions about an allocation text (FELDER=...) stored in a blob.
#pragma once

#include <string>
#include <string_view>

#include "frame/blob_io.h"

namespace qor {

// The answer is cut to this many bytes.
inline constexpr int kSubFieldCap = 255;

// Answers the question chosen by the field and line selectors about an
// allocation text; the first rule that applies wins:
//   field "?"        the number of non-empty field names
//   line "?"         the number of share lines
//   field empty      the field names
//   line empty       the keys of the share lines
//   field "*"        every value of the share lines whose key is `line`
//   a field name     its value in line "#n", in every share line ("*"), or
//                    in the share lines whose key is `line`
// Selectors "?", "*" and empty are recognised after trimming; field names and
// line keys are compared untrimmed, ignoring ASCII case. Lists end every
// entry with CR LF. A text that does not begin with "FELDER=" (any case)
// gives the empty answer. The answer may be longer than kSubFieldCap.
std::string SubFieldAnswer(std::string_view text, std::string_view field, std::string_view line);

// The answer about the text of the whole blob, cut to kSubFieldCap bytes.
std::string BlobSubField(const BlobSource& blob, std::string_view field, std::string_view line);

}  // namespace qor
