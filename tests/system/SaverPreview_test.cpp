// The preview mode seen from the screen-saver host: this test is the host,
// with a window whose handle goes on the command line. (What the preview draws
// is not visible across processes under Wine; its pixels are tested inside one
// process elsewhere.)
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

// Waits until the host holds that many previews, all shown: showing is the
// last step of the preview's set-up, so by then it is placed and sized.
std::vector<HWND> WaitForShownPreviews(HWND host, std::size_t count) {
    std::vector<HWND> previews;
    WaitUntil([&] {
        previews.clear();
        for (HWND child = nullptr; (child = FindWindowExW(host, child, nullptr, kPreviewWindowTitle)) != nullptr;) {
            if (IsWindowVisible(child)) previews.push_back(child);
        }
        return previews.size() == count;
    });
    return previews;
}

std::pair<LONG, LONG> SizeOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

TEST(SaverPreviewTest, PreviewIsAChildOfTheHostAtItsSizeBesideAnyOtherEndsWithItAndTouchesNothingElse) {
    // Settings that would play a WAV file in a saver run; the renderer's place
    // holds a probe that leaves a marker if anything starts it, or nothing.
    const struct {
        const wchar_t* prefix;
        bool renderer;
        bool ini;
    } rows[] = {{L"/p ", true, true}, {L"/P:", false, true}, {L"-p ", true, false}, {L"/p ", false, false}};
    for (const auto& row : rows) {
        SaverFolder folder(L"Preview", row.renderer);
        if (row.renderer) folder.UseProbeAsRenderer();
        const std::wstring wave = folder.File(L"sound.wav");
        const std::string settings = MusicSettingsIni(2, 0, wave);
        ASSERT_TRUE(WriteBytes(wave, SineWave(400)));
        if (row.ini) { ASSERT_TRUE(WriteBytes(folder.Ini(), settings)); }

        AudioSinkEar ear;
        HostWindow host(200, 150);
        const Process saver = folder.StartSaver(row.prefix + host.HandleText());
        SCOPED_TRACE(testing::Message() << "'" << Cp932(row.prefix + host.HandleText()) << "' renderer " << row.renderer
                                        << " ini " << row.ini);
        const std::vector<HWND> previews = WaitForShownPreviews(host.Get(), 1);
        ASSERT_EQ(previews.size(), 1u) << "no shown child titled Preview Window in the host";
        HWND preview = previews.front();
        EXPECT_TRUE(BelongsTo(preview, saver.Id()));
        EXPECT_NE(GetWindowLongW(preview, GWL_STYLE) & WS_CHILD, 0);
        // At the top-left of the host's client area, as large as the host's whole window.
        RECT rect{};
        GetWindowRect(preview, &rect);
        POINT topLeft{rect.left, rect.top};
        ScreenToClient(host.Get(), &topLeft);
        EXPECT_TRUE(topLeft.x == 0 && topLeft.y == 0) << topLeft.x << ", " << topLeft.y;
        EXPECT_EQ(SizeOf(preview), SizeOf(host.Get()));

        Process second;  // a second preview beside a shown one is allowed
        if (&row == rows) {
            second = folder.StartSaver(row.prefix + host.HandleText());
            EXPECT_EQ(WaitForShownPreviews(host.Get(), 2).size(), 2u) << "no second preview";
        }
        EXPECT_TRUE(HoldsFor([&] {
            return saver.Running() && !MessageBoxOf(saver.Id()) && !FindWindowW(nullptr, kSaverWindowTitle);
        }, 500)) << "the preview ended, or a message box or a saver run showed";
        EXPECT_EQ(ear.Listen().bytes, 0) << "the preview played music";
        // Destroyed as the display-settings window destroys its preview area: each preview ends with exit code 0.
        host.Destroy();
        for (const Process* program : std::initializer_list<const Process*>{&saver, &second}) {
            if (program->Started()) { ASSERT_EQ(program->ExitCode(kExitTimeoutMs), 0u) << "259: it outlived its host"; }
        }
        EXPECT_FALSE(Exists(RanMarker(folder.Renderer()))) << "the renderer was started";
        EXPECT_EQ(ReadBytes(folder.Ini()), row.ini ? settings : "") << "the ini file was written";
        EXPECT_EQ(Exists(folder.Ini()), row.ini);
    }
}

TEST(SaverPreviewTest, HandleThatIsNoWindowGivesAQuietPreviewOfNoSize) {
    SaverFolder folder(L"No host");
    for (const wchar_t* arguments : {L"/p 0", L"/p 99999999", L"/p", L"/p:none"}) {
        SCOPED_TRACE(testing::Message() << "'" << Cp932(arguments) << "'");
        const Process saver = folder.StartSaver(arguments);
        HWND preview = WaitForWindow([&] { return FindWindowOfProcess(saver.Id(), kPreviewWindowTitle); });
        ASSERT_NE(preview, nullptr) << "no preview window";
        // Through its set-up and on: no size, running, no message.
        EXPECT_TRUE(HoldsFor([&] {
            return SizeOf(preview) == std::make_pair(0L, 0L) && saver.Running() && !MessageBoxOf(saver.Id());
        }, 1000)) << "a size, an end or a message box";
    }  // ended by force when the Process goes: nothing will ever close it
}

}  // namespace
