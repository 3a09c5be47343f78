// The button's stored properties: the store's key rules, the font's text,
// reading and writing with their orders and defaults, and the redraws the
// property operations ask for.
#include "ButtonProperties.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaika {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

const ButtonFont kContainerFont{"Tahoma", 80000, 400, false, false, false, 0};
const std::string kDesignFontText = "97500,400,0,0,0,128,ＭＳ Ｐゴシック";

// The dialog's saved data for one button: caption, font and the container's extent.
PropertyBag DialogButtonBag() {
    return {{"_extentx", "1826"}, {"_extenty", "661"}, {"caption", "ｷｬﾝｾﾙ"}, {"font", kDesignFontText}};
}

ButtonReaction Normal(bool reversed = false) { return {Skin::Normal, reversed, true, false}; }

struct Control {
    ButtonStateMachine machine;
    ButtonProperties properties{machine};
};

TEST(PropertyBag, KeysIgnoreCaseAndDefaultsAreLeftOut) {
    PropertyBag bag{{"caption", "A"}, {"Font", "F"}};
    EXPECT_EQ(bag.ReadProperty("CAPTION", "x"), "A");
    EXPECT_EQ(bag.ReadProperty("Visible", "1"), "1");
    bag.Set("CAPTION", "B");
    bag.WriteProperty("Enabled", "0", "-1");
    EXPECT_EQ(bag.Entries(), (Entries{{"caption", "B"}, {"Font", "F"}, {"Enabled", "0"}}));
    bag.WriteProperty("font", "F2", "F2");
    bag.WriteProperty("ENABLED", "-1", "-1");
    EXPECT_EQ(bag.Entries(), (Entries{{"caption", "B"}}));
}

