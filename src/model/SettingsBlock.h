#pragma once

#include "model/Doc.h"
#include "model/FieldControl.h"
#include "model/ProjectArchive.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <cstdint>
#include <optional>

// The tagged block after the lock records: the project settings the file gained after its first
// layout. Readers of that layout stop after the locks and never see it. It is written only when
// some setting in it differs from its default, so a project that uses none of them keeps its old
// bytes (a default project stays 282 bytes).
//
// Layout, numbers little-endian:
//   magic   8 bytes "ZRNBLK" CR LF
//   records each a tag (16 bits), a length (32 bits) and a payload of that many bytes
//   end     tag 0 with length 0, the last bytes of the file
// A payload is encoded like the rest of the file (texts with their length prefix, 32-bit numbers)
// through an archive of its own, and is read to its last byte. Records are written in tag order,
// each only when its setting differs from the default.
//
// Reading: bytes after the locks that do not start with the magic are ignored, as they always
// were. Once the magic is there, a record cut short, a missing end, bytes after the end, a tag seen
// twice, a payload not read to its end or a value its setting cannot hold fail the whole read
// ("Unexpected file format."), and the open project stays as it was. An unknown tag below 0x8000
// is skipped: a setting of a newer program that this one can do without. An unknown tag from
// 0x8000 up fails the read: a setting without which the project would be misread.
//
// Adding a setting: give Doc its field, take the next free tag (tags are checked to be unique
// when this compiles), and add one row to BlockSettings in SettingsBlock.cpp: its JSON key, how it
// resets and knows its default, its payload, its JSON value and, for one field, the field and its
// control. Reset, the file, dump, build and the pages' bindings all follow the table. PerLock below
// stores one part per lock for settings held by each lock.

struct BlockSetting
{
    std::uint16_t tag;
    // The key in the command line's JSON; dump writes it only when the setting is not default.
    // Null for a setting whose JSON lives elsewhere (in each lock's object), with no JSON
    // functions either.
    const char* name;
    bool (*holdsDefault)(const Doc& doc);
    void (*reset)(Doc& doc);
    // Writes or reads the payload; a loaded value the setting cannot hold fails the archive.
    void (*serialize)(Doc& doc, ProjectArchive& payload);
    QJsonValue (*toJson)(const Doc& doc);
    // False with error set, naming key, for a value the setting cannot take.
    bool (*fromJson)(const QJsonValue& value, const QString& key, Doc& doc, QByteArray& error);
    // For a setting held in one field that a page edits: the field, and what its control needs.
    std::optional<DocMember> member = {};
    FieldControl control = {};
};

extern const BlockSetting BlockSettings[13];

// The row whose JSON key is name, or none.
const BlockSetting* FindBlockSetting(const QString& name);

// Puts every setting of the block back to its default.
void ResetBlockSettings(Doc& doc);

// Writes the block when some setting needs it, or reads it when the archive holds one; called
// after the lock records.
void SerializeSettingsBlock(Doc& doc, ProjectArchive& archive);

// A payload of one part per lock, in table order, after the lock count; reading refuses a count
// that differs from the locks read before the block. part(lock, archive) writes or reads one.
template<class Part> void PerLock(Doc& doc, ProjectArchive& payload, Part part)
{
    auto count = static_cast<std::int32_t>(doc.locks.size());
    payload.Int(count);
    if (!payload.Ok())
        return;
    if (count != static_cast<std::int32_t>(doc.locks.size()))
        return payload.Fail();
    for (LockEntry& lock : doc.locks)
        part(lock, payload);
}
