#pragma once

#include "model/SettingsBlock.h"
#include "util/JsonValues.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <cstdint>

// The member areas' rows of the project file's tagged block (SettingsBlock.h).
//
// Payloads, encoded like the rest of the file:
//   areas       count, then per area: name (text), pattern count, the patterns (texts), the key
//               (text, empty or 32 bytes), the member tags (text, a multiple of 16 bytes)
//   lock areas  PerLock: per lock the count of its area names (-1: it opens every area) and
//               the names
//   rememberDays and the box's texts: one number or text each
// The areas and the locks' areas have tags from 0x8000 up: a program that does not know them
// must not open the project, or it would publish the member pages in clear.

void SerializeAreas(Doc& doc, ProjectArchive& payload);
QJsonValue AreasToJson(const Doc& doc);
bool AreasFromJson(const QJsonValue& value, const QString& key, Doc& doc, QByteArray& error);

bool LockAreasAreDefault(const Doc& doc);
void SerializeLockAreas(Doc& doc, ProjectArchive& payload);

// A lock's areas in the JSON of its lock: a list of area names.
QJsonValue LockAreasToJson(const QByteArrayList& areas);
bool LockAreasFromJson(
    const QJsonValue& value, const QString& key, QByteArrayList& areas, QByteArray& error);

constexpr BlockSetting AreasSetting(std::uint16_t tag)
{
    return { tag, "areas", [](const Doc& doc) { return doc.areas.empty(); },
        [](Doc& doc) { doc.areas.clear(); }, SerializeAreas, AreasToJson, AreasFromJson };
}

// The areas of every lock, in lock order (null for a lock that opens every area).
QJsonValue EveryLocksAreas(const Doc& doc);

// Its JSON lives in each lock's object, so the row has no key of its own and reads no JSON; its
// value in JSON is EveryLocksAreas, for comparing projects.
constexpr BlockSetting LockAreasSetting(std::uint16_t tag)
{
    return { tag, nullptr, LockAreasAreDefault,
        [](Doc& doc) {
            for (LockEntry& lock : doc.locks)
                lock.areas.reset();
        },
        SerializeLockAreas, EveryLocksAreas, nullptr };
}

// A text with a default of its own.
template<QByteArray Doc::*Member, const char* Default>
constexpr BlockSetting DefaultedTextSetting(std::uint16_t tag, const char* name)
{
    return {
        tag,
        name,
        [](const Doc& doc) { return doc.*Member == Default; },
        [](Doc& doc) { doc.*Member = Default; },
        [](Doc& doc, ProjectArchive& payload) { payload.Text(doc.*Member); },
        [](const Doc& doc) { return JsonText(doc.*Member); },
        [](const QJsonValue& value, const QString& key, Doc& doc, QByteArray& error) {
            return ReadJsonText(value, key, doc.*Member, error);
        },
        Member,
    };
}
