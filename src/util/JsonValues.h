#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// How project values travel in the command line's JSON, shared by every field that has a key.

// A text that is valid UTF-8 is a JSON string; any other (8-bit text from a Windows code page) is
// {"bytes": "<base64>"}, so that every text comes back byte for byte. So is one holding a
// byte-order mark, which Qt's JSON reader drops from a string.
QJsonValue JsonText(const QByteArray& text);

// The text of value in either form above; false with error set, naming key, for anything else.
bool ReadJsonText(const QJsonValue& value, const QString& key, QByteArray& out, QByteArray& error);

// The whole number of value when it lies between low and high; false with error set otherwise.
bool ReadJsonWhole(const QJsonValue& value, const QString& key, double low, double high,
    double& out, QByteArray& error);

// The key in double quotes, as error messages show it.
QByteArray JsonQuoted(const QString& key);
