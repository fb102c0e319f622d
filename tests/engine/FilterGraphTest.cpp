#include "StartedWindow.h"
#include "engine/FilePlayerProcessor.h"
#include "engine/GlimraPluginAbi.h"
#include "engine/InternalPluginFormat.h"
#include "engine/PluginWindow.h"
#include "engine/SwitchGlimraSong.h"

namespace
{
using NodeID = FilterGraph::NodeID;

class FilterGraphTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        ASSERT_TRUE(window->isStartedUp());
    }

    juce::StringArray connections()
    {
        juce::StringArray all;
        for (int i = 0; i < graph().getNumConnections(); ++i)
        {
            auto c = *graph().getConnection(i);
            all.add(juce::String((int)c.source.nodeID.uid) + "," +
                    juce::String(c.source.channelIndex) + ">" +
                    juce::String((int)c.destination.nodeID.uid) + "," +
                    juce::String(c.destination.channelIndex));
        }
        all.sort(false);
        return all;
    }

    juce::StringArray nodeIds()
    {
        juce::StringArray ids;
        for (int i = 0; i < graph().getNumFilters(); ++i)
            ids.add(juce::String((int)graph().getNode(i)->nodeID.uid));
        return ids;
    }

    TempFolder tmp;
};

const juce::StringArray fixedConnections = {"2,4096>5,4096", "4,0>5,0", "4,1>5,1", "5,0>3,0",
                                            "5,1>3,1"};
} // namespace

