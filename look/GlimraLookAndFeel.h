#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The program's drawing style: dark glass buttons, the scheme colours of
// look/ColourScheme.h and the font sizes of the preferences. It reads the colour
// globals when it is made, so a changed scheme needs a new object (loadLookAndFeel).
class GlimraLookAndFeel : public juce::LookAndFeel_V2
{
public:
    GlimraLookAndFeel();

    void drawButtonBackground(juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                              bool isMouseOverButton, bool isButtonDown) override;
    juce::Font getTextButtonFont(juce::TextButton&, int buttonHeight) override;
    void drawButtonText(juce::Graphics&, juce::TextButton&, bool isMouseOverButton,
                        bool isButtonDown) override;
    void drawToggleButton(juce::Graphics&, juce::ToggleButton&, bool isMouseOverButton,
                          bool isButtonDown) override;
    void drawTickBox(juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                     bool ticked, bool isEnabled, bool isMouseOverButton,
                     bool isButtonDown) override;

    juce::Font getAlertWindowFont() override;
    juce::Font getPopupMenuFont() override;
    juce::Font getMenuBarFont(juce::MenuBarComponent&, int itemIndex,
                              const juce::String& itemText) override;
    juce::Font getComboBoxFont(juce::ComboBox&) override;
    juce::Label* createSliderTextBox(juce::Slider&) override;
    void drawTabButtonText(juce::TabBarButton&, juce::Graphics&, bool isMouseOver,
                           bool isMouseDown) override;

    void drawPropertyPanelSectionHeader(juce::Graphics&, const juce::String& name, bool isOpen,
                                        int width, int height) override;
    void drawPropertyComponentBackground(juce::Graphics&, int width, int height,
                                         juce::PropertyComponent&) override;
    void drawPropertyComponentLabel(juce::Graphics&, int width, int height,
                                    juce::PropertyComponent&) override;

    // A glass lozenge whose upper highlight fades out from the body colour itself,
    // so that dark buttons stay dark instead of getting a white sheen.
    virtual void myDrawGlassLozenge(juce::Graphics&, float x, float y, float width, float height,
                                    const juce::Colour& colour, float outlineThickness,
                                    float cornerSize, bool flatOnLeft, bool flatOnRight,
                                    bool flatOnTop, bool flatOnBottom);

    // A text button's label in its text colour, fitted between the side indents.
    // extraLeftIndent makes room for an icon at the left.
    static void drawTextButtonLabel(juce::Graphics&, juce::TextButton&, const juce::Font&,
                                    int extraLeftIndent);

    // "<Sans-Serif>" at the given size: every font of the program is one of these.
    static juce::Font sansSerif(double size);
};

// A closed rectangle outline whose chosen corners are quarter arcs of cornerSize
// and whose other corners are square.
void createRoundedPath(juce::Path& path, float x, float y, float w, float h, float cornerSize,
                       bool curveTopLeft, bool curveTopRight, bool curveBottomLeft,
                       bool curveBottomRight);

// Derives the colour scheme from the settings and installs a new GlimraLookAndFeel
// as JUCE's default; called at start-up and whenever a font size changes. The
// previous object is removed as default before it is deleted.
void loadLookAndFeel();

// Removes the installed look and feel and deletes it (shutdown, tests).
void unloadLookAndFeel();

// The installed look and feel, or nullptr before the first loadLookAndFeel.
GlimraLookAndFeel* getGlimraLookAndFeel();
