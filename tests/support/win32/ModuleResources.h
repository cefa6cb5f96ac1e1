#pragma once
// A Windows program's dialogs, strings and icons as Windows tools read them (a resource viewer, a
// translator's tool): from the file, by type, id and language, through the system's own calls. In
// plain types, since <windows.h> and the framework's headers do not meet.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test::resources {

// The bytes of dialog resource `id` in `language` in the program at `path` (a Windows path).
std::optional<std::vector<std::uint16_t>> Dialog(const std::string& path, unsigned id, unsigned language);
// String `id` in `language`, in UTF-8.
std::optional<std::string> String(const std::string& path, unsigned id, unsigned language);
// The languages resource `id` of `type` (the system's number for it) is held in.
std::vector<unsigned> Languages(const std::string& path, unsigned type, unsigned id);
// The width and height of each image of icon group `id`, in any language.
std::vector<std::pair<unsigned, unsigned>> IconSizes(const std::string& path, unsigned id);

}  // namespace test::resources
