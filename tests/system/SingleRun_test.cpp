// One saver run, or one settings dialog, however many copies of モザイカ図.scr
// the host starts at the same moment: the copies are created suspended and let
// go together, so all of them pass the marker-window test before any has made
// its window. Five rounds of five copies each.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

constexpr int kCopies = 5;
constexpr int kRounds = 5;

// Five copies let go together; all but `survivors` must end within 2 s having
// written nothing into the folder. Then `running` counts those still running.
struct Round {
    std::vector<Process> copies;
    int running = 0;

    Round(const SaverFolder& folder, const wchar_t* arguments, int survivors) {
        for (int i = 0; i < kCopies; ++i) copies.push_back(Process::StartSuspended(folder.Saver(), arguments));
        for (Process& copy : copies) copy.Resume();
        PumpUntil([&] { return Running() <= survivors; }, 2000);
        running = Running();
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2) << "a copy wrote a file";
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

// Five rounds of five copies with these arguments: one copy goes on with one
// run (and one renderer) or one dialog.
void ExpectOneOfFiveGoesOn(const wchar_t* arguments) {
    const SaverFolder folder(L"single run");
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const Round started(folder, arguments, 1);
        EXPECT_EQ(started.running, 1);
        if (arguments[1] == L'c') {
            ASSERT_EQ(SettledCount(kSettingsDialogTitle), 1);
            PostMessageW(FindWindowW(nullptr, kSettingsDialogTitle), WM_CLOSE, 0, 0);
            EXPECT_TRUE(started.Survivor().WaitForExit(kExitTimeoutMs));
            continue;
        }
        ASSERT_EQ(SettledCount(kRendererWindowTitle), 1);
        EXPECT_EQ(SettledCount(kSaverWindowTitle), 1);
        HWND renderer = FindWindowW(nullptr, kRendererWindowTitle);
        EndRun(started.Survivor(), renderer, OtherProcess::OfWindow(renderer), RendererEnd::CloseRequest);
    }
}

TEST(SingleRun, FiveSaverRunsStartedTogetherGiveOneRunAndOneRenderer) { ExpectOneOfFiveGoesOn(L"/s"); }

TEST(SingleRun, FiveSettingsStartsTogetherGiveOneDialog) { ExpectOneOfFiveGoesOn(L"/c"); }

TEST(SingleRun, SaverRunsStartedWhileTheDialogIsOpenAllEnd) {
    const SaverFolder folder(L"dialog open");
    const Process settings = folder.StartSaver(L"/c");
    HWND dialog = WaitForWindow(nullptr, kSettingsDialogTitle, kWindowTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    for (int round = 1; round <= kRounds; ++round) {
        const Round started(folder, L"/s", 0);
        const int runs = CountWindows(kSaverWindowTitle), renderers = CountWindows(kRendererWindowTitle);
        std::printf("round %d: %d running, %d Mosaika_Main, %d renderers\n", round, started.running, runs, renderers);
        EXPECT_EQ(started.running + runs + renderers, 0);
        EXPECT_EQ(CountWindows(kSettingsDialogTitle), 1);
    }
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(settings.WaitForExit(kExitTimeoutMs));
}

}  // namespace
