// The screen saver program モザイカ図.scr seen from outside, as the
// screen-saver host and a user see it: what each command line starts, its
// hidden saver window, the renderer it starts and follows to the end, its one
// message, its refusal to run beside a copy of itself, and how it starts the
// renderer program. Each case works on copies of the programs in a folder of
// its own whose path has blanks and Japanese characters.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

// The windows titled like the renderer's, whoever owns them.
int CountRendererWindows() {
    int count = 0;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, kRendererWindowTitle)) != nullptr) ++count;
    return count;
}

// A probe in the renderer's place leaves its marker within a few hundred
// milliseconds of a start; a full second without one means it was not started.
bool ProbeStayedUnstarted(const std::wstring& program) {
    SleepMs(1000);
    return !Exists(RanMarker(program));
}

TEST(SaverStartTest, SaverRunShowsTheRendererHiddenBehindItAndEndsAfterIt) {
    // /S, /s and -s hide the cursor, the empty command line leaves it alone;
    // all four run the saver the same way.
    for (const wchar_t* arguments : {L"/s", L"/S", L"-s", L""}) {
        SCOPED_TRACE(testing::Message() << "command line '" << Cp932(arguments) << "'");
        SaverFolder folder(L"Saver run");
        Process saver = folder.StartSaver(arguments);
        ASSERT_TRUE(saver.Started());

        HWND kanvas = WaitForWindow(kRendererWindowTitle, kRendererWindowTitle, kWindowTimeoutMs);
        ASSERT_NE(kanvas, nullptr) << "no renderer window";
        std::printf("'%s': renderer window %lu ms after the saver's start\n", Cp932(arguments).c_str(),
                    saver.Age());
        const OtherProcess renderer = OtherProcess::OfWindow(kanvas);
        ASSERT_TRUE(renderer.Opened());
        EXPECT_TRUE(SamePath(renderer.ImagePath(), folder.Renderer())) << Cp932(renderer.ImagePath());

        HWND saverWindow = FindWindowW(nullptr, kSaverWindowTitle);
        EXPECT_TRUE(BelongsTo(saverWindow, saver.Id())) << "no window Mosaika_Main of the saver";
        EXPECT_FALSE(IsWindowVisible(saverWindow));
        EXPECT_TRUE(saver.Running());

        EndRun(saver, kanvas, renderer, RendererEnd::EscapeKey);
        EXPECT_FALSE(Exists(folder.Ini())) << "a saver run writes no settings";
    }
}

TEST(SaverStartTest, AHostThatStartsItByItsUnquotedLongPathStillGetsASaverRun) {
    // The folder's path has blanks: taking the first word as the program's
    // path would leave "folders\…" as the arguments and end silently.
    SaverFolder folder(L"Unquoted start");
    Process saver = Process::StartWithCommandLine(folder.Saver(), folder.Saver() + L" /s");
    ASSERT_TRUE(saver.Started());
    HWND kanvas = WaitForWindow(kRendererWindowTitle, kRendererWindowTitle, kWindowTimeoutMs);
    ASSERT_NE(kanvas, nullptr) << "no saver run";
    const OtherProcess renderer = OtherProcess::OfWindow(kanvas);
    EndRun(saver, kanvas, renderer, RendererEnd::EscapeKey);
}

