// One saver run, or one settings dialog, however many copies of モザイカ図.scr
// the host starts at the same moment: the copies are created suspended and let
// go together, so all of them pass the marker-window test before any has made
// its window.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

constexpr int kCopies = 5;
constexpr int kRounds = 5;
constexpr DWORD kLosersEndWithinMs = 2000;

std::vector<Process> StartTogether(const SaverFolder& folder, const wchar_t* arguments) {
    std::vector<Process> copies;
    for (int i = 0; i < kCopies; ++i) copies.push_back(Process::StartSuspended(folder.Saver(), arguments));
    for (Process& copy : copies) copy.Resume();
    return copies;
}

int CountRunning(const std::vector<Process>& copies) {
    int running = 0;
    for (const Process& copy : copies) running += copy.Running() ? 1 : 0;
    return running;
}

// The copies left running once all but `survivors` have ended, or at the deadline.
int WaitForLosers(const std::vector<Process>& copies, int survivors, DWORD* elapsed) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return CountRunning(copies) <= survivors; }, kLosersEndWithinMs);
    *elapsed = GetTickCount() - start;
    return CountRunning(copies);
}

Process* Survivor(std::vector<Process>& copies) {
    for (Process& copy : copies) {
        if (copy.Running()) return &copy;
    }
    return nullptr;
}

// Nothing but the two programs in the folder: no copy wrote a file.
void ExpectNothingWritten(const SaverFolder& folder) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        const std::wstring name = entry.path().filename().wstring();
        EXPECT_TRUE(name == kSaverFileName || name == kRendererFileName) << "a copy wrote " << entry.path().string();
        ++files;
    }
    EXPECT_EQ(files, 2);
}

// Counts again a moment after the windows came, so a late second one is seen.
int SettledCount(const wchar_t* title) {
    SleepMs(500);
    return CountWindows(title);
}

TEST(SingleRun, FiveSaverRunsStartedTogetherGiveOneRunAndOneRenderer) {
    const SaverFolder folder(L"single run");
    for (int round = 1; round <= kRounds; ++round) {
        std::vector<Process> copies = StartTogether(folder, L"/s");
        DWORD elapsed = 0;
        const int running = WaitForLosers(copies, 1, &elapsed);
        HWND renderer = WaitForWindow(nullptr, kRendererWindowTitle, kWindowTimeoutMs);
        WaitForWindow(nullptr, kSaverWindowTitle, kWindowTimeoutMs);
        const int runs = SettledCount(kSaverWindowTitle);
        const int renderers = CountWindows(kRendererWindowTitle);
        std::printf("round %d: /s x%d: %d running after %lu ms, %d Mosaika_Main, %d renderer windows\n", round,
                    kCopies, running, elapsed, runs, renderers);
        EXPECT_EQ(running, 1);
        EXPECT_EQ(runs, 1);
        EXPECT_EQ(renderers, 1);
        ExpectNothingWritten(folder);
        Process* survivor = Survivor(copies);
        ASSERT_TRUE(survivor && renderer);
        EndRun(*survivor, renderer, OtherProcess::OfWindow(renderer), RendererEnd::CloseRequest);
    }
}

TEST(SingleRun, FiveSettingsStartsTogetherGiveOneDialog) {
    const SaverFolder folder(L"single dialog");
    for (int round = 1; round <= kRounds; ++round) {
        std::vector<Process> copies = StartTogether(folder, L"/c");
        DWORD elapsed = 0;
        const int running = WaitForLosers(copies, 1, &elapsed);
        HWND dialog = WaitForWindow(nullptr, kSettingsDialogTitle, kWindowTimeoutMs);
        const int dialogs = SettledCount(kSettingsDialogTitle);
        std::printf("round %d: /c x%d: %d running after %lu ms, %d dialogs\n", round, kCopies, running, elapsed,
                    dialogs);
        EXPECT_EQ(running, 1);
        EXPECT_EQ(dialogs, 1);
        ExpectNothingWritten(folder);
        Process* survivor = Survivor(copies);
        ASSERT_TRUE(survivor && dialog);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(survivor->WaitForExit(kExitTimeoutMs));
    }
}

TEST(SingleRun, SaverRunsStartedWhileTheDialogIsOpenAllEnd) {
    const SaverFolder folder(L"dialog open");
    Process settings = folder.StartSaver(L"/c");
    HWND dialog = WaitForWindow(nullptr, kSettingsDialogTitle, kWindowTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    for (int round = 1; round <= kRounds; ++round) {
        std::vector<Process> copies = StartTogether(folder, L"/s");
        DWORD elapsed = 0;
        const int running = WaitForLosers(copies, 0, &elapsed);
        const int runs = CountWindows(kSaverWindowTitle);
        const int renderers = CountWindows(kRendererWindowTitle);
        std::printf("round %d: /s x%d beside the dialog: %d running after %lu ms, %d Mosaika_Main, %d renderers\n",
                    round, kCopies, running, elapsed, runs, renderers);
        EXPECT_EQ(running, 0);
        EXPECT_EQ(runs + renderers, 0);
        EXPECT_EQ(CountWindows(kSettingsDialogTitle), 1);
    }
    ExpectNothingWritten(folder);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(settings.WaitForExit(kExitTimeoutMs));
}

}  // namespace
