#pragma once
// A Windows program's version resource as Windows tools read it (Explorer's Details, a resource
// viewer), through the system's own calls. In plain types, since <windows.h> and the framework's
// headers do not meet.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test::version {

struct Resource {
    std::array<unsigned, 4> fileVersion{};
    std::array<unsigned, 4> productVersion{};
    unsigned flagsMask = 0;
    unsigned flags = 0;
    unsigned os = 0;
    unsigned type = 0;
    std::vector<std::pair<unsigned, unsigned>> translations;  // language, code page
};

// The version resource of the program at `path` (a Windows path), or of this program when empty;
// nullopt when it has none.
std::optional<Resource> Read(const std::string& path);
// One entry of its string block for `language` and `codePage`, in UTF-8; nullopt when missing.
std::optional<std::string> Entry(const std::string& path, unsigned language, unsigned codePage,
                                 const std::string& name);

}  // namespace test::version
