#include "look/ColourScheme.h"
#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "look/GlimraLookAndFeel.h"
#include "platform/SettingsFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace
{
std::array<juce::uint32*, 8> schemeColours()
{
    return {&mainColour,     &darkerColour,     &darkestColour, &lighterColour,
            &lightestColour, &complementColour, &textColour,    &textInvColour};
}

// The scheme is global: each test starts from the built-in colours and its own
// settings, and leaves both as they were.
class ColourSchemeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (size_t i = 0; i < saved.size(); ++i)
            saved[i] = *schemeColours()[i];
        savedContrast = screenContrast;
        properties.setStorageParameters(makeSettingsOptions());
        appProperties = &properties;
    }
    void TearDown() override
    {
        unloadLookAndFeel();
        settings().removeValue("guiColour");
        settings().removeValue("guiContrast");
        properties.closeFiles();
        appProperties = nullptr;
        for (size_t i = 0; i < saved.size(); ++i)
            *schemeColours()[i] = saved[i];
        screenContrast = savedContrast;
    }

    juce::PropertiesFile& settings() { return *properties.getUserSettings(); }

    juce::String hex(juce::uint32 c) { return juce::String::toHexString((juce::int64)c); }

    juce::ApplicationProperties properties;
    std::array<juce::uint32, 8> saved{};
    float savedContrast = 0;
};
} // namespace

TEST_F(ColourSchemeTest, OpaqueWhiteGivesBlackTextAndClampedLightSteps)
{
    settings().setValue("guiColour", "-1");
    settings().setValue("guiContrast", "1.5");
    calculateColourScheme();

    EXPECT_EQ(hex(mainColour), "ffffffff");
    EXPECT_EQ(hex(textColour), "ff000000");
    EXPECT_EQ(hex(textInvColour), "ffffffff");
    EXPECT_EQ(hex(lighterColour), "ffffffff");
    EXPECT_EQ(hex(lightestColour), "ffffffff");
    EXPECT_EQ(hex(darkerColour), "ffaaaaaa");
    EXPECT_EQ(hex(darkestColour), "ff717171");
}

TEST_F(ColourSchemeTest, DarkSchemeColourGivesWhiteTextAndScaledSteps)
{
    settings().setValue("guiColour", juce::String((juce::int64)(juce::int32)0xff444d5a));
    calculateColourScheme();

    EXPECT_EQ(hex(darkerColour), "ff2d333c");
    EXPECT_EQ(hex(darkestColour), "ff1e2228");
    EXPECT_EQ(hex(lighterColour), "ff667387");
    EXPECT_EQ(hex(lightestColour), "ff99adca");
    EXPECT_EQ(hex(textColour), "ffffffff");
    EXPECT_EQ(hex(textInvColour), "ff000000");

    // The complement of the darker step: hue turned half way round, lightness kept.
    float r, g, b, h, s, l, ch, cs, cl;
    splitCol(darkerColour, r, g, b);
    RGB2HSL(r, g, b, h, s, l);
    splitCol(complementColour, r, g, b);
    RGB2HSL(r, g, b, ch, cs, cl);
    EXPECT_NEAR(std::fmod(ch - h + 1.0f, 1.0f), 0.5f, 0.02f);
    EXPECT_NEAR(cl, l, 0.01f);
    EXPECT_GT(cs, s);
}

TEST_F(ColourSchemeTest, ContrastAloneChangesNoColour)
{
    settings().setValue("guiContrast", "3.0");
    calculateColourScheme();

    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_EQ(hex(*schemeColours()[i]), hex(saved[i])) << "colour " << i;
    EXPECT_FLOAT_EQ(screenContrast, 3.0f);
}

TEST_F(ColourSchemeTest, UnsignedReadingOfTheColourEqualsTheSignedOne)
{
    const juce::uint32 cases[] = {0xffffffff, 0xff444d5a, 0xffd38538, 0x80112233};
    for (auto argb : cases)
    {
        settings().setValue("guiColour", juce::String((juce::int64)(juce::int32)argb));
        calculateColourScheme();
        const auto fromSigned =
            std::array<juce::uint32, 6>{mainColour,    darkerColour,   darkestColour,
                                        lighterColour, lightestColour, complementColour};

        settings().setValue("guiColour", juce::String((juce::int64)argb));
        calculateColourScheme();
        const auto fromUnsigned =
            std::array<juce::uint32, 6>{mainColour,    darkerColour,   darkestColour,
                                        lighterColour, lightestColour, complementColour};

        EXPECT_EQ(fromSigned, fromUnsigned) << hex(argb);
        EXPECT_EQ(hex(mainColour), hex(argb | 0xff000000));
    }
}

