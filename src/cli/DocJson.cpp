#include "cli/DocJson.h"

#include "model/Doc.h"
#include "model/DocFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <variant>

namespace {

const char* const LocksKey = "locks";

// Texts are 8-bit in the system code page, which is UTF-8 here.
QJsonValue TextValue(const QByteArray& text)
{
    return QString::fromLocal8Bit(text);
}

QByteArray Quoted(const QString& key)
{
    return '"' + key.toUtf8() + '"';
}

bool ReadText(const QJsonValue& value, const QString& key, QByteArray& out, QByteArray& error)
{
    if (!value.isString()) {
        error = Quoted(key) + " must be a string";
        return false;
    }
    out = value.toString().toLocal8Bit();
    return true;
}

bool ReadWhole(const QJsonValue& value, const QString& key, double low, double high, double& out,
    QByteArray& error)
{
    const double number = value.toDouble();
    if (!value.isDouble() || std::floor(number) != number || number < low || number > high) {
        error = Quoted(key) + " must be a whole number from " + QByteArray::number(low, 'f', 0)
            + " to " + QByteArray::number(high, 'f', 0);
        return false;
    }
    out = number;
    return true;
}

bool ReadField(const DocField& field, const QJsonValue& value, Doc& doc, QByteArray& error)
{
    const QString key = QLatin1String(field.name);
    double number = 0;
    if (auto text = std::get_if<QByteArray Doc::*>(&field.member))
        return ReadText(value, key, doc.**text, error);
    if (auto integer = std::get_if<std::int32_t Doc::*>(&field.member)) {
        if (!ReadWhole(value, key, std::numeric_limits<std::int32_t>::min(),
                std::numeric_limits<std::int32_t>::max(), number, error))
            return false;
        doc.** integer = static_cast<std::int32_t>(number);
        return true;
    }
    auto colour = std::get<Colour Doc::*>(field.member);
    if (!ReadWhole(value, key, 0, std::numeric_limits<Colour>::max(), number, error))
        return false;
    doc.*colour = static_cast<Colour>(number);
    return true;
}

bool ReadLocks(const QJsonValue& value, Doc& doc, QByteArray& error)
{
    if (!value.isArray()) {
        error = Quoted(QLatin1String(LocksKey)) + " must be an array";
        return false;
    }
    std::vector<LockEntry> locks;
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString lockKey = QStringLiteral("%1[%2]").arg(QLatin1String(LocksKey)).arg(i);
        if (!array[i].isObject()) {
            error = Quoted(lockKey) + " must be an object";
            return false;
        }
        const QJsonObject object = array[i].toObject();
        LockEntry lock;
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QString key = lockKey + '.' + it.key();
            const LockField* field = nullptr;
            for (const LockField& candidate : LockFields) {
                if (it.key() == QLatin1String(candidate.name))
                    field = &candidate;
            }
            if (!field) {
                error = "unknown key " + Quoted(key);
                return false;
            }
            if (!ReadText(it.value(), key, lock.*(field->member), error))
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
            object.insert(key, TextValue(doc.**text));
        else if (auto integer = std::get_if<std::int32_t Doc::*>(&field.member))
            object.insert(key, doc.**integer);
        else
            object.insert(key, qint64(doc.*std::get<Colour Doc::*>(field.member)));
    }
    QJsonArray locks;
    for (const LockEntry& lock : doc.locks) {
        QJsonObject entry;
        for (const LockField& field : LockFields)
            entry.insert(QLatin1String(field.name), TextValue(lock.*(field.member)));
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
        const DocField* field = nullptr;
        for (const DocField& candidate : DocFields) {
            if (it.key() == QLatin1String(candidate.name))
                field = &candidate;
        }
        if (!field) {
            error = "unknown key " + Quoted(it.key());
            return false;
        }
        if (!ReadField(*field, it.value(), doc, error))
            return false;
    }
    return true;
}
