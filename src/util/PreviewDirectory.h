#pragma once

#include <QByteArray>

// The folder where preview pages and the files they need are written, ending in '/': the
// per-user cache folder + "/Preview/", created when missing. Never beside the program: that
// folder belongs to the installation, is shared by every user and may be read-only. Empty when
// no cache folder can be had or made.
QByteArray PreviewDirectory();

// The preview folder if it already exists, never creating one; empty when there is none.
QByteArray ExistingPreviewDirectory();

// Deletes every file directly in directory, hidden and read-only ones and links too; nothing
// outside the directory changes, and subdirectories and their contents stay. Failures are
// ignored: stale preview files are harmless.
void DeletePreviewFiles(const QByteArray& directory);
