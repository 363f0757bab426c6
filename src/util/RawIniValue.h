#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One value of an INI settings file taken as the plain text after "=", as a person edits it.
// QSettings reads such a value through its own escapes: it splits it at commas into a list, ends
// it at a ";", drops quotes and takes backslashes as escapes, and it writes back what it read. A
// command line typed into the file needs all of those characters as they stand.

// The text after "=" on the key's line within [section], without the blanks around it and the
// line end; nothing when the section has no such line.
std::optional<QByteArray> FindRawIniValue(
    const QByteArray& ini, const QByteArray& section, const QByteArray& key);

// ini with the key's line within [section] reading key=value. A missing line is added at the
// start of the section, a missing section at the end; every other line stays as it is.
QByteArray WithRawIniValue(const QByteArray& ini, const QByteArray& section, const QByteArray& key,
    const QByteArray& value);

// The same on a file: reading a missing file finds nothing; writing replaces the file whole
// (false when it cannot be written) and leaves it alone when it already holds the value.
std::optional<QByteArray> ReadRawIniValue(
    const QString& path, const QByteArray& section, const QByteArray& key);
bool WriteRawIniValue(
    const QString& path, const QByteArray& section, const QByteArray& key, const QByteArray& value);
