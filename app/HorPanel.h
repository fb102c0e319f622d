#pragma once

#include "look/ColouredBox.h"

#include <juce_audio_devices/juce_audio_devices.h>

class GraphDocumentComponent;
class LibraryPanel;
class RightPanel;

// The upper part of the window: the library on the left, the right panel beside
// it, a bar between them; the processing graph lives here, hidden.
class HorPanel : public ColouredBox
{
public:
    explicit HorPanel(juce::AudioDeviceManager& deviceManager);
    ~HorPanel() override;
    void resized() override;
    void lookAndFeelChanged() override;

    GraphDocumentComponent* getGraphDocument() const { return graphDocument.get(); }

private:
    std::unique_ptr<GraphDocumentComponent> graphDocument;
    std::unique_ptr<LibraryPanel> libraryPanel;
    std::unique_ptr<juce::StretchableLayoutResizerBar> bar;
    std::unique_ptr<RightPanel> rightPanel;
    juce::StretchableLayoutManager layout;
};
