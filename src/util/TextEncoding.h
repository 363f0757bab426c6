#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A project text as Unicode, the same on every machine: bytes that form valid UTF-8 are read as
// UTF-8; any other text comes from a Windows code page and is read as Windows-1252 (the five
// bytes that code page leaves undefined keep their Latin-1 meaning). Generated pages that show
// project texts in a browser and the encrypted locks both convert through here, so what a visitor
// types matches what the program derived.
QString DecodeProjectText(const QByteArray& text);

// The text decoded as UTF-8; nothing when its bytes are not valid UTF-8.
std::optional<QString> DecodeUtf8(const QByteArray& text);
