// One saver run, or one settings dialog, however many copies of モザイカ図.scr
// the host starts at the same moment: the copies are created suspended and let
// go together, so all of them pass the marker-window test before any has made
// its window. Five rounds of five copies each.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

// Five copies let go together: all but `survivors` end, having written
// nothing into the folder.
struct Round {
    std::vector<Process> copies;

    Round(const SaverFolder& folder, const wchar_t* arguments, int survivors) {
        const std::wstring commandLine = L"\"" + folder.Saver() + L"\" " + arguments;
        for (int i = 0; i < 5; ++i) {
            copies.push_back(Process::StartWithCommandLine(folder.Saver(), commandLine, CREATE_SUSPENDED));
        }
        for (Process& copy : copies) copy.Resume();
        const DWORD start = GetTickCount();
        EXPECT_TRUE(WaitUntil([&] { return Running() <= survivors; }, kExitTimeoutMs)) << Running() << " copies running";
        std::cout << '/' << static_cast<char>(arguments[1]) << ": " << 5 - Running() << " of 5 copies ended within "
                  << GetTickCount() - start << " ms; ";
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

TEST(SingleRun, FiveSaverRunsStartedTogetherGiveOneRunAndOneRenderer) {
    const SaverFolder folder(L"single run");
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const Round started(folder, L"/s", 1);
        const int renderers = SettledCount(kRendererWindowTitle), runs = SettledCount(kSaverWindowTitle);
        std::cout << renderers << " renderer window, " << runs << " Mosaika_Main\n";
        ASSERT_EQ(renderers, 1);
        EXPECT_EQ(runs, 1);
        HWND renderer = FindWindowW(nullptr, kRendererWindowTitle);
        EndRun(started.Survivor(), renderer, Process::OfWindow(renderer), RendererEnd::CloseRequest);
    }
}

// Any start beside the open dialog ends at once: SettingsDialog_test.cpp.
TEST(SingleRun, FiveSettingsStartsTogetherGiveOneDialog) {
    const SaverFolder folder(L"single dialog");
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const Round started(folder, L"/c", 1);
        const int dialogs = SettledCount(kSettingsDialogTitle);
        std::cout << dialogs << " dialog\n";
        ASSERT_EQ(dialogs, 1);
        PostMessageW(FindWindowW(nullptr, kSettingsDialogTitle), WM_CLOSE, 0, 0);
        EXPECT_TRUE(started.Survivor().WaitForExit(kExitTimeoutMs));
    }
}

}  // namespace
