#pragma once
// What a Windows screen reader reads of a window through the system's accessibility layer (Microsoft
// Active Accessibility). In plain types, since <windows.h> and the framework's headers do not meet.

#include <optional>
#include <string>

namespace test::msaa {

// The accessible name of `window`'s client object, in UTF-8; nullopt when it has none.
std::optional<std::string> Name(void* window);
// Whether the accessibility layer takes names given to windows (annotations); Wine's does not.
bool TakesAnnotations();

}  // namespace test::msaa
