#include "cli/DocJson.h"

#include "model/Doc.h"
#include "model/DocFields.h"
#include "util/TextEncoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <variant>

namespace {

const char* const LocksKey = "locks";

const char* const BytesKey = "bytes";

// A text that is valid UTF-8 is a JSON string; any other (8-bit text from a Windows code page) is
// {"bytes": "<base64>"}, so that every text comes back byte for byte. So is one holding a
// byte-order mark, which Qt's JSON reader drops from a string.
QJsonValue TextValue(const QByteArray& text)
{
    const std::optional<QString> decoded = DecodeUtf8(text);
    if (decoded && !text.contains("\xEF\xBB\xBF"))
        return *decoded;
    return QJsonObject { { QLatin1String(BytesKey), QString::fromLatin1(text.toBase64()) } };
}

QByteArray Quoted(const QString& key)
{
    return '"' + key.toUtf8() + '"';
}

bool ReadText(const QJsonValue& value, const QString& key, QByteArray& out, QByteArray& error)
{
    if (value.isString()) {
        out = value.toString().toUtf8();
        return true;
    }
    const QJsonObject object = value.toObject();
    const QJsonValue bytes = object.value(QLatin1String(BytesKey));
    if (value.isObject() && object.size() == 1 && bytes.isString()) {
        const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
            bytes.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (decoded) {
            out = *decoded;
            return true;
        }
    }
    error = Quoted(key) + " must be a string or {\"bytes\": \"<base64>\"}";
    return false;
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