TEST(SaverStartTest, ASecondStartDuringASaverRunEndsAtOnceAndLeavesTheRunAlone) {
    SaverFolder folder(L"Second start");
    Process first = folder.StartSaver(L"/s");
    HWND kanvas = WaitForWindow(kRendererWindowTitle, kRendererWindowTitle, kWindowTimeoutMs);
    ASSERT_NE(kanvas, nullptr);
    const OtherProcess renderer = OtherProcess::OfWindow(kanvas);
    ASSERT_NE(FindWindowW(nullptr, kSaverWindowTitle), nullptr);

    for (const wchar_t* arguments : {L"/s", L"", L"/c"}) {
        SCOPED_TRACE(testing::Message() << "second command line '" << Cp932(arguments) << "'");
        const Process second = folder.StartSaver(arguments);
        DWORD exitCode = 1234;
        ASSERT_TRUE(second.WaitForExit(kExitTimeoutMs, &exitCode)) << "the second copy did not end";
        EXPECT_EQ(exitCode, 0u);
        std::printf("second start '%s' ended after %lu ms\n", Cp932(arguments).c_str(), second.Age());
    }
    SleepMs(1000);
    EXPECT_EQ(CountRendererWindows(), 1) << "a second renderer was started";
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(renderer.Running());
    EndRun(first, kanvas, renderer, RendererEnd::EscapeKey);
}

TEST(SaverStartTest, OtherCommandLinesEndSilentlyAfterFindingTheRenderer) {
    // The renderer's place holds a probe that leaves a marker if anything starts it.
    SaverFolder folder(L"Silent end");
    folder.UseProbeAsRenderer(L"DecoyProbe.exe");
    for (const wchar_t* arguments : {L"S", L"s", L"/a 1234", L"/A", L"/x", L"-q 5", L"xy", L"//s", L"/ s"}) {
        SCOPED_TRACE(testing::Message() << "command line '" << Cp932(arguments) << "'");
        const Process saver = folder.StartSaver(arguments);
        DWORD exitCode = 1234;
        const bool ended = saver.WaitForExit(kExitTimeoutMs, &exitCode);
        EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr) << "a message box";
        ASSERT_TRUE(ended) << "it did not end";
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_TRUE(ProbeStayedUnstarted(folder.Renderer())) << "the renderer was started";
    EXPECT_EQ(FindWindowW(nullptr, kSaverWindowTitle), nullptr);
    EXPECT_FALSE(Exists(folder.Ini()));
}

TEST(SaverStartTest, SettingsModeShowsTheDialogAloneAndEndsWhenItCloses) {
    SaverFolder folder(L"Settings");
    folder.UseProbeAsRenderer(L"DecoyProbe.exe");
    // A handle after the letter is ignored.
    for (const wchar_t* arguments : {L"/c", L"/C:1234", L"-c"}) {
        SCOPED_TRACE(testing::Message() << "command line '" << Cp932(arguments) << "'");
        const Process saver = folder.StartSaver(arguments);
        HWND dialog = nullptr;
        ASSERT_TRUE(PumpUntil(
            [&] {
                dialog = FindWindowOfProcess(saver.Id(), kSettingsDialogTitle);
                return dialog && IsWindowVisible(dialog);
            },
            kWindowTimeoutMs))
            << "no settings dialog";
        std::printf("'%s': settings dialog shown %lu ms after the start\n", Cp932(arguments).c_str(), saver.Age());
        EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr) << "a message box";
        EXPECT_EQ(FindWindowW(nullptr, kSaverWindowTitle), nullptr) << "a saver run";

        // Closed from its caption, the dialog saves nothing and the program ends.
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        DWORD exitCode = 1234;
        ASSERT_TRUE(saver.WaitForExit(kExitTimeoutMs, &exitCode)) << "closing the dialog did not end it";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_FALSE(Exists(folder.Ini())) << "a closed dialog writes no settings";
    }
    EXPECT_TRUE(ProbeStayedUnstarted(folder.Renderer())) << "the renderer was started";
}

