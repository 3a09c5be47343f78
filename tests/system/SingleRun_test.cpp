// One saver run, or one settings dialog, however many copies of モザイカ図.scr
// the host starts at the same moment: the copies are created suspended and let
// go together, so all of them pass the marker-window test before any has made
// its window. Five rounds of five copies each.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <set>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

// Five copies let go together: all but one end, having written nothing into
// the folder. The windows of each title are counted as distinct handles, looked
// for all along: from the start until the others have ended, the survivor's
// windows are up, and a second more has passed (a renderer a copy started
// before it ended shows its window within that).
struct Round {
    std::vector<Process> copies;
    std::vector<std::set<HWND>> seen;

    Round(const SaverFolder& folder, const wchar_t* arguments, const std::vector<const wchar_t*>& titles)
        : seen(titles.size()) {
        const std::wstring commandLine = L"\"" + folder.Saver() + L"\" " + arguments;
        for (int i = 0; i < 5; ++i) {
            copies.push_back(Process::StartWithCommandLine(folder.Saver(), commandLine, CREATE_SUSPENDED));
        }
        for (Process& copy : copies) copy.Resume();
        const DWORD start = GetTickCount();
        DWORD settled = 0;  // when the others had ended and every title was seen
        const bool ended = WaitUntil([&] {
            for (std::size_t t = 0; t < titles.size(); ++t) {
                for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, titles[t])) != nullptr;) seen[t].insert(w);
            }
            if (!settled && Running() <= 1 && std::all_of(seen.begin(), seen.end(), [](auto& s) { return !s.empty(); })) {
                settled = GetTickCount();
                std::cout << '/' << static_cast<char>(arguments[1]) << ": 4 of 5 copies ended within "
                          << settled - start << " ms\n";
            }
            return settled && GetTickCount() - settled >= 1000;
        }, kExitTimeoutMs + 1000);
        EXPECT_TRUE(ended) << Running() << " copies running";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2) << "a copy wrote a file";
    }
    int Running() const {
        return static_cast<int>(std::count_if(copies.begin(), copies.end(), [](auto& copy) { return copy.Running(); }));
    }
};

// A start beside the open dialog or the run ends at once: SettingsDialog_test.cpp, Saver_test.cpp.
TEST(SingleRun, FiveStartsTogetherGiveOneRunAndOneRendererOrOneDialog) {
    const SaverFolder folder(L"single run");
    for (const wchar_t* arguments : {L"/s", L"/c"}) {
        const bool run = arguments[1] == L's';
        for (int round = 1; round <= 5; ++round) {
            SCOPED_TRACE(testing::Message() << Cp932(arguments) << " round " << round);
            const Round started(folder, arguments, run ? std::vector{kRendererWindowTitle, kSaverWindowTitle}
                                                       : std::vector{kSettingsDialogTitle});
            ASSERT_EQ(started.seen[0].size(), 1u) << "windows of the first title";
            HWND window = *started.seen[0].begin();
            if (run) {
                ASSERT_EQ(started.seen[1].size(), 1u);
                EndRun(Process::OfWindow(*started.seen[1].begin()), window, Process::OfWindow(window),
                       RendererEnd::CloseRequest);
            } else {
                const Process dialog = Process::OfWindow(window);
                PostMessageW(window, WM_CLOSE, 0, 0);
                EXPECT_TRUE(dialog.WaitForExit(kExitTimeoutMs));
            }
        }
    }
}

}  // namespace