TEST(ButtonFont, StoredTextRoundTripsAndRejectsOtherForms) {
    EXPECT_EQ(FormatFont(DesignFont()), kDesignFontText);
    const ButtonFont styled{"Face, with comma", 120000, 700, true, false, true, 1};
    EXPECT_EQ(FormatFont(styled), "120000,700,1,0,1,1,Face, with comma");
    EXPECT_EQ(ParseFont(FormatFont(styled)), styled);
    EXPECT_EQ(ParseFont(kDesignFontText), DesignFont());

    for (const std::string bad : {"", "97500,400,0,0,0,128,", "97500,400,0,0,0,128", "0,400,0,0,0,128,A",
                                  "97500,1001,0,0,0,128,A", "97500,400,2,0,0,128,A", "97500,400,0,0,0,256,A",
                                  "-1,400,0,0,0,128,A", " 97500,400,0,0,0,128,A", "9.75,400,0,0,0,128,A"}) {
        EXPECT_EQ(ParseFont(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(ParseFont(std::string("97500,400,0,0,0,128,A\0B", 24)), std::nullopt);
}

TEST(ButtonProperties, DialogButtonReadsEnabledBlackOpaqueAndShowsNormal) {
    Control control;
    const PropertyEffects effects = control.properties.ReadProperties(DialogButtonBag(), kContainerFont);
    EXPECT_TRUE(control.machine.Enabled());
    EXPECT_EQ(control.properties.Caption(), "ｷｬﾝｾﾙ");
    EXPECT_EQ(control.properties.Font(), DesignFont());
    EXPECT_EQ(control.properties.FontColour(), 0u);
    EXPECT_TRUE(control.properties.Opaque());
    EXPECT_EQ(control.properties.FirstRun(), 1);
    EXPECT_EQ(effects.reactions, std::vector{Normal()});
    EXPECT_EQ(effects.changed, std::nullopt);

    Control bare;  // nothing stored at all
    bare.properties.ReadProperties(PropertyBag{}, kContainerFont);
    EXPECT_TRUE(bare.machine.Enabled());
    EXPECT_EQ(bare.properties.Caption(), "Command1");
    EXPECT_EQ(bare.properties.Font(), kContainerFont);
    EXPECT_EQ(bare.properties.FirstRun(), 1);
}

TEST(ButtonProperties, EachStoredValueConvertsOrLeavesItsPropertyAlone) {
    const struct {
        std::string key, text;
        bool enabled;
        std::uint32_t colour;
        bool opaque;
        std::uint8_t firstRun;
    } rows[] = {
        // Start: enabled false, colour 0x123456, transparent, FirstRun 7 (set below).
        {"enabled", "true", true, 0x123456, false, 7},
        {"Enabled", "2.5", true, 0x123456, false, 7},
        {"Enabled", "yes", false, 0x123456, false, 7},
        {"FontColour", "-1", false, 0xFFFFFFFF, false, 7},
        {"FontColour", "4294967296", false, 0x123456, false, 7},
        {"Visible", "1", false, 0x123456, true, 7},
        {"Visible", "2", false, 0x123456, false, 7},
        {"FirstRun", " 2.5 ", false, 0x123456, false, 2},
        {"FirstRun", "256", false, 0x123456, false, 7},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key + "=" + row.text);
        Control control;
        PropertyBag bag{{"Enabled", "0"}, {"FontColour", "1193046"}, {"Visible", "0"}, {"FirstRun", "7"}};
        control.properties.ReadProperties(bag, kContainerFont);
        bag.Set(row.key, row.text);
        control.properties.ReadProperties(bag, kContainerFont);
        EXPECT_EQ(control.machine.Enabled(), row.enabled);
        EXPECT_EQ(control.properties.FontColour(), row.colour);
        EXPECT_EQ(control.properties.Opaque(), row.opaque);
        EXPECT_EQ(control.properties.FirstRun(), row.firstRun);
    }
    Control control;
    control.properties.ReadProperties({{"Font", "12,400,0,0,0,0,Arial"}}, kContainerFont);
    control.properties.ReadProperties({{"Font", "not a font"}}, kContainerFont);
    EXPECT_EQ(control.properties.Font().faceName, "Arial");
}

TEST(ButtonProperties, WritingLeavesOutDefaultsInItsOrder) {
    Control control;
    control.properties.ReadProperties(DialogButtonBag(), kContainerFont);
    PropertyBag saved{{"_ExtentX", "1826"}, {"_ExtentY", "661"}};
    const PropertyEffects effects = control.properties.WriteProperties(saved, kContainerFont);
    EXPECT_EQ(saved.Entries(), (Entries{{"_ExtentX", "1826"}, {"_ExtentY", "661"}, {"Caption", "ｷｬﾝｾﾙ"},
                                        {"Font", kDesignFontText}}));
    EXPECT_EQ(effects.reactions, std::vector{Normal()});
    EXPECT_EQ(TwipsToHimetric(1035), 1826);  // the extent the container stores for 1035 x 375
    EXPECT_EQ(TwipsToHimetric(375), 661);
    EXPECT_NEAR(HimetricToTwips(1826), 1035, 0.5);

    control.properties.ReadProperties({{"Enabled", "0"}, {"FirstRun", "0"}, {"FontColour", "255"}, {"Visible", "0"}},
                                      DesignFont());
    PropertyBag all;
    control.properties.WriteProperties(all, kContainerFont);
    EXPECT_EQ(all.Entries(), (Entries{{"Enabled", "0"}, {"FirstRun", "0"}, {"Font", kDesignFontText},
                                      {"FontColour", "255"}, {"Visible", "0"}}));
}

TEST(ButtonProperties, EveryCaptionComesBackAsItWasSaved) {
    for (const std::string caption : {"Command", "Command1", "", "設定"}) {
        Control writer;
        writer.properties.ReadProperties({}, kContainerFont);
        writer.properties.LetCaption(caption);
        PropertyBag bag;
        writer.properties.WriteProperties(bag, kContainerFont);
        Control reader;
        reader.properties.ReadProperties(bag, kContainerFont);
        EXPECT_EQ(reader.properties.Caption(), caption);
    }
}

TEST(ButtonProperties, SettersReportTheirNameAndRedrawAsTheyShould) {
    Control control;
    control.properties.ReadProperties(DialogButtonBag(), kContainerFont);
    control.machine.Initialize();
    control.machine.MouseMove();  // state 2: drawings are reversed

    PropertyEffects effects = control.properties.LetEnabled(false);
    EXPECT_EQ(effects.reactions, (std::vector{ButtonReaction{Skin::Disable, true, false, false}}));
    EXPECT_EQ(effects.changed, ButtonProperty::Enabled);
    EXPECT_EQ(control.machine.State(), ButtonState::Hover);

    // While disabled, the colour changes without a drawing.
    effects = control.properties.LetFontColour(0xFF);
    EXPECT_TRUE(effects.reactions.empty());
    EXPECT_EQ(effects.changed, ButtonProperty::FontColour);

    effects = control.properties.LetEnabled(true);
    EXPECT_EQ(effects.reactions, std::vector{Normal(true)});

    effects = control.properties.LetCaption("設定");
    EXPECT_TRUE(effects.reactions.empty());
    EXPECT_EQ(effects.changed, ButtonProperty::Caption);
    effects = control.properties.LetFont(kContainerFont);
    EXPECT_TRUE(effects.reactions.empty());
    EXPECT_EQ(PropertyName(*effects.changed), "Font");

    const PropertyResult<std::uint32_t> colour = control.properties.GetFontColour();
    EXPECT_EQ(colour.value, 0xFFu);
    EXPECT_EQ(colour.effects.reactions, std::vector{Normal(true)});
    EXPECT_EQ(control.machine.State(), ButtonState::Hover);
}

TEST(ButtonProperties, VisibleReads255WhileOpaqueAndHidesOnlyTheFace) {
    Control control;
    control.properties.ReadProperties({}, kContainerFont);
    PropertyResult<std::uint8_t> visible = control.properties.GetVisible();
    EXPECT_EQ(visible.value, 255);
    EXPECT_EQ(visible.effects.reactions, std::vector{Normal()});

    PropertyEffects effects = control.properties.LetVisible(0);
    EXPECT_FALSE(control.properties.Opaque());
    EXPECT_TRUE(effects.reactions.empty());
    EXPECT_EQ(effects.changed, ButtonProperty::Visible);
    visible = control.properties.GetVisible();
    EXPECT_EQ(visible.value, 0);
    EXPECT_TRUE(visible.effects.reactions.empty());

    effects = control.properties.LetVisible(7);
    EXPECT_TRUE(control.properties.Opaque());
    EXPECT_EQ(effects.reactions, std::vector{Normal()});
}

TEST(ButtonProperties, FirstReadOfEnabledTurnsANewControlOn) {
    Control fresh;  // never given stored properties
    EXPECT_FALSE(fresh.machine.Enabled());
    PropertyResult<bool> enabled = fresh.properties.GetEnabled();
    EXPECT_TRUE(enabled.value);
    EXPECT_EQ(fresh.properties.FirstRun(), 1);
    // The look was skipped while still disabled; ApplyEnabled then draws Normal.
    EXPECT_EQ(enabled.effects.reactions, std::vector{Normal()});

    // Enabled already, FirstRun 0: the look blackens the caption first.
    Control coloured;
    coloured.properties.ReadProperties({{"FirstRun", "0"}, {"FontColour", "255"}}, kContainerFont);
    EXPECT_EQ(coloured.properties.FontColour(), 0u) << "ApplyLook after reading";
    coloured.properties.LetFontColour(255);
    EXPECT_EQ(coloured.properties.FontColour(), 0u);
    enabled = coloured.properties.GetEnabled();
    EXPECT_EQ(enabled.effects.reactions, (std::vector{Normal(), Normal()}));

    // Once marked, reading reports the flag as it is and draws by it.
    Control off;
    off.properties.ReadProperties({{"Enabled", "0"}}, kContainerFont);
    enabled = off.properties.GetEnabled();
    EXPECT_FALSE(enabled.value);
    EXPECT_EQ(enabled.effects.reactions, (std::vector{ButtonReaction{Skin::Disable, false, false, false}}));
}

}  // namespace
}  // namespace mosaika
