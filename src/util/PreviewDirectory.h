#pragma once

#include <QByteArray>

// The folder where preview pages and the files they need are written, ending in '/': the
// per-user cache folder + "/Preview/", created when missing. Never beside the program: that
// folder belongs to the installation, is shared by every user and may be read-only. Empty when
// no cache folder can be had or made.
QByteArray PreviewDirectory();

// The preview folder if it already exists, never creating one; empty when there is none.
QByteArray ExistingPreviewDirectory();

// Empties directory: every file, hidden and read-only ones and links too, and every folder the
// previews wrote with the site folder's files. A link goes as a link: nothing outside the
// directory changes. Failures are ignored: stale preview files are harmless.
void DeletePreviewFiles(const QByteArray& directory);
