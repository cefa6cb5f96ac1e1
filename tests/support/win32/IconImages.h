#pragma once
// The pixels an icon shows, read back through the system's own calls, so that two icons can be
// compared image for image. In plain types, since <windows.h> and the framework's headers do not
// meet.

#include <cstdint>
#include <vector>

namespace test::icons {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colour;  // 32-bit BGRA, top row first
    std::vector<std::uint32_t> mask;    // the AND mask, the same way
    bool operator==(const Image&) const = default;
};

// What `icon` (an HICON) holds; an empty image when it is no icon.
Image Of(void* icon);
// The `width` by `height` image of this program's icon group `id`, as the system loads it from the
// program's resources.
Image ProgramImage(unsigned id, int width, int height);

}  // namespace test::icons
