#pragma once

#include <QByteArray>
#include <QList>

class DialogCopyProgress;
class QWidget;

// Tells the user when two of paths would land on the same file name in one folder, naming both:
// true when it did, and nothing should be copied.
bool ReportNameClash(QWidget* owner, const QList<QByteArray>& paths);

// Copies the chosen resources into the publish folder, one by one in order, each under its own
// file name after destinationPrefix. Every missing source, existing destination and failed copy
// is asked about (Abort/Retry/Ignore, Yes/No/Cancel) with owner as the message boxes' owner;
// progress shows the file in hand and stops the run when cancelled, also part way through a large
// file, whose destination then stays as it was. A source that is not a regular file (a device, a
// pipe) counts as missing. True when every file was copied.
bool PublishFiles(const QList<QByteArray>& sources, const QByteArray& destinationPrefix,
    DialogCopyProgress& progress, QWidget* owner);
