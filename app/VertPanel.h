#pragma once

#include "look/ColouredBox.h"

#include <juce_audio_devices/juce_audio_devices.h>

class HorPanel;
class Timeline;

// The window's content: the upper panels above, the lightshow timeline below, a
// bar between them. The show player takes the timeline into its own layout.
class VertPanel : public ColouredBox
{
public:
    explicit VertPanel(juce::AudioDeviceManager& deviceManager);
    ~VertPanel() override;
    void resized() override;
    void lookAndFeelChanged() override;

    // With the timeline (and its bar) in this panel, or the upper panels alone.
    void setShowTimeline(bool show);
    bool isShowingTimeline() const { return showTimeline; }

    HorPanel* getHorPanel() const { return horPanel.get(); }
    Timeline* getTimeline() const { return timelinePanel.get(); }

private:
    std::unique_ptr<HorPanel> horPanel;
    std::unique_ptr<juce::StretchableLayoutResizerBar> bar;
    std::unique_ptr<Timeline> timelinePanel;
    juce::StretchableLayoutManager layout;
    bool showTimeline = true;
};
