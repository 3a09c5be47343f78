// The zip モザイカ図-<version>.zip as a Windows user meets it: exactly the two
// programs and the two read-me files at its top, under names any unzip reads
// as written, and the programs working from the folder it was unpacked into,
// whose path has blanks and Japanese characters, and from one the ANSI code page cannot spell.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "PackageTest.h"
#include "SaverSystemTest.h"

namespace {

using namespace pkgtest;

// The names (as stored) and flags of a zip file's central directory entries; empty when it cannot be read.
std::vector<std::pair<std::string, unsigned>> ZipEntries(const std::wstring& path) {
    const std::string zip = ReadBytes(path);
    const auto byte = [&](std::size_t at) { return unsigned{static_cast<unsigned char>(zip[at])}; };
    const auto u16 = [&](std::size_t at) { return byte(at) | byte(at + 1) << 8; };
    const auto u32 = [&](std::size_t at) { return u16(at) | static_cast<unsigned long>(u16(at + 2)) << 16; };
    // The end-of-central-directory record: the last one, behind at most a 64 KiB comment.
    const std::size_t end = zip.rfind("PK\x05\x06");
    if (end == std::string::npos || end + 22 > zip.size()) return {};
    std::vector<std::pair<std::string, unsigned>> entries;
    std::size_t at = u32(end + 16);
    for (unsigned i = 0; i < u16(end + 10); ++i) {
        if (at + 46 > zip.size() || u32(at) != 0x02014b50) return {};
        entries.emplace_back(zip.substr(at + 46, u16(at + 28)), u16(at + 8));
        at += 46 + u16(at + 28) + u16(at + 30) + u16(at + 32);
    }
    return entries;
}

TEST(ZipTest, HoldsAndUnpacksIntoTheBuiltProgramsAndTwoUtf8ReadMesAtItsTop) {
    const std::set<std::wstring> documented = {kSaverFileName, kRendererFileName, L"お読みください.txt",
                                               L"README.txt"};
    std::set<std::string> names;
    for (const auto& [name, flags] : ZipEntries(PackagePath(MOSAIKA_ZIP_FILE))) {
        // Bit 11 says the name is UTF-8; without it Explorer reads it in the OEM code page, garbled.
        const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; });
        EXPECT_TRUE(ascii || (flags & 0x800u) != 0) << name << ": a Japanese name without the UTF-8 flag";
        EXPECT_TRUE(names.insert(name).second) << name << " appears twice";
    }
    std::set<std::string> expected;
    for (const std::wstring& name : documented) expected.insert(ToUtf8(name));
    EXPECT_EQ(names, expected);  // all at the top: no folder in a name

    const std::vector<std::wstring> files = FilesUnder(UnpackedZipFolder());
    EXPECT_EQ(std::set<std::wstring>(files.begin(), files.end()), documented);
    for (const wchar_t* program : {kSaverFileName, kRendererFileName}) {
        EXPECT_TRUE(ReadBytes(UnpackedZipFolder() + L"\\" + program) == ReadBytes(PackagedProgram(program)))
            << ToUtf8(program) << " is not the program the packages were made from";
    }
    for (const wchar_t* readme : {L"お読みください.txt", L"README.txt"}) {
        SCOPED_TRACE(ToUtf8(readme));
        const std::string text = ReadBytes(UnpackedZipFolder() + L"\\" + readme);
        EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
        EXPECT_GT(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0), 0) << "not UTF-8";
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
            ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "a line end other than CRLF at byte " << at;
        }
        // Both programs, the settings file beside them, and the version.
        for (const wchar_t* word : {kSaverFileName, kRendererFileName, kSettingsFileName, MOSAIKA_VERSION}) {
            EXPECT_NE(text.find(ToUtf8(word)), std::string::npos) << "no mention of " << ToUtf8(word);
        }
    }
}

TEST(ZipTest, UnpackedProgramsRunFromAFolderWithBlanksAndJapaneseCharacters) {
    const std::wstring folder = UnpackedZipFolder(), saver = folder + L"\\" + kSaverFileName;
    ASSERT_NE(folder.find(L' '), std::wstring::npos);
    ExpectSaverRun(saver, L"\"" + saver + L"\" /s", folder);
    // The settings dialog saves beside the unpacked programs; the folder is left as it was unpacked.
    ExpectSettingsSavedBeside(saver);
    DeleteFileW((folder + L"\\" + kSettingsFileName).c_str());
    // A folder the ANSI code page 932 cannot spell runs the saver and its renderer, and holds the settings.
    const SaverFolder unspellable(L"café 한글");
    ExpectSaverRun(unspellable.Saver(), L"\"" + unspellable.Saver() + L"\" /s", unspellable.Path());
    ExpectSettingsSavedBeside(unspellable.Saver());
}

}  // namespace
