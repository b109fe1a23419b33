// The function reference (docs/functions.md) and the README's overview that
// links into it, both made from the catalogue of the declaration script.
//
// Subsystems: a group title "Accounting: account ranges" belongs to the
// subsystem "Accounting"; a title without ": " is a subsystem of its own.
// Subsystems appear in the order the script first names them.
#pragma once

#include <string>
#include <vector>

#include "catalog.h"

namespace catalog {

inline constexpr const char* kOverviewBegin = "<!-- overview:begin -->";
inline constexpr const char* kOverviewEnd = "<!-- overview:end -->";

// The whole reference document.
std::string Reference(const Catalog& catalog);

// A short list by subsystem for the README: each subsystem and each function
// linked into the reference at `reference_path` (relative to the README).
std::string ReadmeOverview(const Catalog& catalog, const std::string& reference_path);

// The anchor (HTML id) of a function's or a subsystem's entry in the reference.
std::string Anchor(const std::string& text);

// The subsystem and the part of a group title ("Accounting", "account ranges").
std::string SubsystemOf(const std::string& group);
std::string PartOf(const std::string& group);

// The sentences of a description that say what SQL NULL gives.
std::vector<std::string> NullSentences(const std::string& doc);

// Replaces what stands between the markers `begin` and `end` in `text` by
// "\n" + content. False when the markers are missing.
bool SpliceBetween(const std::string& text, const char* begin, const char* end,
                   const std::string& content, std::string& out);

}  // namespace catalog
