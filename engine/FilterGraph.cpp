#include "engine/FilterGraph.h"

#include "app/AppGlobals.h"
#include "engine/FilePlayerProcessor.h"
#include "engine/GlimraPluginAbi.h"
#include "engine/GlimraPluginInstance.h"
#include "engine/InternalPluginFormat.h"
#include "engine/PluginWindow.h"
#include "platform/Dialogs.h"

#include <map>

using Connection = juce::AudioProcessorGraph::Connection;

namespace
{
GlimraApi* controllerTableOf(juce::AudioProcessor* processor)
{
    if (auto* instance = dynamic_cast<GlimraPluginInstance*>(processor))
        if (auto* effect = instance->getEffect())
            return static_cast<GlimraApi*>(effect->user);
    return nullptr;
}

Connection makeConnection(FilterGraph::NodeID source, int sourceChannel, FilterGraph::NodeID dest,
                          int destChannel)
{
    return {{source, sourceChannel}, {dest, destChannel}};
}
} // namespace

FilterGraph::FilterGraph()
    : FileBasedDocument(".filtergraph", "*.filtergraph", "Load a filter graph",
                        "Save a filter graph")
{
    // Stereo until a device says otherwise, so that the device nodes have pins to
    // wire even while no audio device is open.
    graph.setPlayConfigDetails(2, 2, 44100.0, 512);

    InternalPluginFormat internalFormat;
    addFilter(internalFormat.getDescriptionFor(InternalPluginFormat::audioInFilter), 0.5, 0.1f);
    addFilter(internalFormat.getDescriptionFor(InternalPluginFormat::midiInFilter), 0.25, 0.1f);
    addFilter(internalFormat.getDescriptionFor(InternalPluginFormat::audioOutFilter), 0.5, 0.9f);

    auto player = std::make_unique<FilePlayerProcessor>();
    filePlayer = player.get();
    if (auto node = graph.addNode(std::move(player)))
    {
        node->properties.set("x", (double)0.1f);
        node->properties.set("y", 0.5);
    }
    changed();
    setChangedFlag(false);
}

FilterGraph::~FilterGraph()
{
    clear();
}

juce::AudioProcessor* FilterGraph::addFilter(const juce::PluginDescription* description, double x,
                                             double y)
{
    if (description == nullptr)
        return nullptr;

    juce::String error;
    auto instance = createInstance(*description, error);
    Node::Ptr node;
    if (instance != nullptr)
        node = graph.addNode(std::move(instance));
    if (node == nullptr)
    {
        Dialogs::showMessage(DialogIcon::warning, TRANS("Couldn't create filter"), error);
        return nullptr;
    }
    node->properties.set("x", x);
    node->properties.set("y", y);
    changed();
    return node->getProcessor();
}

std::unique_ptr<juce::AudioPluginInstance>
FilterGraph::createInstance(const juce::PluginDescription& description, juce::String& error) const
{
    // Before the device has prepared the graph its rate and block size are 0.
    double rate = graph.getSampleRate() > 0 ? graph.getSampleRate() : 44100.0;
    int block = graph.getBlockSize() > 0 ? graph.getBlockSize() : 512;
    return audioFormatManager.createPluginInstance(description, rate, block, error);
}

void FilterGraph::forgetNode(Node* node)
{
    if (node == nullptr)
        return;
    PluginWindow::closeCurrentlyOpenWindowsFor(node->nodeID);
    if (node->getProcessor() == filePlayer)
        filePlayer = nullptr;
    if (glimraApi != nullptr && controllerTableOf(node->getProcessor()) == glimraApi)
        glimraApi = nullptr;
}

void FilterGraph::removeNodeKeepingGlobals(NodeID id)
{
    forgetNode(graph.getNodeForId(id));
    graph.removeNode(id);
}

void FilterGraph::removeFilter(NodeID id)
{
    if (graph.getNodeForId(id) == nullptr)
        return;
    removeNodeKeepingGlobals(id);
    changed();
}

void FilterGraph::disconnectFilter(NodeID id)
{
    if (graph.disconnectNode(id))
        changed();
}

void FilterGraph::removeIllegalConnections()
{
    if (graph.removeIllegalConnections())
        changed();
}

