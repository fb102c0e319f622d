#include "look/GlimraLookAndFeel.h"

#include "app/AppGlobals.h"
#include "look/ColourScheme.h"

#include <juce_gui_extra/juce_gui_extra.h>

#include <utility>

namespace
{
// The one owner of the installed look and feel.
std::unique_ptr<GlimraLookAndFeel> installedLookAndFeel;

juce::Colour col(juce::uint32 argb)
{
    return juce::Colour(argb);
}
} // namespace

juce::Font GlimraLookAndFeel::sansSerif(double size)
{
    return juce::Font(juce::Font::getDefaultSansSerifFontName(), (float)size, juce::Font::plain);
}

GlimraLookAndFeel::GlimraLookAndFeel()
{
    using namespace juce;
    setColour(TextButton::buttonColourId, col(glimraBtnColour));
    setColour(TextButton::buttonOnColourId, col(glimraOraColour));
    setColour(TextButton::textColourOffId, col(textColour));
    setColour(TextButton::textColourOnId, col(textColour));
    setColour(AlertWindow::backgroundColourId, col(darkerColour));
    setColour(AlertWindow::textColourId, col(textColour));
    setColour(AlertWindow::outlineColourId, col(lightestColour));
    setColour(Slider::textBoxBackgroundColourId, col(darkestColour));
    setColour(Slider::backgroundColourId, col(darkerColour));
    setColour(Slider::thumbColourId, col(lighterColour));
    setColour(Slider::textBoxTextColourId, col(textColour));
    setColour(Label::textColourId, col(textColour));
    setColour(CaretComponent::caretColourId, col(textColour));
    setColour(TextEditor::backgroundColourId, col(darkestColour));
    setColour(TextEditor::textColourId, col(textColour));
    setColour(TextEditor::highlightColourId, Colours::grey.withAlpha(0.5f));
    setColour(TextEditor::highlightedTextColourId, col(textColour));
    setColour(TextEditor::focusedOutlineColourId, col(lightestColour));
    setColour(ToggleButton::textColourId, col(textColour));
    setColour(ComboBox::backgroundColourId, col(glimraLtGreyColour));
    setColour(ComboBox::textColourId, col(textColour));
    setColour(ComboBox::outlineColourId, col(darkestColour));
    setColour(ComboBox::buttonColourId, col(darkestColour));
    setColour(ComboBox::arrowColourId, col(lightestColour));
    setColour(ScrollBar::thumbColourId, col(lightestColour));
    setColour(ColourSelector::backgroundColourId, col(glimraLtGreyColour));
    setColour(TabbedComponent::backgroundColourId, col(glimraLtGreyColour));
    setColour(TabbedComponent::outlineColourId, col(glimraDkGreyColour));
    setColour(Toolbar::backgroundColourId, col(glimraDkGreyColour));
    setColour(Toolbar::labelTextColourId, col(textColour));
    setColour(TreeView::backgroundColourId, col(glimraDkGreyColour));
    setColour(TreeView::linesColourId, col(textColour));
    setColour(ListBox::outlineColourId, col(lightestColour));
    setColour(ListBox::backgroundColourId, col(glimraLtGreyColour));
}

//==============================================================================
void GlimraLookAndFeel::drawButtonBackground(juce::Graphics& g, juce::Button& button,
                                             const juce::Colour& backgroundColour,
                                             bool isMouseOverButton, bool isButtonDown)
{
    const bool enabled = button.isEnabled();
    const float thickness = !enabled ? 0.4f : (isButtonDown || isMouseOverButton ? 2.0f : 0.7f);
    const float half = thickness * 0.5f;

    const float indentL = button.isConnectedOnLeft() ? 0.1f : half;
    const float indentR = button.isConnectedOnRight() ? 0.1f : half;
    const float indentT = button.isConnectedOnTop() ? 0.1f : half;
    const float indentB = button.isConnectedOnBottom() ? 0.1f : half;

    auto base =
        backgroundColour.withMultipliedSaturation(button.hasKeyboardFocus(true) ? 1.3f : 0.9f);
    if (isButtonDown)
        base = base.contrasting(0.2f);
    else if (isMouseOverButton)
        base = base.contrasting(0.1f);
    base = base.withMultipliedAlpha(enabled ? 1.0f : 0.5f);

    myDrawGlassLozenge(g, indentL, indentT, (float)button.getWidth() - indentL - indentR,
                       (float)button.getHeight() - indentT - indentB, base, thickness, 6.0f,
                       button.isConnectedOnLeft(), button.isConnectedOnRight(),
                       button.isConnectedOnTop(), button.isConnectedOnBottom());
}

