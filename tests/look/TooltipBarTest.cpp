#include "look/TooltipBar.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
// A bar that looks at a component chosen by the test instead of the real mouse.
class ProbedTooltipBar : public TooltipBar
{
public:
    juce::Component* under = nullptr;
    bool buttonDown = false;

protected:
    juce::Component* componentUnderMouse() const override { return under; }
    bool isMouseButtonDown() const override { return buttonDown; }
};
} // namespace

TEST(TooltipBarTest, ShowsTheTipUnderTheMouseAndEmptiesWhenThereIsNone)
{
    ProbedTooltipBar bar;
    juce::Label withTip("a", "A");
    withTip.setTooltip("Rewind to the start");
    juce::Label otherTip("b", "B");
    otherTip.setTooltip("Next song");
    juce::Component noTip;

    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "");

    bar.under = &withTip;
    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "Rewind to the start");

    // Held buttons (a click or drag under way) freeze the bar.
    bar.buttonDown = true;
    bar.under = &otherTip;
    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "Rewind to the start");
    bar.under = nullptr;
    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "Rewind to the start");
    bar.buttonDown = false;

    bar.under = &otherTip;
    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "Next song");

    bar.under = &noTip;
    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "");

    bar.under = &withTip;
    bar.timerCallback();
    bar.under = nullptr;
    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "");
}

TEST(TooltipBarTest, ComponentsBehindAModalOneShowNoTip)
{
    ProbedTooltipBar bar;
    juce::Label withTip("a", "A");
    withTip.setTooltip("Rewind to the start");
    juce::Component modal;

    modal.enterModalState(false);
    bar.under = &withTip;
    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "");

    modal.exitModalState(0);
    juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
    bar.timerCallback();
    EXPECT_EQ(bar.getTip(), "Rewind to the start");
}
