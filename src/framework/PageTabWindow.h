#pragma once

#include <QFont>
#include <QHash>
#include <QTabBar>
#include <QTabWidget>

#include <functional>
#include <vector>

class PageTabWindow;

// The tab strip of the page window: every change of tab a user asks for goes through the window's
// activateTab, and the active tab's label is drawn in its own font. A tab is measured once for its
// label, icon and fonts, not again each time the base lays all tabs out.
class PageTabBar : public QTabBar
{
    Q_OBJECT

public:
    explicit PageTabBar(PageTabWindow* window);

    void setLabelFonts(const QFont& inactive, const QFont& active);
    // The font the label of that tab is drawn in now.
    QFont labelFont(int index) const;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // What a tab's size is worked out from, besides the fonts and the style.
    struct TabLook
    {
        QString label;
        bool hasIcon;
        QSize iconSize;
        // Styles may draw the ends of the strip apart.
        bool first;
        bool last;

        bool operator==(const TabLook& other) const;
    };
    struct MeasuredTab
    {
        TabLook look;
        QSize size;
    };

    TabLook LookOf(int index) const;

    PageTabWindow* m_window;
    QFont m_activeFont;
    mutable QHash<int, MeasuredTab> m_measured;
};

// The window of the program's pages, one tab each, with icons. A page is made the first time its
// tab is activated (or page() asks for it), so that starting shows the first page without waiting
// for the others. Leaving the active page is refused before anything changes when the leave guard
// (the page's commit) answers false.
class PageTabWindow : public QTabWidget
{
    Q_OBJECT

public:
    // Makes a tab's page as a child of parent.
    using PageFactory = std::function<QWidget*(QWidget* parent)>;

    explicit PageTabWindow(QWidget* parent = nullptr);

    // Adds a tab whose page makePage makes when it is first needed. Returns the new tab's index.
    int addPage(const QString& label, const QIcon& icon, PageFactory makePage);
    // The page of that tab, made now if it has not been yet; nullptr when index names no tab.
    QWidget* page(int index);
    // The page of that tab if it has been made; nullptr otherwise.
    QWidget* madePage(int index) const;

    void setLeaveGuard(std::function<bool()> guard) { m_leaveGuard = std::move(guard); }

    // Inactive labels default to Arial 10 pt, the active one to Arial 10 pt bold.
    void setLabelFonts(const QFont& inactive, const QFont& active);
    PageTabBar* pageTabBar() const { return m_bar; }

    // Makes that tab the active one; pages change only through here. The first activation asks no
    // guard; after it, selecting the active tab does nothing, and another tab is selected only when
    // the guard agrees, and its page is made, if need be, before tabSelected. Returns false when
    // the change was refused or the index names no enabled tab.
    bool activateTab(int index);

    // The next enabled tab after (direction 1) or before (-1) the active one, wrapping around the
    // ends or stopping at them; -1 when there is none.
    int neighbourTab(int direction, bool wrap) const;

signals:
    // The guard has agreed and the tab is about to show its page.
    void tabSelected(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Tab
    {
        // What the tab shows; the page, once made, fills it.
        QWidget* holder;
        QWidget* page;
        PageFactory makePage;
    };

    PageTabBar* m_bar;
    std::vector<Tab> m_tabs;
    std::function<bool()> m_leaveGuard;
    bool m_activated = false;
};
