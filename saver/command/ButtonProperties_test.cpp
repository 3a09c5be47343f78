// The button's stored properties: the store's key rules, reading and writing
// with their orders and defaults, and the redraws the property operations ask
// for. Values the control keeps to itself are checked by what it writes back.
#include "ButtonProperties.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaika {
namespace {

using Entries = std::vector<PropertyBag::Entry>;
using Reactions = std::vector<ButtonReaction>;

const forms::FontSpec kContainerFont{L"Tahoma", 8, 400, false, false, false, 0};
const forms::FontSpec kDesignFont{};
const forms::FontSpec kArial{L"Arial", 12, 400, false, false, false, 0};
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
    // The dialog's saved data for one button, and nothing stored at all.
    const PropertyBag dialogButton{
        {"_extentx", "1826"}, {"_extenty", "661"}, {"caption", "ｷｬﾝｾﾙ"}, {"font", kDesignFont}};
    Control dialog;
    const PropertyEffects effects = dialog.properties.ReadProperties(dialogButton, kContainerFont);
    EXPECT_EQ((std::tuple{dialog.machine.Enabled(), dialog.properties.Caption(), dialog.properties.Font(),
                          dialog.properties.FontColour()}),
              (std::tuple{true, std::string("ｷｬﾝｾﾙ"), kDesignFont, 0u}));
    EXPECT_EQ(effects.reactions, Reactions{kNormal});
    EXPECT_EQ(effects.changed, std::nullopt);
    const Control bare;
    EXPECT_EQ((std::tuple{bare.machine.Enabled(), bare.properties.Caption(), bare.properties.Font()}),
              (std::tuple{true, std::string("Command1"), kContainerFont}));

    // Start: enabled false, colour 0x123456, transparent, FirstRun 7, Arial; one key is then stored anew.
    const struct {
        std::string key, text;
        PropertyValue written;
    } rows[] = {
        {"enabled", "true", "(default)"}, {"Enabled", "2.5", "(default)"},    {"Enabled", "yes", "0"},
        {"FontColour", "-1", "4294967295"}, {"FontColour", "4294967296", "1193046"}, {"Visible", "1", "(default)"},
        {"Visible", "2", "0"},            {"FirstRun", " 2.5 ", "2"},          {"FirstRun", "256", "7"},
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
    Control control({{"caption", "ｷｬﾝｾﾙ"}, {"font", kDesignFont}});
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

TEST(ButtonProperties, SettersReportTheirNameAndRedrawAsTheyShould) {
    Control control({{"caption", "ｷｬﾝｾﾙ"}});
    control.machine.Initialize();
    control.machine.MouseMove();  // state 2: drawings are reversed
    PropertyEffects effects = control.properties.LetEnabled(false);
    EXPECT_EQ(effects.reactions, (Reactions{ButtonReaction{Skin::Disable, true, false, false}}));
    EXPECT_EQ(effects.changed, ButtonProperty::Enabled);
    effects = control.properties.LetFontColour(0xFF);  // while disabled, no drawing
    EXPECT_EQ(effects.reactions, Reactions{});
    EXPECT_EQ(effects.changed, ButtonProperty::FontColour);
    EXPECT_EQ(control.properties.LetEnabled(true).reactions, Reactions{kNormalReversed});
    effects = control.properties.LetCaption("設定");
    EXPECT_EQ(effects.reactions, Reactions{});
    EXPECT_EQ(effects.changed, ButtonProperty::Caption);
    effects = control.properties.LetFont(kContainerFont);
    EXPECT_EQ(effects.reactions, Reactions{});
    EXPECT_EQ(effects.changed, ButtonProperty::Font);
    const PropertyResult<std::uint32_t> colour = control.properties.GetFontColour();
    EXPECT_EQ((std::pair{colour.value, colour.effects.reactions}), (std::pair{0xFFu, Reactions{kNormalReversed}}));
    EXPECT_EQ(control.machine.State(), ButtonState::Hover);

    // Visible reads 255 while opaque; 0 hides only the face.
    Control shown;
    PropertyResult<std::uint8_t> visible = shown.properties.GetVisible();
    EXPECT_EQ((std::pair{int{visible.value}, visible.effects.reactions}), (std::pair{255, Reactions{kNormal}}));
    effects = shown.properties.LetVisible(0);
    EXPECT_EQ(effects.reactions, Reactions{});
    EXPECT_EQ(effects.changed, ButtonProperty::Visible);
    visible = shown.properties.GetVisible();
    EXPECT_EQ((std::pair{int{visible.value}, visible.effects.reactions}), (std::pair{0, Reactions{}}));
    effects = shown.properties.LetVisible(7);
    EXPECT_EQ((std::pair{Stored(shown.properties, "Visible"), effects.reactions}),
              (std::pair{PropertyValue("(default)"), Reactions{kNormal}}));
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
