#pragma once
// Bytes as hex groups, "XX " a byte with upper-case digits, written as fast as the processor
// allows: sixteen bytes at a time with its byte shuffles where it has them, else a group a byte
// from a table. The same text either way.

#include <cstddef>

namespace base {

// Writes the groups of `length` bytes to `out`, which has room for 3 * length + 1 characters, and
// a zero behind them.
void WriteHexGroups(const unsigned char* data, std::size_t length, char* out);

// The same from the table alone, whatever the processor has.
void WriteHexGroupsByTable(const unsigned char* data, std::size_t length, char* out);

}  // namespace base
