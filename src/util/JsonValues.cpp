#include "util/JsonValues.h"

#include "util/TextEncoding.h"

#include <QJsonObject>

#include <cmath>

namespace {

const char* const BytesKey = "bytes";

} // namespace

QJsonValue JsonText(const QByteArray& text)
{
    const std::optional<QString> decoded = DecodeUtf8(text);
    if (decoded && !text.contains("\xEF\xBB\xBF"))
        return *decoded;
    return QJsonObject { { QLatin1String(BytesKey), QString::fromLatin1(text.toBase64()) } };
}

QByteArray JsonQuoted(const QString& key)
{
    return '"' + key.toUtf8() + '"';
}

bool ReadJsonText(const QJsonValue& value, const QString& key, QByteArray& out, QByteArray& error)
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
    error = JsonQuoted(key) + " must be a string or {\"bytes\": \"<base64>\"}";
    return false;
}

bool ReadJsonWhole(const QJsonValue& value, const QString& key, double low, double high,
    double& out, QByteArray& error)
{
    const double number = value.toDouble();
    if (!value.isDouble() || std::floor(number) != number || number < low || number > high) {
        error = JsonQuoted(key) + " must be a whole number from " + QByteArray::number(low, 'f', 0)
            + " to " + QByteArray::number(high, 'f', 0);
        return false;
    }
    out = number;
    return true;
}
