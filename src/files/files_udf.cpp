// Entry points of the file, directory and database path functions. Ordinary
// failures (no such file, a refused deletion, an unusable location) are
// answers, not errors. Whatever is raised inside one of them (an alias file
// that cannot be read, a host program that cannot be started, no memory) is
// caught here, written to the error log as "<function>: <message>", and the
// function answers its neutral result: 0, 0.0 or the empty text.

#include <cstdint>

#include "files/disk_space.h"
#include "files/file_ops.h"
#include "files/path_resolver.h"
#include "files/unc_path.h"
#include "frame/args.h"
#include "frame/export.h"
#include "frame/guard.h"

using namespace qor;

// ---------------------------------------------------------------------------
// Database path resolution

QOR_EXPORT char* fn_Filepath(const char* location) {
  return GuardText(__func__, [&] { return GetAbsolutePfad(ArgText(location)); });
}

// ---------------------------------------------------------------------------
// File and directory functions

QOR_EXPORT int32_t fn_FileExists(const char* location) {
  return Guard(__func__, int32_t{0}, [&] { return FileExists(ArgText(location)); });
}

QOR_EXPORT int32_t fn_DirectoryExists(const char* location) {
  return Guard(__func__, int32_t{0}, [&] { return DirectoryExists(ArgText(location)); });
}

QOR_EXPORT int32_t fn_CreateDir(const char* location) {
  return Guard(__func__, int32_t{0}, [&] { return CreateDir(ArgText(location)); });
}

QOR_EXPORT int32_t fn_FileGetAttr(const char* location) {
  return Guard(__func__, int32_t{0}, [&] { return FileGetAttr(ArgText(location)); });
}

QOR_EXPORT int32_t fn_FileSetRight(const char* path) {
  return Guard(__func__, int32_t{0}, [&] { return FileSetRight(ArgText(path)); });
}

QOR_EXPORT int32_t fn_DropDatabase(const char* path) {
  return Guard(__func__, int32_t{0}, [&] { return DropDatabase(ArgText(path)); });
}

QOR_EXPORT int32_t fn_RenameDatabase(const char* old_path, const char* new_path) {
  return Guard(__func__, int32_t{0},
               [&] { return RenameDatabase(ArgText(old_path), ArgText(new_path)); });
}

// ---------------------------------------------------------------------------
// Disk space

QOR_EXPORT double fn_DiskFree(const char* location) {
  return Guard(__func__, 0.0, [&] { return DiskSpace(ArgText(location), DfField::Available); });
}

QOR_EXPORT double fn_DiskSize(const char* location) {
  return Guard(__func__, 0.0, [&] { return DiskSpace(ArgText(location), DfField::Size); });
}

// ---------------------------------------------------------------------------
// UNC paths

QOR_EXPORT char* fn_UNCpath(const char* path) {
  return GuardText(__func__, [&] { return GetUNCPfad(ArgText(path)); });
}
