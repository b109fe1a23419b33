// Size of, and space left on, the file system that holds a database
// location, in mebibytes, as the df program reports them.
#pragma once

#include <string>
#include <string_view>

namespace qor {

// df's figures: field 1 is the size, field 3 the space available.
enum class DfField : int { Size = 1, Available = 3 };

// The field of df's output (1024-byte blocks) divided by 1024: the first
// line that begins with "/" (joined with the next line when df wrapped it),
// split at blanks. 0.0 when there is no such line.
double DfFieldFromOutput(std::string_view output, DfField field);

// The path df is asked about for a location: the resolved path, or "/" for
// an unusable location.
std::string DiskPathOf(std::string_view location);

// Runs "df -k -- <path>" for the location and reads the field. Raises
// IoError, without starting df, when the path names something other than a
// directory or a regular file (a device, a pipe, a socket); a path that
// does not exist is still passed on.
double DiskSpace(std::string_view location, DfField field);

}  // namespace qor
