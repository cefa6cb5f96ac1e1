#include "base/HexGroups.h"
#include "console/DataFormats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(HexSend, ReadsPairsAsPercent2XDoes) {
    EXPECT_EQ(console::EncodeHexSend("0A1B"), (Bytes{0x0A, 0x1B}));
    EXPECT_EQ(console::EncodeHexSend("0a1b"), (Bytes{0x0A, 0x1B}));
    EXPECT_EQ(console::EncodeHexSend("ABC"), (Bytes{0xAB}));
    EXPECT_EQ(console::EncodeHexSend("GG12"), (Bytes{0x00, 0x12}));
    EXPECT_EQ(console::EncodeHexSend("1G"), (Bytes{0x01}));
    EXPECT_EQ(console::EncodeHexSend("-1"), (Bytes{0xFF}));
    EXPECT_EQ(console::EncodeHexSend("+5"), (Bytes{0x05}));
    EXPECT_EQ(console::EncodeHexSend(""), Bytes{});
    EXPECT_EQ(console::EncodeHexSend("7"), Bytes{});
}

TEST(HexSend, WhiteSpaceAndPrefixesBetweenPairsNeverShiftThePairing) {
    EXPECT_EQ(console::EncodeHexSend("01 02 03"), (Bytes{0x01, 0x02, 0x03}));
    EXPECT_EQ(console::EncodeHexSend("01\r\n02"), (Bytes{0x01, 0x02}));
    EXPECT_EQ(console::EncodeHexSend("0x12"), (Bytes{0x12}));
    EXPECT_EQ(console::EncodeHexSend("0X12 0xff"), (Bytes{0x12, 0xFF}));
    EXPECT_EQ(console::EncodeHexSend("68 65 6C "), (Bytes{0x68, 0x65, 0x6C}));
    EXPECT_EQ(console::EncodeHexSend("\t01\v02\f"), (Bytes{0x01, 0x02}));
    EXPECT_EQ(console::EncodeHexSend("0x 12 0X\t3"), (Bytes{0x12, 0x03}))
        << "white space after a prefix is skipped too";
}

TEST(HexSend, ALastDigitAfterSkippedCharactersIsSentButALoneCharacterIsNot) {
    EXPECT_EQ(console::EncodeHexSend(" 1"), (Bytes{0x01}));
    EXPECT_EQ(console::EncodeHexSend("0x1"), (Bytes{0x01}));
    EXPECT_EQ(console::EncodeHexSend("0A 1"), (Bytes{0x0A, 0x01}));
    EXPECT_EQ(console::EncodeHexSend("1 "), (Bytes{0x01}));
    EXPECT_EQ(console::EncodeHexSend(" -"), (Bytes{0x00})) << "a sign without digits reads as 0";
    EXPECT_EQ(console::EncodeHexSend("1"), Bytes{});
    EXPECT_EQ(console::EncodeHexSend("0A1"), (Bytes{0x0A})) << "no skipped character: the last one is odd";
}

TEST(HexSend, TextOfAnyLengthIsEncodedWhole) {
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text += "A5";
    }
    const Bytes bytes = console::EncodeHexSend(text);
    ASSERT_EQ(bytes.size(), 5000u);
    EXPECT_EQ(bytes.front(), 0xA5);
    EXPECT_EQ(bytes.back(), 0xA5);
}

TEST(HexDisplay, ShowsEveryByteAsTwoDigitsAndABlank) {
    const unsigned char hello[] = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(console::FormatHexDisplay(hello, 5), "68 65 6C 6C 6F ");
    const unsigned char withZero[] = {0x41, 0x00, 0x42};
    EXPECT_EQ(console::FormatHexDisplay(withZero, 3), "41 00 42 ");
    EXPECT_EQ(console::FormatHexDisplay(withZero, 0), "");
}

