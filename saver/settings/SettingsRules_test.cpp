// The settings dialog's rules: the source selector, the repeat-track texts,
// what the save button writes, where the dialog opens and the painted bands.
#include "SettingsRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "SettingsTesting.h"

namespace mosaika {
namespace {

TEST(SettingsRules, SelectingASourceSetsTheModeAndShowsItsIndicatorAndButtons) {
    using P = IndicatorPicture;
    const struct {
        std::int16_t mode;
        MusicSourceView view;
    } rows[] = {
        {0, {{P::Selected, P::Unselected, P::Unselected}, false, false}},
        {1, {{P::Unselected, P::Selected, P::Unselected}, true, false}},
        {2, {{P::Unselected, P::Unselected, P::Selected}, false, true}},
        {3, {{P::Unselected, P::Unselected, P::Unselected}, false, false}},
        {-1, {{P::Unselected, P::Unselected, P::Unselected}, false, false}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MusicSourceViewFor(row.mode), row.view) << row.mode;
        MusicSettings settings{7, 5, "C:\\song.mp3"};  // a stored mode outside 0..2
        if (row.mode < 0 || row.mode > 2) continue;
        EXPECT_EQ(SelectMusicSource(settings, row.mode), row.view);
        EXPECT_EQ((std::tuple{settings.BgmMode, settings.BgmRepeat, settings.BgmFile}),
                  (std::tuple{row.mode, std::int16_t{5}, std::string("C:\\song.mp3")}));
    }
}

TEST(SettingsRules, RepeatTrackTextsAndWhatTheSaveButtonWrites) {
    const std::vector<std::string> entries = RepeatTrackEntries();
    ASSERT_EQ(entries.size(), 31u);
    EXPECT_EQ((std::vector{entries[0], entries[1], entries[30]}), (std::vector<std::string>{"", "1", "30"}));
    EXPECT_EQ((std::vector{RepeatTrackText(0), RepeatTrackText(5)}), (std::vector<std::string>{"", "5"}));
    const struct {
        std::string text;
        std::int16_t repeat;
    } rows[] = {{"", 0},   {" 12 ", 12}, {"2.5", 2},         {"3.5", 4},   {"-4", -4},
                {"abc", 0}, {"5a", 0},    {"32767", 32767}, {"32768", 0}, {"-32769", 0}};
    for (const auto& row : rows) EXPECT_EQ(BgmRepeatFromText(row.text), row.repeat) << row.text;

    FakeSettingsPort port("C:\\Saver\\settings.ini");
    MusicSettings settings{1, 5, ""};
    SaveDialogSettings(settings, "-2", port, port.file);
    EXPECT_EQ(settings.BgmRepeat, -2);
    EXPECT_EQ(port.calls, (std::vector{std::string(kKeyBgmMode) + "= 1", std::string(kKeyBgmRepeat) + "=-2",
                                       std::string(kKeyBgmFile) + "="}));
}

TEST(SettingsRules, OpeningPositionCentresAcrossAndSitsAtAThird) {
    const struct {
        double screenW, screenH, windowW, windowH;
        DialogPosition position;
    } rows[] = {
        {19200, 14400, 7275, 4170, {5962, 3410}},   // 1280 x 960 at 96 dpi: 11925 / 2, 10230 / 3
        {28800, 16200, 7275, 4170, {10762, 4010}},  // 21525 / 2 truncated
        {9600, 7200, 7275.5, 4170, {1162, 1010}},   // 2324.5 rounds to even 2324
        {6000, 3000, 7275, 4170, {-637, -390}},     // larger than the screen: truncated toward zero
    };
    for (const auto& row : rows) {
        EXPECT_EQ(OpeningPosition(row.screenW, row.screenH, row.windowW, row.windowH), row.position) << row.screenW;
    }
}

TEST(SettingsRules, BandsRunGreyOnThePanelAndNavyToLavenderOnTheDialog) {
    // c = |sin(y / k)| x 220 (panel: 30 + ...) with k = H / 3.142, halves to even; one line per unit.
    const std::vector<Rgb> panel = BandColours(BandSurface::Panel, 2535);
    ASSERT_EQ(panel.size(), 2536u);
    EXPECT_EQ((std::vector{panel.front(), panel[1268], panel.back()}),
              (std::vector<Rgb>{{30, 30, 30}, {250, 250, 250}, {30, 30, 30}}));
    for (const Rgb& row : panel) {
        EXPECT_TRUE(row.red == row.green && row.red == row.blue && row.red >= 30 && row.red <= 250);
    }

    for (const double height : {3780.0, 3780.6}) {
        const std::vector<Rgb> dialog = BandColours(BandSurface::Dialog, height);
        ASSERT_EQ(dialog.size(), static_cast<std::size_t>(std::lround(height)) + 1);
        EXPECT_EQ((std::vector<int>{dialog[100].red, dialog[945].red, dialog[3780].red}), (std::vector{18, 156, 0}));
        int brightest = 0;
        for (const Rgb& row : dialog) {
            EXPECT_TRUE(row.red == row.green && row.blue == row.red + 30);
            brightest = std::max(brightest, int{row.red});
        }
        EXPECT_EQ(brightest, 220);
        EXPECT_EQ(ToColorRef(dialog[0]), 0x1E0000u);
    }
    EXPECT_TRUE(BandColours(BandSurface::Panel, 0).empty());
    EXPECT_TRUE(BandColours(BandSurface::Dialog, std::nan("")).empty());
    EXPECT_EQ(BandColours(BandSurface::Panel, 0.4).size(), 1u);
    EXPECT_EQ(BandColours(BandSurface::Dialog, 1.0), (std::vector<Rgb>{{0, 0, 30}, {0, 0, 30}}));
}

}  // namespace
}  // namespace mosaika
