#include "engine/GlimraEditor.h"

namespace
{
namespace colours
{
const juce::Colour background(0xff121418);
const juce::Colour header(0xff1b1e24);
const juce::Colour row(0xff1f232a);
const juce::Colour rowLit(0xff262219);
const juce::Colour outline(0xff2c313a);
const juce::Colour text(0xffe8e6e1);
const juce::Colour secondary(0xff9aa0aa);
const juce::Colour dim(0xff5c626c);
const juce::Colour accent(0xffffb341);
const juce::Colour barBack(0xff0b0c0f);
} // namespace colours

const int headerHeight = 68;
const int footerHeight = 68;
const int rowHeight = 50;
const int maxBanksShown = 256;

// "128", "97.5", "97.25": as a performer would write the tempo.
juce::String tempoText(float bpm)
{
    if (!(bpm > 0.0f))
        return "-";
    auto text = juce::String(bpm, 2);
    return text.trimCharactersAtEnd("0").trimCharactersAtEnd(".");
}

juce::Font font(float height, bool bold = false)
{
    return juce::Font(height, bold ? juce::Font::bold : juce::Font::plain);
}
} // namespace

// The banks of the current show, one row each, inside the window's viewport.
class GlimraEditor::BankList : public juce::Component
{
public:
    void setBanks(const juce::Array<BankView>& newBanks)
    {
        banks = newBanks;
        repaint();
    }

    int heightFor(int banksShown) const { return juce::jmax(1, banksShown) * rowHeight + 8; }

    void paint(juce::Graphics& g) override
    {
        if (banks.isEmpty())
        {
            g.setColour(colours::dim);
            g.setFont(font(15.0f));
            g.drawText("This show has no banks", getLocalBounds(), juce::Justification::centred);
            return;
        }
        for (int i = 0; i < banks.size(); ++i)
            paintRow(
                g, banks.getReference(i),
                juce::Rectangle<int>(0, 4 + i * rowHeight, getWidth(), rowHeight).reduced(12, 4));
    }

private:
    static void paintRow(juce::Graphics& g, const BankView& bank, juce::Rectangle<int> area)
    {
        bool lit = bank.level > 0.0f;
        g.setColour(lit ? colours::rowLit : colours::row);
        g.fillRoundedRectangle(area.toFloat(), 6.0f);
        g.setColour(colours::outline);
        g.drawRoundedRectangle(area.toFloat().reduced(0.5f), 6.0f, 1.0f);

        auto inner = area.reduced(12, 5);
        auto names = inner.removeFromLeft(juce::roundToInt(inner.getWidth() * 0.45f));
        g.setColour(colours::text);
        g.setFont(font(15.0f, true));
        g.drawFittedText(bank.name, names.removeFromTop(names.getHeight() / 2),
                         juce::Justification::centredLeft, 1);
        g.setFont(font(13.5f));
        g.setColour(bank.preset.isEmpty() ? colours::dim : colours::accent);
        g.drawFittedText(bank.preset.isEmpty() ? juce::String("Off") : bank.preset, names,
                         juce::Justification::centredLeft, 1);

        inner.removeFromLeft(10);
        auto percent = inner.removeFromRight(46);
        g.setColour(lit ? colours::text : colours::dim);
        g.setFont(font(13.5f));
        g.drawText(juce::String(juce::roundToInt(bank.level * 100.0f)) + "%", percent,
                   juce::Justification::centredRight);

        auto bar = inner.withSizeKeepingCentre(inner.getWidth(), 12).toFloat();
        g.setColour(colours::barBack);
        g.fillRoundedRectangle(bar, 3.0f);
        if (lit)
        {
            auto fill = bar.withWidth(juce::jmax(3.0f, bar.getWidth() * bank.level));
            g.setGradientFill(juce::ColourGradient(colours::accent.darker(0.5f), fill.getX(), 0.0f,
                                                   colours::accent, fill.getRight(), 0.0f, false));
            g.fillRoundedRectangle(fill, 3.0f);
        }
        g.setColour(colours::outline);
        g.drawRoundedRectangle(bar, 3.0f, 1.0f);
    }

    juce::Array<BankView> banks;
};

GlimraEditor::GlimraEditor(GlimraPluginInstance& instance)
    : AudioProcessorEditor(instance), api(instance.getControllerApi()),
      bankList(std::make_unique<BankList>())
{
    look.setColourScheme(juce::LookAndFeel_V4::getMidnightColourScheme());
    setLookAndFeel(&look);

    viewport.setViewedComponent(bankList.get(), false);
    viewport.setScrollBarsShown(true, false);
    addAndMakeVisible(viewport);

    for (auto* button : {&previousButton, &nextButton})
    {
        button->setColour(juce::TextButton::buttonColourId, juce::Colour(0xff2a2f38));
        button->setColour(juce::TextButton::buttonOnColourId, colours::accent);
        button->setColour(juce::TextButton::textColourOffId, colours::text);
        button->setColour(juce::ComboBox::outlineColourId, colours::outline);
        addAndMakeVisible(button);
    }
    previousButton.onClick = [this] { pressFootswitch(1); };
    nextButton.onClick = [this] { pressFootswitch(0); };

    setResizable(true, true);
    setResizeLimits(360, 260, 2000, 1400);
    setSize(480, 360);

    refresh();
    startTimerHz(25);
}

