// How the Win32 backend's boxes show bytes that are no UTF-8: Unicode's recommended practice, each
// maximal subpart of an ill-formed sequence shown as one U+FFFD. Worked out here from the table of
// well-formed byte sequences, apart from the framework's own conversion.
#include <string>

#include "tests/support/DialogDriver.h"

namespace test {
namespace {

struct Range {
    unsigned char low;
    unsigned char high;
};

struct WellFormed {
    Range bytes[4];
    int length;
};

// Unicode's table of well-formed UTF-8 byte sequences.
constexpr WellFormed kTable[] = {
    {{{0x00, 0x7F}}, 1},
    {{{0xC2, 0xDF}, {0x80, 0xBF}}, 2},
    {{{0xE0, 0xE0}, {0xA0, 0xBF}, {0x80, 0xBF}}, 3},
    {{{0xE1, 0xEC}, {0x80, 0xBF}, {0x80, 0xBF}}, 3},
    {{{0xED, 0xED}, {0x80, 0x9F}, {0x80, 0xBF}}, 3},
    {{{0xEE, 0xEF}, {0x80, 0xBF}, {0x80, 0xBF}}, 3},
    {{{0xF0, 0xF0}, {0x90, 0xBF}, {0x80, 0xBF}, {0x80, 0xBF}}, 4},
    {{{0xF1, 0xF3}, {0x80, 0xBF}, {0x80, 0xBF}, {0x80, 0xBF}}, 4},
    {{{0xF4, 0xF4}, {0x80, 0x8F}, {0x80, 0xBF}, {0x80, 0xBF}}, 4},
};

// How many bytes at `at` match the start of `row`.
int Matching(const std::string& bytes, std::size_t at, const WellFormed& row) {
    int n = 0;
    while (n < row.length && at + static_cast<std::size_t>(n) < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(n)]);
        if (byte < row.bytes[n].low || byte > row.bytes[n].high) {
            break;
        }
        ++n;
    }
    return n;
}

}  // namespace

std::string DecodedAsTheBoxShows(const std::string& bytes) {
    std::string shown;
    std::size_t at = 0;
    while (at < bytes.size()) {
        int longest = 0;
        bool whole = false;
        for (const WellFormed& row : kTable) {
            const int n = Matching(bytes, at, row);
            if (n > longest) {
                longest = n;
                whole = n == row.length;
            }
        }
        if (whole) {
            shown.append(bytes, at, static_cast<std::size_t>(longest));
        } else {
            shown += "\xEF\xBF\xBD";
        }
        at += static_cast<std::size_t>(longest > 0 ? longest : 1);
    }
    return shown;
}

}  // namespace test
