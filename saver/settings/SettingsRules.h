// The rules of the settings dialog Mosaika_P without its window: which
// controls the chosen music source enables and which indicator shows the
// selected picture, the repeat-track list and texts, where the dialog opens,
// and the colours of the bands painted on the dialog and on its panel.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Settings.h"

namespace mosaika {

// The two pictures of Img_Ra, by element.
enum class IndicatorPicture : std::uint8_t { Unselected = 0, Selected = 1 };

constexpr int kMusicSourceCount = 3;  // Img_BGM and lbl_BGM elements 0..2, by BgmMode

// How the source selector and its two dependent controls look for a BgmMode.
struct MusicSourceView {
    std::array<IndicatorPicture, kMusicSourceCount> indicators{};  // picture of Img_BGM(i)
    bool repeatEnabled = false;  // BGM_Repeat: the audio CD source only
    bool browseEnabled = false;  // Cmd_BGM: the sound-file source only
    friend bool operator==(const MusicSourceView&, const MusicSourceView&) = default;
};

// A mode outside 0..2 selects no indicator and enables neither control.
MusicSourceView MusicSourceViewFor(std::int16_t bgmMode);

// A press of any mouse button on indicator or label `index` (0..2): the
// source is chosen at once; pressing the chosen one again changes nothing.
MusicSourceView SelectMusicSource(MusicSettings& settings, int index);

// The list of BGM_Repeat: 31 entries, the empty text and then "1" to "30".
std::vector<std::string> RepeatTrackEntries();

// BgmRepeat as BGM_Repeat shows it: 0 as the empty text.
std::string RepeatTrackText(std::int16_t bgmRepeat);

// The repeat text when the settings are saved: a number (blanks around it,
// a sign, a fraction) rounded, halves to even; 0 for a text that is not a
// number and for one that does not fit a signed 16-bit integer.
std::int16_t BgmRepeatFromText(std::string_view text);

// The Shift-JIS path the dialog stores for a chosen music file, from the
// Shift-JIS forms of its full path and of its short (8.3) path, each absent
// when Shift-JIS cannot spell it (or the volume has no short names). The
// full path when it can be stored, else the short one; nothing when neither
// can, or neither would come back whole from the ini file (255 bytes).
std::optional<std::string> StorableMusicPath(const std::optional<std::string>& fullPath,
                                             const std::optional<std::string>& shortPath);

// Where the dialog opens, in twips: centred across, at a third of the free
// height: Left = (screen - window width) rounded, halved, truncated toward
// zero; Top likewise with a third.
struct DialogPosition {
    std::int32_t left = 0, top = 0;
    friend bool operator==(const DialogPosition&, const DialogPosition&) = default;
};
DialogPosition OpeningPosition(double screenWidth, double screenHeight, double windowWidth, double windowHeight);

// --- The painted bands -----------------------------------------------------

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour as the platform takes it, 0x00BBGGRR.
constexpr std::uint32_t ToColorRef(Rgb colour) {
    return std::uint32_t{colour.red} | std::uint32_t{colour.green} << 8 | std::uint32_t{colour.blue} << 16;
}

enum class BandSurface : std::uint8_t { Dialog, Panel };

// The colours of the horizontal lines painted on a surface of scale height
// H (its own units, twips here), one line per unit: row y of the result is
// the line at y, for y from 0 to H rounded (halves to even), inclusive.
// With k = H / 3.142 and c = |sin(y / k)| x 220 rounded (halves to even):
// dialog (c, c, c + 30), dark navy at the edges and pale lavender in the
// middle; panel (c + 30, c + 30, c + 30), near black to near white.
// A surface without height (or taller than 10 million units) has no lines.
std::vector<Rgb> BandColours(BandSurface surface, double scaleHeight);

}  // namespace mosaika
