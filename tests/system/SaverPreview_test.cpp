// The screen saver program's preview mode seen from the screen-saver host:
// this test is the host, with a window of its own whose handle goes on the
// command line. The preview window must become a child of that window at its
// size, end with it, and touch nothing else: no renderer, no ini file, no
// message, no music. What the preview draws is not visible across processes
// under Wine; its pixels are tested inside one process elsewhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

std::vector<HWND> PreviewsIn(HWND host) {
    std::vector<HWND> previews;
    HWND child = nullptr;
    while ((child = FindWindowExW(host, child, nullptr, kPreviewWindowTitle)) != nullptr) previews.push_back(child);
    return previews;
}

// Waits until the host holds that many shown previews; the last step of the
// preview's set-up is showing it, so by then it is placed and sized.
std::vector<HWND> WaitForShownPreviews(HWND host, std::size_t count) {
    std::vector<HWND> previews;
    PumpUntil(
        [&] {
            previews = PreviewsIn(host);
            std::size_t shown = 0;
            for (HWND preview : previews) shown += IsWindowVisible(preview) ? 1 : 0;
            return shown == count;
        },
        kWindowTimeoutMs);
    return previews;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Destroys the host as the display-settings window does when its preview
// area goes, and expects each preview program to end with exit code 0.
void DestroyHostAndExpectEnd(HostWindow& host, const std::vector<const Process*>& previews) {
    host.Destroy();
    const DWORD destroyed = GetTickCount();
    for (const Process* preview : previews) {
        DWORD exitCode = 1234;
        ASSERT_TRUE(WaitForExitPumping(preview->Handle(), kExitTimeoutMs, &exitCode))
            << "the preview outlived its host";
        EXPECT_EQ(exitCode, 0u);
    }
    std::printf("  preview program ended %lu ms after its host was destroyed\n", GetTickCount() - destroyed);
}

TEST(SaverPreviewTest, PreviewBecomesAChildOfTheHostAtItsSizeAndEndsWithIt) {
    // The renderer's place holds a probe that leaves a marker if anything starts it.
    SaverFolder folder(L"Preview");
    folder.UseProbeAsRenderer(L"DecoyProbe.exe");
    for (const wchar_t* prefix : {L"/p ", L"/P:", L"-p "}) {
        HostWindow host(200, 150);
        ASSERT_NE(host.Get(), nullptr);
        const std::wstring arguments = prefix + host.HandleText();
        SCOPED_TRACE(testing::Message() << "command line '" << Cp932(arguments) << "'");
        const Process saver = folder.StartSaver(arguments);

        const std::vector<HWND> previews = WaitForShownPreviews(host.Get(), 1);
        ASSERT_EQ(previews.size(), 1u) << "no shown child titled Preview Window in the host";
        std::printf("'%s': preview shown in the host %lu ms after the start\n", Cp932(arguments).c_str(),
                    saver.Age());
        HWND preview = previews.front();
        EXPECT_TRUE(BelongsTo(preview, saver.Id()));
        EXPECT_EQ(GetAncestor(preview, GA_PARENT), host.Get());
        EXPECT_NE(GetWindowLongW(preview, GWL_STYLE) & WS_CHILD, 0);

        // At the top-left of the host's client area, as large as the host's whole window.
        const RECT hostRect = WindowRect(host.Get());
        const RECT rect = WindowRect(preview);
        POINT topLeft{rect.left, rect.top};
        ScreenToClient(host.Get(), &topLeft);
        EXPECT_EQ(topLeft.x, 0);
        EXPECT_EQ(topLeft.y, 0);
        EXPECT_EQ(rect.right - rect.left, hostRect.right - hostRect.left);
        EXPECT_EQ(rect.bottom - rect.top, hostRect.bottom - hostRect.top);
        EXPECT_TRUE(saver.Running());

        DestroyHostAndExpectEnd(host, {&saver});
    }
    SleepMs(1000);
    EXPECT_FALSE(Exists(RanMarker(folder.Renderer()))) << "the renderer was started";
    EXPECT_EQ(FindWindowW(nullptr, kSaverWindowTitle), nullptr);
    EXPECT_FALSE(Exists(folder.Ini()));
}

TEST(SaverPreviewTest, ASecondPreviewBesideAShownOneIsAllowed) {
    SaverFolder folder(L"Two previews");
    HostWindow host(200, 150);
    const Process first = folder.StartSaver(L"/p " + host.HandleText());
    ASSERT_EQ(WaitForShownPreviews(host.Get(), 1).size(), 1u);
    const Process second = folder.StartSaver(L"/p " + host.HandleText());
    const std::vector<HWND> previews = WaitForShownPreviews(host.Get(), 2);
    ASSERT_EQ(previews.size(), 2u) << "the second preview did not appear";
    EXPECT_TRUE(BelongsTo(previews[0], first.Id()) || BelongsTo(previews[1], first.Id()));
    EXPECT_TRUE(BelongsTo(previews[0], second.Id()) || BelongsTo(previews[1], second.Id()));
    EXPECT_TRUE(first.Running());
    DestroyHostAndExpectEnd(host, {&first, &second});
}

TEST(SaverPreviewTest, PreviewNeedsNoRendererAndLeavesTheSettingsAndTheMusicAlone) {
    // No renderer file, and settings that would play a WAV file in a saver run.
    SaverFolder folder(L"Preview alone", /*withRenderer=*/false);
    const std::wstring wave = folder.File(L"sound.wav");
    ASSERT_TRUE(WriteBytes(wave, SineWave(400)));
    const std::string settings = MusicSettingsIni(2, 0, wave);

    for (const bool withIni : {true, false}) {
        SCOPED_TRACE(withIni ? "with an ini file" : "without an ini file");
        if (withIni) {
            ASSERT_TRUE(WriteBytes(folder.Ini(), settings));
        } else {
            DeleteFileW(folder.Ini().c_str());
        }
        AudioSinkEar ear;
        HostWindow host(200, 150);
        const Process saver = folder.StartSaver(L"/p " + host.HandleText());
        ASSERT_EQ(WaitForShownPreviews(host.Get(), 1).size(), 1u) << "no preview";
        PumpUntil([] { return false; }, 500);
        EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr) << "a message box";
        EXPECT_EQ(FindWindowW(nullptr, kSaverWindowTitle), nullptr);
        EXPECT_EQ(ear.Listen().bytes, 0) << "the preview played music";
        DestroyHostAndExpectEnd(host, {&saver});
        if (withIni) {
            EXPECT_EQ(ReadBytes(folder.Ini()), settings) << "the ini file changed";
        } else {
            EXPECT_FALSE(Exists(folder.Ini())) << "the preview wrote an ini file";
        }
    }
}

TEST(SaverPreviewTest, HandleThatIsNoWindowGivesAQuietPreviewOfNoSize) {
    SaverFolder folder(L"No host");
    for (const wchar_t* arguments : {L"/p 0", L"/p 99999999", L"/p", L"/p:none"}) {
        SCOPED_TRACE(testing::Message() << "command line '" << Cp932(arguments) << "'");
        const Process saver = folder.StartSaver(arguments);
        HWND preview = nullptr;
        ASSERT_TRUE(PumpUntil(
            [&] { return (preview = FindWindowOfProcess(saver.Id(), kPreviewWindowTitle)) != nullptr; },
            kWindowTimeoutMs))
            << "no preview window";
        const RECT rect = WindowRect(preview);
        EXPECT_EQ(rect.right - rect.left, 0);
        EXPECT_EQ(rect.bottom - rect.top, 0);

        PumpUntil([] { return false; }, 1000);
        EXPECT_TRUE(saver.Running()) << "it ended or crashed";
        EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr) << "a message box";
        // Ended by force when the Process goes, as nothing will ever close it.
    }
}

}  // namespace
