#pragma once
// Bytes as hex groups, "XX " a byte with upper-case digits, a group a byte from a table. The box
// writes hex only for what it still holds when a frame shows it, so this runs for a few kilobytes a
// frame under a flood.

#include <cstddef>

namespace base {

// Writes the groups of `length` bytes to `out`, which has room for 3 * length + 1 characters, and
// a zero behind them.
void WriteHexGroups(const unsigned char* data, std::size_t length, char* out);

}  // namespace base
