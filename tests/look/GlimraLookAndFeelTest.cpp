#include "look/GlimraLookAndFeel.h"
#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "look/ColourScheme.h"
#include "look/GlimraButton.h"

#include <gtest/gtest.h>

namespace
{
// Keeps what the buttons asked the lozenge to draw.
class RecordingLookAndFeel : public GlimraLookAndFeel
{
public:
    void myDrawGlassLozenge(juce::Graphics& g, float x, float y, float w, float h,
                            const juce::Colour& colour, float outlineThickness, float cornerSize,
                            bool flatOnLeft, bool flatOnRight, bool flatOnTop,
                            bool flatOnBottom) override
    {
        lastColour = colour;
        lastThickness = outlineThickness;
        lastArea = {x, y, w, h};
        GlimraLookAndFeel::myDrawGlassLozenge(g, x, y, w, h, colour, outlineThickness, cornerSize,
                                              flatOnLeft, flatOnRight, flatOnTop, flatOnBottom);
    }

    juce::Colour lastColour;
    float lastThickness = 0;
    juce::Rectangle<float> lastArea;
};

juce::Image snapshot(juce::Component& c)
{
    return c.createComponentSnapshot(c.getLocalBounds(), true, 1.0f);
}
} // namespace

TEST(GlimraLookAndFeelTest, DisabledButtonDrawsAtHalfAlphaWithAThinOutline)
{
    RecordingLookAndFeel lf;
    GlimraButton button({}, {}, {}); // no text, nothing over the body
    button.setLookAndFeel(&lf);
    button.setBounds(0, 0, 80, 28);

    const auto enabledImage = snapshot(button);
    const auto enabledColour = lf.lastColour;
    EXPECT_FLOAT_EQ(lf.lastThickness, 0.7f);
    EXPECT_FLOAT_EQ(lf.lastArea.getX(), 0.35f);
    EXPECT_FLOAT_EQ(lf.lastArea.getWidth(), 80.0f - 0.7f);

    button.setEnabled(false);
    const auto disabledImage = snapshot(button);
    EXPECT_FLOAT_EQ(lf.lastThickness, 0.4f);
    EXPECT_FLOAT_EQ(lf.lastArea.getX(), 0.2f);
    EXPECT_NEAR(lf.lastColour.getFloatAlpha(), enabledColour.getFloatAlpha() * 0.5f, 0.01f);

    // Where the body is solid, the disabled button lets half the background through.
    for (int x : {20, 40, 60})
    {
        const int enabledAlpha = enabledImage.getPixelAt(x, 12).getAlpha();
        const int disabledAlpha = disabledImage.getPixelAt(x, 12).getAlpha();
        EXPECT_GT(enabledAlpha, 240) << x;
        EXPECT_NEAR(disabledAlpha, enabledAlpha / 2, 3) << x;
    }

    // Mouse over and pressed thicken the outline; connected sides lose their indent.
    button.setEnabled(true);
    button.setConnectedEdges(juce::Button::ConnectedOnLeft);
    juce::Image image(juce::Image::ARGB, 80, 28, true);
    juce::Graphics g(image);
    lf.drawButtonBackground(g, button, juce::Colours::grey, true, false);
    EXPECT_FLOAT_EQ(lf.lastThickness, 2.0f);
    EXPECT_FLOAT_EQ(lf.lastArea.getX(), 0.1f);
    EXPECT_FLOAT_EQ(lf.lastArea.getRight(), 79.0f);

    button.setLookAndFeel(nullptr);
}

TEST(GlimraLookAndFeelTest, RoundedPathCurvesOnlyTheChosenCorners)
{
    struct Case
    {
        bool tl, tr, bl, br;
    };
    const Case cases[] = {{true, true, true, true},
                          {false, false, false, false},
                          {true, false, false, true},
                          {false, true, true, false}};
    for (auto c : cases)
    {
        juce::Path p;
        createRoundedPath(p, 10, 20, 100, 40, 8, c.tl, c.tr, c.bl, c.br);
        EXPECT_EQ(p.getBounds(), juce::Rectangle<float>(10, 20, 100, 40));
        // A point just inside each corner is inside only when that corner is square.
        EXPECT_NE(p.contains(10.5f, 20.5f), c.tl);
        EXPECT_NE(p.contains(109.5f, 20.5f), c.tr);
        EXPECT_NE(p.contains(10.5f, 59.5f), c.bl);
        EXPECT_NE(p.contains(109.5f, 59.5f), c.br);
        EXPECT_TRUE(p.contains(60.0f, 40.0f));
    }
}

TEST(GlimraLookAndFeelTest, FontsFollowTheSizeSettings)
{
    const double savedSmall = smallFontSz, savedDefault = defFontSz;
    smallFontSz = 21;
    defFontSz = 13;

    GlimraLookAndFeel lf;
    juce::TextButton button("b");
    juce::Slider slider;
    std::unique_ptr<juce::Label> box(lf.createSliderTextBox(slider));

    EXPECT_FLOAT_EQ(lf.getTextButtonFont(button, 28).getHeight(), 21.0f);
    EXPECT_FLOAT_EQ(lf.getPopupMenuFont().getHeight(), 21.0f);
    EXPECT_FLOAT_EQ(lf.getAlertWindowFont().getHeight(), 13.0f);
    EXPECT_FLOAT_EQ(box->getFont().getHeight(), 13.0f);
    EXPECT_EQ(box->getFont().getTypefaceName(), juce::Font::getDefaultSansSerifFontName());

    smallFontSz = savedSmall;
    defFontSz = savedDefault;
}
