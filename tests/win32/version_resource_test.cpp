// The Windows program's version resource, read back from the built executables as Windows tools
// read it, is the program's own version table.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "framework/Resources.h"
#include "res/Resources.h"
#include "tests/support/win32/VersionResource.h"

namespace {

std::array<unsigned, 4> Numbers(const WORD (&words)[4]) { return {words[0], words[1], words[2], words[3]}; }

TEST(VersionResource, IsTheProgramsVersionTableInTheProgramAndInThisTest) {
    // The program's file is named as its resource says, and its message boxes after it.
    const std::string program = QUENZO_PROGRAM;
    EXPECT_EQ(program.substr(program.find_last_of("/\\") + 1), "Quenzo.exe");
    const VersionInfo& table = *QuenzoResources().version;
    // The program as built beside this test, and this test, which carries the same resources.
    for (const std::string& path : {std::string(QUENZO_PROGRAM), std::string()}) {
        SCOPED_TRACE(path.empty() ? "this test" : path);
        const auto resource = test::version::Read(path);
        ASSERT_TRUE(resource.has_value());
        EXPECT_EQ(resource->fileVersion, Numbers(table.fileVersion));
        EXPECT_EQ(resource->productVersion, Numbers(table.productVersion));
        EXPECT_EQ(resource->flagsMask, 0x3Fu);
        EXPECT_EQ(resource->flags, 0u);
        EXPECT_EQ(resource->os, 0x4u);  // 32-bit Windows
        EXPECT_EQ(resource->type, 1u);  // an application
        EXPECT_EQ(resource->translations,
                  (std::vector<std::pair<unsigned, unsigned>>{{table.language, table.codePage}}));
        for (const StringEntry& entry : table.strings) {
            const std::string text = entry.text;
            const std::size_t equals = text.find('=');
            ASSERT_NE(equals, std::string::npos) << text;
            EXPECT_EQ(test::version::Entry(path, table.language, table.codePage, text.substr(0, equals)),
                      text.substr(equals + 1))
                << text;
        }
    }
}

}  // namespace
