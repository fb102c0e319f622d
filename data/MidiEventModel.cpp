#include "data/MidiEventModel.h"

#include "data/SqlFormat.h"
#include "data/VmDatabase.h"
#include "engine/MidiServer.h"

#include <cmath>
#include <limits>
#include <map>

namespace
{
// Messages without a device last, so that the editor lists them at the end.
const char* const messageOrder =
    " ORDER BY CASE OutDevice WHEN '' THEN 1 ELSE 0 END, Time,OutDevice,Channel,Message";

juce::String cleaned(juce::String text)
{
    cleanStringForDb(text);
    return text;
}

constexpr int programChange = 192;

// The editor stores only channel messages with channels 0 to 15 and data 0 to
// 127. Anything else comes from a damaged or hand-edited library and would put
// another kind of message, or a stray status byte, on a stage device.
bool isSendable(const double time, int channel, int message, int data1, int data2)
{
    const double position = std::trunc(time * MidiServer::bufferSampleRate);
    const bool placeable = std::isfinite(position) &&
                           position >= double(std::numeric_limits<int>::min()) &&
                           position <= double(std::numeric_limits<int>::max());
    const bool channelMessage = message >= 0x80 && message <= 0xE0 && (message & 0x0F) == 0;
    auto isData = [](int d) { return d >= 0 && d <= 127; };
    return placeable && channelMessage && channel >= 0 && channel <= 15 && isData(data1) &&
           (message == programChange || isData(data2));
}
} // namespace

void MidiEventModel::createMidiEvent(const juce::String& category, const juce::String& name)
{
    auto* db = VmDatabase::getInstance();
    const int errorsBefore = db->getErrorCount();
    db->execQuery(sqlFormat("INSERT INTO MidiEvents(Name, Category) VALUES('%s','%s')",
                            cleaned(name).toRawUTF8(), cleaned(category).toRawUTF8()));
    // After a failed insert, last_insert_rowid names some other row.
    if (db->getErrorCount() != errorsBefore)
    {
        recordId = 0;
        return;
    }
    recordId = db->execQuery("SELECT last_insert_rowid()").getIntField(0);
    if (recordId != 0)
        notifyChange(dbRecordChanged);
}

void MidiEventModel::cloneMidiEvent(int sourceId, const juce::String& category,
                                    const juce::String& name)
{
    createMidiEvent(category, name);
    if (recordId != 0)
        pasteMidiEvent(MidiEventModel(sourceId));
}

void MidiEventModel::pasteMidiEvent(const MidiEventModel& source)
{
    // Read before deleting: pasting a chunk onto itself must not empty it.
    const auto messages = source.readMidiMessages();
    deleteAllMidiMessages();
    for (auto& m : messages)
        addMidiMessage(m.time, m.device, m.channel, m.message, m.data1, m.data2);
}

bool MidiEventModel::getMidiEvent(int id)
{
    auto q = VmDatabase::getInstance()->execQuery(
        sqlFormat("SELECT MidiEventID FROM MidiEvents WHERE MidiEventID=%d", id));
    if (q.eof())
        return false;
    recordId = q.getIntField(0);
    return true;
}

bool MidiEventModel::doesEventExist(const juce::String& category, const juce::String& name) const
{
    return !VmDatabase::getInstance()
                ->execQuery(sqlFormat(
                    "SELECT MidiEventID FROM MidiEvents WHERE Category='%s' AND Name='%s'",
                    cleaned(category).toRawUTF8(), cleaned(name).toRawUTF8()))
                .eof();
}

juce::String MidiEventModel::getFullName() const
{
    return getStringField("Category") + ": " + getStringField("Name");
}

std::vector<MidiMessageModel> MidiEventModel::getMidiMessages() const
{
    std::vector<MidiMessageModel> messages;
    for (auto q = VmDatabase::getInstance()->execQuery(
             sqlFormat("SELECT MidiMessageID FROM MidiMessages WHERE MidiEventID=%d", recordId) +
             messageOrder);
         !q.eof(); q.nextRow())
        messages.emplace_back(q.getIntField(0));
    return messages;
}

std::vector<MidiEventModel::Message> MidiEventModel::readMidiMessages() const
{
    // One query in the order of getMidiMessages, instead of six per message.
    std::vector<Message> messages;
    for (auto q = VmDatabase::getInstance()->execQuery(
             sqlFormat("SELECT Time,OutDevice,Channel,Message,Data1,Data2 FROM MidiMessages "
                       "WHERE MidiEventID=%d",
                       recordId) +
             messageOrder);
         !q.eof(); q.nextRow())
        messages.push_back({q.getFloatField(0), q.getStringField(1), q.getIntField(2),
                            q.getIntField(3), q.getIntField(4), q.getIntField(5)});
    return messages;
}

void MidiEventModel::addMidiMessage(double time, const juce::String& deviceName, int channel,
                                    int message, int data1, int data2)
{
    auto* db = VmDatabase::getInstance();
    db->execQuery(sqlFormat("INSERT INTO MidiMessages(MidiEventID,Time,OutDevice,Channel,Message,"
                            "Data1,Data2) VALUES(%d,%f,'%s',%d,%d,%d,%d)",
                            recordId, time, cleaned(deviceName).toRawUTF8(), channel, message,
                            data1, data2));
    db->execQuery("SELECT last_insert_rowid()");
}

void MidiEventModel::deleteAllMidiMessages()
{
    VmDatabase::getInstance()->execQuery(
        sqlFormat("DELETE FROM MidiMessages WHERE MidiEventID=%d", recordId));
}

void MidiEventModel::deleteMidiEvent()
{
    auto* db = VmDatabase::getInstance();
    db->startTransaction("Delete MIDI Chunk");
    db->execQuery(sqlFormat("DELETE FROM MidiMessages WHERE MidiEventID=%d", recordId));
    db->execQuery(sqlFormat("DELETE FROM MidiEvents WHERE MidiEventID=%d", recordId));
    db->endTransaction();
}

int MidiEventModel::getUsageCount() const
{
    return VmDatabase::getInstance()
        ->execQuery(sqlFormat("SELECT COUNT(ShowMemoID) FROM ShowMemos WHERE "
                              "StartMidiEventID=%d OR EndMidiEventID=%d",
                              recordId, recordId))
        .getIntField(0);
}

void MidiEventModel::transmit() const
{
    std::map<juce::String, juce::MidiBuffer> buffers;
    for (auto& m : readMidiMessages())
    {
        // No device is ever matched by an empty name, even if one has no name.
        if (m.device.isEmpty() || !isSendable(m.time, m.channel, m.message, m.data1, m.data2))
            continue;
        auto& buffer = buffers[m.device];
        const int status = m.message | m.channel;
        const auto message = m.message == programChange
                                 ? juce::MidiMessage(status, m.data1, m.time)
                                 : juce::MidiMessage(status, m.data1, m.data2, m.time);
        // Equal positions keep the order added, which is the list order.
        buffer.addEvent(message, (int)std::trunc(m.time * MidiServer::bufferSampleRate));
    }

    auto* server = MidiServer::getInstance();
    if (server == nullptr)
        return;
    for (auto& [device, buffer] : buffers)
        server->sendBuffer(device, buffer, juce::Time::getMillisecondCounter() + 1.0);
}
