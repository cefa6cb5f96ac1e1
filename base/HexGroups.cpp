#include "base/HexGroups.h"

#include <array>
#include <cstring>

// The vector path needs x86's byte shuffle (SSSE3), which every x86 processor of the last fifteen
// years has but the oldest may lack; it is compiled for it alone and taken only when the processor
// says it has it.
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BASE_HEX_GROUPS_SHUFFLE 1
#endif

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

#ifdef BASE_HEX_GROUPS_SHUFFLE
// Sixteen bytes make 48 characters: each byte's two digits by a table lookup within a register,
// the digit pairs interleaved, then spread to three characters each with the blanks put in.
// Gives how many bytes it wrote the groups of: a whole number of sixteens.
__attribute__((target("ssse3"))) std::size_t WriteSixteens(const unsigned char* data, std::size_t length, char* out) {
    const __m128i digits = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kDigits));
    const __m128i nibble = _mm_set1_epi8(0x0F);
    // Where each of the 48 characters comes from among the digit pairs (-1: a blank goes there).
    const __m128i first = _mm_setr_epi8(0, 1, -1, 2, 3, -1, 4, 5, -1, 6, 7, -1, 8, 9, -1, 10);
    const __m128i middle = _mm_setr_epi8(1, -1, 2, 3, -1, 4, 5, -1, 6, 7, -1, 8, 9, -1, 10, 11);
    const __m128i last = _mm_setr_epi8(-1, 6, 7, -1, 8, 9, -1, 10, 11, -1, 12, 13, -1, 14, 15, -1);
    const __m128i firstBlanks = _mm_setr_epi8(0, 0, ' ', 0, 0, ' ', 0, 0, ' ', 0, 0, ' ', 0, 0, ' ', 0);
    const __m128i middleBlanks = _mm_setr_epi8(0, ' ', 0, 0, ' ', 0, 0, ' ', 0, 0, ' ', 0, 0, ' ', 0, 0);
    const __m128i lastBlanks = _mm_setr_epi8(' ', 0, 0, ' ', 0, 0, ' ', 0, 0, ' ', 0, 0, ' ', 0, 0, ' ');
    std::size_t done = 0;
    for (; length - done >= 16; done += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + done));
        const __m128i high = _mm_shuffle_epi8(digits, _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble));
        const __m128i low = _mm_shuffle_epi8(digits, _mm_and_si128(bytes, nibble));
        const __m128i pairs0 = _mm_unpacklo_epi8(high, low);  // the digit pairs of bytes 0 to 7
        const __m128i pairs1 = _mm_unpackhi_epi8(high, low);  // and of bytes 8 to 15
        // Characters 16 to 31 start in the second digit of byte 5 and end in byte 10.
        const __m128i across = _mm_alignr_epi8(pairs1, pairs0, 10);
        char* to = out + done * 3;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_or_si128(_mm_shuffle_epi8(pairs0, first), firstBlanks));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 16),
                         _mm_or_si128(_mm_shuffle_epi8(across, middle), middleBlanks));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 32), _mm_or_si128(_mm_shuffle_epi8(pairs1, last), lastBlanks));
    }
    return done;
}

bool HasShuffle() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
}
#endif

}  // namespace

void WriteHexGroupsByTable(const unsigned char* data, std::size_t length, char* out) {
    for (std::size_t i = 0; i < length; ++i) {
        std::memcpy(out + i * 3, kGroups.group[data[i]].data(), 4);
    }
    out[length * 3] = '\0';
}

void WriteHexGroups(const unsigned char* data, std::size_t length, char* out) {
    std::size_t done = 0;
#ifdef BASE_HEX_GROUPS_SHUFFLE
    static const bool shuffle = HasShuffle();
    if (shuffle) {
        done = WriteSixteens(data, length, out);
    }
#endif
    WriteHexGroupsByTable(data + done, length - done, out + done * 3);
}

}  // namespace base
