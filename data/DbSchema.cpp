#include "data/DbSchema.h"

const char* const dbSchemaScript =
    "CREATE TABLE AudioFiles ( AudioFileID  integer PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "Name         varchar(50) NOT NULL, Path         varchar(200) NOT NULL, "
    "Note         varchar(1000), LengthSecs   float(50) NOT NULL DEFAULT 0);"

    "CREATE TABLE GlimraCues ( GlimraCueID  integer PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "LightShowID  integer NOT NULL, CueTime      float(50) NOT NULL, "
    "CueDuration  float(50) NOT NULL DEFAULT 0.0, FadeInTime   float(50) NOT NULL DEFAULT 0.0, "
    "FadeOutTime  float(50) NOT NULL DEFAULT 0.0, BankName     varchar(50) NOT NULL, "
    "PresetName   varchar(50) NOT NULL, "
    "FOREIGN KEY (LightShowID) REFERENCES LightShows(LightShowID) "
    "ON DELETE CASCADE ON UPDATE CASCADE );"

    "CREATE TABLE LightShows ( LightShowID  integer PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "Name         varchar(50), AudioFileID  integer NOT NULL, GlimraShowName varchar(50), "
    "Note         varchar(1000), Tempo        float(50) NOT NULL DEFAULT 120, "
    "TrimStart    float(50) DEFAULT 0, TrimEnd      float(50) DEFAULT 0, "
    "FOREIGN KEY (AudioFileID) REFERENCES AudioFiles(AudioFileID) "
    "ON DELETE CASCADE ON UPDATE CASCADE );"

    "CREATE TABLE MidiEvents ( MidiEventID  integer PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "Name         varchar(50), Category     varchar(50));"

    "CREATE TABLE MidiMessages ( MidiMessageID  integer PRIMARY KEY NOT NULL, "
    "MidiEventID    integer, Time         float(50) NOT NULL DEFAULT 0, "
    "OutDevice      varchar(50), Channel        integer NOT NULL DEFAULT 0, "
    "Message        integer NOT NULL DEFAULT 192, Data1          integer NOT NULL DEFAULT 0, "
    "Data2          integer NOT NULL DEFAULT 0, "
    "FOREIGN KEY (MidiEventID) REFERENCES MidiEvents(MidiEventID) "
    "ON DELETE CASCADE ON UPDATE CASCADE );"

    "CREATE TABLE SetElements ( SetElementID integer PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "SetID        integer NOT NULL, LightShowID  integer, PlayOrder    integer, "
    "Note         varchar(1000), AutoStart    integer NOT NULL DEFAULT 0, "
    "FOREIGN KEY (LightShowID) REFERENCES LightShows(LightShowID) "
    "ON DELETE CASCADE ON UPDATE CASCADE, "
    "FOREIGN KEY (SetID) REFERENCES Sets(SetID) ON DELETE CASCADE ON UPDATE CASCADE );"

    "CREATE TABLE Sets ( SetID        integer PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "Name         varchar(50), Note         varchar(1000), Folder       varchar(50));"

    "CREATE TABLE ShowMemos ( ShowMemoID   integer PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "LightShowID  integer, ShortName    varchar(50), Memo         varchar(1000), "
    "MemoTime     float(50), MemoLength   float(50) NOT NULL DEFAULT 4.0, "
    "CountIn      integer NOT NULL DEFAULT 0, StartMidiEventID integer, "
    "EndMidiEventID integer, "
    "FOREIGN KEY (EndMidiEventID) REFERENCES MidiEvents(MidiEventID) "
    "ON DELETE SET NULL ON UPDATE CASCADE, "
    "FOREIGN KEY (LightShowID) REFERENCES LightShows(LightShowID) "
    "ON DELETE CASCADE ON UPDATE CASCADE, "
    "FOREIGN KEY (StartMidiEventID) REFERENCES MidiEvents(MidiEventID) "
    "ON DELETE SET NULL ON UPDATE CASCADE );"

    "CREATE TABLE Things ( ThingID      integer PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "Name         varchar(50), Identifier   integer, Value        varchar(50));"

    "INSERT INTO Things(ThingID,Name,Identifier,Value) VALUES(1,'SchemaVersion',-1,'3');";
