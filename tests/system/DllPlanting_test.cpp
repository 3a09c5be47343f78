// DLLs planted beside the programs, as a download folder may hold them: a DLL
// of the test's own, named winmm, msimg32, uxtheme and dwmapi, notes every
// load. The load order prefers the program's folder (see CMakeLists.txt), as
// the control program that imports winmm the usual way shows.
#include <gtest/gtest.h>

#include <cstdio>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

class PlantedFolder : public SaverFolder {
public:
    PlantedFolder() : SaverFolder(L"planted") {
        for (const wchar_t* name : {L"winmm.dll", L"msimg32.dll", L"uxtheme.dll", L"dwmapi.dll"}) {
            CopyFileW(TestFile(L"PlantedDll.dll").c_str(), File(name).c_str(), FALSE);
        }
        CopyFileW(TestFile(L"WinmmImportProbe.exe").c_str(), File(L"WinmmImportProbe.exe").c_str(), FALSE);
    }
    // Which programs loaded the planted DLL of that name, one line each; empty when none did.
    std::string LoadedBy(const wchar_t* name) const {
        const std::string bytes = ReadBytes(File(name) + L".loaded");
        return Cp932(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2));
    }
};

TEST(DllPlanting, TheControlProgramLoadsThePlantedWinmm) {
    const PlantedFolder folder;
    ASSERT_EQ(Process::Start(folder.File(L"WinmmImportProbe.exe")).ExitCode(kExitTimeoutMs), 0u);
    EXPECT_NE(folder.LoadedBy(L"winmm.dll").find("WinmmImportProbe.exe"), std::string::npos)
        << "the planted winmm.dll was not loaded: the load order does not prefer the program's folder";
}

TEST(DllPlanting, NoModeOfEitherProgramLoadsAPlantedLibrary) {
    // Each mode runs until its window is shown, then is closed (the preview: its host destroyed).
    const struct {
        const wchar_t* program;
        const wchar_t* arguments;  // nullptr: the preview, in a host of this test
        const wchar_t* window;
    } modes[] = {{kSaverFileName, L"/s", kRendererWindowTitle}, {kSaverFileName, L"/c", kSettingsDialogTitle},
                 {kSaverFileName, nullptr, kPreviewWindowTitle}, {kRendererFileName, L"", kRendererWindowTitle}};
    for (const auto& [program, arguments, title] : modes) {
        const std::string mode = Cp932(std::wstring(program) + L" " + (arguments ? arguments : L"/p"));
        SCOPED_TRACE(mode);
        const PlantedFolder folder;
        HostWindow host(152, 112);
        const Process started = Process::Start(folder.File(program), arguments ? arguments : L"/p " + host.HandleText());
        HWND window = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            window = arguments ? FindWindowW(nullptr, title) : FindWindowExW(host.Get(), nullptr, nullptr, title);
            return window && IsWindowVisible(window);
        })) << "no window";
        Sleep(300);  // a few frames drawn on the animation clock; the load log keeps every load
        if (arguments) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        } else {
            host.Destroy();
        }
        EXPECT_TRUE(started.WaitForExit(kExitTimeoutMs)) << "it did not end";
        // The libraries the programs load themselves never come from their folder.
        EXPECT_EQ(folder.LoadedBy(L"winmm.dll") + folder.LoadedBy(L"msimg32.dll"), "");
        // The system's start-up code may load these before the program has run
        // a line ("before", reported); after the program's first step, never.
        for (const wchar_t* name : {L"uxtheme.dll", L"dwmapi.dll"}) {
            const std::string by = folder.LoadedBy(name);
            if (!by.empty()) std::printf("%s: the planted %s was loaded: %s", mode.c_str(), Cp932(name).c_str(), by.c_str());
            EXPECT_EQ(by.find(" after"), std::string::npos) << "the planted " << Cp932(name) << " was loaded";
        }
    }
}

}  // namespace
