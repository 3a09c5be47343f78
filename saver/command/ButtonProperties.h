// The public properties of the button Command and their storage in the saved
// design of the window that holds it: a store of named texts, the order and
// defaults of reading and writing, and the redraws the property operations
// cause. Redraws come back as ButtonReactions, in order, for the window to
// apply; the properties' values are read from here afterwards (caption, font,
// text colour, opaque face).
//
// Stored texts:
//   Enabled     "-1" true, "0" false (any number, non-zero true, or True/False
//               in any case, reads)
//   Caption     the caption, UTF-8
//   Font        FormatFont below
//   FirstRun    0..255 in decimal
//   FontColour  the 0x00BBGGRR colour in decimal (a negative 32-bit value
//               also reads, as its bit pattern)
//   Visible     the face's background mode: "1" opaque, "0" transparent (no
//               other number reads)
// A number may carry blanks, a sign, a fraction and an exponent; it is
// rounded, halves to even. A text that does not convert leaves the property
// as it was.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ButtonStateMachine.h"

namespace mosaika {

// Keys are compared without regard to ASCII letter case; entries keep the
// order in which they were first written and the spelling they were first
// written with.
class PropertyBag {
public:
    PropertyBag() = default;
    PropertyBag(std::initializer_list<std::pair<std::string, std::string>> entries);

    const std::string* Find(std::string_view key) const;
    // Replaces the value of an existing key, or adds the key at the end.
    void Set(std::string_view key, std::string_view value);
    void Remove(std::string_view key);

    // The stored text, or defaultValue when the key is missing.
    std::string ReadProperty(std::string_view key, std::string_view defaultValue) const;
    // A value equal to defaultValue is left out of the store (an entry of the
    // key already there is removed), so the store holds what differs only.
    void WriteProperty(std::string_view key, std::string_view value, std::string_view defaultValue);

    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// The caption's font. The size is in ten-thousandths of a point (9.75 pt is
// 97500); the face name is UTF-8.
struct ButtonFont {
    std::string faceName;
    std::int32_t size = 0;
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::uint8_t charset = 0;
    friend bool operator==(const ButtonFont&, const ButtonFont&) = default;
};

constexpr std::uint8_t kShiftJisCharset = 128;

// "ＭＳ Ｐゴシック", 9.75 pt, weight 400, Shift-JIS: the caption's design font.
ButtonFont DesignFont();

// The stored form of a font: size, weight, italic, underline, strikethrough,
// character set, face name, separated by commas; numbers in plain decimal
// digits, the three styles 0 or 1, the face name last and verbatim (it may
// hold commas). The design font is "97500,400,0,0,0,128,ＭＳ Ｐゴシック".
std::string FormatFont(const ButtonFont& font);
// Nothing unless the text is exactly that form with a size from 1, a weight
// from 0 to 1000, a character set from 0 to 255 and a face name not empty.
std::optional<ButtonFont> ParseFont(std::string_view text);

// The property names reported to the container when a setter changes one.
enum class ButtonProperty : std::uint8_t { Enabled, Caption, Font, FontColour, Visible };
std::string_view PropertyName(ButtonProperty property);

// Stored keys.
inline constexpr std::string_view kKeyEnabled = "Enabled";
inline constexpr std::string_view kKeyCaption = "Caption";
inline constexpr std::string_view kKeyFont = "Font";
inline constexpr std::string_view kKeyFirstRun = "FirstRun";
inline constexpr std::string_view kKeyFontColour = "FontColour";
inline constexpr std::string_view kKeyVisible = "Visible";

// The caption before any stored properties are read, and the caption a
// control without a stored one gets. Reading and writing share the latter,
// so every caption, "Command" included, comes back as it was saved.
inline constexpr std::string_view kDesignCaption = "Command";
inline constexpr std::string_view kDefaultCaption = "Command1";

// The control's extent, which the container itself stores beside the
// control's keys, in hundredths of a millimetre.
inline constexpr std::string_view kKeyExtentX = "_ExtentX";
inline constexpr std::string_view kKeyExtentY = "_ExtentY";
// Rounded to the nearest, halves to even: 1035 x 375 twips are 1826 x 661.
std::int32_t TwipsToHimetric(double twips);
double HimetricToTwips(double himetric);

// What a property operation asks of the window: the reactions that do
// something, in order, and the property to report as changed.
struct PropertyEffects {
    std::vector<ButtonReaction> reactions;
    std::optional<ButtonProperty> changed;
};

template <typename T>
struct PropertyResult {
    T value;
    PropertyEffects effects;
};

class ButtonProperties {
public:
    // A new control: design caption and font, black text, opaque face,
    // FirstRun 0. The enabled flag lives in the state machine.
    explicit ButtonProperties(ButtonStateMachine& machine);
    ButtonProperties(const ButtonProperties&) = delete;
    ButtonProperties& operator=(const ButtonProperties&) = delete;

    // The values as they stand, without side effects.
    const std::string& Caption() const { return caption_; }
    const ButtonFont& Font() const { return font_; }
    std::uint32_t FontColour() const { return fontColour_; }
    bool Opaque() const { return opaque_; }
    std::uint8_t FirstRun() const { return firstRun_; }

    // The property operations with their side effects.
    PropertyResult<bool> GetEnabled();
    PropertyEffects LetEnabled(bool value);
    PropertyEffects LetCaption(std::string value);
    PropertyEffects LetFont(ButtonFont value);
    PropertyResult<std::uint32_t> GetFontColour();
    PropertyEffects LetFontColour(std::uint32_t value);
    // 255 while the face is opaque, 0 while transparent.
    PropertyResult<std::uint8_t> GetVisible();
    // Any value but 0 makes the face opaque.
    PropertyEffects LetVisible(std::uint8_t value);

    // Nothing while disabled; else the caption enabled, its colour black
    // while FirstRun is 0, and the face drawn Normal. The state is kept.
    ButtonReaction ApplyLook();

    // Reads Enabled, Caption, Font, FirstRun, FontColour, Visible in this
    // order, each by itself, then ApplyLook. A missing key reads its default
    // (true, "Command1", containerFont, 1, 0, opaque).
    PropertyEffects ReadProperties(const PropertyBag& bag, const ButtonFont& containerFont);
    // Writes Enabled, Caption, FirstRun, Font, FontColour, Visible in this
    // order, leaving out values equal to their defaults, then ApplyLook.
    PropertyEffects WriteProperties(PropertyBag& bag, const ButtonFont& containerFont);

private:
    PropertyEffects Look();

    ButtonStateMachine& machine_;
    std::string caption_{kDesignCaption};
    ButtonFont font_;
    std::uint32_t fontColour_ = 0;
    bool opaque_ = true;
    std::uint8_t firstRun_ = 0;
};

}  // namespace mosaika
