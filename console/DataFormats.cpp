#include "console/DataFormats.h"

#include <cstring>

#include "base/HexGroups.h"

namespace console {
namespace {

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// One pair as "%2X" reads two characters.
unsigned char ReadPair(char first, char second) {
    const char pair[2] = {first, second};
    std::size_t at = 0;
    bool negative = false;
    if (pair[0] == '+' || pair[0] == '-') {
        negative = pair[0] == '-';
        at = 1;
    }
    int value = 0;
    int digits = 0;
    for (; at < 2 && HexValue(pair[at]) >= 0; ++at, ++digits) {
        value = value * 16 + HexValue(pair[at]);
    }
    if (digits == 0) {
        return 0;
    }
    return static_cast<unsigned char>((negative ? -value : value) & 0xFF);
}

// The number of bytes a UTF-8 character that starts with `lead` has; 0 when it cannot start one.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Whether `next` may follow `lead` as the character's second byte.
bool ValidSecondByte(unsigned char lead, unsigned char next) {
    switch (lead) {
        case 0xE0: return next >= 0xA0 && next <= 0xBF;
        case 0xED: return next >= 0x80 && next <= 0x9F;
        case 0xF0: return next >= 0x90 && next <= 0xBF;
        case 0xF4: return next >= 0x80 && next <= 0x8F;
        default: return next >= 0x80 && next <= 0xBF;
    }
}

}  // namespace

std::vector<unsigned char> EncodeHexSend(std::string_view text) {
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() / 2);
    std::size_t at = 0;
    for (;;) {
        while (at < text.size() && IsWhiteSpace(text[at])) {
            ++at;
        }
        if (text.size() - at >= 2 && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
            at += 2;
            continue;  // white space may follow the prefix too
        }
        if (text.size() - at < 2) {
            // A digit left alone after skipped white space or a prefix is one the user typed: it
            // forms a byte as long as the text, counted as pairs, has room for one more.
            if (text.size() - at == 1 && bytes.size() < text.size() / 2) {
                bytes.push_back(ReadPair(text[at], ' '));
            }
            return bytes;
        }
        bytes.push_back(ReadPair(text[at], text[at + 1]));
        at += 2;
    }
}

std::size_t FormatHexDisplay(const unsigned char* data, std::size_t length, char* out) {
    base::WriteHexGroups(data, length, out);
    return length * 3;
}

std::string FormatHexDisplay(const unsigned char* data, std::size_t length) {
    std::string text(length * 3 + 1, '\0');
    text.resize(FormatHexDisplay(data, length, text.data()));
    return text;
}

std::size_t CompleteUtf8Prefix(const char* data, std::size_t length) {
    // A character has at most four bytes, so only the last three can belong to an unfinished one.
    for (std::size_t back = 1; back <= 3 && back <= length; ++back) {
        const auto byte = static_cast<unsigned char>(data[length - back]);
        if ((byte & 0xC0) == 0x80) {
            continue;  // a continuation byte: its character starts further back
        }
        const std::size_t needed = SequenceLength(byte);
        if (needed <= back) {
            return length;  // not a lead byte, or its character is complete
        }
        for (std::size_t i = 1; i < back; ++i) {
            const auto next = static_cast<unsigned char>(data[length - back + i]);
            if (i == 1 ? !ValidSecondByte(byte, next) : (next & 0xC0) != 0x80) {
                return length;  // never a valid character, whatever follows
            }
        }
        return length - back;
    }
    return length;
}

std::size_t FormatTextDisplay(std::string& tail, const char* data, std::size_t length, bool holdTail,
                              CharacterBoundary boundary, char* out) {
    const void* zero = std::memchr(data, 0, length);
    std::size_t size = tail.size();
    std::memcpy(out, tail.data(), size);
    tail.clear();
    // Nothing from the first zero byte on is shown, and nothing after it can complete the tail.
    const std::size_t shown =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : length;
    std::memcpy(out + size, data, shown);
    size += shown;
    if (zero == nullptr && holdTail) {
        const std::size_t complete = boundary(out, size);
        tail.assign(out + complete, size - complete);
        size = complete;
    }
    out[size] = '\0';
    return size;
}

std::string FormatTextDisplay(std::string& tail, const char* data, std::size_t length, bool holdTail,
                              CharacterBoundary boundary) {
    std::string text(tail.size() + length + 1, '\0');
    text.resize(FormatTextDisplay(tail, data, length, holdTail, boundary, text.data()));
    return text;
}

}  // namespace console