GlimraEditor::~GlimraEditor()
{
    stopTimer();
    setLookAndFeel(nullptr);
}

void GlimraEditor::pressFootswitch(int which)
{
    if (api != nullptr && api->pressFootswitch != nullptr)
        api->pressFootswitch(which);
}

void GlimraEditor::refresh()
{
    if (api == nullptr)
        return;

    // Every text is copied before the next call: the controller's buffers are
    // reused from one call to the next.
    RigView rig;
    if (api->getCurrentShow != nullptr)
        rig.show = textFromGlimra(api->getCurrentShow());
    if (api->getTempo != nullptr)
        rig.tempo = api->getTempo();
    auto numBanks = api->getNumBanks != nullptr && api->getBankName != nullptr
                        ? juce::jlimit(0, maxBanksShown, (int)api->getNumBanks())
                        : 0;
    for (int i = 0; i < numBanks; ++i)
    {
        // The bank is asked for by the very bytes the controller named it with.
        auto* answer = api->getBankName(i);
        std::string name = answer != nullptr ? answer : "";
        BankView bank;
        bank.name = textFromGlimra(name.c_str());
        if (api->getActivePreset != nullptr)
            bank.preset = textFromGlimra(api->getActivePreset(name.c_str()));
        if (api->getBankLevel != nullptr)
        {
            auto level = api->getBankLevel(name.c_str());
            bank.level = std::isfinite(level) ? juce::jlimit(0.0f, 1.0f, level) : 0.0f;
        }
        rig.banks.add(bank);
    }

    if (rig == shown)
        return;
    bool rowsChanged = rig.banks.size() != shown.banks.size();
    shown = std::move(rig);
    bankList->setBanks(shown.banks);
    if (rowsChanged)
        resized();
    repaint(getLocalBounds().removeFromTop(headerHeight));
}

void GlimraEditor::paint(juce::Graphics& g)
{
    g.fillAll(colours::background);

    auto header = getLocalBounds().removeFromTop(headerHeight);
    g.setGradientFill(juce::ColourGradient(colours::header, 0.0f, 0.0f, colours::background, 0.0f,
                                           (float)headerHeight, false));
    g.fillRect(header);
    g.setColour(colours::outline);
    g.drawHorizontalLine(headerHeight - 1, 0.0f, (float)getWidth());

    auto area = header.reduced(16, 10);
    auto tempoArea = area.removeFromRight(120);
    g.setColour(colours::accent);
    g.setFont(font(12.0f, true));
    g.drawText("GLIMRA  SHOW", area.removeFromTop(16), juce::Justification::centredLeft);
    g.setColour(colours::text);
    g.setFont(font(22.0f, true));
    g.drawFittedText(shown.show.isEmpty() ? juce::String("-") : shown.show, area,
                     juce::Justification::centredLeft, 1);

    g.setColour(colours::accent);
    g.setFont(font(12.0f, true));
    g.drawText("TEMPO", tempoArea.removeFromTop(16), juce::Justification::centredRight);
    g.setColour(colours::text);
    g.setFont(font(22.0f, true));
    auto bpm = tempoArea.removeFromRight(40);
    g.drawText(tempoText(shown.tempo), tempoArea, juce::Justification::centredRight);
    g.setColour(colours::secondary);
    g.setFont(font(13.0f));
    g.drawText("BPM", bpm.withTrimmedTop(6), juce::Justification::centredRight);

    auto footer = getLocalBounds().removeFromBottom(footerHeight);
    g.setColour(colours::header);
    g.fillRect(footer);
    g.setColour(colours::outline);
    g.drawHorizontalLine(footer.getY(), 0.0f, (float)getWidth());
    g.setColour(colours::dim);
    g.setFont(font(11.0f, true));
    g.drawText("FOOTSWITCH", footer.withHeight(18), juce::Justification::centred);
}

void GlimraEditor::resized()
{
    auto area = getLocalBounds();
    area.removeFromTop(headerHeight);
    // Wide enough margins that the resize corner never lies over "Next".
    auto footer = area.removeFromBottom(footerHeight).reduced(22, 0).withTrimmedTop(18);
    footer.removeFromBottom(12);

    auto half = (footer.getWidth() - 12) / 2;
    previousButton.setBounds(footer.removeFromLeft(half));
    nextButton.setBounds(footer.removeFromRight(half));

    viewport.setBounds(area.reduced(0, 4));
    auto listHeight = bankList->heightFor(shown.banks.size());
    auto needsScrolling = listHeight > viewport.getHeight();
    bankList->setSize(viewport.getWidth() - (needsScrolling ? viewport.getScrollBarThickness() : 0),
                      juce::jmax(listHeight, viewport.getHeight()));
}