void FilterGraph::setNodePosition(NodeID id, double x, double y)
{
    if (auto* node = graph.getNodeForId(id))
    {
        node->properties.set("x", juce::jlimit(0.0, 1.0, x));
        node->properties.set("y", juce::jlimit(0.0, 1.0, y));
    }
}

juce::Point<double> FilterGraph::getNodePosition(NodeID id) const
{
    if (auto* node = graph.getNodeForId(id))
        return {(double)node->properties.getWithDefault("x", 0.0),
                (double)node->properties.getWithDefault("y", 0.0)};
    return {};
}

int FilterGraph::getNumConnections() const
{
    return (int)graph.getConnections().size();
}

std::optional<Connection> FilterGraph::getConnection(int index) const
{
    auto all = graph.getConnections();
    if (index < 0 || index >= (int)all.size())
        return std::nullopt;
    return all[(size_t)index];
}

std::optional<Connection> FilterGraph::getConnectionBetween(NodeID source, int sourceChannel,
                                                            NodeID dest, int destChannel) const
{
    auto wanted = makeConnection(source, sourceChannel, dest, destChannel);
    if (graph.isConnected(wanted))
        return wanted;
    return std::nullopt;
}

bool FilterGraph::canConnect(NodeID source, int sourceChannel, NodeID dest, int destChannel) const
{
    return graph.canConnect(makeConnection(source, sourceChannel, dest, destChannel));
}

bool FilterGraph::addConnection(NodeID source, int sourceChannel, NodeID dest, int destChannel)
{
    bool made = graph.addConnection(makeConnection(source, sourceChannel, dest, destChannel));
    if (made)
        changed();
    return made;
}

void FilterGraph::removeConnection(int index)
{
    if (auto c = getConnection(index))
        graph.removeConnection(*c);
    changed();
}

void FilterGraph::removeConnection(NodeID source, int sourceChannel, NodeID dest, int destChannel)
{
    if (graph.removeConnection(makeConnection(source, sourceChannel, dest, destChannel)))
        changed();
}

void FilterGraph::clear()
{
    PluginWindow::closeAllCurrentlyOpenWindows();
    for (auto* node : graph.getNodes())
        forgetNode(node);
    graph.clear();
    changed();
}

FilterGraph::Node* FilterGraph::getControllerNode() const
{
    if (glimraApi == nullptr)
        return nullptr;
    for (auto* node : graph.getNodes())
        if (controllerTableOf(node->getProcessor()) == glimraApi)
            return node;
    return nullptr;
}

std::unique_ptr<juce::XmlElement> FilterGraph::createXml() const
{
    auto xml = std::make_unique<juce::XmlElement>("FILTERGRAPH");

    for (auto* node : graph.getNodes())
    {
        auto* plugin = dynamic_cast<juce::AudioPluginInstance*>(node->getProcessor());
        if (plugin == nullptr)
            continue; // the file player belongs to the program, not to the document

        auto* e = xml->createNewChildElement("FILTER");
        e->setAttribute("uid", (int)node->nodeID.uid);
        for (auto* key : {"x", "y", "uiLastX", "uiLastY"})
            e->setAttribute(key, node->properties[key].toString());

        e->addChildElement(plugin->getPluginDescription().createXml().release());

        juce::MemoryBlock state;
        plugin->getStateInformation(state);
        e->createNewChildElement("STATE")->addTextElement(state.toBase64Encoding());
    }

    for (auto& c : graph.getConnections())
    {
        auto* e = xml->createNewChildElement("CONNECTION");
        e->setAttribute("srcFilter", (int)c.source.nodeID.uid);
        e->setAttribute("srcChannel", c.source.channelIndex);
        e->setAttribute("dstFilter", (int)c.destination.nodeID.uid);
        e->setAttribute("dstChannel", c.destination.channelIndex);
    }
    return xml;
}

