#pragma once

#include "model/ProjectFile.h"

#include <QByteArray>
#include <QString>

class Doc;

// The lock input file the applet reads when the page names it: one "Lock<n>=<record>" line per
// lock with CR LF, every backslash doubled; empty for a project without locks.
QByteArray BuildLockInputFile(const Doc& doc);

// Writes the lock input file to path, replacing any file there.
FileResult WriteLockInputFile(const Doc& doc, const QString& path);
