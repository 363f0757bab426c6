#include "cli/DocJson.h"

#include "model/Doc.h"
#include "model/DocFields.h"
#include "model/MemberSettings.h"
#include "model/SettingsBlock.h"
#include "util/JsonValues.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>
#include <variant>

namespace {

const char* const LocksKey = "locks";
const char* const AreasKey = "areas";

bool ReadField(const DocField& field, const QJsonValue& value, Doc& doc, QByteArray& error)
{
    const QString key = QLatin1String(field.name);
    double number = 0;
    if (auto text = std::get_if<QByteArray Doc::*>(&field.member))
        return ReadJsonText(value, key, doc.**text, error);
    if (auto integer = std::get_if<std::int32_t Doc::*>(&field.member)) {
        // The values the pages take: a project built here opens on them without a refusal.
        const FieldRange& range = field.control.range;
        if (!ReadJsonWhole(value, key, range.min, range.max, number, error))
            return false;
        doc.** integer = static_cast<std::int32_t>(number);
        return true;
    }
    auto colour = std::get<Colour Doc::*>(field.member);
    if (!ReadJsonWhole(value, key, 0, std::numeric_limits<Colour>::max(), number, error))
        return false;
    doc.*colour = static_cast<Colour>(number);
    return true;
}

bool ReadLocks(const QJsonValue& value, Doc& doc, QByteArray& error)
{
    if (!value.isArray()) {
        error = JsonQuoted(QLatin1String(LocksKey)) + " must be an array";
        return false;
    }
    std::vector<LockEntry> locks;
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString lockKey = QStringLiteral("%1[%2]").arg(QLatin1String(LocksKey)).arg(i);
        if (!array[i].isObject()) {
            error = JsonQuoted(lockKey) + " must be an object";
            return false;
        }
        const QJsonObject object = array[i].toObject();
        LockEntry lock;
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QString key = lockKey + '.' + it.key();
            if (it.key() == QLatin1String(AreasKey)) {
                if (!LockAreasFromJson(it.value(), key, lock.areas.emplace(), error))
                    return false;
                continue;
            }
            const LockField* field = nullptr;
            for (const LockField& candidate : LockFields) {
                if (it.key() == QLatin1String(candidate.name))
                    field = &candidate;
            }
            if (!field) {
                error = "unknown key " + JsonQuoted(key);
                return false;
            }
            if (!ReadJsonText(it.value(), key, lock.*(field->member), error))
                return false;
        }
        locks.push_back(std::move(lock));
    }
    doc.locks = std::move(locks);
    return true;
}

} // namespace

QByteArray DocToJson(const Doc& doc)
{
    QJsonObject object;
    for (const DocField& field : DocFields) {
        const QString key = QLatin1String(field.name);
        if (auto text = std::get_if<QByteArray Doc::*>(&field.member))
            object.insert(key, JsonText(doc.**text));
        else if (auto integer = std::get_if<std::int32_t Doc::*>(&field.member))
            object.insert(key, doc.**integer);
        else
            object.insert(key, qint64(doc.*std::get<Colour Doc::*>(field.member)));
    }
    for (const BlockSetting& setting : BlockSettings) {
        if (setting.name && !setting.holdsDefault(doc))
            object.insert(QLatin1String(setting.name), setting.toJson(doc));
    }
    QJsonArray locks;
    for (const LockEntry& lock : doc.locks) {
        QJsonObject entry;
        for (const LockField& field : LockFields)
            entry.insert(QLatin1String(field.name), JsonText(lock.*(field.member)));
        if (lock.areas)
            entry.insert(QLatin1String(AreasKey), LockAreasToJson(*lock.areas));
        locks.append(entry);
    }
    object.insert(QLatin1String(LocksKey), locks);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

bool DocFromJson(const QByteArray& json, Doc& doc, QByteArray& error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = "invalid JSON at offset " + QByteArray::number(parseError.offset) + ": "
            + parseError.errorString().toUtf8();
        return false;
    }
    if (!document.isObject()) {
        error = "the project must be one JSON object";
        return false;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key() == QLatin1String(LocksKey)) {
            if (!ReadLocks(it.value(), doc, error))
                return false;
            continue;
        }
        if (const BlockSetting* setting = FindBlockSetting(it.key())) {
            if (!setting->fromJson(it.value(), it.key(), doc, error))
                return false;
            continue;
        }
        const DocField* field = nullptr;
        for (const DocField& candidate : DocFields) {
            if (it.key() == QLatin1String(candidate.name))
                field = &candidate;
        }
        if (!field) {
            error = "unknown key " + JsonQuoted(it.key());
            return false;
        }
        if (!ReadField(*field, it.value(), doc, error))
            return false;
    }
    return true;
}
