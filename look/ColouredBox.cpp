#include "look/ColouredBox.h"

ColouredBox::ColouredBox(const juce::String& componentName, juce::Colour c)
    : juce::Component(componentName), colour(c)
{
}

ColouredBox::~ColouredBox()
{
    deleteAllChildren();
}

void ColouredBox::paint(juce::Graphics& g)
{
    g.fillAll(colour);
}
