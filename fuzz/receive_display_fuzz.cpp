// The receive display: the bytes of a stream cut into chunks at places the input chooses, shown
// chunk by chunk as the console does. Text display must decode exactly as the unsplit stream does,
// never show a zero byte or what follows it in its chunk, and hold back at most an unfinished
// character; hex display must send back as the very bytes it shows.

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "console/DataFormats.h"

namespace {

void Expect(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "receive display: %s\n", what);
        std::abort();
    }
}

// What the receive box makes of one chunk's text.
QString Decoded(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t chunkLimit = input.ConsumeIntegralInRange<std::size_t>(1, 64);
    const std::string stream = input.ConsumeRemainingBytesAsString();

    std::string tail;
    std::string shownBytes;  // the chunks' texts since the last zero byte, as one string
    QString shownText;       // the same texts each decoded on its own, as the box receives them
    for (std::size_t at = 0; at < stream.size();) {
        // The chunk length comes from the stream itself so that the cuts wander through it.
        const std::size_t length =
            std::min(stream.size() - at, 1 + static_cast<unsigned char>(stream[at]) % chunkLimit);
        const char* chunk = stream.data() + at;
        at += length;

        const std::string before = tail;
        const std::string text = console::FormatTextDisplay(tail, chunk, length);
        const void* zero = std::memchr(chunk, 0, length);
        Expect(text.find('\0') == std::string::npos, "a zero byte is shown");
        Expect(tail.size() <= 3, "more than a character held back");
        if (zero != nullptr) {
            const auto kept = static_cast<std::size_t>(static_cast<const char*>(zero) - chunk);
            Expect(tail.empty() && text == before + std::string(chunk, kept), "text before the zero byte");
        } else {
            Expect(text + tail == before + std::string(chunk, length), "bytes lost or added");
        }
        shownBytes += text;
        shownText += Decoded(text);
        if (zero != nullptr) {
            // A zero byte ends what can be joined: the bytes after it start afresh.
            Expect(shownText == Decoded(shownBytes), "a split character decoded differently");
            shownBytes.clear();
            shownText.clear();
        }

        const std::string hex = console::FormatHexDisplay(reinterpret_cast<const unsigned char*>(chunk), length);
        Expect(console::EncodeHexSend(hex) == std::vector<unsigned char>(chunk, chunk + length), "hex round trip");
    }
    // Cutting never changes what is shown: chunk by chunk reads as the bytes decoded whole.
    Expect(shownText == Decoded(shownBytes), "a split character decoded differently");
    if (stream.find('\0') == std::string::npos) {
        Expect(shownBytes + tail == stream, "stream not shown whole");
    }
    return 0;
}