void GlimraLookAndFeel::myDrawGlassLozenge(juce::Graphics& g, float x, float y, float width,
                                           float height, const juce::Colour& colour,
                                           float outlineThickness, float cornerSize,
                                           bool flatOnLeft, bool flatOnRight, bool flatOnTop,
                                           bool flatOnBottom)
{
    using namespace juce;
    if (width <= outlineThickness || height <= outlineThickness)
        return;

    const float cs = cornerSize < 0.0f ? jmin(width, height) * 0.5f : cornerSize;
    const float edgeBlur = height * 0.75f + (height - cs * 2.0f);

    const bool curveTL = !(flatOnLeft || flatOnTop);
    const bool curveTR = !(flatOnRight || flatOnTop);
    const bool curveBL = !(flatOnLeft || flatOnBottom);
    const bool curveBR = !(flatOnRight || flatOnBottom);

    Path outline;
    createRoundedPath(outline, x, y, width, height, cs, curveTL, curveTR, curveBL, curveBR);

    const auto shade = colour.darker(0.2f);

    // Body: darker at the very top and bottom, full colour through the middle.
    {
        ColourGradient body(shade, 0.0f, y, shade, 0.0f, y + height, false);
        body.addColour(0.03, colour.withMultipliedAlpha(0.3f));
        body.addColour(0.4, colour);
        body.addColour(0.97, colour.withMultipliedAlpha(0.3f));
        g.setGradientFill(body);
        g.fillPath(outline);
    }

    // Rounded ends get a soft shadow towards their edge.
    if (edgeBlur > 0.0f)
    {
        auto shadeEnd = [&](float centreX, float edgeX, float stripX)
        {
            ColourGradient end(Colours::transparentBlack, centreX, y + height * 0.5f, shade, edgeX,
                               y + height * 0.5f, true);
            end.addColour(jlimit(0.0, 1.0, 1.0 - cs / (2.0 * edgeBlur)), Colours::transparentBlack);
            end.addColour(jlimit(0.0, 1.0, 1.0 - cs / (4.0 * edgeBlur)), shade.withAlpha(0.3f));

            Graphics::ScopedSaveState state(g);
            g.reduceClipRegion(
                Rectangle<float>(stripX, y, edgeBlur, height).getSmallestIntegerContainer());
            g.setGradientFill(end);
            g.fillPath(outline);
        };

        if (!(flatOnLeft || flatOnTop || flatOnBottom))
            shadeEnd(x + edgeBlur, x, x);
        if (!(flatOnRight || flatOnTop || flatOnBottom))
            shadeEnd(x + width - edgeBlur, x + width, x + width - edgeBlur);
    }

    // Highlight over the upper part, fading from the body colour to nothing.
    {
        const float leftIndent = curveTL ? cs * 0.4f : 0.0f;
        const float rightIndent = curveTR ? cs * 0.4f : 0.0f;

        Path highlight;
        createRoundedPath(highlight, x + leftIndent, y + cs * 0.1f,
                          width - leftIndent - rightIndent, height * 0.4f, cs * 0.4f, curveTL,
                          curveTR, curveBL, curveBR);

        g.setGradientFill(ColourGradient(colour, 0.0f, y + height * 0.06f,
                                         Colours::transparentWhite, 0.0f, y + height * 0.4f,
                                         false));
        g.fillPath(highlight);
    }

    g.setColour(colour.darker(0.4f).withMultipliedAlpha(1.5f));
    g.strokePath(outline, PathStrokeType(outlineThickness));
}

void createRoundedPath(juce::Path& path, float x, float y, float w, float h, float cornerSize,
                       bool curveTopLeft, bool curveTopRight, bool curveBottomLeft,
                       bool curveBottomRight)
{
    using juce::MathConstants;
    const float cs = juce::jlimit(0.0f, juce::jmin(w, h) * 0.5f, cornerSize);
    const float d = cs * 2.0f;
    const float pi = MathConstants<float>::pi;

    // Clockwise from the top-left corner; arc angles run clockwise from 12 o'clock.
    path.startNewSubPath(x + (curveTopLeft ? cs : 0.0f), y);

    if (curveTopRight)
    {
        path.lineTo(x + w - cs, y);
        path.addArc(x + w - d, y, d, d, 0.0f, pi * 0.5f);
    }
    else
        path.lineTo(x + w, y);

    if (curveBottomRight)
    {
        path.lineTo(x + w, y + h - cs);
        path.addArc(x + w - d, y + h - d, d, d, pi * 0.5f, pi);
    }
    else
        path.lineTo(x + w, y + h);

    if (curveBottomLeft)
    {
        path.lineTo(x + cs, y + h);
        path.addArc(x, y + h - d, d, d, pi, pi * 1.5f);
    }
    else
        path.lineTo(x, y + h);

    if (curveTopLeft)
    {
        path.lineTo(x, y + cs);
        path.addArc(x, y, d, d, pi * 1.5f, pi * 2.0f);
    }
    else
        path.lineTo(x, y);

    path.closeSubPath();
}

