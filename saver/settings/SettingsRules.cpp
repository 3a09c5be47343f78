#include "SettingsRules.h"

#include <cmath>

#include "Numbers.h"

namespace mosaika {

namespace {

// Far beyond any window; keeps the row count an int.
constexpr double kMaxBandScaleHeight = 1e7;

}  // namespace

MusicSourceView MusicSourceViewFor(std::int16_t bgmMode) {
    MusicSourceView view;
    view.indicators.fill(IndicatorPicture::Unselected);
    if (bgmMode >= 0 && bgmMode < kMusicSourceCount) {
        view.indicators[static_cast<std::size_t>(bgmMode)] = IndicatorPicture::Selected;
    }
    view.repeatEnabled = bgmMode == kBgmCdAudio;
    view.browseEnabled = bgmMode == kBgmSoundFile;
    return view;
}

MusicSourceView SelectMusicSource(MusicSettings& settings, int index) {
    if (index >= 0 && index < kMusicSourceCount) settings.BgmMode = static_cast<std::int16_t>(index);
    return MusicSourceViewFor(settings.BgmMode);
}

std::vector<std::string> RepeatTrackEntries() {
    std::vector<std::string> entries;
    entries.reserve(31);
    for (int track = 0; track <= 30; ++track) entries.push_back(FormatTrackNumber(track));
    return entries;
}

std::string RepeatTrackText(std::int16_t bgmRepeat) { return FormatTrackNumber(bgmRepeat); }

std::optional<std::string> StorableMusicPath(const std::optional<std::string>& fullPath,
                                             const std::optional<std::string>& shortPath) {
    // The ini reader returns at most 255 bytes; a longer path would play nothing.
    constexpr std::size_t kMaxStoredBytes = 255;
    for (const std::optional<std::string>& path : {fullPath, shortPath}) {
        if (path && !path->empty() && path->size() <= kMaxStoredBytes) return path;
    }
    return std::nullopt;
}

std::int16_t BgmRepeatFromText(std::string_view text) { return RoundToInt16(text).value_or(0); }

DialogPosition OpeningPosition(double screenWidth, double screenHeight, double windowWidth, double windowHeight) {
    // Integer division truncates toward zero, as the rule asks.
    return {RoundToInt32(screenWidth - windowWidth).value_or(0) / 2,
            RoundToInt32(screenHeight - windowHeight).value_or(0) / 3};
}

std::vector<Rgb> BandColours(BandSurface surface, double scaleHeight) {
    std::vector<Rgb> rows;
    if (!(scaleHeight > 0 && scaleHeight <= kMaxBandScaleHeight)) return rows;
    const double k = scaleHeight / 3.142;
    const auto last = static_cast<int>(RoundHalfEven(scaleHeight));
    rows.reserve(static_cast<std::size_t>(last) + 1);
    for (int y = 0; y <= last; ++y) {
        const auto c = static_cast<std::uint8_t>(RoundHalfEven(std::fabs(std::sin(y / k)) * 220.0));
        const auto lifted = static_cast<std::uint8_t>(c + 30);
        rows.push_back(surface == BandSurface::Dialog ? Rgb{c, c, lifted} : Rgb{lifted, lifted, lifted});
    }
    return rows;
}

}  // namespace mosaika
