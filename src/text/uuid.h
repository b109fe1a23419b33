// Fresh random UUIDs as text.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qor {

using UuidBytes = std::array<uint8_t, 16>;

// 16 random bytes from the kernel's random source; false when it cannot be
// read.
bool KernelRandomBytes(UuidBytes& out) noexcept;

// 16 pseudo-random bytes from the clocks, the process and thread ids and a
// call counter, so that two calls differ even within one clock tick.
UuidBytes PseudoRandomBytes() noexcept;

// Marks the bytes as a random (version 4, RFC 4122 variant) UUID.
void MarkRandomUuid(UuidBytes& bytes) noexcept;

// 8-4-4-4-12 upper-case hexadecimal digits of the bytes in order, without
// braces: 36 characters.
std::string UuidText(const UuidBytes& bytes);

// A new random UUID text: kernel bytes, or pseudo-random ones when the kernel
// source fails.
std::string NewUuidText();

}  // namespace qor
