#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_extra/juce_gui_extra.h>

// The processing graph every sound and MIDI message of the program runs through:
// audio in (1), MIDI in (2), audio out (3), the file player (4) and the lighting
// controller (5). It can be saved and loaded as a ".filtergraph" document.
class FilterGraph : public juce::FileBasedDocument
{
public:
    using NodeID = juce::AudioProcessorGraph::NodeID;
    using Node = juce::AudioProcessorGraph::Node;

    FilterGraph();
    ~FilterGraph() override;

    juce::AudioProcessorGraph& getGraph() noexcept { return graph; }

    // Adds a node made from the description at a relative position (0..1).
    juce::AudioProcessor* addFilter(const juce::PluginDescription* description, double x,
                                    double y);
    void removeFilter(NodeID id);
    void disconnectFilter(NodeID id);
    void removeIllegalConnections();

    void setNodePosition(NodeID id, double x, double y);
    juce::Point<double> getNodePosition(NodeID id) const;

    int getNumFilters() const noexcept { return graph.getNumNodes(); }
    Node::Ptr getNode(int index) const noexcept { return graph.getNode(index); }
    Node* getNodeForId(NodeID id) const { return graph.getNodeForId(id); }

    int getNumConnections() const;
    std::optional<juce::AudioProcessorGraph::Connection> getConnection(int index) const;
    std::optional<juce::AudioProcessorGraph::Connection>
    getConnectionBetween(NodeID source, int sourceChannel, NodeID dest, int destChannel) const;
    bool canConnect(NodeID source, int sourceChannel, NodeID dest, int destChannel) const;
    bool addConnection(NodeID source, int sourceChannel, NodeID dest, int destChannel);
    void removeConnection(int index);
    void removeConnection(NodeID source, int sourceChannel, NodeID dest, int destChannel);

    // Removes every node and connection.
    void clear();

    std::unique_ptr<juce::XmlElement> createXml() const;
    // Replaces the graph by the document's nodes and connections. The file player
    // and the lighting controller the program is running with stay: the document's
    // controller state is given to the running controller.
    void restoreFromXml(const juce::XmlElement& xml);

    // FileBasedDocument
    juce::String getDocumentTitle() override;
    juce::Result loadDocument(const juce::File& file) override;
    juce::Result saveDocument(const juce::File& file) override;
    juce::File getLastDocumentOpened() override;
    void setLastDocumentOpened(const juce::File& file) override;

    // The node of the running lighting controller, or null.
    Node* getControllerNode() const;

    static constexpr int midiChannel = juce::AudioProcessorGraph::midiChannelIndex;

private:
    std::unique_ptr<juce::AudioPluginInstance> createInstance(const juce::PluginDescription&,
                                                              juce::String& error) const;
    // Clears filePlayer or glimraApi before the node they point into goes.
    void forgetNode(Node* node);
    void removeNodeKeepingGlobals(NodeID id);

    juce::AudioProcessorGraph graph;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(FilterGraph)
};
