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

// Five copies let go together. Every copy but `survivors` must end within 2 s
// (`running` counts those left then) having written nothing into the folder.
struct Round {
    std::vector<Process> copies;
    int running = 0;
    DWORD ms = 0;

    Round(const SaverFolder& folder, const wchar_t* arguments, int survivors) {
        for (int i = 0; i < kCopies; ++i) copies.push_back(Process::StartSuspended(folder.Saver(), arguments));
        for (Process& copy : copies) copy.Resume();
        const DWORD start = GetTickCount();
        PumpUntil([&] { return Running() <= survivors; }, 2000);
        ms = GetTickCount() - start;
        running = Running();
        const auto files = std::distance(std::filesystem::directory_iterator(folder.Path()), {});
        EXPECT_EQ(files, 2) << "a copy wrote into the folder";
    }
    int Running() const {
        int count = 0;
        for (const Process& copy : copies) count += copy.Running() ? 1 : 0;
        return count;
    }
    const Process& Survivor() const {
        for (const Process& copy : copies) {
            if (copy.Running()) return copy;
        }
        return copies.front();
    }
};

// Counted a moment after the first came, so a late second one is seen too.
int SettledCount(const wchar_t* title) {
    WaitForWindow(nullptr, title, kWindowTimeoutMs);
    SleepMs(500);
    return CountWindows(title);
}

TEST(SingleRun, FiveSaverRunsStartedTogetherGiveOneRunAndOneRenderer) {
    const SaverFolder folder(L"single run");
    for (int round = 1; round <= kRounds; ++round) {
        const Round started(folder, L"/s", 1);
        const int renderers = SettledCount(kRendererWindowTitle);
        const int runs = SettledCount(kSaverWindowTitle);
        std::printf("round %d: /s x%d: %d running after %lu ms, %d Mosaika_Main, %d renderer windows\n", round,
                    kCopies, started.running, started.ms, runs, renderers);
        EXPECT_EQ(started.running, 1);
        EXPECT_EQ(runs, 1);
        ASSERT_EQ(renderers, 1);
        HWND renderer = FindWindowW(nullptr, kRendererWindowTitle);
        EndRun(started.Survivor(), renderer, OtherProcess::OfWindow(renderer), RendererEnd::CloseRequest);
    }
}

TEST(SingleRun, FiveSettingsStartsTogetherGiveOneDialog) {
    const SaverFolder folder(L"single dialog");
    for (int round = 1; round <= kRounds; ++round) {
        const Round started(folder, L"/c", 1);
        const int dialogs = SettledCount(kSettingsDialogTitle);
        std::printf("round %d: /c x%d: %d running after %lu ms, %d dialogs\n", round, kCopies, started.running,
                    started.ms, dialogs);
        EXPECT_EQ(started.running, 1);
        ASSERT_EQ(dialogs, 1);
        PostMessageW(FindWindowW(nullptr, kSettingsDialogTitle), WM_CLOSE, 0, 0);
        EXPECT_TRUE(started.Survivor().WaitForExit(kExitTimeoutMs));
    }
}

TEST(SingleRun, SaverRunsStartedWhileTheDialogIsOpenAllEnd) {
    const SaverFolder folder(L"dialog open");
    const Process settings = folder.StartSaver(L"/c");
    HWND dialog = WaitForWindow(nullptr, kSettingsDialogTitle, kWindowTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    for (int round = 1; round <= kRounds; ++round) {
        const Round started(folder, L"/s", 0);
        const int runs = CountWindows(kSaverWindowTitle);
        const int renderers = CountWindows(kRendererWindowTitle);
        std::printf("round %d: /s x%d beside the dialog: %d running after %lu ms, %d Mosaika_Main, %d renderers\n",
                    round, kCopies, started.running, started.ms, runs, renderers);
        EXPECT_EQ(started.running + runs + renderers, 0);
        EXPECT_EQ(CountWindows(kSettingsDialogTitle), 1);
    }
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(settings.WaitForExit(kExitTimeoutMs));
}

}  // namespace
