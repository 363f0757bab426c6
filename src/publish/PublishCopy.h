#pragma once

#include <QByteArray>
#include <QList>

class DialogCopyProgress;
class QWidget;

// Copies the chosen resources into the publish folder, one by one in order, each under its own
// file name after destinationPrefix. Every missing source, existing destination and failed copy
// is asked about (Abort/Retry/Ignore, Yes/No/Cancel) with owner as the message boxes' owner;
// progress shows the file in hand and stops the run when cancelled. True when every file was
// copied.
bool PublishFiles(const QList<QByteArray>& sources, const QByteArray& destinationPrefix,
    DialogCopyProgress& progress, QWidget* owner);

// Copies source to destination in blocks, replacing a file there only once the whole copy is
// written, so a failed copy never leaves a damaged destination behind.
bool CopyFileOver(const QString& source, const QString& destination);
