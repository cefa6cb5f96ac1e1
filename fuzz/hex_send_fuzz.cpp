// The hex send encoding against the C library's own "%2X" conversion, and the round trip from the
// hex display back to the bytes it shows.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "console/DataFormats.h"

namespace {

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The pairing walk written out plainly, each pair read by sscanf("%2X") from a string of just
// those two characters (an unmatched pair leaves the byte 0).
std::vector<unsigned char> Reference(std::string_view text) {
    std::vector<unsigned char> bytes;
    std::size_t at = 0;
    for (;;) {
        while (at < text.size() && IsWhiteSpace(text[at])) {
            ++at;
        }
        if (text.substr(at, 2) == "0x" || text.substr(at, 2) == "0X") {
            at += 2;
            continue;
        }
        if (text.size() - at < 2) {
            if (text.size() - at == 1 && bytes.size() < text.size() / 2) {
                const char lone[2] = {text[at], '\0'};
                unsigned value = 0;
                if (std::sscanf(lone, "%2X", &value) != 1) {
                    value = 0;
                }
                bytes.push_back(static_cast<unsigned char>(value & 0xFF));
            }
            return bytes;
        }
        const char pair[3] = {text[at], text[at + 1], '\0'};
        unsigned value = 0;
        if (std::sscanf(pair, "%2X", &value) != 1) {
            value = 0;
        }
        bytes.push_back(static_cast<unsigned char>(value & 0xFF));
        at += 2;
    }
}

void Expect(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "hex send: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::vector<unsigned char> encoded = console::EncodeHexSend(text);
    Expect(encoded.size() <= size / 2, "more bytes than pairs");
    // sscanf stops at a zero byte; the text of an edit box never holds one.
    if (text.find('\0') == std::string_view::npos) {
        Expect(encoded == Reference(text), "differs from %2X");
    }

    // Whatever the hex display shows, sending it back gives the same bytes.
    const std::string shown = console::FormatHexDisplay(data, size);
    Expect(shown.size() == size * 3, "hex display length");
    Expect(console::EncodeHexSend(shown) == std::vector<unsigned char>(data, data + size), "round trip");
    return 0;
}