//==============================================================================
juce::Font GlimraLookAndFeel::getTextButtonFont(juce::TextButton&, int)
{
    return sansSerif(smallFontSz);
}

void GlimraLookAndFeel::drawTextButtonLabel(juce::Graphics& g, juce::TextButton& button,
                                            const juce::Font& font, int extraLeftIndent)
{
    using namespace juce;
    g.setFont(font);
    g.setColour(button
                    .findColour(button.getToggleState() ? TextButton::textColourOnId
                                                        : TextButton::textColourOffId)
                    .withMultipliedAlpha(button.isEnabled() ? 1.0f : 0.5f));

    const int width = button.getWidth();
    const int height = button.getHeight();
    const int yIndent = jmin(4, button.proportionOfHeight(0.3f));
    const int cornerSize = jmin(width, height) / 2;
    const int fontIndent = roundToInt(font.getHeight() * 0.6f);
    const int leftIndent =
        jmin(fontIndent, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2)) + extraLeftIndent;
    const int rightIndent =
        jmin(fontIndent, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const int textWidth = width - leftIndent - rightIndent;

    // Too narrow for even one letter and an ellipsis (an icon button in a crowded
    // toolbar): a lone ".." would only be noise next to the icon.
    const auto& text = button.getButtonText();
    const float leastWidth = font.getStringWidthFloat(text.substring(0, 1) + "...") * 0.7f;
    if (text.isNotEmpty() && (float)textWidth >= leastWidth)
        g.drawFittedText(text, leftIndent, yIndent, textWidth, height - yIndent * 2,
                         Justification::centred, 2, 0.7f);
}

void GlimraLookAndFeel::drawButtonText(juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    drawTextButtonLabel(g, button, getTextButtonFont(button, button.getHeight()), 0);
}

void GlimraLookAndFeel::drawToggleButton(juce::Graphics& g, juce::ToggleButton& button,
                                         bool isMouseOverButton, bool isButtonDown)
{
    using namespace juce;
    if (button.hasKeyboardFocus(true))
    {
        g.setColour(button.findColour(TextEditor::focusedOutlineColourId));
        g.drawRect(button.getLocalBounds());
    }

    const float boxSize = jmin(15.0f, (float)button.getHeight() * 0.75f) * 1.1f;
    const float boxX = 4.0f;
    drawTickBox(g, button, boxX, ((float)button.getHeight() - boxSize) * 0.5f, boxSize, boxSize,
                button.getToggleState(), button.isEnabled(), isMouseOverButton, isButtonDown);

    g.setColour(button.findColour(ToggleButton::textColourId));
    g.setFont(sansSerif(smallFontSz));
    if (!button.isEnabled())
        g.setOpacity(0.5f);

    const int textX = roundToInt(boxX + boxSize) + 5;
    g.drawFittedText(button.getButtonText(), textX, 0, jmax(0, button.getWidth() - textX - 2),
                     button.getHeight(), Justification::centredLeft, 10, 0.7f);
}

void GlimraLookAndFeel::drawTickBox(juce::Graphics& g, juce::Component& component, float x, float y,
                                    float w, float h, bool ticked, bool isEnabled,
                                    bool isMouseOverButton, bool isButtonDown)
{
    using namespace juce;
    const float sphere = w * 0.7f;

    auto colour = component.findColour(TextButton::buttonColourId).withMultipliedSaturation(1.3f);
    if (isButtonDown)
        colour = colour.contrasting(0.2f);
    else if (isMouseOverButton)
        colour = colour.contrasting(0.1f);
    colour = colour.withMultipliedAlpha(isEnabled ? 1.0f : 0.5f);

    const float outline = !isEnabled ? 0.3f : (isButtonDown || isMouseOverButton ? 1.1f : 0.5f);
    drawGlassSphere(g, x, y + (h - sphere) * 0.5f, sphere, colour, outline);

    if (ticked)
    {
        Path tick;
        tick.startNewSubPath(1.5f, 3.0f);
        tick.lineTo(3.0f, 6.0f);
        tick.lineTo(6.0f, 0.0f);

        g.setColour(col(textColour).withMultipliedAlpha(isEnabled ? 1.0f : 0.5f));
        g.strokePath(tick, PathStrokeType(2.5f),
                     AffineTransform::scale(w / 9.0f, h / 9.0f).translated(x, y));
    }
}

//==============================================================================
juce::Font GlimraLookAndFeel::getAlertWindowFont()
{
    return sansSerif(defFontSz);
}

juce::Font GlimraLookAndFeel::getPopupMenuFont()
{
    return sansSerif(smallFontSz);
}

juce::Font GlimraLookAndFeel::getMenuBarFont(juce::MenuBarComponent&, int, const juce::String&)
{
    return sansSerif(smallFontSz);
}

