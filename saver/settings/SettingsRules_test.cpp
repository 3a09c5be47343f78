// The settings dialog's rules the dialog's system tests cannot see exactly:
// the source selector for every mode, the repeat text's edges, the opening
// position's rounding and the bands' exact colours and sizes.
#include "SettingsRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace mosaika {
namespace {

TEST(SettingsRules, SelectingASourceSetsTheModeAndShowsItsIndicatorAndButtons) {
    using P = IndicatorPicture;
    const std::pair<std::int16_t, MusicSourceView> rows[] = {
        {0, {{P::Selected, P::Unselected, P::Unselected}, false, false}},
        {1, {{P::Unselected, P::Selected, P::Unselected}, true, false}},
        {2, {{P::Unselected, P::Unselected, P::Selected}, false, true}},
        {3, {{P::Unselected, P::Unselected, P::Unselected}, false, false}},
        {-1, {{P::Unselected, P::Unselected, P::Unselected}, false, false}},
    };
    for (const auto& [mode, view] : rows) {
        EXPECT_EQ(MusicSourceViewFor(mode), view) << mode;
        MusicSettings settings{7, 5, "C:\\song.mp3"};  // a stored mode outside 0..2
        EXPECT_EQ(SelectMusicSource(settings, mode), mode == 0 || mode == 1 || mode == 2 ? view : rows[3].second);
        EXPECT_EQ((std::tuple{settings.BgmMode, settings.BgmRepeat, settings.BgmFile}),
                  (std::tuple{mode >= 0 && mode <= 2 ? mode : std::int16_t{7}, std::int16_t{5}, "C:\\song.mp3"}));
    }
    for (const auto& [text, repeat] : {std::pair{"3.5", 4}, {"5a", 0}, {"32768", 0}, {"-32769", 0}}) {
        EXPECT_EQ(BgmRepeatFromText(text), repeat) << text;
    }
}

TEST(SettingsRules, AChosenMusicFileIsStoredByAPathThatComesBackWhole) {
    using Path = std::optional<std::string>;
    const std::string full = "C:\\Music\\\x8B\xC8.wav", shortForm = "C:\\MUSIC~1\\A~1.WAV";
    const std::string longest(255, 'a'), tooLong(256, 'a');
    const std::tuple<Path, Path, Path> rows[] = {
        {full, shortForm, full},                    // the full path when Shift-JIS spells it
        {std::nullopt, shortForm, shortForm},       // else its short form
        {std::nullopt, std::nullopt, std::nullopt},  // neither: nothing is stored
        {longest, shortForm, longest},
        {tooLong, shortForm, shortForm},  // cut on reading: the short form instead
        {tooLong, std::nullopt, std::nullopt},
        {std::string(), std::nullopt, std::nullopt},
    };
    for (const auto& [fullPath, shortPath, stored] : rows) {
        EXPECT_EQ(StorableMusicPath(fullPath, shortPath), stored) << fullPath.value_or("(none)").size();
    }
}

TEST(SettingsRules, OpeningPositionCentresAcrossAndSitsAtAThird) {
    const struct {
        double screenW, screenH, windowW, windowH;
        DialogPosition position;
    } rows[] = {
        {28800, 16200, 7275, 4170, {10762, 4010}},  // 21525 / 2 truncated
        {9600, 7200, 7274.5, 4170, {1163, 1010}},   // 2325.5 rounds to even 2326
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
    const std::vector<Rgb> dialog = BandColours(BandSurface::Dialog, 3780.6);
    ASSERT_EQ(dialog.size(), 3782u);
    EXPECT_EQ((std::vector{dialog[100], dialog[945], dialog[3780]}),
              (std::vector<Rgb>{{18, 18, 48}, {156, 156, 186}, {0, 0, 30}}));
    EXPECT_EQ(ToColorRef(dialog[0]), 0x1E0000u);
    EXPECT_EQ((std::vector{BandColours(BandSurface::Panel, 0).size(), BandColours(BandSurface::Dialog, NAN).size(),
                           BandColours(BandSurface::Panel, 0.4).size()}),
              (std::vector<std::size_t>{0, 0, 1}));
}

}  // namespace
}  // namespace mosaika
