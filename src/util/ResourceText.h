#pragma once

#include <QByteArray>

// Where a text of the string table or of a template names the product; the program puts its
// product name there.
inline constexpr char kProductNamePlaceholder[] = "@ProductName@";

// The text of a string-table entry (8-bit, system code page); empty when there is no such entry.
QByteArray LoadResourceText(int id);

// The entry with "%1" and "%2" replaced by the given texts.
QByteArray FormatResourceText(int id, const QByteArray& first, const QByteArray& second = {});
