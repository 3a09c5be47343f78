#include "ButtonProperties.h"

#include <utility>
#include <variant>

#include "Numbers.h"

namespace mosaika {

namespace {

constexpr std::string_view kTrueText = "-1";
constexpr std::string_view kFalseText = "0";

std::string BoolText(bool value) { return std::string(value ? kTrueText : kFalseText); }

// The stored text of key, or defaultText; nothing when a font is stored there.
std::optional<std::string> ReadText(const PropertyBag& bag, std::string_view key, std::string_view defaultText) {
    PropertyValue value = bag.ReadProperty(key, std::string(defaultText));
    if (auto* text = std::get_if<std::string>(&value)) return std::move(*text);
    return std::nullopt;
}

std::optional<bool> ReadBool(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    if (SameKey(*text, "True")) return true;
    if (SameKey(*text, "False")) return false;
    if (const std::optional<double> number = ParseNumber(*text)) return *number != 0.0;
    return std::nullopt;
}

// A stored number rounded (halves to even) when it lies in [low, high].
std::optional<std::int64_t> ReadWhole(const std::optional<std::string>& text, double low, double high) {
    const std::optional<double> number = text ? ParseNumber(*text) : std::nullopt;
    if (!number) return std::nullopt;
    const double rounded = RoundHalfEven(*number);
    if (!(rounded >= low && rounded <= high)) return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

// Reactions that do something; an empty one is not passed on.
void Add(PropertyEffects& effects, const ButtonReaction& reaction) {
    if (reaction != ButtonReaction{}) effects.reactions.push_back(reaction);
}

}  // namespace

ButtonProperties::ButtonProperties(ButtonStateMachine& machine) : machine_(machine) {}

ButtonReaction ButtonProperties::ApplyLook() {
    if (!machine_.Enabled()) return {};
    if (firstRun_ == 0) fontColour_ = 0;
    ButtonReaction reaction = machine_.DrawFace(Skin::Normal);
    reaction.captionEnabled = true;
    return reaction;
}

PropertyEffects ButtonProperties::Look() {
    PropertyEffects effects;
    Add(effects, ApplyLook());
    return effects;
}

PropertyResult<bool> ButtonProperties::GetEnabled() {
    PropertyEffects effects;
    if (firstRun_ == 0) {
        // A control never given stored properties comes up usable.
        Add(effects, ApplyLook());
        firstRun_ = 1;
        machine_.SetEnabledFlag(true);
    }
    const bool value = machine_.Enabled();
    Add(effects, machine_.ApplyEnabled());
    return {value, std::move(effects)};
}

PropertyEffects ButtonProperties::LetEnabled(bool value) {
    PropertyEffects effects;
    Add(effects, machine_.SetEnabled(value));
    effects.changed = ButtonProperty::Enabled;
    return effects;
}

PropertyEffects ButtonProperties::LetCaption(std::string value) {
    caption_ = std::move(value);
    return {{}, ButtonProperty::Caption};
}

PropertyEffects ButtonProperties::LetFont(forms::FontDescription value) {
    font_ = std::move(value);
    return {{}, ButtonProperty::Font};
}

PropertyResult<std::uint32_t> ButtonProperties::GetFontColour() {
    const std::uint32_t value = fontColour_;
    return {value, Look()};
}

PropertyEffects ButtonProperties::LetFontColour(std::uint32_t value) {
    fontColour_ = value;
    PropertyEffects effects = Look();
    effects.changed = ButtonProperty::FontColour;
    return effects;
}

PropertyResult<std::uint8_t> ButtonProperties::GetVisible() {
    if (!opaque_) return {0, {}};
    return {255, Look()};
}

PropertyEffects ButtonProperties::LetVisible(std::uint8_t value) {
    PropertyEffects effects;
    opaque_ = value != 0;
    if (opaque_) effects = Look();
    effects.changed = ButtonProperty::Visible;
    return effects;
}

PropertyEffects ButtonProperties::ReadProperties(const PropertyBag& bag, const forms::FontDescription& containerFont) {
    if (const auto enabled = ReadBool(ReadText(bag, kKeyEnabled, kTrueText))) machine_.SetEnabledFlag(*enabled);
    if (auto caption = ReadText(bag, kKeyCaption, kDefaultCaption)) caption_ = std::move(*caption);
    const PropertyValue font = bag.ReadProperty(kKeyFont, containerFont);
    if (const auto* given = std::get_if<forms::FontDescription>(&font)) font_ = *given;
    if (const auto firstRun = ReadWhole(ReadText(bag, kKeyFirstRun, "1"), 0, 255)) {
        firstRun_ = static_cast<std::uint8_t>(*firstRun);
    }
    if (const auto colour = ReadWhole(ReadText(bag, kKeyFontColour, "0"), -2147483648.0, 4294967295.0)) {
        fontColour_ = static_cast<std::uint32_t>(*colour);
    }
    // The face has two background modes; any other number is refused.
    if (const auto mode = ReadWhole(ReadText(bag, kKeyVisible, "1"), 0, 1)) opaque_ = *mode == 1;
    return Look();
}

PropertyEffects ButtonProperties::WriteProperties(PropertyBag& bag, const forms::FontDescription& containerFont) {
    bag.WriteProperty(kKeyEnabled, BoolText(machine_.Enabled()), std::string(kTrueText));
    bag.WriteProperty(kKeyCaption, caption_, std::string(kDefaultCaption));
    bag.WriteProperty(kKeyFirstRun, std::to_string(firstRun_), "1");
    bag.WriteProperty(kKeyFont, font_, containerFont);
    bag.WriteProperty(kKeyFontColour, std::to_string(fontColour_), "0");
    bag.WriteProperty(kKeyVisible, opaque_ ? "1" : "0", "1");
    return Look();
}

}  // namespace mosaika
