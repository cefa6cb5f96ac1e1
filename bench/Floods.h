#pragma once
// The floods the benchmarks send to the console, by what the console shows of them, and their text.

#include <cstddef>
#include <string>

namespace bench {

enum class Kind { Lines, SpaceFree, Hex };

inline const char* Name(Kind kind) {
    switch (kind) {
        case Kind::Lines: return "text display, lines";
        case Kind::SpaceFree: return "text display, no blanks";
        case Kind::Hex: return "hex display";
    }
    return "";
}

// `size` bytes of a flood: lines of text ending in CR LF, or letters without a blank.
inline std::string Block(Kind kind, std::size_t size) {
    std::string block;
    if (kind == Kind::Lines) {
        while (block.size() < size) {
            block += "The quick brown fox jumps over the lazy dog 0123456789\r\n";
        }
    } else {
        for (std::size_t i = 0; i < size; ++i) {
            block += static_cast<char>('A' + i % 26);
        }
    }
    block.resize(size);
    return block;
}

}  // namespace bench