void FilterGraph::restoreFromXml(const juce::XmlElement& xml)
{
    PluginWindow::closeAllCurrentlyOpenWindows();

    // Everything goes but the two nodes the program runs on.
    Node* keptController = getControllerNode();
    for (auto& c : graph.getConnections())
        graph.removeConnection(c);
    juce::Array<NodeID> doomed;
    for (auto* node : graph.getNodes())
        if (node->getProcessor() != filePlayer && node != keptController)
            doomed.add(node->nodeID);
    for (auto id : doomed)
        removeNodeKeepingGlobals(id);
    changed();

    std::map<juce::uint32, NodeID> idOf; // document id -> id in the graph
    for (auto* e : xml.getChildWithTagNameIterator("FILTER"))
    {
        juce::PluginDescription description;
        for (auto* child : e->getChildIterator())
            if (description.loadFromXml(*child))
                break;

        auto docId = (juce::uint32)e->getIntAttribute("uid");
        Node* node = nullptr;
        if (keptController != nullptr &&
            description.fileOrIdentifier ==
                dynamic_cast<juce::AudioPluginInstance*>(keptController->getProcessor())
                    ->getPluginDescription()
                    .fileOrIdentifier)
        {
            node = keptController;
        }
        else
        {
            juce::String error;
            auto instance = createInstance(description, error);
            if (instance == nullptr)
                continue;
            // An id the running nodes hold already gets a new one.
            NodeID wanted(docId);
            if (docId == 0 || graph.getNodeForId(wanted) != nullptr)
                wanted = {};
            node = graph.addNode(std::move(instance), wanted).get();
            if (node == nullptr)
                continue;
        }
        idOf[docId] = node->nodeID;

        if (auto* state = e->getChildByName("STATE"))
        {
            juce::MemoryBlock block;
            block.fromBase64Encoding(state->getAllSubText());
            node->getProcessor()->setStateInformation(block.getData(), (int)block.getSize());
        }
        node->properties.set("x", e->getDoubleAttribute("x"));
        node->properties.set("y", e->getDoubleAttribute("y"));
        node->properties.set("uiLastX", e->getIntAttribute("uiLastX"));
        node->properties.set("uiLastY", e->getIntAttribute("uiLastY"));
        changed();
    }

    // The document never holds the file player: it keeps the id it has.
    auto mapped = [&](int docId)
    {
        auto it = idOf.find((juce::uint32)docId);
        return it != idOf.end() ? it->second : NodeID((juce::uint32)docId);
    };
    for (auto* e : xml.getChildWithTagNameIterator("CONNECTION"))
        addConnection(mapped(e->getIntAttribute("srcFilter")), e->getIntAttribute("srcChannel"),
                      mapped(e->getIntAttribute("dstFilter")), e->getIntAttribute("dstChannel"));

    removeIllegalConnections();
}

juce::String FilterGraph::getDocumentTitle()
{
    if (!getFile().exists())
        return "Unnamed";
    return getFile().getFileNameWithoutExtension();
}

juce::Result FilterGraph::loadDocument(const juce::File& file)
{
    auto xml = juce::XmlDocument::parse(file);
    if (xml == nullptr || !xml->hasTagName("FILTERGRAPH"))
        return juce::Result::fail("Not a valid filter graph file");
    restoreFromXml(*xml);
    return juce::Result::ok();
}

juce::Result FilterGraph::saveDocument(const juce::File& file)
{
    auto xml = createXml();
    juce::XmlElement::TextFormat format;
    format.dtd = {};
    format.lineWrapLength = 60;
    format.customEncoding = "UTF-8";
    if (!xml->writeTo(file, format))
        return juce::Result::fail("Couldn't write to the file");
    return juce::Result::ok();
}

juce::File FilterGraph::getLastDocumentOpened()
{
    juce::RecentlyOpenedFilesList recent;
    if (appProperties != nullptr)
        recent.restoreFromString(
            appProperties->getUserSettings()->getValue("recentFilterGraphFiles"));
    return recent.getFile(0);
}

void FilterGraph::setLastDocumentOpened(const juce::File& file)
{
    if (appProperties == nullptr)
        return;
    juce::RecentlyOpenedFilesList recent;
    auto* settings = appProperties->getUserSettings();
    recent.restoreFromString(settings->getValue("recentFilterGraphFiles"));
    recent.addFile(file);
    settings->setValue("recentFilterGraphFiles", recent.toString());
}
