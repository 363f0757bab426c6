#pragma once

#include <QString>
#include <QtPlugin>
#include <QUrl>

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

// A wrong login in the login box: which try it was, and how many the box allows.
struct PreviewIncorrectTry
{
    int tryNumber = 0;
    int tries = 0;
};

// The embedded web browser of the Preview page: a child window that shows a page and reports
// what a browser's status bar would show (the link under the mouse, the load state). The login
// box in it never leaves the page: where it would open an address, the browser reports the
// address instead; it also reports every wrong try.
class PreviewBrowser
{
public:
    using StatusHandler = std::function<void(const QString& text)>;
    using NavigationHandler = std::function<void(const PreviewNavigation& navigation)>;
    using IncorrectTryHandler = std::function<void(const PreviewIncorrectTry& attempt)>;

    virtual ~PreviewBrowser() = default;

    // The browser's window, a child of the parent it was made for.
    virtual QWidget* Widget() const = 0;
    // Starts loading the page at url; does not wait for it.
    virtual void Navigate(const QUrl& url) = 0;
    virtual void SetStatusHandler(StatusHandler handler) = 0;
    virtual void SetNavigationHandler(NavigationHandler handler) = 0;
    virtual void SetIncorrectTryHandler(IncorrectTryHandler handler) = 0;
};

// What the browser plugin exports: it makes the browsers.
class PreviewBrowserFactory
{
public:
    virtual ~PreviewBrowserFactory() = default;

    // A browser as a child of parent; nullptr when one cannot be made.
    virtual std::unique_ptr<PreviewBrowser> CreateBrowser(QWidget* parent) = 0;
};

#define ZARNITH_PREVIEW_BROWSER_FACTORY_IID "com.velto.Zarnith.PreviewBrowserFactory/3.0"
Q_DECLARE_INTERFACE(PreviewBrowserFactory, ZARNITH_PREVIEW_BROWSER_FACTORY_IID)
