#pragma once

#include <QString>
#include <QtPlugin>

#include <functional>
#include <memory>

class QWidget;

// Where the login box of the shown page would send the visitor, as the box holds it: the lock's
// user ID (empty for the fail URL), its address and its target frame.
struct PreviewNavigation
{
    QString user;
    QString url;
    QString target;
};

// The embedded web browser of the Preview page: a child window that shows a local file and
// reports what a browser's status bar would show (the link under the mouse, the load state).
// The login box in it never leaves the page: where it would open an address, the browser reports
// the address instead.
class PreviewBrowser
{
public:
    using StatusHandler = std::function<void(const QString& text)>;
    using NavigationHandler = std::function<void(const PreviewNavigation& navigation)>;

    virtual ~PreviewBrowser() = default;

    // The browser's window, a child of the parent it was made for.
    virtual QWidget* Widget() const = 0;
    // Starts loading the local file at path; does not wait for it.
    virtual void Navigate(const QString& path) = 0;
    virtual void SetStatusHandler(StatusHandler handler) = 0;
    virtual void SetNavigationHandler(NavigationHandler handler) = 0;
};

// What the browser plugin exports: it makes the browsers.
class PreviewBrowserFactory
{
public:
    virtual ~PreviewBrowserFactory() = default;

    // A browser as a child of parent; nullptr when one cannot be made.
    virtual std::unique_ptr<PreviewBrowser> CreateBrowser(QWidget* parent) = 0;
};

#define ZARNITH_PREVIEW_BROWSER_FACTORY_IID "com.velto.Zarnith.PreviewBrowserFactory/2.0"
Q_DECLARE_INTERFACE(PreviewBrowserFactory, ZARNITH_PREVIEW_BROWSER_FACTORY_IID)
