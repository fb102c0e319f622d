#pragma once

#include <juce_core/juce_core.h>

// The program's colours, read directly by every drawing routine. All are opaque
// 32-bit ARGB values (use juce::Colour (mainColour) to draw with them).
//
// Five derive from one scheme colour and a contrast factor; the user settings
// may override both ("guiColour", "guiContrast"). The glimra... colours are the
// fixed brand colours. The text colours follow the lightness of the scheme colour.
extern juce::uint32 mainColour;
extern juce::uint32 darkerColour;     // panel and dialog backgrounds
extern juce::uint32 darkestColour;    // text fields
extern juce::uint32 lighterColour;    // tabs, slider thumbs
extern juce::uint32 lightestColour;   // outlines
extern juce::uint32 complementColour; // complementary colour of the darker step
extern juce::uint32 textColour;       // text on scheme-coloured surfaces
extern juce::uint32 textInvColour;    // text on highlighted surfaces
extern juce::uint32 glimraBtnColour;
extern juce::uint32 glimraOraColour;
extern juce::uint32 glimraLtGreyColour;
extern juce::uint32 glimraDkGreyColour;
extern juce::uint32 glimraBlueColour;

extern float screenContrast;

// Channels are 0..255 held as floats; hue, saturation and lightness are 0..1.
void splitCol(juce::uint32 argb, float& r, float& g, float& b);
void mergeCol(float r, float g, float b, juce::uint32& argb);
void calcCol(juce::uint32 argb, float factor, juce::uint32& result);
void RGB2HSL(float r, float g, float b, float& h, float& s, float& l);
void HSL2RGB(float h, float s, float l, float& r, float& g, float& b);
float Hue_2_RGB(float p, float q, float t);

// Re-reads "guiContrast" and "guiColour" from the user settings (appProperties)
// and derives the scheme colours. Without "guiColour" the colours stay as they are.
void calculateColourScheme();
