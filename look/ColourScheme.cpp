#include "look/ColourScheme.h"

#include "app/AppGlobals.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

juce::uint32 mainColour = 0xff444d5a;
juce::uint32 darkerColour = 0xff3b414a;
juce::uint32 darkestColour = 0xff212e43;
juce::uint32 lighterColour = 0xff7f8b9d;
juce::uint32 lightestColour = 0xff858e9d;
juce::uint32 complementColour = 0xff444d5a;
juce::uint32 textColour = 0xffffffff;
juce::uint32 textInvColour = 0xff000000;
juce::uint32 glimraBtnColour = 0xff181818;
juce::uint32 glimraOraColour = 0xffd38538;
juce::uint32 glimraLtGreyColour = 0xff4e4d4d;
juce::uint32 glimraDkGreyColour = 0xff363636;
juce::uint32 glimraBlueColour = 0xff28436d;

float screenContrast = 1.5f;

void splitCol(juce::uint32 argb, float& r, float& g, float& b)
{
    r = (float)((argb >> 16) & 0xff);
    g = (float)((argb >> 8) & 0xff);
    b = (float)(argb & 0xff);
}

void mergeCol(float r, float g, float b, juce::uint32& argb)
{
    // Limited first: a float outside the byte range (or NaN) has no defined
    // conversion to an integer.
    auto byte = [](float v) -> juce::uint32
    { return v > 0.0f ? (v < 255.0f ? (juce::uint32)v : 255u) : 0u; };
    argb = 0xff000000 | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

void calcCol(juce::uint32 argb, float factor, juce::uint32& result)
{
    float r, g, b;
    splitCol(argb, r, g, b);
    mergeCol(r * factor, g * factor, b * factor, result);
}

void RGB2HSL(float r, float g, float b, float& h, float& s, float& l)
{
    const float R = r / 255.0f, G = g / 255.0f, B = b / 255.0f;
    const float maxC = juce::jmax(R, G, B);
    const float minC = juce::jmin(R, G, B);
    const float delta = maxC - minC;

    l = (maxC + minC) / 2.0f;
    if (delta == 0.0f)
    {
        h = s = 0.0f;
        return;
    }

    s = l < 0.5f ? delta / (maxC + minC) : delta / (2.0f - maxC - minC);

    auto d = [&](float c) { return ((maxC - c) / 6.0f + delta / 2.0f) / delta; };
    if (R == maxC)
        h = d(B) - d(G);
    else if (G == maxC)
        h = 1.0f / 3.0f + d(R) - d(B);
    else
        h = 2.0f / 3.0f + d(G) - d(R);

    if (h < 0.0f)
        h += 1.0f;
    if (h > 1.0f)
        h -= 1.0f;
}

float Hue_2_RGB(float p, float q, float t)
{
    if (t < 0.0f)
        t += 1.0f;
    if (t > 1.0f)
        t -= 1.0f;
    if (6.0f * t < 1.0f)
        return p + (q - p) * 6.0f * t;
    if (2.0f * t < 1.0f)
        return q;
    if (3.0f * t < 2.0f)
        return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

void HSL2RGB(float h, float s, float l, float& r, float& g, float& b)
{
    if (s == 0.0f)
    {
        r = g = b = l * 255.0f;
        return;
    }
    const float q = l < 0.5f ? l * (1.0f + s) : l + s - s * l;
    const float p = 2.0f * l - q;
    r = 255.0f * Hue_2_RGB(p, q, h + 1.0f / 3.0f);
    g = 255.0f * Hue_2_RGB(p, q, h);
    b = 255.0f * Hue_2_RGB(p, q, h - 1.0f / 3.0f);
}

namespace
{
// A contrast of zero, a negative one or text that is no number would give
// infinite or meaningless colour steps: such a setting is ignored.
bool parseContrast(const juce::String& text, float& contrast)
{
    float value = 0.0f;
    if (std::sscanf(text.toRawUTF8(), "%f", &value) != 1 || !std::isfinite(value) || value <= 0.0f)
        return false;
    contrast = value;
    return true;
}

// The settings hold the colour as a signed decimal, but an unsigned reading of the
// same 32 bits is accepted too; anything outside 32 bits is ignored.
bool parseColour(const juce::String& text, juce::uint32& colour)
{
    const char* start = text.toRawUTF8();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(start, &end, 10);
    if (end == start || errno == ERANGE)
        return false;
    if (value < (long long)std::numeric_limits<juce::int32>::min() ||
        value > (long long)std::numeric_limits<juce::uint32>::max())
        return false;
    colour = (juce::uint32)(value & 0xffffffffLL);
    return true;
}
} // namespace

void calculateColourScheme()
{
    if (appProperties == nullptr)
        return;
    auto* settings = appProperties->getUserSettings();
    if (settings == nullptr)
        return;

    auto contrastText = settings->getValue("guiContrast");
    if (contrastText.isNotEmpty())
        parseContrast(contrastText, screenContrast);

    auto colourText = settings->getValue("guiColour");
    juce::uint32 colour = 0;
    if (colourText.isEmpty() || !parseColour(colourText, colour))
        return;

    // Every scheme colour is opaque; a setting without alpha would otherwise make
    // the panels see-through.
    mainColour = colour | 0xff000000;

    const float k = screenContrast;
    calcCol(mainColour, 1.0f / k, darkerColour);
    calcCol(mainColour, 1.0f / (k * k), darkestColour);
    calcCol(mainColour, k, lighterColour);
    calcCol(mainColour, k * k, lightestColour);

    float r, g, b;
    splitCol(mainColour, r, g, b);
    if ((r + g + b) / 3.0f > 128.0f)
    {
        textColour = 0xff000000;
        textInvColour = 0xffffffff;
    }
    else
    {
        textColour = 0xffffffff;
        textInvColour = 0xff000000;
    }

    float h, s, l;
    splitCol(darkerColour, r, g, b);
    RGB2HSL(r, g, b, h, s, l);
    h += 0.5f;
    if (h > 1.0f)
        h -= 1.0f;
    s = juce::jmin(1.0f, s + 0.5f);
    HSL2RGB(h, s, l, r, g, b);
    mergeCol(r, g, b, complementColour);
}
