// The settings store inside the test's own process, under Wine with code
// page 932, for what the system tests cannot see from outside: the ini
// reader and writer against the real profile functions (the oracle), and
// the store on the real file system. The dialog's save and a vanished music
// file are proven on the real programs (tests/system).
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
#include "win32/Text.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32.h"

namespace mosaika {
namespace {

namespace fs = std::filesystem;

std::string ToAnsi(const std::wstring& text) { return win32::ToCp932(text).value(); }
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

// The real profile functions, each on a file of its own so the platform's
// profile cache never answers for an older one.
struct Oracle {
    fs::path folder = Folder(L"ini oracle");
    int files = 0;

    std::string FileWith(const std::string& bytes) {
        const fs::path path = folder / (std::to_wstring(++files) + L".ini");
        Put(path, bytes);
        return ToAnsi(path.wstring());
    }
    // The value up to its zero byte as the program's 256-byte buffer gets it
    // (Wine counts 255 for a value cut before half a character, holding 254),
    // or with a null key the names the real reader lists, each ending in a
    // zero byte.
    std::string Get(const char* section, const char* key, const std::string& file) {
        std::array<char, 8192> buffer{};
        const DWORD size =
            GetPrivateProfileStringA(section, key, "", buffer.data(), key ? 256 : buffer.size(), file.c_str());
        return key ? std::string(buffer.data()) : std::string(buffer.data(), size + 1);
    }
    std::string Read(const std::string& file, const Name& n) { return Get(n.first.c_str(), n.second.c_str(), file); }
    // Every section and key the real reader lists, and the names given, but
    // for the one a row notes that Wine's reader gets wrong.
    std::set<Name> Names(const std::string& file, const ini_rows::Row& row, std::set<Name> names) {
        const std::string sections = Get(nullptr, nullptr, file);
        for (const char* s = sections.c_str(); *s; s += strlen(s) + 1) {
            const std::string keys = Get(s, nullptr, file);
            for (const char* k = keys.c_str(); *k; k += strlen(k) + 1) names.emplace(s, k);
        }
        if (row.wine && !row.write) names.erase({row.section, row.key});
        return names;
    }
    // One write by us and by the real writer on the same file: every key of
    // both results reads the same through the real reader, and ours through
    // ours; the bytes are the same where the row has no note on Wine.
    void CompareWrite(const ini_rows::Row& row, const std::string& file, const Name& name, const std::string& value,
                      bool sameBytes) {
        const std::string ours = WriteIniValue(file, name.first, name.second, value).value();
        const std::string oursFile = FileWith(ours), theirs = FileWith(file);
        WritePrivateProfileStringA(name.first.c_str(), name.second.c_str(), value.c_str(), theirs.c_str());
        for (const Name& n : Names(oursFile, row, Names(theirs, row, {name}))) {
            EXPECT_EQ(Read(oursFile, n), Read(theirs, n)) << row.name << ": [" << n.first << "] " << n.second;
            EXPECT_EQ(ReadIniValue(ours, n.first, n.second), Read(oursFile, n)) << row.name << ": " << n.second;
        }
        EXPECT_TRUE(!sameBytes || Bytes(win32::FromCp932(theirs)) == ours) << row.name;
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
        const std::string file = oracle.FileWith(row.file);
        for (const Name& n : oracle.Names(file, row, {{row.section, row.key}})) {
            EXPECT_EQ(ReadIniValue(row.file, n.first, n.second), oracle.Read(file, n)) << row.name << ": " << n.second;
        }
        EXPECT_TRUE(!row.wine || ReadIniValue(row.file, row.section, row.key) != oracle.Read(file, {row.section, row.key}))
            << row.wine;
        // A save's three writes on the row's file, one after another; Wine drops the blank of " 2".
        std::string saved = row.file;
        for (const auto& [key, value] : ini_rows::SaveWrites()) {
            oracle.CompareWrite(row, saved, {ini_rows::S, key}, value, false);
            saved = WriteIniValue(saved, ini_rows::S, key, value).value();
        }
    }
    fs::remove_all(oracle.folder);
}

// The real file system: a save that fails leaves the old file as it was and
// no new file beside it; one that succeeds replaces it whole. Paths whose
// double-byte characters end in 0x5C round-trip, and the file test drops one
// trailing backslash.
TEST(SettingsStoreTest, ASaveReplacesTheFileWholeOrLeavesItAsItWas) {
    const fs::path folder = Folder(L"settings store ソ表");
    const fs::path ini = folder / L"モザイカ図.ini";
    const std::string old = "; kept\r\n[Section]\r\n" + ini_rows::M + "= 1\r\n[Other]\r\nx=1\r\n";
    const std::string music = ToAnsi((folder / L"曲 ソ.wav").wstring());
    const MusicSettings settings{kBgmSoundFile, -3, music};
    const auto unchanged = [&] { return Bytes(ini) == old && std::distance(fs::directory_iterator(folder), {}) == 1; };
    Put(ini, old);
    WinSettingsPort port(ini.wstring());
    // Held open by another program: sharing reads only (readable, not to be
    // replaced), or nothing (not even readable, so never overwritten).
    for (const DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{0}}) {
        const win32::UniqueFile held(
            CreateFileW(ini.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(port.ReadSettingsFile(), share ? std::optional(old) : std::nullopt);
        EXPECT_FALSE(SaveSettings(settings, port));
    }
    EXPECT_TRUE(unchanged());
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(SaveSettings(settings, port));
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    WinSettingsPort nowhere((folder / L"無い" / L"モザイカ図.ini").wstring());
    EXPECT_EQ(nowhere.ReadSettingsFile(), "");
    EXPECT_FALSE(SaveSettings(settings, nowhere));
    EXPECT_TRUE(unchanged());

    Put(folder / L"曲 ソ.wav", "RIFF");
    ASSERT_TRUE(SaveSettings(settings, port));
    std::string saved = old;
    for (const auto& [key, value] : ini_rows::SaveWrites(settings)) {
        saved = WriteIniValue(saved, ini_rows::S, key, value).value();
    }
    EXPECT_EQ(Bytes(ini), saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2) << "no new file left";
    MusicSettings loaded;
    LoadSettings(loaded, port);
    EXPECT_EQ((std::tuple{loaded.BgmMode, loaded.BgmRepeat, loaded.BgmFile}), (std::tuple{kBgmSoundFile, -3, music}));

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
