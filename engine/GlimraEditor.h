#pragma once

#include "engine/GlimraPluginInstance.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The GLIMRA window: the rig as it is now (the current show, its tempo, each
// bank's active preset and level following the fades) and the two footswitches.
// It polls the controller's live state; pressing a footswitch goes to the
// controller, which calls the host back as the hardware would.
class GlimraEditor : public juce::AudioProcessorEditor, private juce::Timer
{
public:
    explicit GlimraEditor(GlimraPluginInstance& instance);
    ~GlimraEditor() override;

    struct BankView
    {
        juce::String name;
        juce::String preset; // empty while the bank is off
        float level = 0.0f;

        bool operator==(const BankView& o) const
        {
            return name == o.name && preset == o.preset && level == o.level;
        }
        bool operator!=(const BankView& o) const { return !(*this == o); }
    };

    struct RigView
    {
        juce::String show;
        float tempo = 0.0f;
        juce::Array<BankView> banks;

        bool operator==(const RigView& o) const
        {
            return show == o.show && tempo == o.tempo && banks == o.banks;
        }
        bool operator!=(const RigView& o) const { return !(*this == o); }
    };

    // Reads the rig now, as the timer does ~25 times a second.
    void refresh();
    const RigView& getRigShown() const { return shown; }

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    class BankList;

    void timerCallback() override { refresh(); }
    void pressFootswitch(int which);

    const GlimraApi* api;
    RigView shown;
    juce::LookAndFeel_V4 look;
    std::unique_ptr<BankList> bankList;
    juce::Viewport viewport;
    juce::TextButton previousButton{"Previous"};
    juce::TextButton nextButton{"Next"};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GlimraEditor)
};
