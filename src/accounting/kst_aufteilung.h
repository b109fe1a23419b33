// Aufteilung texts for a booking that goes wholly to one cost centre or cost
// unit: the field line and a single share line of 100 percent.
#pragma once

#include <string>
#include <string_view>

namespace qor {

// Comma text quoted where needed, LF line ends; the empty text when there is
// no cost type of at least 1 (koart, else fallback_koart) or neither a cost
// centre of at least 1 nor a non-blank cost unit.
std::string KstToAufteilung(double kst, double fallback_koart, double koart, double betrag,
                            std::string_view ktr);

// As KstToAufteilung, with the quantity, every value that is not plain
// letters and digits in quotes, and CR LF line ends.
std::string KstToAufteilung2(double kst, double fallback_koart, double koart, double betrag,
                             double menge, std::string_view ktr);

}  // namespace qor
