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
using Reactions = std::vector<ButtonReaction>;

const ButtonFont kContainerFont{"Tahoma", 80000, 400, false, false, false, 0};
const std::string kDesignFontText = "97500,400,0,0,0,128,ＭＳ Ｐゴシック";
const ButtonReaction kNormal{Skin::Normal, false, true, false};
const ButtonReaction kNormalReversed{Skin::Normal, true, true, false};

struct Control {
    explicit Control(const PropertyBag& bag = {}) { properties.ReadProperties(bag, kContainerFont); }
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
    EXPECT_EQ(ParseFont(kDesignFontText), DesignFont());
    const ButtonFont styled{"Face, with comma", 120000, 700, true, false, true, 1};
    EXPECT_EQ(FormatFont(styled), "120000,700,1,0,1,1,Face, with comma");
    EXPECT_EQ(ParseFont(FormatFont(styled)), styled);
    for (const std::string& bad : std::vector<std::string>{"", "97500,400,0,0,0,128,", "97500,400,0,0,0,128",
                                  "0,400,0,0,0,128,A",
                                  "97500,1001,0,0,0,128,A", "97500,400,2,0,0,128,A", "97500,400,0,0,0,256,A",
                                  "-1,400,0,0,0,128,A", " 97500,400,0,0,0,128,A", "9.75,400,0,0,0,128,A",
                                  std::string("97500,400,0,0,0,128,A\0B", 24)}) {
        EXPECT_EQ(ParseFont(bad), std::nullopt) << bad;
    }
}

TEST(ButtonProperties, ReadingTakesEachStoredValueOrLeavesItsPropertyAlone) {
    // The dialog's saved data for one button, and nothing stored at all.
    const PropertyBag dialogButton{
        {"_extentx", "1826"}, {"_extenty", "661"}, {"caption", "ｷｬﾝｾﾙ"}, {"font", kDesignFontText}};
    Control dialog;
    const PropertyEffects effects = dialog.properties.ReadProperties(dialogButton, kContainerFont);
    EXPECT_EQ((std::tuple{dialog.machine.Enabled(), dialog.properties.Caption(), dialog.properties.Font(),
                          dialog.properties.FontColour(), dialog.properties.Opaque(), dialog.properties.FirstRun()}),
              (std::tuple{true, std::string("ｷｬﾝｾﾙ"), DesignFont(), 0u, true, std::uint8_t{1}}));
    EXPECT_EQ(effects.reactions, Reactions{kNormal});
    EXPECT_EQ(effects.changed, std::nullopt);
    const Control bare;
    EXPECT_EQ((std::tuple{bare.machine.Enabled(), bare.properties.Caption(), bare.properties.Font(),
                          bare.properties.FirstRun()}),
              (std::tuple{true, std::string("Command1"), kContainerFont, std::uint8_t{1}}));

    const struct {
        std::string key, text;
        bool enabled;
        std::uint32_t colour;
        bool opaque;
        std::uint8_t firstRun;
    } rows[] = {
        // Start: enabled false, colour 0x123456, transparent, FirstRun 7.
        {"enabled", "true", true, 0x123456, false, 7},     {"Enabled", "2.5", true, 0x123456, false, 7},
        {"Enabled", "yes", false, 0x123456, false, 7},     {"FontColour", "-1", false, 0xFFFFFFFF, false, 7},
        {"FontColour", "4294967296", false, 0x123456, false, 7}, {"Visible", "1", false, 0x123456, true, 7},
        {"Visible", "2", false, 0x123456, false, 7},       {"FirstRun", " 2.5 ", false, 0x123456, false, 2},
        {"FirstRun", "256", false, 0x123456, false, 7},    {"Font", "not a font", false, 0x123456, false, 7},
    };
    for (const auto& row : rows) {
        PropertyBag bag{{"Enabled", "0"}, {"FontColour", "1193046"}, {"Visible", "0"}, {"FirstRun", "7"},
                        {"Font", "12,400,0,0,0,0,Arial"}};
        Control control(bag);
        bag.Set(row.key, row.text);
        control.properties.ReadProperties(bag, kContainerFont);
        EXPECT_EQ((std::tuple{control.machine.Enabled(), control.properties.FontColour(), control.properties.Opaque(),
                              control.properties.FirstRun(), control.properties.Font().faceName}),
                  (std::tuple{row.enabled, row.colour, row.opaque, row.firstRun, std::string("Arial")}))
            << row.key << "=" << row.text;
    }
}

TEST(ButtonProperties, WritingLeavesOutDefaultsInItsOrderAndReadsBack) {
    Control control({{"caption", "ｷｬﾝｾﾙ"}, {"font", kDesignFontText}});
    PropertyBag saved{{"_ExtentX", "1826"}, {"_ExtentY", "661"}};
    EXPECT_EQ(control.properties.WriteProperties(saved, kContainerFont).reactions, Reactions{kNormal});
    EXPECT_EQ(saved.Entries(), (Entries{{"_ExtentX", "1826"}, {"_ExtentY", "661"}, {"Caption", "ｷｬﾝｾﾙ"},
                                        {"Font", kDesignFontText}}));
    // The extent the container stores for 1035 x 375.
    EXPECT_EQ((std::pair{TwipsToHimetric(1035), TwipsToHimetric(375)}), (std::pair{1826, 661}));
    EXPECT_NEAR(HimetricToTwips(1826), 1035, 0.5);

    control.properties.ReadProperties({{"Enabled", "0"}, {"FirstRun", "0"}, {"FontColour", "255"}, {"Visible", "0"}},
                                      DesignFont());
    PropertyBag all;
    control.properties.WriteProperties(all, kContainerFont);
    EXPECT_EQ(all.Entries(), (Entries{{"Enabled", "0"}, {"FirstRun", "0"}, {"Font", kDesignFontText},
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
    EXPECT_EQ(PropertyName(*effects.changed), "Font");
    const PropertyResult<std::uint32_t> colour = control.properties.GetFontColour();
    EXPECT_EQ((std::pair{colour.value, colour.effects.reactions}), (std::pair{0xFFu, Reactions{kNormalReversed}}));
    EXPECT_EQ(control.machine.State(), ButtonState::Hover);

    // Visible reads 255 while opaque; 0 hides only the face.
    Control shown;
    PropertyResult<std::uint8_t> visible = shown.properties.GetVisible();
    EXPECT_EQ((std::pair{int{visible.value}, visible.effects.reactions}), (std::pair{255, Reactions{kNormal}}));
    effects = shown.properties.LetVisible(0);
    EXPECT_EQ((std::tuple{shown.properties.Opaque(), effects.reactions, effects.changed}),
              (std::tuple{false, Reactions{}, std::optional{ButtonProperty::Visible}}));
    visible = shown.properties.GetVisible();
    EXPECT_EQ((std::pair{int{visible.value}, visible.effects.reactions}), (std::pair{0, Reactions{}}));
    effects = shown.properties.LetVisible(7);
    EXPECT_EQ((std::pair{shown.properties.Opaque(), effects.reactions}), (std::pair{true, Reactions{kNormal}}));
}

TEST(ButtonProperties, FirstReadOfEnabledTurnsANewControlOn) {
    ButtonStateMachine machine;  // never given stored properties
    ButtonProperties fresh(machine);
    PropertyResult<bool> enabled = fresh.GetEnabled();
    // The look was skipped while still disabled; ApplyEnabled then draws Normal.
    EXPECT_EQ((std::tuple{enabled.value, int{fresh.FirstRun()}, enabled.effects.reactions}),
              (std::tuple{true, 1, Reactions{kNormal}}));

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
