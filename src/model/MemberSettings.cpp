#include "model/MemberSettings.h"

#include <QJsonArray>
#include <QJsonObject>

#include <limits>

namespace {

// A count from the file, read before as many records: a count the data cannot hold fails.
bool ReadCount(ProjectArchive& payload, std::int32_t& count, int least = 0)
{
    payload.Int(count);
    if (payload.Ok() && (count < least || !payload.CanHold(qint64(count))))
        payload.Fail();
    return payload.Ok();
}

void SerializeTexts(QByteArrayList& texts, ProjectArchive& payload)
{
    auto count = static_cast<std::int32_t>(texts.size());
    if (payload.IsStoring()) {
        payload.Int(count);
        for (QByteArray& text : texts)
            payload.Text(text);
        return;
    }
    if (!ReadCount(payload, count))
        return;
    texts.clear();
    for (std::int32_t i = 0; i < count && payload.Ok(); ++i)
        payload.Text(texts.emplace_back());
}

QJsonValue TextList(const QByteArrayList& texts)
{
    QJsonArray array;
    for (const QByteArray& text : texts)
        array.append(JsonText(text));
    return array;
}

bool ReadTextList(
    const QJsonValue& value, const QString& key, QByteArrayList& out, QByteArray& error)
{
    if (!value.isArray()) {
        error = JsonQuoted(key) + " must be an array of texts";
        return false;
    }
    const QJsonArray array = value.toArray();
    QByteArrayList texts;
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!ReadJsonText(
                array[i], QStringLiteral("%1[%2]").arg(key).arg(i), texts.emplace_back(), error))
            return false;
    }
    out = texts;
    return true;
}

// base64 of unit bytes times a whole number from 0 to maxUnits.
bool ReadBase64(const QJsonValue& value, const QString& key, qsizetype unit, qsizetype maxUnits,
    QByteArray& out, QByteArray& error)
{
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!value.isString() || !decoded || decoded.decoded.size() % unit != 0
        || decoded.decoded.size() / unit > maxUnits) {
        error = JsonQuoted(key) + " must be base64 of "
            + (maxUnits == 1 ? QByteArray::number(unit) + " bytes"
                             : "a multiple of " + QByteArray::number(unit) + " bytes");
        return false;
    }
    out = decoded.decoded;
    return true;
}

bool ReadArea(const QJsonValue& value, const QString& areaKey, MemberArea& area, QByteArray& error)
{
    if (!value.isObject()) {
        error = JsonQuoted(areaKey) + " must be an object";
        return false;
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = areaKey + '.' + it.key();
        bool read = false;
        if (it.key() == QLatin1String("name"))
            read = ReadJsonText(it.value(), key, area.name, error);
        else if (it.key() == QLatin1String("pages"))
            read = ReadTextList(it.value(), key, area.patterns, error);
        else if (it.key() == QLatin1String("key"))
            read = ReadBase64(it.value(), key, kAreaKeyLength, 1, area.key, error);
        else if (it.key() == QLatin1String("members"))
            read = ReadBase64(it.value(), key, kMemberTagLength,
                std::numeric_limits<std::int32_t>::max(), area.memberTags, error);
        else
            error = "unknown key " + JsonQuoted(key);
        if (!read)
            return false;
    }
    return true;
}

} // namespace

void SerializeAreas(Doc& doc, ProjectArchive& payload)
{
    auto count = static_cast<std::int32_t>(doc.areas.size());
    if (payload.IsLoading()) {
        // Each area takes at least its four texts and one count.
        if (!ReadCount(payload, count, 1))
            return;
        doc.areas.clear();
        for (std::int32_t i = 0; i < count && payload.Ok(); ++i)
            doc.areas.emplace_back();
    } else {
        payload.Int(count);
    }
    for (MemberArea& area : doc.areas) {
        payload.Text(area.name);
        SerializeTexts(area.patterns, payload);
        payload.Text(area.key);
        payload.Text(area.memberTags);
        const bool fits = (area.key.isEmpty() || area.key.size() == kAreaKeyLength)
            && area.memberTags.size() % kMemberTagLength == 0;
        if (payload.IsLoading() && !fits)
            return payload.Fail();
    }
}

QJsonValue AreasToJson(const Doc& doc)
{
    QJsonArray areas;
    for (const MemberArea& area : doc.areas) {
        QJsonObject object { { QStringLiteral("name"), JsonText(area.name) },
            { QStringLiteral("pages"), TextList(area.patterns) } };
        if (!area.key.isEmpty()) {
            object.insert(QStringLiteral("key"), QString::fromLatin1(area.key.toBase64()));
            object.insert(
                QStringLiteral("members"), QString::fromLatin1(area.memberTags.toBase64()));
        }
        areas.append(object);
    }
    return areas;
}

bool AreasFromJson(const QJsonValue& value, const QString& key, Doc& doc, QByteArray& error)
{
    if (!value.isArray()) {
        error = JsonQuoted(key) + " must be an array";
        return false;
    }
    std::vector<MemberArea> areas;
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!ReadArea(
                array[i], QStringLiteral("%1[%2]").arg(key).arg(i), areas.emplace_back(), error))
            return false;
    }
    doc.areas = std::move(areas);
    return true;
}

bool LockAreasAreDefault(const Doc& doc)
{
    for (const LockEntry& lock : doc.locks) {
        if (lock.areas)
            return false;
    }
    return true;
}

void SerializeLockAreas(Doc& doc, ProjectArchive& payload)
{
    PerLock(doc, payload, [](LockEntry& lock, ProjectArchive& part) {
        auto count = static_cast<std::int32_t>(lock.areas ? lock.areas->size() : -1);
        part.Int(count);
        if (!part.Ok())
            return;
        if (count == -1) {
            lock.areas.reset();
            return;
        }
        if (part.IsLoading()) {
            if (count < 0 || !part.CanHold(count))
                return part.Fail();
            lock.areas.emplace();
            for (std::int32_t i = 0; i < count && part.Ok(); ++i)
                part.Text(lock.areas->emplace_back());
            return;
        }
        for (QByteArray& name : *lock.areas)
            part.Text(name);
    });
}

QJsonValue EveryLocksAreas(const Doc& doc)
{
    QJsonArray locks;
    for (const LockEntry& lock : doc.locks)
        locks.append(lock.areas ? TextList(*lock.areas) : QJsonValue());
    return locks;
}

QJsonValue LockAreasToJson(const QByteArrayList& areas)
{
    return TextList(areas);
}

bool LockAreasFromJson(
    const QJsonValue& value, const QString& key, QByteArrayList& areas, QByteArray& error)
{
    return ReadTextList(value, key, areas, error);
}
