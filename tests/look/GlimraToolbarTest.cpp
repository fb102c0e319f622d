#include "look/GlimraToolbar.h"
#include "TestSupport.h"
#include "look/ColourScheme.h"
#include "look/GlimraButton.h"
#include "look/GlimraLookAndFeel.h"

#include <BinaryData.h>

#include <gtest/gtest.h>

namespace
{
struct ClickCounter : juce::Button::Listener
{
    void buttonClicked(juce::Button* b) override { clicked.add(b); }
    juce::Array<juce::Button*> clicked;
};

juce::Image snapshot(juce::Component& c)
{
    return c.createComponentSnapshot(c.getLocalBounds(), true, 1.0f);
}

bool samePixels(const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt(x, y) != b.getPixelAt(x, y))
                return false;
    return true;
}
} // namespace

TEST(GlimraToolbarTest, ButtonsShareTheWidthAndTheRightGroupEndsFiveFromTheEdge)
{
    struct Case
    {
        int width, left, right, buttonWidth;
    };
    const Case cases[] = {
        {400, 3, 2, 70}, {1000, 3, 2, 110}, {1000, 1, 4, 110}, {600, 0, 4, 110},
        {400, 0, 4, 90}, {900, 4, 1, 110},  {300, 2, 3, 50},
    };
    for (auto c : cases)
    {
        ClickCounter listener;
        GlimraToolbar bar(juce::Colours::black);
        for (int i = 0; i < c.left; ++i)
            bar.addButton("L" + juce::String(i), &listener, {}, false);
        for (int i = 0; i < c.right; ++i)
            bar.addButton("R" + juce::String(i), &listener, {}, true);
        bar.setBounds(0, 0, c.width, 48);

        const juce::String where =
            juce::String(c.width) + " px, " + juce::String(c.left) + "+" + juce::String(c.right);
        int x = 5;
        for (auto* b : bar.getLeftButtons())
        {
            EXPECT_EQ(b->getBounds(), juce::Rectangle<int>(x, 5, c.buttonWidth, 28)) << where;
            x += c.buttonWidth + 10;
        }
        int leftEnd = x - 10;
        for (int i = 0; i < bar.getRightButtons().size(); ++i)
        {
            auto* b = bar.getRightButtons()[i];
            EXPECT_EQ(b->getWidth(), c.buttonWidth) << where;
            EXPECT_EQ(b->getY(), 5) << where;
            if (i > 0)
                EXPECT_EQ(b->getX(), bar.getRightButtons()[i - 1]->getRight() + 10) << where;
            EXPECT_GE(b->getX(), leftEnd + 10) << where;
        }
        if (c.right > 0)
            EXPECT_EQ(bar.getRightButtons().getLast()->getRight(), c.width - 5) << where;
    }
}

TEST(GlimraToolbarTest, ButtonsReportToTheirListenerAndTheBarTakesTheSchemeColour)
{
    ClickCounter listener;
    auto bar = std::make_unique<GlimraToolbar>(juce::Colours::red);
    auto* play = bar->addButton("Play", &listener, "play_48x.png", false);
    auto* done = bar->addButton("Done", &listener, "ok_48.png", true);
    EXPECT_EQ(bar->getNumChildComponents(), 2);
    EXPECT_TRUE(play->isVisible());
    EXPECT_EQ(play->getButtonText(), "Play");
    EXPECT_EQ(play->getName(), "Play");
    EXPECT_TRUE(play->hasIcon());

    done->triggerClick();
    play->triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil(50);
    ASSERT_EQ(listener.clicked.size(), 2);
    EXPECT_EQ(listener.clicked[0], done);
    EXPECT_EQ(listener.clicked[1], play);

    bar->sendLookAndFeelChange();
    EXPECT_EQ(bar->colour, juce::Colour(glimraDkGreyColour));
    bar.reset(); // deletes its buttons after letting go of the listener
}

