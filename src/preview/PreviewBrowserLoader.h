#pragma once

#include "preview/PreviewBrowser.h"

#include <QString>

#include <memory>

class QWidget;

// Finds the browser plugin library by name at run time, so that the program runs, without a
// Preview, where Qt WebEngine is not installed.

// The plugin's library name without prefix or suffix ("zarnith_webpreview" unless changed).
QString PreviewPluginName();
// Looks for another library from now on; an absolute path is looked for there only.
void SetPreviewPluginName(const QString& name);

// Uses factory instead of any plugin (nullptr: the plugin again) and returns the factory installed
// before. For tests that need a browser without a web engine.
PreviewBrowserFactory* SetPreviewBrowserFactory(PreviewBrowserFactory* factory);

// Loads the plugin, looking beside the program first, then on the library path, and makes a
// browser as a child of parent. nullptr when there is no plugin or it could not make one.
std::unique_ptr<PreviewBrowser> CreatePreviewBrowser(QWidget* parent);
