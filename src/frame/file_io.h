// Files through descriptors: whole reads and writes, and making the missing
// directories of a path. A call interrupted by a signal is repeated, a short
// transfer continued; a failure leaves errno set by the call that failed.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string_view>

namespace qor {

// One read() of up to size bytes, repeated while a signal interrupts it
// before it reads anything: read()'s answer (0 at the end, -1 on an error).
ssize_t ReadChunk(int fd, void* buffer, size_t size) noexcept;

// Writes all size bytes at the file position; false when a write fails or
// writes nothing.
bool WriteAll(int fd, const void* data, size_t size) noexcept;

// Writes all size bytes from `offset` on (pwrite: the file position stays).
bool WriteAllAt(int fd, const void* data, size_t size, off_t offset) noexcept;

// Reads exactly size bytes from `offset` on (pread); false on an error or
// when the file ends before.
bool ReadAllAt(int fd, void* data, size_t size, off_t offset) noexcept;

// Makes the missing directories of `path` with `mode`: every part of it that
// ends before one of `separators` or at its end, from the second byte on. A
// part that exists, or that cannot be made but is a directory, is passed.
// False when a part can be made neither (errno from its mkdir()).
bool MakeDirectories(std::string_view path, mode_t mode, std::string_view separators = "/");

}  // namespace qor