// The groups at every length up to a few table rounds, from every alignment, over every byte value:
// exactly "%02X " a byte, a zero behind, and nothing written past it.
TEST(HexDisplay, EveryByteAtEveryLengthAndAlignmentAsPrintfWritesIt) {
    std::vector<unsigned char> bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(255 - i * 7);
    }
    for (std::size_t from = 0; from < 16; ++from) {
        // The byte values come round every 256 bytes: a run of 256 holds each once.
        std::vector<std::size_t> lengths{256, 271};
        for (std::size_t length = 0; length <= 80; ++length) {
            lengths.push_back(length);
        }
        for (const std::size_t length : lengths) {
            std::string expected;
            for (std::size_t i = 0; i < length; ++i) {
                char group[4];
                std::snprintf(group, sizeof group, "%02X ", bytes[from + i]);
                expected += group;
            }
            std::string out(length * 3 + 1 + 8, '#');
            base::WriteHexGroups(bytes.data() + from, length, out.data());
            ASSERT_EQ(out.substr(0, length * 3), expected) << "length " << length << " from " << from;
            ASSERT_EQ(out[length * 3], '\0');
            ASSERT_EQ(out.substr(length * 3 + 1), std::string(8, '#'));
        }
    }
}

TEST(TextDisplay, StopsAtTheFirstZeroByte) {
    std::string tail;
    EXPECT_EQ(console::FormatTextDisplay(tail, "hello", 5), "hello");
    EXPECT_EQ(console::FormatTextDisplay(tail, "A\0B", 3), "A");
    EXPECT_EQ(console::FormatTextDisplay(tail, "\0xyz", 4), "");
    EXPECT_EQ(console::FormatTextDisplay(tail, "XY\r\nZ", 5), "XY\r\nZ");
    EXPECT_TRUE(tail.empty());
}

TEST(TextDisplay, ACharacterSplitBetweenChunksIsShownWhole) {
    std::string tail;
    const std::string han = "\xE4\xB8\xAD";  // U+4E2D
    EXPECT_EQ(console::FormatTextDisplay(tail, "a\xE4\xB8", 3), "a");
    EXPECT_EQ(tail, "\xE4\xB8");
    EXPECT_EQ(console::FormatTextDisplay(tail,
                                         "\xAD"
                                         "b",
                                         2),
              han + "b");
    EXPECT_TRUE(tail.empty());

    const std::string emoji = "\xF0\x9F\x98\x80";
    EXPECT_EQ(console::FormatTextDisplay(tail, emoji.data(), 1), "");
    EXPECT_EQ(console::FormatTextDisplay(tail, emoji.data() + 1, 3), emoji);

    // A zero byte ends the text: the unfinished character before it is shown as it is.
    EXPECT_EQ(console::FormatTextDisplay(tail, "\xE4", 1), "");
    EXPECT_EQ(console::FormatTextDisplay(tail, "\0z", 2), "\xE4");
    EXPECT_TRUE(tail.empty());
}

TEST(TextDisplay, ADatagramHoldsNothingBack) {
    std::string tail;
    EXPECT_EQ(console::FormatTextDisplay(tail, "a\xE4\xB8", 3, false), "a\xE4\xB8");
    EXPECT_TRUE(tail.empty());
}

TEST(TextDisplay, BytesThatCanNeverFormACharacterAreNotHeldBack) {
    EXPECT_EQ(console::CompleteUtf8Prefix("ab", 2), 2u);
    EXPECT_EQ(console::CompleteUtf8Prefix("a\xE4\xB8\xAD", 4), 4u);
    EXPECT_EQ(console::CompleteUtf8Prefix("a\xE4\xB8", 3), 1u);
    EXPECT_EQ(console::CompleteUtf8Prefix("a\xC3", 2), 1u);
    EXPECT_EQ(console::CompleteUtf8Prefix("a\xFF", 2), 2u);
    EXPECT_EQ(console::CompleteUtf8Prefix("a\xC0", 2), 2u);
    EXPECT_EQ(console::CompleteUtf8Prefix("a\xE0\x80", 3), 3u);  // overlong start
    EXPECT_EQ(console::CompleteUtf8Prefix("a\xED\xA0", 3), 3u);  // a surrogate
    EXPECT_EQ(console::CompleteUtf8Prefix("\x80\x80\x80", 3), 3u);
    EXPECT_EQ(console::CompleteUtf8Prefix("", 0), 0u);
}

}  // namespace
