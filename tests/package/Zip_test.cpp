// The zip モザイカ図-<version>.zip as a Windows user meets it: exactly the two
// programs and the two read-me files at its top, under names any unzip reads
// as written, and the programs working from the folder it was unpacked into,
// whose path has blanks and Japanese characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "PackageTest.h"

namespace {

using namespace pkgtest;

const std::set<std::wstring> kDocumentedFiles = {kSaverFileName, kRendererFileName, L"お読みください.txt",
                                                 L"README.txt"};

TEST(ZipTest, HoldsExactlyTheTwoProgramsAndTheTwoReadMesAtItsTop) {
    const std::vector<ZipEntry> entries = ZipEntries(ZipPath());
    ASSERT_FALSE(entries.empty()) << "no zip or not readable: " << ToUtf8(ZipPath());
    std::set<std::wstring> names;
    for (const ZipEntry& entry : entries) {
        SCOPED_TRACE(entry.name);
        const std::wstring name = FromUtf8(entry.name);
        EXPECT_FALSE(name.empty()) << "not UTF-8";
        EXPECT_EQ(name.find_first_of(L"/\\"), std::wstring::npos) << "not at the top";
        const bool ascii = std::all_of(entry.name.begin(), entry.name.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        // Bit 11: the name is UTF-8. Without it Explorer reads the name in the
        // system's OEM code page and shows the Japanese names garbled.
        if (!ascii) {
            EXPECT_NE(entry.flags & 0x800u, 0u) << "a Japanese name without the UTF-8 flag";
        }
        EXPECT_GT(entry.size, 0u);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), entries.size()) << "a name appears twice";
    EXPECT_EQ(names, kDocumentedFiles);
}

TEST(ZipTest, UnpacksIntoTheBuiltProgramsAndTheReadMesAlone) {
    const std::vector<std::wstring> files = FilesUnder(UnpackedZipFolder());
    EXPECT_EQ(std::set<std::wstring>(files.begin(), files.end()), kDocumentedFiles);
    for (const wchar_t* program : {kSaverFileName, kRendererFileName}) {
        SCOPED_TRACE(ToUtf8(program));
        const std::string unpacked = systest::ReadBytes(UnpackedZipFolder() + L"\\" + program);
        EXPECT_FALSE(unpacked.empty());
        EXPECT_TRUE(unpacked == systest::ReadBytes(PackagedProgram(program)))
            << "not the program the packages were made from";
    }
}

TEST(ZipTest, ReadMesAreUtf8WithByteOrderMarkAndCrlfAndTellWhatAUserNeeds) {
    for (const wchar_t* readme : {L"お読みください.txt", L"README.txt"}) {
        SCOPED_TRACE(ToUtf8(readme));
        const std::string text = systest::ReadBytes(UnpackedZipFolder() + L"\\" + readme);
        ASSERT_GT(text.size(), 3u);
        EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
        EXPECT_FALSE(FromUtf8(text).empty()) << "not UTF-8";
        std::size_t bareLineFeeds = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ++bareLineFeeds;
        }
        EXPECT_EQ(bareLineFeeds, 0u) << "line ends other than CRLF";
        // Both programs, the settings file beside them, and the version.
        for (const std::wstring& word : {std::wstring(kSaverFileName), std::wstring(kRendererFileName),
                                         std::wstring(kSettingsFileName), std::wstring(MOSAIKA_VERSION)}) {
            EXPECT_NE(text.find(ToUtf8(word)), std::string::npos) << "no mention of " << ToUtf8(word);
        }
    }
}

TEST(ZipTest, UnpackedProgramsRunFromAFolderWithBlanksAndJapaneseCharacters) {
    const std::wstring folder = UnpackedZipFolder();
    ASSERT_NE(folder.find(L' '), std::wstring::npos);
    ExpectSaverRun(folder + L"\\" + kSaverFileName, folder);

    // The settings dialog saves beside the unpacked programs; the folder is
    // left as it was unpacked.
    ExpectSettingsSavedBeside(folder + L"\\" + kSaverFileName);
    DeleteFileW((folder + L"\\" + kSettingsFileName).c_str());
}

}  // namespace
