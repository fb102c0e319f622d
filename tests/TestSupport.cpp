#include "TestSupport.h"

#include "data/VmDatabase.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{
// Outside a ScopedDialogs every dialog is a fault: an SQL error box nobody
// expected, say.
class FailingResponder : public DialogResponder
{
public:
    DialogAnswer respond(const DialogRequest& r) override
    {
        ADD_FAILURE() << "Unexpected dialog: " << r.title << ": " << r.text;
        return {r.kind == DialogKind::message ? 0 : juce::jmax(0, r.buttons.size() - 1), {}, {}};
    }
};

FailingResponder failingResponder;
} // namespace

DialogResponder* defaultTestResponder()
{
    return &failingResponder;
}

ScopedDialogs::ScopedDialogs()
{
    Dialogs::setResponder(&recorder);
}

ScopedDialogs::~ScopedDialogs()
{
    Dialogs::setResponder(&failingResponder);
}

juce::StringArray ScopedDialogs::titles() const
{
    juce::StringArray t;
    for (auto& r : recorder.requests)
        t.add(r.title);
    return t;
}

ScopedObserver::ScopedObserver()
{
    VmDatabase::getInstance()->addObs(this);
}

ScopedObserver::~ScopedObserver()
{
    VmDatabase::getInstance()->deleteObs(this);
}

TempFolder::TempFolder()
{
    // Test processes run side by side: the name carries the process and a random part.
    auto name = "velmora-test-" + juce::String((int)getpid()) + "-" +
                juce::String::toHexString(juce::Random::getSystemRandom().nextInt64());
    folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                 .getNonexistentChildFile(name, "", false);
    folder.createDirectory();
}

TempFolder::~TempFolder()
{
    folder.deleteRecursively();
}

const juce::StringArray tracedTables = {"AudioFiles",  "GlimraCues", "LightShows", "MidiEvents",
                                        "SetElements", "Sets",       "ShowMemos"};

juce::String dumpDatabase(const juce::StringArray& onlyTables)
{
    auto* db = VmDatabase::getInstance();
    juce::StringArray tables;
    for (auto q = db->execQuery("SELECT name FROM sqlite_master WHERE type='table' AND name NOT "
                                "LIKE 'sqlite_%' ORDER BY name");
         !q.eof(); q.nextRow())
        if (onlyTables.isEmpty() || onlyTables.contains(q.getStringField(0)))
            tables.add(q.getStringField(0));

    juce::String dump;
    for (auto& t : tables)
    {
        dump << "[" << t << "]\n";
        for (auto q = db->execQuery("SELECT quote(rowid), * FROM " + t + " ORDER BY rowid");
             !q.eof(); q.nextRow())
        {
            juce::StringArray fields;
            for (int i = 0; i < q.numFields(); ++i)
                fields.add(q.fieldIsNull(i) ? "NULL" : q.getStringField(i));
            dump << fields.joinIntoString("|") << "\n";
        }
    }
    return dump;
}

juce::MemoryBlock fileBytes(const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData(block);
    return block;
}
