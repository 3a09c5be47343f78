// The ini rows (IniFileTesting.h) against the reader and writer; the same
// rows go to the real profile functions in SettingsStore_test.
#include "IniFile.h"

#include <gtest/gtest.h>

#include "IniFileTesting.h"

namespace mosaika {
namespace {

TEST(IniFile, ReadsAndWritesAsAJapaneseWindows) {
    for (const ini_rows::Row& row : ini_rows::Rows()) {
        if (!row.write) {
            EXPECT_EQ(ReadIniValue(row.file, row.section, row.key), row.expected) << row.name;
            continue;
        }
        const std::optional<std::string> written = WriteIniValue(row.file, row.section, row.key, *row.write);
        EXPECT_EQ(written, row.expected) << row.name;
        if (written) {
            EXPECT_EQ(ReadIniValue(*written, row.section, row.key), ReadIniValue("[s]\nk=" + *row.write, "s", "k"))
                << row.name;
        }
    }
}

}  // namespace
}  // namespace mosaika
