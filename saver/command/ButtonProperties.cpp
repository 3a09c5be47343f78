#include "ButtonProperties.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Numbers.h"

namespace mosaika {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

constexpr std::string_view kTrueText = "-1";
constexpr std::string_view kFalseText = "0";

std::string BoolText(bool value) { return std::string(value ? kTrueText : kFalseText); }

std::optional<bool> ReadBool(std::string_view text) {
    if (SameKey(text, "True")) return true;
    if (SameKey(text, "False")) return false;
    if (const std::optional<double> number = ParseNumber(text)) return *number != 0.0;
    return std::nullopt;
}

// A stored number rounded (halves to even) when it lies in [low, high].
std::optional<std::int64_t> ReadWhole(std::string_view text, double low, double high) {
    const std::optional<double> number = ParseNumber(text);
    if (!number) return std::nullopt;
    const double rounded = RoundHalfEven(*number);
    if (!(rounded >= low && rounded <= high)) return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

// Plain decimal digits, no sign or blanks, within [0, high].
std::optional<std::int64_t> ReadDigits(std::string_view text, std::int64_t high) {
    if (text.empty() || text.size() > 10 || !std::all_of(text.begin(), text.end(), [](char c) {
            return c >= '0' && c <= '9';
        })) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value > high) return std::nullopt;
    return value;
}

// Reactions that do something; an empty one is not passed on.
void Add(PropertyEffects& effects, const ButtonReaction& reaction) {
    if (reaction != ButtonReaction{}) effects.reactions.push_back(reaction);
}

}  // namespace

// --- PropertyBag -----------------------------------------------------------

PropertyBag::PropertyBag(std::initializer_list<std::pair<std::string, std::string>> entries) {
    for (const auto& [key, value] : entries) Set(key, value);
}

const std::string* PropertyBag::Find(std::string_view key) const {
    for (const auto& entry : entries_) {
        if (SameKey(entry.first, key)) return &entry.second;
    }
    return nullptr;
}

void PropertyBag::Set(std::string_view key, std::string_view value) {
    for (auto& entry : entries_) {
        if (SameKey(entry.first, key)) {
            entry.second = value;
            return;
        }
    }
    entries_.emplace_back(key, value);
}

void PropertyBag::Remove(std::string_view key) {
    std::erase_if(entries_, [key](const auto& entry) { return SameKey(entry.first, key); });
}

std::string PropertyBag::ReadProperty(std::string_view key, std::string_view defaultValue) const {
    const std::string* value = Find(key);
    return value ? *value : std::string(defaultValue);
}

void PropertyBag::WriteProperty(std::string_view key, std::string_view value, std::string_view defaultValue) {
    if (value == defaultValue) {
        Remove(key);
    } else {
        Set(key, value);
    }
}

// --- Fonts and names -------------------------------------------------------

ButtonFont DesignFont() {
    return {"ＭＳ Ｐゴシック", 97500, 400, false, false, false, kShiftJisCharset};
}

std::string FormatFont(const ButtonFont& font) {
    std::string text = std::to_string(font.size) + ',' + std::to_string(font.weight);
    for (const bool style : {font.italic, font.underline, font.strikethrough}) text += style ? ",1" : ",0";
    text += ',' + std::to_string(font.charset) + ',' + font.faceName;
    return text;
}

std::optional<ButtonFont> ParseFont(std::string_view text) {
    std::int64_t numbers[6] = {};
    constexpr std::int64_t kHighest[6] = {2147483647, 1000, 1, 1, 1, 255};
    for (int i = 0; i < 6; ++i) {
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos) return std::nullopt;
        const std::optional<std::int64_t> number = ReadDigits(text.substr(0, comma), kHighest[i]);
        if (!number) return std::nullopt;
        numbers[i] = *number;
        text.remove_prefix(comma + 1);
    }
    if (numbers[0] < 1 || text.empty() || text.find('\0') != std::string_view::npos) return std::nullopt;
    return ButtonFont{std::string(text),
                      static_cast<std::int32_t>(numbers[0]),
                      static_cast<std::int32_t>(numbers[1]),
                      numbers[2] == 1,
                      numbers[3] == 1,
                      numbers[4] == 1,
                      static_cast<std::uint8_t>(numbers[5])};
}

std::string_view PropertyName(ButtonProperty property) {
    switch (property) {
        case ButtonProperty::Enabled: return kKeyEnabled;
        case ButtonProperty::Caption: return kKeyCaption;
        case ButtonProperty::Font: return kKeyFont;
        case ButtonProperty::FontColour: return kKeyFontColour;
        case ButtonProperty::Visible: return kKeyVisible;
    }
    return {};
}

std::int32_t TwipsToHimetric(double twips) {
    return static_cast<std::int32_t>(RoundHalfEven(twips * 2540.0 / 1440.0));
}

double HimetricToTwips(double himetric) { return himetric * 1440.0 / 2540.0; }

// --- ButtonProperties ------------------------------------------------------

ButtonProperties::ButtonProperties(ButtonStateMachine& machine) : machine_(machine), font_(DesignFont()) {}

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

PropertyEffects ButtonProperties::LetFont(ButtonFont value) {
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

PropertyEffects ButtonProperties::ReadProperties(const PropertyBag& bag, const ButtonFont& containerFont) {
    if (const auto enabled = ReadBool(bag.ReadProperty(kKeyEnabled, kTrueText))) {
        machine_.SetEnabledFlag(*enabled);
    }
    caption_ = bag.ReadProperty(kKeyCaption, kDefaultCaption);
    if (const auto font = ParseFont(bag.ReadProperty(kKeyFont, FormatFont(containerFont)))) {
        font_ = *font;
    }
    if (const auto firstRun = ReadWhole(bag.ReadProperty(kKeyFirstRun, "1"), 0, 255)) {
        firstRun_ = static_cast<std::uint8_t>(*firstRun);
    }
    if (const auto colour = ReadWhole(bag.ReadProperty(kKeyFontColour, "0"), -2147483648.0, 4294967295.0)) {
        fontColour_ = static_cast<std::uint32_t>(*colour);
    }
    // The face has two background modes; any other number is refused.
    if (const auto mode = ReadWhole(bag.ReadProperty(kKeyVisible, "1"), 0, 1)) {
        opaque_ = *mode == 1;
    }
    return Look();
}

PropertyEffects ButtonProperties::WriteProperties(PropertyBag& bag, const ButtonFont& containerFont) {
    bag.WriteProperty(kKeyEnabled, BoolText(machine_.Enabled()), kTrueText);
    bag.WriteProperty(kKeyCaption, caption_, kDefaultCaption);
    bag.WriteProperty(kKeyFirstRun, std::to_string(firstRun_), "1");
    bag.WriteProperty(kKeyFont, FormatFont(font_), FormatFont(containerFont));
    bag.WriteProperty(kKeyFontColour, std::to_string(fontColour_), "0");
    bag.WriteProperty(kKeyVisible, opaque_ ? "1" : "0", "1");
    return Look();
}

}  // namespace mosaika
