// The public properties of the button Command and their storage in the saved
// design of the window that holds it: a store of named values, the order and
// defaults of reading and writing, and the redraws the property operations
// cause. Redraws come back as ButtonReactions, in order, for the window to
// apply; the properties' values are read from here afterwards (caption, font,
// text colour).
//
// Stored values, texts but for the font:
//   Enabled     "-1" true, "0" false (any number, non-zero true, or True/False
//               in any case, reads)
//   Caption     the caption, UTF-8
//   Font        the font itself
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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ButtonStateMachine.h"
#include "FontDescription.h"
#include "PropertyBag.h"

namespace mosaika {

// The property a setter reports to the container as changed.
enum class ButtonProperty : std::uint8_t { Enabled, Caption, Font, FontColour, Visible };

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
    // A new control: design caption and font (the FontDescription defaults), black
    // text, opaque face, FirstRun 0. The enabled flag lives in the state machine.
    explicit ButtonProperties(ButtonStateMachine& machine);
    ButtonProperties(const ButtonProperties&) = delete;
    ButtonProperties& operator=(const ButtonProperties&) = delete;

    // The values as they stand, without side effects.
    const std::string& Caption() const { return caption_; }
    const forms::FontDescription& Font() const { return font_; }
    std::uint32_t FontColour() const { return fontColour_; }

    // The property operations with their side effects.
    PropertyResult<bool> GetEnabled();
    PropertyEffects LetEnabled(bool value);
    PropertyEffects LetCaption(std::string value);
    PropertyEffects LetFont(forms::FontDescription value);
    PropertyResult<std::uint32_t> GetFontColour();
    PropertyEffects LetFontColour(std::uint32_t value);
    // 255 while the face is opaque, 0 while transparent.
    PropertyResult<std::uint8_t> GetVisible();
    // Any value but 0 makes the face opaque.
    PropertyEffects LetVisible(std::uint8_t value);

    // Reads Enabled, Caption, Font, FirstRun, FontColour, Visible in this
    // order, each by itself, then ApplyLook. A missing key reads its default
    // (true, "Command1", containerFont, 1, 0, opaque).
    PropertyEffects ReadProperties(const PropertyBag& bag, const forms::FontDescription& containerFont);
    // Writes Enabled, Caption, FirstRun, Font, FontColour, Visible in this
    // order, leaving out values equal to their defaults, then ApplyLook.
    PropertyEffects WriteProperties(PropertyBag& bag, const forms::FontDescription& containerFont);

private:
    // Nothing while disabled; else the caption enabled, its colour black
    // while FirstRun is 0, and the face drawn Normal. The state is kept.
    ButtonReaction ApplyLook();
    PropertyEffects Look();

    ButtonStateMachine& machine_;
    std::string caption_{kDesignCaption};
    forms::FontDescription font_;
    std::uint32_t fontColour_ = 0;
    bool opaque_ = true;
    std::uint8_t firstRun_ = 0;
};

}  // namespace mosaika
