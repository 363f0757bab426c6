#pragma once

#include "preview/PreviewBrowser.h"

#include <QObject>

// Makes the Preview page's browsers on Qt WebEngine.
class WebPreviewPlugin : public QObject, public PreviewBrowserFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZARNITH_PREVIEW_BROWSER_FACTORY_IID)
    Q_INTERFACES(PreviewBrowserFactory)

public:
    std::unique_ptr<PreviewBrowser> CreateBrowser(QWidget* parent) override;
};
