// The Windows program's resources, read back from the built executables as Windows tools read them,
// are the program's own tables: its version, its dialogs, its strings and its icon.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "framework/Resources.h"
#include "framework/win32/DialogTemplate.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/support/win32/ModuleResources.h"
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

constexpr unsigned kEnglish = 0x0409;
constexpr unsigned kChineseSimplified = 0x0804;
constexpr unsigned kDialogType = 5;

TEST(ProgramResources, DialogsAreTheProgramsTemplatesInEnglishOnly) {
    const std::string program = QUENZO_PROGRAM;
    const auto dialogs = QuenzoResources().dialogs;
    ASSERT_EQ(dialogs.size(), 2u);
    for (const UINT id : {IDD_ABOUTBOX, IDD_CONSOLE_DIALOG}) {
        SCOPED_TRACE(id);
        const DialogTemplate* table = AfxFindDialogTemplate(id);
        ASSERT_NE(table, nullptr);
        // The very template the program makes the dialog from, so a resource viewer or a
        // translator's tool sees the dialog the user sees.
        const std::vector<WORD> made = afx::BuildDialogTemplate(*table);
        const auto resource = test::resources::Dialog(program, id, kEnglish);
        ASSERT_TRUE(resource.has_value());
        EXPECT_EQ(*resource, std::vector<std::uint16_t>(made.begin(), made.end()));
        EXPECT_EQ(test::resources::Languages(program, kDialogType, id), std::vector<unsigned>{kEnglish});
    }
}

TEST(ProgramResources, StringsAreTheProgramsMessagesInChineseSimplified) {
    const std::string program = QUENZO_PROGRAM;
    const auto strings = QuenzoResources().strings;
    // The About item, the sockets' start-up failure and the framework's messages the program shows.
    ASSERT_NE(AfxFindString(IDS_ABOUTBOX), nullptr);
    ASSERT_NE(AfxFindString(IDS_SOCKETS_INIT_FAILED), nullptr);
    ASSERT_GT(strings.size(), 2u);
    for (const StringEntry& entry : strings) {
        SCOPED_TRACE(entry.id);
        EXPECT_EQ(test::resources::String(program, entry.id, kChineseSimplified), std::string(entry.text));
        EXPECT_EQ(test::resources::String(program, entry.id, kEnglish), std::nullopt);
    }
    // Ids beside the program's in the same blocks hold nothing.
    EXPECT_EQ(test::resources::String(program, IDS_ABOUTBOX + 1, kChineseSimplified), std::nullopt);
}

constexpr unsigned kIconGroupType = 14;

TEST(ProgramResources, TheIconIsInChineseSimplifiedWithItsSmallAndLargeImages) {
    const auto sizes = test::resources::IconSizes(QUENZO_PROGRAM, IDR_MAINFRAME);
    EXPECT_EQ(sizes, (std::vector<std::pair<unsigned, unsigned>>{{16, 16}, {32, 32}}));
    EXPECT_EQ(test::resources::Languages(QUENZO_PROGRAM, kIconGroupType, IDR_MAINFRAME),
              std::vector<unsigned>{kChineseSimplified});
}

}  // namespace
