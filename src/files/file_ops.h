// File and directory tests and changes on the server host.
#pragma once

#include <cstdint>
#include <string_view>

namespace qor {

// Whether the name ends in .GDB, .GBK, .FDB or .FBK (ASCII case ignored).
bool IsDatabaseFile(std::string_view name) noexcept;

// By the status character of the resolved location: 1 when it exists
// ("1"/"5"), respectively when only its directory exists ("2"/"6").
int32_t FileExists(std::string_view location);
int32_t DirectoryExists(std::string_view location);

// 1 when the location's directory exists or could be made (with every
// missing parent, "/" and "\" both separating); 0 for an unusable location,
// a relative path, or a failed creation.
int32_t CreateDir(std::string_view location);

// Resolves the location and answers 0: no attribute is defined.
int32_t FileGetAttr(std::string_view location);

// Runs "chmod guo+rw -- <path>" with the path as one operand, and waits for
// it. Always 0; an empty path starts nothing.
int32_t FileSetRight(std::string_view path);

// Deletes / renames database and backup files named by plain server paths;
// 1 on success, else 0 (also for names that are not database files).
int32_t DropDatabase(std::string_view path);
int32_t RenameDatabase(std::string_view old_path, std::string_view new_path);

}  // namespace qor
