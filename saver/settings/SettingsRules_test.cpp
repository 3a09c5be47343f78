// The settings dialog's rules: the source selector, the repeat-track texts,
// what the save button writes, where the dialog opens and the painted bands.
#include "SettingsRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace mosaika {
namespace {

using P = IndicatorPicture;

TEST(SettingsRules, SourceSelectorForEachMode) {
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
    for (const auto& row : rows) EXPECT_EQ(MusicSourceViewFor(row.mode), row.view) << row.mode;
}

TEST(SettingsRules, SelectingASourceSetsTheModeAtOnce) {
    MusicSettings settings{7, 5, "C:\\Music\\song.mp3"};  // a stored mode outside 0..2
    EXPECT_EQ(SelectMusicSource(settings, 2), MusicSourceViewFor(2));
    EXPECT_EQ(settings.BgmMode, 2);
    EXPECT_EQ(SelectMusicSource(settings, 2), MusicSourceViewFor(2)) << "pressing it again";
    EXPECT_EQ(SelectMusicSource(settings, 0), MusicSourceViewFor(0));
    EXPECT_EQ(settings.BgmMode, 0);
    EXPECT_EQ(settings.BgmRepeat, 5) << "the other settings stay";
    EXPECT_EQ(settings.BgmFile, "C:\\Music\\song.mp3");
}

TEST(SettingsRules, RepeatTrackListAndTexts) {
    const std::vector<std::string> entries = RepeatTrackEntries();
    ASSERT_EQ(entries.size(), 31u);
    EXPECT_EQ(entries[0], "");
    EXPECT_EQ(entries[1], "1");
    EXPECT_EQ(entries[30], "30");
    EXPECT_EQ(RepeatTrackText(0), "");
    EXPECT_EQ(RepeatTrackText(5), "5");

    const struct {
        std::string text;
        std::int16_t repeat;
    } rows[] = {
        {"", 0},      {" 12 ", 12},  {"2.5", 2},           {"3.5", 4},     {"-4", -4},
        {"abc", 0},   {"5a", 0},     {"32767", 32767},     {"32768", 0},   {"-32769", 0},
    };
    for (const auto& row : rows) EXPECT_EQ(BgmRepeatFromText(row.text), row.repeat) << row.text;
}

struct RecordingPort final : SettingsPort {
    std::vector<std::string> writes;
    std::string ReadIniValue(const std::string&, const std::string&, const std::string&) override { return {}; }
    void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override {
        writes.push_back(section + "|" + key + "|" + value + "|" + file);
    }
    bool CanOpenForReading(const std::string&) override { return false; }
};

TEST(SettingsRules, SaveWritesAllThreeKeysWithTheRepeatFromItsText) {
    struct Row {
        MusicSettings settings;
        std::string repeatText;
        std::int16_t repeat;
        std::vector<std::string> values;
    };
    const std::vector<Row> rows = {
        {{1, 5, ""}, "", 0, {" 1", " 0", ""}},
        {{2, 3, "C:\\Music\\song.mp3"}, "3", 3, {" 2", " 3", "C:\\Music\\song.mp3"}},
        {{2, 0, ""}, "typed", 0, {" 2", " 0", ""}},
        {{7, 0, ""}, "-2", -2, {" 7", "-2", ""}},
    };
    const std::string file = "C:\\Saver\\settings.ini";
    for (auto row : rows) {
        SCOPED_TRACE(row.repeatText);
        RecordingPort port;
        SaveDialogSettings(row.settings, row.repeatText, port, file);
        EXPECT_EQ(row.settings.BgmRepeat, row.repeat);
        const std::vector<std::string> expected = {
            "Section|" + std::string(kKeyBgmMode) + "|" + row.values[0] + "|" + file,
            "Section|" + std::string(kKeyBgmRepeat) + "|" + row.values[1] + "|" + file,
            "Section|" + std::string(kKeyBgmFile) + "|" + row.values[2] + "|" + file,
        };
        EXPECT_EQ(port.writes, expected);
    }
}

TEST(SettingsRules, OpeningPositionCentresAcrossAndSitsAtAThird) {
    const struct {
        double screenW, screenH, windowW, windowH;
        DialogPosition position;
    } rows[] = {
        {19200, 14400, 7275, 4170, {5962, 3410}},     // 1280 x 960 at 96 dpi: 11925 / 2, 10230 / 3
        {28800, 16200, 7275, 4170, {10762, 4010}},    // 21525 / 2 truncated
        {9600, 7200, 7275.5, 4170, {1162, 1010}},     // 2324.5 rounds to even 2324
        {6000, 3000, 7275, 4170, {-637, -390}},       // larger than the screen: truncated toward zero
    };
    for (const auto& row : rows) {
        EXPECT_EQ(OpeningPosition(row.screenW, row.screenH, row.windowW, row.windowH), row.position)
            << row.screenW << " x " << row.screenH;
    }
}

TEST(SettingsRules, PanelBandsRunFromNearBlackToNearWhite) {
    const std::vector<Rgb> panel = BandColours(BandSurface::Panel, 2535);
    ASSERT_EQ(panel.size(), 2536u);
    EXPECT_EQ(panel.front(), (Rgb{30, 30, 30}));
    EXPECT_EQ(panel.back(), (Rgb{30, 30, 30}));
    EXPECT_EQ(panel[1268], (Rgb{250, 250, 250}));
    for (const Rgb& row : panel) {
        EXPECT_EQ(row.red, row.green);
        EXPECT_EQ(row.red, row.blue);
        EXPECT_GE(row.red, 30);
        EXPECT_LE(row.red, 250);
    }
}

TEST(SettingsRules, DialogBandsRunFromNavyToLavender) {
    for (const double height : {3780.0, 3780.6, 1.0}) {
        SCOPED_TRACE(height);
        const std::vector<Rgb> dialog = BandColours(BandSurface::Dialog, height);
        EXPECT_EQ(dialog.size(), static_cast<std::size_t>(std::lround(height)) + 1);
        EXPECT_EQ(dialog.front(), (Rgb{0, 0, 30}));
        int brightest = 0;
        for (const Rgb& row : dialog) {
            EXPECT_EQ(row.red, row.green);
            EXPECT_EQ(row.blue, row.red + 30);
            EXPECT_LE(row.red, 220);
            brightest = std::max(brightest, int{row.red});
        }
        if (height > 100) {
            EXPECT_EQ(brightest, 220);
        }
    }
    // c = |sin(y / k)| x 220 with k = H / 3.142, rounded halves to even.
    const std::vector<Rgb> dialog = BandColours(BandSurface::Dialog, 3780);
    EXPECT_EQ(dialog[100].red, 18);   // 18.27
    EXPECT_EQ(dialog[945].red, 156);  // 155.6, a quarter of the way
    EXPECT_EQ(dialog[3780].red, 0);   // 220 x |sin(3.142)| = 0.09
    EXPECT_EQ(ToColorRef(dialog[0]), 0x1E0000u);

    // A surface without height has no lines; one under half a unit has one.
    EXPECT_TRUE(BandColours(BandSurface::Panel, 0).empty());
    EXPECT_TRUE(BandColours(BandSurface::Dialog, std::nan("")).empty());
    EXPECT_EQ(BandColours(BandSurface::Panel, 0.4).size(), 1u);
}

}  // namespace
}  // namespace mosaika