TEST(GlimraButtonTest, IconIsFoundByFileNameAndAMissingOneLeavesThePlainButton)
{
    GlimraLookAndFeel lf;
    auto render = [&lf](GlimraButton& b)
    {
        b.setLookAndFeel(&lf);
        b.setBounds(0, 0, 120, 28);
        auto image = snapshot(b);
        b.setLookAndFeel(nullptr);
        return image;
    };

    GlimraButton plain("Paste", {}, {});
    GlimraButton missing("Paste", "paste_48.png", {});
    GlimraButton withIcon("Paste", "play_48x.png", "Start");

    EXPECT_FALSE(plain.hasIcon());
    EXPECT_FALSE(missing.hasIcon());
    ASSERT_TRUE(withIcon.hasIcon());
    EXPECT_EQ(withIcon.getTooltip(), "Start");

    const auto plainImage = render(plain);
    EXPECT_TRUE(samePixels(render(missing), plainImage));

    // The icon sits in the square at the left, and the text moves right of it.
    const auto iconImage = render(withIcon);
    EXPECT_FALSE(samePixels(iconImage, plainImage));
    auto columnsDiffer = [&](int from, int to)
    {
        for (int x = from; x < to; ++x)
            for (int y = 4; y < 24; ++y)
                if (iconImage.getPixelAt(x, y) != plainImage.getPixelAt(x, y))
                    return true;
        return false;
    };
    EXPECT_TRUE(columnsDiffer(2, 26));

    withIcon.setIcon("");
    EXPECT_FALSE(withIcon.hasIcon());
    EXPECT_TRUE(samePixels(render(withIcon), plainImage));
}

TEST(GlimraButtonTest, DisabledIconFadesAndACrowdedIconButtonDropsItsText)
{
    GlimraLookAndFeel lf;
    auto render = [&lf](GlimraButton& b, int width)
    {
        b.setLookAndFeel(&lf);
        b.setBounds(0, 0, width, 28);
        auto image = snapshot(b);
        b.setLookAndFeel(nullptr);
        return image;
    };

    // The white play triangle: bright when enabled, dimmed with the button.
    GlimraButton play("", "play_48x.png", {});
    const auto enabled = render(play, 80);
    play.setEnabled(false);
    const auto disabled = render(play, 80);
    const auto iconPixel = enabled.getPixelAt(12, 14);
    EXPECT_GT(iconPixel.getBrightness(), 0.8f);
    EXPECT_LT(disabled.getPixelAt(12, 14).getBrightness(), iconPixel.getBrightness() * 0.75f);

    // Seven buttons in 400 pixels leave no room for text beside the icon: an
    // ellipsis alone would be drawn otherwise.
    GlimraButton crowded("Rewind", "first_48x.png", {});
    GlimraButton iconOnly("", "first_48x.png", {});
    EXPECT_TRUE(samePixels(render(crowded, 47), render(iconOnly, 47)));
    EXPECT_FALSE(samePixels(render(crowded, 110), render(iconOnly, 110)));
}

TEST(BinaryDataTest, EveryImageIsEmbeddedUnderItsNameAndDecodes)
{
    struct Resource
    {
        const char* name;
        int pixels;
    };
    const Resource resources[] = {
        {"add_48x_png", 48},   {"close_48x_png", 48}, {"copy_48x_png", 48},   {"edit_48x_png", 48},
        {"first_48x_png", 48}, {"midigreen_png", 48}, {"next_48_png", 48},    {"ok_48_png", 48},
        {"pause_48x_png", 48}, {"play_48x_png", 48},  {"refresh_48_png", 48}, {"stop_48_png", 48},
        {"vmicon_png", 256},
    };
    for (auto r : resources)
    {
        int size = -1;
        const char* data = BinaryData::getNamedResource(r.name, size);
        ASSERT_NE(data, nullptr) << r.name;
        ASSERT_GT(size, 0) << r.name;

        juce::MemoryInputStream in(data, (size_t)size, false);
        juce::PNGImageFormat png;
        EXPECT_TRUE(png.canUnderstand(in)) << r.name;
        in.setPosition(0);
        const auto image = png.decodeImage(in);
        ASSERT_TRUE(image.isValid()) << r.name;
        EXPECT_EQ(image.getWidth(), r.pixels) << r.name;
        EXPECT_EQ(image.getHeight(), r.pixels) << r.name;
        EXPECT_TRUE(image.hasAlphaChannel()) << r.name;
        // Our artwork leaves the corners transparent.
        EXPECT_EQ(image.getPixelAt(0, 0).getAlpha(), 0) << r.name;
    }

    for (auto name : {"", "paste_48_png", "play_48x.png", "PLAY_48X_PNG"})
    {
        int size = -1;
        EXPECT_EQ(BinaryData::getNamedResource(name, size), nullptr) << name;
        EXPECT_EQ(size, 0) << name;
    }
}
