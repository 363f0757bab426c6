#pragma once

#include <QByteArray>

class Doc;
class LockEntry;

// One lock as the applet reads it: "userId|password|url|target", with an empty password or
// target written as one blank. Nothing inside a field is escaped.
QByteArray LockRecord(const LockEntry& lock);

// text enciphered with the applet's fixed key when the project scrambles lock information,
// otherwise text unchanged. Every text starts from the same cipher state.
QByteArray ScrambleText(const Doc& doc, const QByteArray& text);

// One CR LF terminated line per lock, numbered from 0 in table order, with the record scrambled:
// "<PARAM NAME=Lock0 VALUE="...">" for the page (a double quote written as "&quot;"), or
// "Lock0=..." with every backslash doubled for the lock input file. Empty without locks.
QByteArray BuildLockLines(const Doc& doc, bool forFile);

// text with every backslash doubled.
QByteArray EscapeBackslashes(const QByteArray& text);
