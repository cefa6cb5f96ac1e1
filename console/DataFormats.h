#pragma once
// The console's byte formats: the hex send encoding and the two receive display formats.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace console {

// Send text to bytes, a pair of characters a byte. Blanks, tabs, line breaks and other white space
// between pairs, and a "0x" or "0X" before a pair, are skipped and never shift the pairing. A pair
// is read as "%2X" reads it: a sign counts as one of its two characters, hex digits are taken until
// a character that is not one, a pair without digits is 0, a "-" negates. A last lone character
// forms a byte of its own only when skipped characters before it leave the text room for one more
// pair (" 1" and "0A 1" end in 01; "1" and "ABC" do not).
std::vector<unsigned char> EncodeHexSend(std::string_view text);

// "%02X " for every byte, the blank after the last one too.
std::string FormatHexDisplay(const unsigned char* data, std::size_t length);
// The same into `out`, which has room for 3 * length + 1 characters; ends it with a zero and gives
// the number of characters written.
std::size_t FormatHexDisplay(const unsigned char* data, std::size_t length, char* out);

// How many leading bytes of `data` end on a character boundary: all of them, unless the last bytes
// begin a UTF-8 character that the next bytes could still complete.
std::size_t CompleteUtf8Prefix(const char* data, std::size_t length);

// The bytes as text, up to the first zero byte. `tail` carries an incomplete character from the
// end of one chunk to the start of the next, so that a character split between two reads is shown
// whole; it is given back with the next chunk. `boundary` says where characters end in the text's
// encoding. With `holdTail` false (a datagram, decoded whole) nothing is held: an unfinished
// character at the end is shown as the invalid bytes it is.
using CharacterBoundary = std::size_t (*)(const char* data, std::size_t length);
std::string FormatTextDisplay(std::string& tail, const char* data, std::size_t length, bool holdTail = true,
                              CharacterBoundary boundary = CompleteUtf8Prefix);
// The same into `out`, which has room for the tail, `length` characters and a final zero; gives
// the number of characters written before the zero.
std::size_t FormatTextDisplay(std::string& tail, const char* data, std::size_t length, bool holdTail,
                              CharacterBoundary boundary, char* out);

}  // namespace console
