#pragma once

#include <QByteArray>

class Doc;

// A project as one JSON object: every stored field under its own name (a text as a string, or as
// {"bytes": "<base64>"} when it is not valid UTF-8; numbers, flags and colours as numbers), the
// settings of the file's tagged block that differ from their defaults (SettingsBlock.h) and
// "locks" as an array of {userId, password, url, target}.

QByteArray DocToJson(const Doc& doc);

// Fills doc from json; keys that are missing keep their values. False with error set (naming the
// key) for malformed JSON, an unknown key or a value of the wrong type or range (a number outside
// the values its page takes included).
bool DocFromJson(const QByteArray& json, Doc& doc, QByteArray& error);