TEST_F(ColourSchemeTest, SettingsThatMakeNoSenseAreIgnored)
{
    // A colour without alpha still gives opaque panels.
    settings().setValue("guiColour", juce::String(0x00ffffff));
    calculateColourScheme();
    EXPECT_EQ(hex(mainColour), "ffffffff");

    // A contrast of zero, below zero or not a number would divide by zero or make
    // no steps; the previous contrast stays.
    for (auto contrast : {"0", "-2", "abc", "inf"})
    {
        settings().setValue("guiContrast", contrast);
        calculateColourScheme();
        EXPECT_FLOAT_EQ(screenContrast, savedContrast) << contrast;
        EXPECT_EQ(hex(darkerColour), "ffaaaaaa") << contrast;
    }

    // A colour that is no number, or wider than 32 bits, leaves the scheme as it is.
    for (auto colour : {"grey", "4294967296", "-2147483649", "99999999999999999999999"})
    {
        settings().setValue("guiColour", colour);
        calculateColourScheme();
        EXPECT_EQ(hex(mainColour), "ffffffff") << colour;
    }
}

TEST_F(ColourSchemeTest, NewLookAndFeelTakesTheSchemeAndReplacesTheOldOne)
{
    loadLookAndFeel();
    auto* first = getGlimraLookAndFeel();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), first);
    EXPECT_EQ(first->findColour(juce::Label::textColourId), juce::Colours::white);

    settings().setValue("guiColour", "-1");
    loadLookAndFeel();
    auto* second = getGlimraLookAndFeel();
    EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), second);
    EXPECT_EQ(second->findColour(juce::Label::textColourId), juce::Colour(0xff000000));
    EXPECT_EQ(second->findColour(juce::AlertWindow::backgroundColourId), juce::Colour(0xffaaaaaa));

    unloadLookAndFeel();
    EXPECT_EQ(getGlimraLookAndFeel(), nullptr);
    EXPECT_EQ(dynamic_cast<GlimraLookAndFeel*>(&juce::LookAndFeel::getDefaultLookAndFeel()),
              nullptr);
}

TEST(ColourFunctionsTest, RgbSurvivesTheTripThroughHsl)
{
    const juce::uint32 colours[] = {0xff000000, 0xffffffff, 0xff808080, 0xffff0000, 0xff00ff00,
                                    0xff0000ff, 0xffffff00, 0xff00ffff, 0xffff00ff, 0xff444d5a,
                                    0xffd38538, 0xff28436d, 0xff181818, 0xff7f8b9d, 0xff010203,
                                    0xfffefdfc, 0xff3b414a, 0xffa05f9e};
    for (auto argb : colours)
    {
        float r, g, b, h, s, l, r2, g2, b2;
        splitCol(argb, r, g, b);
        RGB2HSL(r, g, b, h, s, l);
        EXPECT_GE(h, 0.0f);
        EXPECT_LE(h, 1.0f);
        HSL2RGB(h, s, l, r2, g2, b2);
        EXPECT_NEAR(r2, r, 1.0f) << juce::String::toHexString((juce::int64)argb);
        EXPECT_NEAR(g2, g, 1.0f) << juce::String::toHexString((juce::int64)argb);
        EXPECT_NEAR(b2, b, 1.0f) << juce::String::toHexString((juce::int64)argb);
    }
}

TEST(ColourFunctionsTest, ChannelsAreLimitedAndOpaque)
{
    juce::uint32 out = 0;
    calcCol(0x20406080, 3.0f, out);
    EXPECT_EQ(out, 0xffc0ffffu);
    calcCol(0xff406080, 0.5f, out);
    EXPECT_EQ(out, 0xff203040u);
    mergeCol(-5.0f, 300.0f, 12.9f, out);
    EXPECT_EQ(out, 0xff00ff0cu);
}
