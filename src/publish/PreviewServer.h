#pragma once

#include <QString>
#include <QUrl>

// The run's web server for the preview folder, so that previews behave as on a real server:
// started by the first preview that asks for an address, on a port the system chooses, on the
// loopback address only, and stopped at exit. The server comes from a plugin loaded then.

// The address of a file of the preview folder, by its path relative to the folder (it may carry
// a query): through the server, or, when the plugin is missing or the server cannot listen, the
// file's own URL (without the query). Empty when there is no preview folder.
QUrl PreviewAddress(const QString& relativePath);

// Closes the server's port. The next address asked for starts it again.
void StopPreviewServer();

// The server plugin's library name without prefix or suffix ("zarnith_previewserver" unless
// changed).
QString PreviewServerPluginName();
// Looks for another library from now on; an absolute path is looked for there only.
void SetPreviewServerPluginName(const QString& name);
