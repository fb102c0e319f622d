#include "look/GlimraButton.h"

#include "look/GlimraLookAndFeel.h"

#include <BinaryData.h>

GlimraButton::GlimraButton(const juce::String& text, const juce::String& iconName,
                           const juce::String& tooltip)
    : juce::TextButton(text, tooltip)
{
    setButtonText(text);
    setIcon(iconName);
}

GlimraButton::~GlimraButton() = default;

void GlimraButton::setIcon(const juce::String& iconName)
{
    icon.reset();
    const auto resourceName = iconName.replaceCharacter('.', '_');
    if (resourceName.isEmpty())
        return;

    int size = 0;
    if (const char* data = BinaryData::getNamedResource(resourceName.toRawUTF8(), size))
        if (size > 0)
            icon = juce::Drawable::createFromImageData(data, (size_t)size);
}

void GlimraButton::paintButton(juce::Graphics& g, bool isMouseOverButton, bool isButtonDown)
{
    getLookAndFeel().drawButtonBackground(g, *this,
                                          findColour(getToggleState()
                                                         ? juce::TextButton::buttonOnColourId
                                                         : juce::TextButton::buttonColourId),
                                          isMouseOverButton, isButtonDown);

    drawGlimraButtonText(g, isMouseOverButton, isButtonDown);

    // The icon fades with the rest of a disabled button, or it would look usable.
    if (icon != nullptr)
    {
        const float side = (float)getHeight() - 2.0f * iconMargin;
        if (side > 0.0f)
            icon->drawWithin(g, {iconMargin, iconMargin, side, side},
                             juce::RectanglePlacement::xLeft | juce::RectanglePlacement::yMid,
                             isEnabled() ? 1.0f : 0.5f);
    }
}

void GlimraButton::drawGlimraButtonText(juce::Graphics& g, bool, bool)
{
    const auto font = getLookAndFeel().getTextButtonFont(*this, getHeight());
    GlimraLookAndFeel::drawTextButtonLabel(g, *this, font, icon != nullptr ? getHeight() - 4 : 0);
}
