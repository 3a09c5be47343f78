// The screen saver program モザイカ図.scr as the screen-saver host and a user
// see it, on copies of the programs in a folder whose path has blanks and
// Japanese characters; RendererProbe.exe stands in for the renderer where a
// trace of its start is wanted.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

// The process id a probe wrote into its marker; 0 when there is none.
DWORD RanMarkerProcessId(const std::wstring& program) {
    const std::string text = ReadBytes(RanMarker(program));
    return text.empty() ? 0 : static_cast<DWORD>(std::stoul(text));
}

// Copies of the probe where an unquoted command line would find a program
// before the renderer: "…\test folders\Saver run\Programs\モザイカ図\モザイカ図.dll"
// is cut at each blank in turn and ".exe" appended ("…\test.exe", "…\test folders\Saver.exe").
class PlantedDecoys {
public:
    explicit PlantedDecoys(const std::wstring& rendererPath) {
        for (auto blank = rendererPath.find(L' '); blank != std::wstring::npos; blank = rendererPath.find(L' ', blank + 1)) {
            const std::wstring path = rendererPath.substr(0, blank) + L".exe";
            if (CopyFileW(TestFile(L"RendererProbe.exe").c_str(), path.c_str(), FALSE)) paths_.push_back(path);
        }
    }
    ~PlantedDecoys() {
        for (const std::wstring& path : paths_) {
            DeleteFileW(path.c_str());
            DeleteFileW(RanMarker(path).c_str());
        }
    }
    std::vector<std::wstring> paths_;
};

// The world CTest asked for (MOSAIKA_LANGUAGE): this test's code page, and
// that of a probe installed as the saver is (in the UTF-8 world, its manifest
// rewritten so), from the probe's exit code.
TEST(SaverStartTest, WorldGivesTheProgramsTheCodePageOfItsLanguage) {
    const SaverFolder folder(L"World", /*withRenderer=*/false);
    const std::wstring probe = folder.Install(TestFile(L"ScreenSaverFlagProbe.exe"));
    const std::map<std::wstring, UINT> codePages{{L"ja", 932}, {L"en", 1252}, {L"zh", 936}, {L"ko", 949}, {L"utf8", 65001}};
    EXPECT_EQ(Process::Start(probe, L"acp").ExitCode(kExitTimeoutMs), codePages.at(Language())) << Cp932(Language());
    EXPECT_EQ(GetACP(), Language() == L"utf8" ? 1252 : codePages.at(Language()));
}

TEST(SaverStartTest, SaverRunStartsTheRendererByItsExactPathAndEndsAfterIt) {
    SaverFolder folder(L"Saver run");
    const PlantedDecoys decoys(folder.Renderer());
    ASSERT_GE(decoys.paths_.size(), 2u) << "the folder path must hold blanks";
    ASSERT_TRUE(Process::Start(decoys.paths_[0]).WaitForExit(kExitTimeoutMs));  // the trap works:
    ASSERT_TRUE(DeleteFileW(RanMarker(decoys.paths_[0]).c_str())) << "a started decoy leaves its marker";
    // /s, /S, -s and the empty command line run the saver, also when the host
    // starts it by its unquoted long path. Beside the run any other start ends
    // at once (beside the dialog: SettingsDialog_test.cpp; a second run: SingleRun_test.cpp).
    HostWindow host(200, 150);
    const std::wstring quoted = L"\"" + folder.Saver() + L"\"";
    for (const std::wstring& commandLine :
         {quoted + L" /s", quoted + L" /S", quoted + L" -s", quoted, folder.Saver() + L" /s"}) {
        SCOPED_TRACE(Cp932(commandLine));
        const Process saver = Process::StartWithCommandLine(folder.Saver(), commandLine);
        HWND kanvas = WaitForRendererWindow();
        ASSERT_NE(kanvas, nullptr) << "no renderer window shown with the keyboard";
        const Process renderer = Process::OfWindow(kanvas);
        wchar_t image[MAX_PATH * 2] = {};
        DWORD size = MAX_PATH * 2;
        QueryFullProcessImageNameW(renderer.Handle(), 0, image, &size);
        EXPECT_TRUE(SamePath(image, folder.Renderer())) << Cp932(image);
        for (const std::wstring& decoy : decoys.paths_) EXPECT_FALSE(Exists(RanMarker(decoy))) << Cp932(decoy);
        HWND saverWindow = WaitForWindow([&] { return FindWindowOfProcess(saver.Id(), kSaverWindowTitle); });
        EXPECT_TRUE(saverWindow && !IsWindowVisible(saverWindow)) << "no hidden window Mosaika_Main of the saver";
        for (const std::wstring& other : {std::wstring(L"/c"), std::wstring(L"/a 1234"), L"/p " + host.HandleText()}) {
            if (commandLine == quoted) { EXPECT_EQ(folder.StartSaver(other).ExitCode(kExitTimeoutMs), 0u) << Cp932(other); }
        }
        EndRun(saver, kanvas, renderer, RendererEnd::EscapeKey);
    }
    EXPECT_FALSE(Exists(folder.Ini())) << "a saver run writes no settings";
}

enum class Shows { Nothing, Dialog, Message };

