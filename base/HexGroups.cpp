#include "base/HexGroups.h"

#include <array>
#include <cstring>

namespace base {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// "XX " for every byte value, with a fourth byte so that each group is one four-byte store; the
// next group (or the final zero) covers the fourth.
struct Groups {
    std::array<std::array<char, 4>, 256> group{};
    constexpr Groups() {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            group[byte] = {kDigits[byte >> 4], kDigits[byte & 0x0F], ' ', '\0'};
        }
    }
};
constexpr Groups kGroups;

}  // namespace

void WriteHexGroups(const unsigned char* data, std::size_t length, char* out) {
    for (std::size_t i = 0; i < length; ++i) {
        std::memcpy(out + i * 3, kGroups.group[data[i]].data(), 4);
    }
    out[length * 3] = '\0';
}

}  // namespace base