TEST_F(FilterGraphTest, StartUpBuildsTheFiveNodesAndTheirConnections)
{
    EXPECT_EQ(startupDialogs,
              juce::StringArray({"Searching for GLIMRA hardware...", "Track library is empty"}));
    EXPECT_EQ(nodeIds(), juce::StringArray({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(connections(), fixedConnections);
    EXPECT_EQ(graph().getNodeForId(NodeID(4))->getProcessor(), filePlayer);
    ASSERT_NE(glimraApi, nullptr);
    EXPECT_EQ(graph().getControllerNode(), graph().getNodeForId(NodeID(5)));
    EXPECT_EQ(graph().getNodePosition(NodeID(4)), juce::Point<double>((double)0.1f, 0.5));
    EXPECT_EQ(graph().getNodePosition(NodeID(3)), juce::Point<double>(0.5, (double)0.9f));
    // The lighting controller's window opens with the program.
    ASSERT_NE(pluginWindow, nullptr);
    EXPECT_EQ(pluginWindow->getNode(), graph().getNodeForId(NodeID(5)));
}

TEST_F(FilterGraphTest, ANewNodeNeverReusesAnOldId)
{
    graph().removeFilter(NodeID(4));
    EXPECT_EQ(filePlayer, nullptr);
    InternalPluginFormat internal;
    ASSERT_NE(graph().addFilter(internal.getDescriptionFor(InternalPluginFormat::audioInFilter),
                                0.3, 0.3),
              nullptr);
    EXPECT_EQ(nodeIds(), juce::StringArray({"1", "2", "3", "5", "6"}));
    EXPECT_EQ(connections(), juce::StringArray({"2,4096>5,4096", "5,0>3,0", "5,1>3,1"}));
}

TEST_F(FilterGraphTest, NodePositionsStayInsideTheEditor)
{
    graph().setNodePosition(NodeID(1), 1.7, -0.2);
    EXPECT_EQ(graph().getNodePosition(NodeID(1)), juce::Point<double>(1.0, 0.0));
    EXPECT_EQ(graph().getNodePosition(NodeID(42)), juce::Point<double>(0.0, 0.0));
}

TEST_F(FilterGraphTest, TheInternalFormatKnowsItsThreeTypesOnly)
{
    InternalPluginFormat internal;
    EXPECT_EQ(internal.getDescriptionFor((InternalPluginFormat::InternalFilterType)3), nullptr);
    EXPECT_EQ(internal.getDescriptionFor((InternalPluginFormat::InternalFilterType)-1), nullptr);
    juce::OwnedArray<juce::PluginDescription> types;
    internal.getAllTypes(types);
    ASSERT_EQ(types.size(), 3);
    EXPECT_EQ(types[0]->name,
              internal.getDescriptionFor(InternalPluginFormat::audioInFilter)->name);

    juce::PluginDescription unknown = *types[0];
    unknown.name = "Theremin";
    ScopedDialogs dialogs;
    EXPECT_EQ(graph().addFilter(&unknown, 0.5, 0.5), nullptr);
    EXPECT_EQ(dialogs.titles(), juce::StringArray({"Couldn't create filter"}));
    EXPECT_EQ(graph().addFilter(nullptr, 0.5, 0.5), nullptr);
    EXPECT_EQ(graph().getNumFilters(), 5);
}

TEST_F(FilterGraphTest, ASavedDocumentHoldsThePluginNodesAndEveryConnection)
{
    auto file = tmp.file("rig.filtergraph");
    ASSERT_TRUE(graph().saveDocument(file).wasOk());
    auto xml = juce::XmlDocument::parse(file);
    ASSERT_NE(xml, nullptr);
    ASSERT_TRUE(xml->hasTagName("FILTERGRAPH"));

    juce::StringArray uids;
    for (auto* f : xml->getChildWithTagNameIterator("FILTER"))
    {
        uids.add(f->getStringAttribute("uid"));
        EXPECT_NE(f->getChildByName("PLUGIN"), nullptr);
        EXPECT_NE(f->getChildByName("STATE"), nullptr);
    }
    EXPECT_EQ(uids, juce::StringArray({"1", "2", "3", "5"}));
    int connectionCount = 0;
    for (auto* c : xml->getChildWithTagNameIterator("CONNECTION"))
        connectionCount += c->hasAttribute("srcChannel") ? 1 : 0;
    EXPECT_EQ(connectionCount, 5);

    // Never-moved editor windows are written empty and read back as 0.
    auto* first = xml->getChildByName("FILTER");
    EXPECT_TRUE(first->hasAttribute("uiLastX"));
    EXPECT_EQ(first->getStringAttribute("uiLastX"), "");
    ASSERT_TRUE(graph().loadDocument(file).wasOk());
    EXPECT_EQ((int)graph().getNodeForId(NodeID(1))->properties["uiLastX"], 0);
    EXPECT_EQ((int)graph().getNodeForId(NodeID(1))->properties["uiLastY"], 0);
}

TEST_F(FilterGraphTest, OnlyAFilterGraphDocumentIsLoaded)
{
    auto file = tmp.file("other.filtergraph");
    file.replaceWithText("<SETLIST><SONG/></SETLIST>");
    auto result = graph().loadDocument(file);
    EXPECT_FALSE(result.wasOk());
    EXPECT_EQ(result.getErrorMessage(), "Not a valid filter graph file");
    EXPECT_EQ(nodeIds(), juce::StringArray({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(connections(), fixedConnections);
}

TEST_F(FilterGraphTest, LoadingADocumentKeepsThePlayerAndTheController)
{
    auto* player = filePlayer;
    auto* api = glimraApi;
    auto bank = juce::String(api->getBankName(0));
    auto presetA = juce::String(api->getPresetName(bank.toRawUTF8(), 1));
    auto presetB = juce::String(api->getPresetName(bank.toRawUTF8(), 2));
    api->selectPreset(bank.toRawUTF8(), presetA.toRawUTF8(), 0.0f);

    auto file = tmp.file("rig.filtergraph");
    ASSERT_TRUE(graph().saveDocument(file).wasOk());
    api->selectPreset(bank.toRawUTF8(), presetB.toRawUTF8(), 0.0f);
    ASSERT_NE(pluginWindow, nullptr);

    ASSERT_TRUE(graph().loadDocument(file).wasOk());
    EXPECT_EQ(filePlayer, player);
    EXPECT_EQ(graph().getNodeForId(NodeID(4))->getProcessor(), player);
    EXPECT_EQ(glimraApi, api);
    EXPECT_EQ(graph().getControllerNode(), graph().getNodeForId(NodeID(5)));
    EXPECT_EQ(pluginWindow, nullptr); // its window was closed, not left dangling
    EXPECT_EQ(connections(), fixedConnections);
    EXPECT_EQ(nodeIds(), juce::StringArray({"1", "2", "3", "4", "5"}));
    // The controller took the document's state.
    EXPECT_EQ(juce::String(glimraApi->getActivePreset(bank.toRawUTF8())), presetA);

    window->doViewPlugin();
    EXPECT_NE(pluginWindow, nullptr);
}

TEST_F(FilterGraphTest, TheControllerWindowOpensWhereItWasLeft)
{
    ASSERT_NE(pluginWindow, nullptr);
    auto* node = pluginWindow->getNode();
    EXPECT_GE(pluginWindow->getX(), 0);
    EXPECT_LT(pluginWindow->getX(), 500);
    pluginWindow->setTopLeftPosition(123, 145);
    EXPECT_EQ((int)node->properties["uiLastX"], 123);
    EXPECT_EQ((int)node->properties["uiLastY"], 145);

    window->doViewPlugin(); // hide
    EXPECT_EQ(pluginWindow, nullptr);
    EXPECT_EQ(PluginWindow::getNumOpenWindows(), 0);
    window->doViewPlugin(); // show again
    ASSERT_NE(pluginWindow, nullptr);
    EXPECT_EQ(pluginWindow->getPosition(), juce::Point<int>(123, 145));

    pluginWindow->closeButtonPressed();
    EXPECT_EQ(pluginWindow, nullptr);
    EXPECT_EQ(PluginWindow::getNumOpenWindows(), 0);
}

TEST_F(FilterGraphTest, SwitchingTheControllersShowWaitsForIt)
{
    ASSERT_GE(glimraApi->getNumShows(), 3);
    juce::String target = glimraApi->getShowName(2);
    SwitchGlimraSong task(target);
    EXPECT_TRUE(task.runThread(juce::Thread::Priority::normal));
    EXPECT_EQ(juce::String(glimraApi->getCurrentShow()), target);
}