TEST(SaverStartTest, MissingRendererFileShowsOneMessageAndEndsWhenItIsDismissed) {
    SaverFolder folder(L"No renderer", /*withRenderer=*/false);
    // Every mode but the preview checks the file, the silent ones included.
    for (const wchar_t* arguments : {L"/s", L"", L"/c", L"/a 1234", L"S"}) {
        SCOPED_TRACE(testing::Message() << "command line '" << Cp932(arguments) << "'");
        const Process saver = folder.StartSaver(arguments);
        HWND box = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (box = MessageBoxOf(saver.Id())) != nullptr; }, kWindowTimeoutMs))
            << "no message box captioned モザイカ図";
        std::printf("'%s': message box %lu ms after the start\n", Cp932(arguments).c_str(), saver.Age());
        EXPECT_EQ(MessageBoxText(box), kMissingRendererText) << Cp932(MessageBoxText(box));
        EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "an OK button alone";
        // Nothing else is running while the message waits.
        EXPECT_EQ(FindWindowW(nullptr, kSaverWindowTitle), nullptr);
        EXPECT_EQ(FindWindowW(nullptr, kRendererWindowTitle), nullptr);
        EXPECT_TRUE(saver.Running()) << "it must wait for the user";

        PostMessageW(box, WM_COMMAND, IDOK, 0);
        DWORD exitCode = 1234;
        ASSERT_TRUE(saver.WaitForExit(kExitTimeoutMs, &exitCode)) << "OK did not end it";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_FALSE(Exists(folder.Ini())) << "no setting is written";
    }
}

TEST(SaverStartTest, AnyStartEndsAtOnceWhileACopyShowsTheSaverOrItsSettings) {
    SaverFolder folder(L"Running copy");
    folder.UseProbeAsRenderer(L"DecoyProbe.exe");
    HostWindow host(200, 150);
    ASSERT_NE(host.Get(), nullptr);
    const std::vector<std::wstring> commandLines = {L"/s", L"", L"/c", L"/a 1234", L"/p " + host.HandleText()};

    for (const wchar_t* marker : {kSaverWindowTitle, kSettingsDialogTitle}) {
        const MarkerWindow running(marker);  // hidden, as the saver window is
        ASSERT_NE(running.Get(), nullptr);
        for (const std::wstring& arguments : commandLines) {
            SCOPED_TRACE(testing::Message() << "window '" << Cp932(marker) << "', command line '"
                                            << Cp932(arguments) << "'");
            const Process saver = folder.StartSaver(arguments);
            DWORD exitCode = 1234;
            const bool ended = WaitForExitPumping(saver.Handle(), kExitTimeoutMs, &exitCode);
            EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr) << "a message box";
            ASSERT_TRUE(ended) << "it did not end";
            EXPECT_EQ(exitCode, 0u);
            EXPECT_EQ(FindWindowExW(host.Get(), nullptr, nullptr, kPreviewWindowTitle), nullptr) << "a preview";
        }
    }
    EXPECT_TRUE(ProbeStayedUnstarted(folder.Renderer())) << "the renderer was started";
    EXPECT_FALSE(Exists(folder.Ini()));
}

// Copies of the decoy where starting the renderer from an unquoted command
// line would find a program first, removed again at the end with their markers.
class PlantedDecoys {
public:
    explicit PlantedDecoys(const std::wstring& rendererPath) {
        // An unquoted path is cut at each blank in turn and ".exe" appended:
        // "…\test folders\Name 図\モザイカ図.dll" first tries "…\test.exe",
        // then "…\test folders\Name.exe".
        for (std::size_t blank = rendererPath.find(L' '); blank != std::wstring::npos;
             blank = rendererPath.find(L' ', blank + 1)) {
            const std::wstring path = rendererPath.substr(0, blank) + L".exe";
            if (CopyFileW(ProbePath(L"DecoyProbe.exe").c_str(), path.c_str(), FALSE)) paths_.push_back(path);
        }
    }
    ~PlantedDecoys() {
        for (const std::wstring& path : paths_) {
            DeleteFileW(path.c_str());
            DeleteFileW(RanMarker(path).c_str());
        }
    }
    const std::vector<std::wstring>& Paths() const { return paths_; }

private:
    std::vector<std::wstring> paths_;
};

