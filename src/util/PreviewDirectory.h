#pragma once

#include <QByteArray>

// The folder where preview pages and the files they need are written, ending in '/':
// ProgramDirectory() + "Preview/", created when missing. When that folder cannot be created or
// written (a read-only installation), the per-user cache folder + "/Preview/" instead, so preview
// works for every user. Empty when neither can be had.
QByteArray PreviewDirectory();

// The preview folder in use if it already exists (the program's own first), never creating one;
// empty when there is none.
QByteArray ExistingPreviewDirectory();

// Deletes every file directly in directory, hidden and read-only ones and links too; nothing
// outside the directory changes, and subdirectories and their contents stay. Failures are
// ignored: stale preview files are harmless.
void DeletePreviewFiles(const QByteArray& directory);