juce::Font GlimraLookAndFeel::getComboBoxFont(juce::ComboBox&)
{
    return sansSerif(defFontSz);
}

juce::Label* GlimraLookAndFeel::createSliderTextBox(juce::Slider& slider)
{
    auto* label = LookAndFeel_V2::createSliderTextBox(slider);
    label->setFont(sansSerif(defFontSz));
    return label;
}

void GlimraLookAndFeel::drawTabButtonText(juce::TabBarButton& button, juce::Graphics& g,
                                          bool isMouseOver, bool isMouseDown)
{
    using namespace juce;
    const auto area = button.getTextArea().toFloat();
    auto& bar = button.getTabbedButtonBar();

    float length = area.getWidth();
    float depth = area.getHeight();
    if (bar.isVertical())
        std::swap(length, depth);

    // Vertical tab bars have their text turned along the bar.
    AffineTransform transform;
    switch (bar.getOrientation())
    {
    case TabbedButtonBar::TabsAtLeft:
        transform = AffineTransform::rotation(-MathConstants<float>::halfPi)
                        .translated(area.getX(), area.getBottom());
        break;
    case TabbedButtonBar::TabsAtRight:
        transform = AffineTransform::rotation(MathConstants<float>::halfPi)
                        .translated(area.getRight(), area.getY());
        break;
    default:
        transform = AffineTransform::translation(area.getX(), area.getY());
        break;
    }

    Colour colour;
    if (button.isFrontTab() && (bar.isColourSpecified(TabbedButtonBar::frontTextColourId) ||
                                isColourSpecified(TabbedButtonBar::frontTextColourId)))
        colour = bar.findColour(TabbedButtonBar::frontTextColourId);
    else if (bar.isColourSpecified(TabbedButtonBar::tabTextColourId) ||
             isColourSpecified(TabbedButtonBar::tabTextColourId))
        colour = bar.findColour(TabbedButtonBar::tabTextColourId);
    else
        colour = button.getTabBackgroundColour().contrasting();

    const float alpha = button.isEnabled() ? (isMouseOver || isMouseDown ? 1.0f : 0.8f) : 0.3f;

    auto font = sansSerif(smallFontSz);
    font.setUnderline(button.hasKeyboardFocus(false));

    g.setColour(colour.withMultipliedAlpha(alpha));
    g.setFont(font);
    g.addTransform(transform);
    g.drawFittedText(button.getButtonText().trim(), 0, 0, (int)length, (int)depth,
                     Justification::centred, jmax(1, (int)(depth / 12.0f)));
}

//==============================================================================
void GlimraLookAndFeel::drawPropertyPanelSectionHeader(juce::Graphics& g, const juce::String& name,
                                                       bool isOpen, int width, int height)
{
    using namespace juce;
    const float boxSize = (float)height * 0.75f;
    const float boxPos = ((float)height - boxSize) * 0.5f;
    drawTreeviewPlusMinusBox(g, {boxPos, boxPos, boxSize, boxSize}, col(darkerColour), isOpen,
                             false);

    const int textX = (int)(boxSize + 2.0f + boxPos * 2.0f);
    g.setColour(col(textColour));
    g.setFont(sansSerif(defFontSz));
    g.drawText(name, textX, 0, jmax(0, width - textX - 4), height, Justification::centredLeft,
               true);
}

void GlimraLookAndFeel::drawPropertyComponentBackground(juce::Graphics& g, int width, int height,
                                                        juce::PropertyComponent&)
{
    g.setColour(col(darkerColour));
    g.fillRect(0, 0, width, height - 1);
}

void GlimraLookAndFeel::drawPropertyComponentLabel(juce::Graphics& g, int, int,
                                                   juce::PropertyComponent& component)
{
    using namespace juce;
    g.setColour(col(textColour).withMultipliedAlpha(component.isEnabled() ? 1.0f : 0.6f));
    g.setFont(sansSerif(defFontSz));

    const auto content = getPropertyComponentContentPosition(component);
    g.drawFittedText(component.getName(), 3, content.getY(), content.getX() - 5,
                     content.getHeight(), Justification::centredLeft, 2, 0.7f);
}

//==============================================================================
void loadLookAndFeel()
{
    calculateColourScheme();
    unloadLookAndFeel();
    installedLookAndFeel = std::make_unique<GlimraLookAndFeel>();
    juce::LookAndFeel::setDefaultLookAndFeel(installedLookAndFeel.get());
}

void unloadLookAndFeel()
{
    if (installedLookAndFeel == nullptr)
        return;
    // JUCE keeps only a weak reference to its default: it must let go first, or
    // components would repaint with a dead object in between.
    juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
    installedLookAndFeel.reset();
}

GlimraLookAndFeel* getGlimraLookAndFeel()
{
    return installedLookAndFeel.get();
}
