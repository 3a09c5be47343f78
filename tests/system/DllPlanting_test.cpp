// DLLs planted beside the programs, as a download folder may hold them: a DLL
// of the test's own lies beside copies of both programs under the names
// winmm.dll, msimg32.dll, uxtheme.dll and dwmapi.dll and notes every load. The
// load order prefers a DLL in the program's folder (set by the test's
// registration), so a program that searches there loads it; a control
// program that imports winmm the usual way shows that it would.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

class PlantedFolder : public SaverFolder {
public:
    PlantedFolder() : SaverFolder(L"planted") {
        for (const wchar_t* name : {L"winmm.dll", L"msimg32.dll", L"uxtheme.dll", L"dwmapi.dll"}) {
            CopyFileW(ProbePath(L"PlantedDll.dll").c_str(), File(name).c_str(), FALSE);
        }
        CopyFileW(ProbePath(L"WinmmImportProbe.exe").c_str(), File(L"WinmmImportProbe.exe").c_str(), FALSE);
    }
    // Which programs loaded the planted DLL of that name, one line each; empty when none did.
    std::string LoadedBy(const wchar_t* name) const {
        const std::string bytes = ReadBytes(File(name) + L".loaded");
        return Cp932(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2));
    }
};

TEST(DllPlanting, TheControlProgramLoadsThePlantedWinmm) {
    const PlantedFolder folder;
    DWORD exitCode = 1234;
    ASSERT_TRUE(Process::Start(folder.File(L"WinmmImportProbe.exe")).WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_NE(folder.LoadedBy(L"winmm.dll").find("WinmmImportProbe.exe"), std::string::npos)
        << "the planted winmm.dll was not loaded: the load order does not prefer the program's folder";
}

TEST(DllPlanting, NoModeOfEitherProgramLoadsAPlantedLibrary) {
    const std::pair<const char*, std::function<void(const PlantedFolder&)>> modes[] = {
        {"/s", [](const PlantedFolder& folder) {
             const Process saver = folder.StartSaver(L"/s");
             HWND renderer = WaitForRendererWindow();
             ASSERT_NE(renderer, nullptr) << "no renderer";
             EndRun(saver, renderer, OtherProcess::OfWindow(renderer), RendererEnd::CloseRequest);
         }},
        {"/c", [](const PlantedFolder& folder) {
             const Process saver = folder.StartSaver(L"/c");
             HWND dialog = WaitForWindow(nullptr, kSettingsDialogTitle, kWindowTimeoutMs);
             ASSERT_NE(dialog, nullptr) << "no dialog";
             PostMessageW(dialog, WM_CLOSE, 0, 0);
             EXPECT_TRUE(saver.WaitForExit(kExitTimeoutMs));
         }},
        {"/p", [](const PlantedFolder& folder) {
             HostWindow host(152, 112);
             const Process saver = folder.StartSaver(L"/p " + host.HandleText());
             EXPECT_TRUE(PumpUntil([&] { return FindWindowExW(host.Get(), nullptr, nullptr, kPreviewWindowTitle) != nullptr; },
                                   kWindowTimeoutMs)) << "no preview in the host";
             host.Destroy();
             EXPECT_TRUE(WaitForExitPumping(saver.Handle(), kExitTimeoutMs));
         }},
        {"renderer", [](const PlantedFolder& folder) {
             const Process renderer = Process::Start(folder.Renderer());
             HWND window = WaitForRendererWindow();
             ASSERT_NE(window, nullptr) << "no window";
             SleepMs(300);  // a few frames drawn on the animation clock
             PostMessageW(window, WM_CLOSE, 0, 0);
             EXPECT_TRUE(renderer.WaitForExit(kExitTimeoutMs));
         }},
    };
    for (const auto& [mode, run] : modes) {
        SCOPED_TRACE(mode);
        const PlantedFolder folder;
        run(folder);
        // The libraries the programs load themselves never come from their folder.
        EXPECT_EQ(folder.LoadedBy(L"winmm.dll") + folder.LoadedBy(L"msimg32.dll"), "");
        // The system's start-up code may load these before the program has run
        // a line ("before", reported); after the program's first step, never.
        for (const wchar_t* name : {L"uxtheme.dll", L"dwmapi.dll"}) {
            const std::string by = folder.LoadedBy(name);
            if (!by.empty()) std::printf("%s: the planted %s was loaded: %s", mode, Cp932(name).c_str(), by.c_str());
            EXPECT_EQ(by.find(" after"), std::string::npos) << "the planted " << Cp932(name) << " was loaded";
        }
    }
}

}  // namespace