TEST(SaverStartTest, OtherStartsEndSilentlyOrShowTheDialogOrTheMissingRendererMessage) {
    SaverFolder probed(L"Other starts");
    probed.UseProbeAsRenderer();
    const SaverFolder bare(L"No renderer", /*withRenderer=*/false);
    const struct {
        const wchar_t* arguments;
        bool renderer;
        Shows shows;
    } rows[] = {
        {L"S", true, Shows::Nothing}, {L"s", true, Shows::Nothing}, {L"/a 1234", true, Shows::Nothing},
        {L"/A", true, Shows::Nothing}, {L"/x", true, Shows::Nothing}, {L"-q 5", true, Shows::Nothing},
        {L"xy", true, Shows::Nothing}, {L"//s", true, Shows::Nothing}, {L"/ s", true, Shows::Nothing},
        // A handle after the letter is ignored.
        {L"/c", true, Shows::Dialog}, {L"/C:1234", true, Shows::Dialog}, {L"-c", true, Shows::Dialog},
        // Every mode but the preview checks the file, the silent ones included.
        {L"/s", false, Shows::Message}, {L"", false, Shows::Message}, {L"/c", false, Shows::Message},
        {L"/a 1234", false, Shows::Message}, {L"S", false, Shows::Message},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "'" << Cp932(row.arguments) << (row.renderer ? "'" : "' without renderer"));
        const Process saver = (row.renderer ? probed : bare).StartSaver(row.arguments);
        if (row.shows != Shows::Nothing) {
            HWND window = nullptr;
            ASSERT_TRUE(WaitUntil([&] {
                window = row.shows == Shows::Dialog ? FindWindowOfProcess(saver.Id(), kSettingsDialogTitle)
                                                    : MessageBoxOf(saver.Id());
                return window && IsWindowVisible(window);
            }, kWindowTimeoutMs)) << "no dialog or message; the program "
                                  << (saver.Running() ? "still runs" : "ended with " + std::to_string(saver.ExitCode(0)));
            if (row.shows == Shows::Message) {
                const std::wstring text = MessageBoxText(window);
                EXPECT_EQ(text, L"モザイカ図.dllが同じﾌｫﾙﾀﾞに見つかりません！") << Cp932(text);
                EXPECT_TRUE(GetDlgItem(window, IDOK) && !GetDlgItem(window, IDCANCEL)) << "an OK button alone";
            } else {
                EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr) << "a message box";
            }
            EXPECT_EQ(FindWindowW(nullptr, kSaverWindowTitle), nullptr) << "a saver run";
            EXPECT_EQ(FindWindowW(nullptr, kRendererWindowTitle), nullptr);
            // Closed from its caption the dialog saves nothing; OK dismisses the message.
            PostMessageW(window, row.shows == Shows::Dialog ? WM_CLOSE : WM_COMMAND, IDOK, 0);
        }
        ASSERT_EQ(saver.ExitCode(kExitTimeoutMs), 0u) << "259: it did not end";
    }
    // A probe leaves its marker within a few hundred ms of its start: none for a second means no start.
    EXPECT_TRUE(HoldsFor([&] { return !Exists(RanMarker(probed.Renderer())); }, 1000)) << "the renderer was started";
    EXPECT_FALSE(Exists(probed.Ini()) || Exists(bare.Ini())) << "settings were written";
}

TEST(SaverStartTest, RunWaitsForASlowRendererAndEndsWithOneThatEndsOrNeverShowsAWindow) {
    const struct {
        const wchar_t* what;
        const char* delayMs;  // before the probe's window; none: it ends at once without one
        DWORD endsWithinMs;   // 0: the run lasts until its renderer is closed
    } rows[] = {
        {L"Slow renderer", "1500", 0},
        {L"Windowless renderer", nullptr, 5000},  // waiting out the whole allowance would take 10 s
        {L"Hung renderer", "120000", 30000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Cp932(row.what));
        SaverFolder folder(row.what);
        folder.UseProbeAsRenderer();
        if (row.delayMs) WriteBytes(folder.File(L"renderer-delay-ms.txt"), row.delayMs);
        const Process saver = folder.StartSaver(L"/s");
        if (row.endsWithinMs == 0) {
            HWND kanvas = WaitForRendererWindow();
            ASSERT_NE(kanvas, nullptr);
            const Process renderer = Process::OfWindow(kanvas);
            EXPECT_EQ(GetProcessId(renderer.Handle()), RanMarkerProcessId(folder.Renderer()));
            EXPECT_TRUE(HoldsFor([&] { return saver.Running(); }, 500)) << "the run ended while the renderer's window was up";
            EndRun(saver, kanvas, renderer, RendererEnd::CloseRequest);
            continue;
        }
        ASSERT_EQ(saver.ExitCode(row.endsWithinMs), 0u) << "259: the run kept waiting";
        std::printf("%s: the run ended %lu ms after its start\n", Cp932(row.what).c_str(), saver.Age());
        const Process renderer(RanMarkerProcessId(folder.Renderer()));
        EXPECT_TRUE(Exists(RanMarker(folder.Renderer()))) << "the renderer was never started";
        if (row.delayMs) { EXPECT_TRUE(renderer.Running()) << "the run ended because the renderer did"; }
    }
}

}  // namespace
