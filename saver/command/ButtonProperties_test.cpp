// The button's stored properties: the store's key rules, reading and writing
// with their orders and defaults, and the redraws the property operations
// ask for. Values the control keeps to itself are checked by what it writes back.
#include "ButtonProperties.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaika {
namespace {

using Entries = std::vector<PropertyBag::Entry>;
using Reactions = std::vector<ButtonReaction>;

const forms::FontDescription kContainerFont{L"Tahoma", 8, 400, false, false, false, 0};
const forms::FontDescription kDesignFont{};
const forms::FontDescription kArial{L"Arial", 12, 400, false, false, false, 0};
const ButtonReaction kNormal{Skin::Normal, false, true, false};
const ButtonReaction kNormalReversed{Skin::Normal, true, true, false};

struct Control {
    explicit Control(const PropertyBag& bag = {}) { properties.ReadProperties(bag, kContainerFont); }
    ButtonStateMachine machine;
    ButtonProperties properties{machine};
};

// The value written back for key, "(default)" when it is left out.
PropertyValue Stored(ButtonProperties& properties, std::string_view key) {
    PropertyBag bag;
    properties.WriteProperties(bag, kContainerFont);
    return bag.ReadProperty(key, std::string("(default)"));
}

TEST(PropertyBag, KeysIgnoreCaseAndDefaultsAreLeftOut) {
    PropertyBag bag{{"caption", "A"}, {"Font", "F"}};
    EXPECT_EQ(bag.ReadProperty("CAPTION", "x"), PropertyValue("A"));
    EXPECT_EQ(bag.ReadProperty("Visible", kArial), PropertyValue(kArial));
    bag.Set("CAPTION", "B");
    bag.WriteProperty("Enabled", "0", "-1");
    EXPECT_EQ(bag.Entries(), (Entries{{"caption", "B"}, {"Font", "F"}, {"Enabled", "0"}}));
    bag.WriteProperty("font", "F2", "F2");
    bag.WriteProperty("ENABLED", "-1", "-1");
    EXPECT_EQ(bag.Entries(), (Entries{{"caption", "B"}}));
}

TEST(ButtonProperties, ReadingTakesEachStoredValueOrLeavesItsPropertyAlone) {
    // Nothing stored: every property reads its default, so nothing is written back.
    Control bare;
    PropertyBag none;
    EXPECT_EQ(bare.properties.ReadProperties(none, kContainerFont).reactions, Reactions{kNormal});
    bare.properties.WriteProperties(none, kContainerFont);
    EXPECT_EQ(none.Entries(), Entries{});

    // Start: enabled false, colour 0x123456, transparent, FirstRun 7, Arial; one key is then stored anew.
    const struct {
        std::string key, text;
        PropertyValue written;
    } rows[] = {
        {"enabled", "true", "(default)"},   {"Enabled", "2.5", "(default)"},       {"Enabled", "yes", "0"},
        {"FontColour", "-1", "4294967295"}, {"FontColour", "4294967296", "1193046"}, {"Visible", "1", "(default)"},
        {"Visible", "2", "0"},              {"FirstRun", " 2.5 ", "2"},            {"FirstRun", "256", "7"},
        {"Font", "Arial,12", kArial},
    };
    for (const auto& row : rows) {
        PropertyBag bag{{"Enabled", "0"}, {"FontColour", "1193046"}, {"Visible", "0"}, {"FirstRun", "7"},
                        {"Font", kArial}};
        Control control(bag);
        bag.Set(row.key, row.text);
        control.properties.ReadProperties(bag, kContainerFont);
        EXPECT_EQ(Stored(control.properties, row.key), row.written) << row.key << "=" << row.text;
    }
}

TEST(ButtonProperties, WritingLeavesOutDefaultsInItsOrderAndReadsBack) {
    // The dialog's saved data for one button.
    Control control({{"_extentx", "1826"}, {"_extenty", "661"}, {"caption", "ｷｬﾝｾﾙ"}, {"font", kDesignFont}});
    PropertyBag saved{{"_ExtentX", "1826"}, {"_ExtentY", "661"}};
    EXPECT_EQ(control.properties.WriteProperties(saved, kContainerFont).reactions, Reactions{kNormal});
    EXPECT_EQ(saved.Entries(), (Entries{{"_ExtentX", "1826"}, {"_ExtentY", "661"}, {"Caption", "ｷｬﾝｾﾙ"},
                                        {"Font", kDesignFont}}));

    control.properties.ReadProperties({{"Enabled", "0"}, {"FirstRun", "0"}, {"FontColour", "255"}, {"Visible", "0"}},
                                      kDesignFont);
    PropertyBag all;
    control.properties.WriteProperties(all, kContainerFont);
    EXPECT_EQ(all.Entries(), (Entries{{"Enabled", "0"}, {"FirstRun", "0"}, {"Font", kDesignFont},
                                      {"FontColour", "255"}, {"Visible", "0"}}));

    for (const std::string caption : {"Command", "Command1", "", "設定"}) {
        Control writer;
        writer.properties.LetCaption(caption);
        PropertyBag bag;
        writer.properties.WriteProperties(bag, kContainerFont);
        EXPECT_EQ(Control(bag).properties.Caption(), caption);
    }
}

TEST(ButtonProperties, OperationsReportTheirPropertyAndRedrawAsTheyShould) {
    Control control({{"caption", "ｷｬﾝｾﾙ"}});
    control.machine.Initialize();
    control.machine.MouseMove();  // state 2: drawings are reversed
    ButtonProperties& p = control.properties;
    int step = 0;
    const auto expect = [&step](const PropertyEffects& effects, const Reactions& reactions,
                                std::optional<ButtonProperty> changed) {
        ++step;
        EXPECT_TRUE(effects.reactions == reactions && effects.changed == changed) << "step " << step;
    };
    expect(p.LetEnabled(false), {{Skin::Disable, true, false, false}}, ButtonProperty::Enabled);
    expect(p.LetFontColour(0xFF), {}, ButtonProperty::FontColour);  // while disabled, no drawing
    expect(p.LetEnabled(true), {kNormalReversed}, ButtonProperty::Enabled);
    expect(p.LetCaption("設定"), {}, ButtonProperty::Caption);
    expect(p.LetFont(kContainerFont), {}, ButtonProperty::Font);
    const PropertyResult<std::uint32_t> colour = p.GetFontColour();
    expect(colour.effects, {kNormalReversed}, std::nullopt);
    // Visible reads 255 while opaque; 0 hides only the face.
    PropertyResult<std::uint8_t> visible = p.GetVisible();
    expect(visible.effects, {kNormalReversed}, std::nullopt);
    expect(p.LetVisible(0), {}, ButtonProperty::Visible);
    const PropertyResult<std::uint8_t> hidden = p.GetVisible();
    expect(hidden.effects, {}, std::nullopt);
    expect(p.LetVisible(7), {kNormalReversed}, ButtonProperty::Visible);
    EXPECT_EQ((std::tuple{colour.value, int{visible.value}, int{hidden.value}, control.machine.State()}),
              (std::tuple{0xFFu, 255, 0, ButtonState::Hover}));
    EXPECT_EQ(Stored(p, "Visible"), PropertyValue("(default)"));
}

TEST(ButtonProperties, FirstReadOfEnabledTurnsANewControlOn) {
    ButtonStateMachine machine;  // never given stored properties
    ButtonProperties fresh(machine);
    PropertyResult<bool> enabled = fresh.GetEnabled();
    // The look was skipped while still disabled; ApplyEnabled then draws Normal.
    EXPECT_EQ((std::tuple{enabled.value, enabled.effects.reactions, Stored(fresh, "FirstRun")}),
              (std::tuple{true, Reactions{kNormal}, PropertyValue("(default)")}));

    // Enabled already with FirstRun 0: the look blackens the caption first, after reading and after setting.
    Control coloured({{"FirstRun", "0"}, {"FontColour", "255"}});
    EXPECT_EQ(coloured.properties.FontColour(), 0u);
    coloured.properties.LetFontColour(255);
    EXPECT_EQ(coloured.properties.FontColour(), 0u);
    EXPECT_EQ(coloured.properties.GetEnabled().effects.reactions, (Reactions{kNormal, kNormal}));

    // Once marked, reading reports the flag as it is and draws by it.
    Control off({{"Enabled", "0"}});
    enabled = off.properties.GetEnabled();
    EXPECT_EQ((std::pair{enabled.value, enabled.effects.reactions}),
              (std::pair{false, Reactions{ButtonReaction{Skin::Disable, false, false, false}}}));
}

}  // namespace
}  // namespace mosaika
