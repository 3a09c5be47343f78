// The settings store inside the test's own process, under Wine with code
// page 932, for what the system tests cannot see from outside: the ini
// reader and writer against the real profile functions, the save's
// replacement and its failures on the real file system, paths whose
// double-byte characters end in 0x5C and the file test on folders and
// backslashes. The dialog's save and a vanished music file are proven on the
// real programs (tests/system).
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "IniFile.h"
#include "IniFileTesting.h"
#include "Text.h"
#include "UniqueHandle.h"
#include "Win32.h"

namespace mosaika {
namespace {

namespace fs = std::filesystem;

std::string ToAnsi(const std::wstring& text) { return forms::ToCp932(text).value(); }
std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
void Put(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A fresh folder of its own for each test.
fs::path Folder(const wchar_t* name) {
    const fs::path folder = fs::current_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

using Name = std::pair<std::string, std::string>;  // section and key

// The real profile functions on a file of their own: each file is used once,
// so the platform's profile cache never answers for an older one.
struct Oracle {
    fs::path folder = Folder(L"ini oracle");
    int files = 0, reads = 0, writes = 0;

    fs::path FileWith(const std::string& bytes) {
        const fs::path path = folder / (std::to_wstring(++files) + L".ini");
        Put(path, bytes);
        return path;
    }
    std::string Read(const fs::path& path, const Name& name) {
        ++reads;
        std::array<char, 256> buffer{};
        GetPrivateProfileStringA(name.first.c_str(), name.second.c_str(), "", buffer.data(), buffer.size(),
                                 ToAnsi(path.wstring()).c_str());
        return buffer.data();
    }
    // Every section and key the real reader lists, and the names given, but
    // for the one a row notes that Wine's reader gets wrong.
    std::set<Name> Names(const fs::path& path, const ini_rows::Row& row, std::set<Name> names) {
        std::array<char, 8192> sections{}, keys{};
        const std::string ansi = ToAnsi(path.wstring());
        GetPrivateProfileStringA(nullptr, nullptr, "", sections.data(), sections.size(), ansi.c_str());
        for (const char* s = sections.data(); *s; s += strlen(s) + 1) {
            GetPrivateProfileStringA(s, nullptr, "", keys.data(), keys.size(), ansi.c_str());
            for (const char* k = keys.data(); *k; k += strlen(k) + 1) names.emplace(s, k);
        }
        if (row.wine && !row.write) names.erase({row.section, row.key});
        return names;
    }
    // One write by us and by the real writer on the same file: every key of
    // both results reads the same through the real reader, and ours through
    // our reader; the bytes are the same where the row has no note on Wine.
    void CompareWrite(const ini_rows::Row& row, const std::string& file, const Name& name, const std::string& value,
                      bool sameBytes) {
        ++writes;
        const std::optional<std::string> ours = WriteIniValue(file, name.first, name.second, value);
        ASSERT_TRUE(ours) << row.name;
        const fs::path oursPath = FileWith(*ours), theirs = FileWith(file);
        WritePrivateProfileStringA(name.first.c_str(), name.second.c_str(), value.c_str(),
                                   ToAnsi(theirs.wstring()).c_str());
        for (const Name& n : Names(oursPath, row, Names(theirs, row, {name}))) {
            const std::string real = Read(oursPath, n);
            EXPECT_EQ(real, Read(theirs, n)) << row.name << ": [" << n.first << "] " << n.second;
            EXPECT_EQ(ReadIniValue(*ours, n.first, n.second), real) << row.name << ": [" << n.first << "] " << n.second;
        }
        if (sameBytes) {
            EXPECT_EQ(Bytes(theirs), *ours) << row.name;
        }
    }
};

TEST(SettingsStoreTest, IniFileReadsAndWritesAsTheProfileFunctions) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run under code page 932";
    Oracle oracle;
    for (const ini_rows::Row& row : ini_rows::Rows()) {
        if (!row.expected) continue;  // refused: the real writer would store half a value
        if (row.write) {
            oracle.CompareWrite(row, row.file, {row.section, row.key}, *row.write, !row.wine);
            continue;
        }
        const fs::path path = oracle.FileWith(row.file);
        for (const Name& name : oracle.Names(path, row, {{row.section, row.key}})) {
            EXPECT_EQ(ReadIniValue(row.file, name.first, name.second), oracle.Read(path, name))
                << row.name << ": [" << name.first << "] " << name.second;
        }
        if (row.wine) {
            EXPECT_NE(ReadIniValue(row.file, row.section, row.key), oracle.Read(path, {row.section, row.key})) << row.wine;
        }
        // A save's three writes on the row's file, one after another.
        std::string file = row.file;
        for (const auto& [key, value] : {std::pair{ini_rows::M, std::string(" 2")}, {ini_rows::R, "-1"},
                                         {ini_rows::F, "C:\\" + ini_rows::kSo + "\\a.mp3"}}) {
            oracle.CompareWrite(row, file, {ini_rows::S, key}, value, false);  // Wine drops the blank of " 2"
            file = WriteIniValue(file, ini_rows::S, key, value).value();
        }
    }
    std::printf("compared %d writes and %d reads of the real reader on %d files\n", oracle.writes, oracle.reads,
                oracle.files);
    fs::remove_all(oracle.folder);
}

TEST(SettingsStoreTest, ASaveReplacesTheFileWholeOrLeavesItAsItWas) {
    const fs::path folder = Folder(L"settings store 保存");
    const fs::path ini = folder / L"モザイカ図.ini";
    const std::string old = "; kept\r\n[Section]\r\n" + ini_rows::M + "= 1\r\n[Other]\r\nx=1\r\n";
    const auto onlyTheIni = [&] { return std::distance(fs::directory_iterator(folder), {}) == 1; };
    const MusicSettings settings{kBgmSoundFile, 3, "C:\\a.mp3"};
    Put(ini, old);
    WinSettingsPort port(ini.wstring());
    {
        // Held open without write or delete sharing, as another program may.
        const forms::UniqueKernelHandle held(
            CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(port.ReadSettingsFile(), old);
        EXPECT_FALSE(SaveSettings(settings, port));
    }
    EXPECT_EQ(Bytes(ini), old);
    EXPECT_TRUE(onlyTheIni());
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(SaveSettings(settings, port));
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Bytes(ini), old);
    EXPECT_TRUE(onlyTheIni());
    WinSettingsPort nowhere((folder / L"無い" / L"モザイカ図.ini").wstring());
    EXPECT_EQ(nowhere.ReadSettingsFile(), "");
    EXPECT_FALSE(SaveSettings(settings, nowhere));
    EXPECT_TRUE(onlyTheIni());

    ASSERT_TRUE(SaveSettings(settings, port));
    EXPECT_EQ(Bytes(ini), WriteIniValue(WriteIniValue(WriteIniValue(old, ini_rows::S, ini_rows::M, " 2").value(),
                                                      ini_rows::S, ini_rows::R, " 3").value(),
                                        ini_rows::S, ini_rows::F, "C:\\a.mp3"));
    EXPECT_TRUE(onlyTheIni());
    fs::remove_all(folder);
}

TEST(SettingsStoreTest, PathsWithTrailBytes0x5CRoundTripAndTheFileTestDropsOneBackslash) {
    const fs::path folder = Folder(L"settings store ソ表");
    const std::string music = ToAnsi((folder / L"曲 ソ.wav").wstring());
    Put(folder / L"曲 ソ.wav", "RIFF");

    WinSettingsPort port((folder / L"モザイカ図.ini").wstring());
    ASSERT_TRUE(SaveSettings({kBgmSoundFile, -3, music}, port));
    MusicSettings loaded;
    LoadSettings(loaded, port);
    EXPECT_EQ((std::tuple{loaded.BgmMode, loaded.BgmRepeat, loaded.BgmFile}),
              (std::tuple{kBgmSoundFile, std::int16_t{-3}, music}));

    // Of two trailing backslashes one stays, and the file does not open; a folder is no file.
    const std::string absent = ToAnsi((folder / L"無い.wav").wstring()), dir = ToAnsi(folder.wstring());
    for (const auto& [path, exists] : {std::pair{music, true}, {music + "\\", true}, {music + "\\\\", false},
                                       {absent, false}, {dir, false}, {dir + "\\", false}, {std::string(), false}}) {
        EXPECT_EQ(FileExists(port, path), exists) << path;
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace mosaika