TEST(SaverStartTest, RendererIsStartedByItsExactPathNeverByAnUnquotedCommandLine) {
    SaverFolder folder(L"Decoy");
    const PlantedDecoys decoys(folder.Renderer());
    ASSERT_GE(decoys.Paths().size(), 2u) << "the folder path must hold blanks";

    // The trap works: a decoy that is started leaves its marker.
    {
        const Process trial = Process::Start(decoys.Paths().front());
        ASSERT_TRUE(trial.WaitForExit(kExitTimeoutMs));
        ASSERT_TRUE(Exists(RanMarker(decoys.Paths().front())));
        DeleteFileW(RanMarker(decoys.Paths().front()).c_str());
    }

    Process saver = folder.StartSaver(L"/s");
    HWND kanvas = WaitForWindow(kRendererWindowTitle, kRendererWindowTitle, kWindowTimeoutMs);
    for (const std::wstring& decoy : decoys.Paths()) {
        EXPECT_FALSE(Exists(RanMarker(decoy))) << "started instead of the renderer: " << Cp932(decoy);
    }
    ASSERT_NE(kanvas, nullptr) << "the real renderer did not start";
    const OtherProcess renderer = OtherProcess::OfWindow(kanvas);
    EXPECT_TRUE(SamePath(renderer.ImagePath(), folder.Renderer())) << Cp932(renderer.ImagePath());
    EndRun(saver, kanvas, renderer, RendererEnd::EscapeKey);
}

TEST(SaverStartTest, RunWaitsForALiveRendererThatIsSlowToShowItsWindow) {
    // The probe opens its Mosaika_Kanvas window 1.5 s after its start.
    SaverFolder folder(L"Slow renderer");
    folder.UseProbeAsRenderer(L"SlowRendererProbe.exe");
    Process saver = folder.StartSaver(L"/s");
    HWND kanvas = WaitForWindow(kRendererWindowTitle, kRendererWindowTitle, kWindowTimeoutMs);
    ASSERT_NE(kanvas, nullptr);
    std::printf("slow renderer window %lu ms after the saver's start\n", saver.Age());
    EXPECT_TRUE(saver.Running()) << "the run gave up before the renderer's window appeared";
    const OtherProcess renderer = OtherProcess::OfWindow(kanvas);
    EXPECT_EQ(GetProcessId(renderer.Handle()), RanMarkerProcessId(folder.Renderer()));

    SleepMs(500);
    EXPECT_TRUE(saver.Running()) << "the run ended while the renderer's window was up";
    EndRun(saver, kanvas, renderer, RendererEnd::CloseRequest);
}

TEST(SaverStartTest, RendererThatEndsWithoutAWindowEndsTheRunPromptly) {
    SaverFolder folder(L"Windowless renderer");
    folder.UseProbeAsRenderer(L"DecoyProbe.exe");  // leaves its marker and ends at once
    const Process saver = folder.StartSaver(L"/s");
    DWORD exitCode = 1234;
    // A run that waited out its whole allowance for the renderer would take 10 s.
    ASSERT_TRUE(saver.WaitForExit(5000, &exitCode)) << "the run kept waiting for a renderer that had ended";
    std::printf("the run ended %lu ms after its start\n", saver.Age());
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(Exists(RanMarker(folder.Renderer()))) << "the renderer was never started";
}

TEST(SaverStartTest, RunGivesUpOnALiveRendererThatNeverShowsAWindow) {
    SaverFolder folder(L"Hung renderer");
    folder.UseProbeAsRenderer(L"SlowRendererProbe.exe");
    WriteBytes(folder.File(L"renderer-delay-ms.txt"), "120000");
    const Process saver = folder.StartSaver(L"/s");
    DWORD exitCode = 1234;
    ASSERT_TRUE(saver.WaitForExit(30000, &exitCode)) << "the run waits for ever";
    std::printf("the run gave up %lu ms after its start\n", saver.Age());
    EXPECT_EQ(exitCode, 0u);
    const OtherProcess renderer(RanMarkerProcessId(folder.Renderer()));
    EXPECT_TRUE(renderer.Running()) << "the run ended because the renderer did";
}

}  // namespace
