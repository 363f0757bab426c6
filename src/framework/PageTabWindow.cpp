#include "framework/PageTabWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

PageTabBar::PageTabBar(PageTabWindow* window)
    : QTabBar(window)
    , m_window(window)
{
    setElideMode(Qt::ElideNone);
    // The window draws the frame the tabs stand on.
    setDrawBase(false);
}

void PageTabBar::setLabelFonts(const QFont& inactive, const QFont& active)
{
    m_activeFont = active;
    setFont(inactive);
    // The base measures tabs only when its own font changes; the active font is ours.
    QEvent fontChange(QEvent::FontChange);
    QCoreApplication::sendEvent(this, &fontChange);
}

QFont PageTabBar::labelFont(int index) const
{
    return index == currentIndex() ? m_activeFont : font();
}

bool PageTabBar::TabLook::operator==(const TabLook& other) const
{
    return label == other.label && hasIcon == other.hasIcon && iconSize == other.iconSize
        && first == other.first && last == other.last;
}

PageTabBar::TabLook PageTabBar::LookOf(int index) const
{
    return { tabText(index), !tabIcon(index).isNull(), iconSize(), index == 0,
        index == count() - 1 };
}

QSize PageTabBar::tabSizeHint(int index) const
{
    // The base lays every tab out again at each insertion, and measuring a label shapes its text.
    const TabLook look = LookOf(index);
    const auto known = m_measured.constFind(index);
    if (known != m_measured.cend() && known->look == look)
        return known->size;
    const QString& label = look.label;
    // Every tab is sized for its label in the active font, so tabs keep their size when selected.
    const QFontMetrics active(m_activeFont);
    const QFontMetrics inactive = fontMetrics();
    const int extraWidth = active.size(Qt::TextShowMnemonic, label).width()
        - inactive.size(Qt::TextShowMnemonic, label).width();
    const int extraHeight = active.height() - inactive.height();
    const QSize size
        = QTabBar::tabSizeHint(index) + QSize(std::max(0, extraWidth), std::max(0, extraHeight));
    m_measured.insert(index, { look, size });
    return size;
}

void PageTabBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_measured.clear();
    QTabBar::changeEvent(event);
}

bool PageTabBar::event(QEvent* event)
{
    if (event->type() != QEvent::Shortcut)
        return QTabBar::event(event);
    // A label's mnemonic selects its tab; that too must pass the guard.
    const auto* shortcut = static_cast<QShortcutEvent*>(event);
    for (int index = 0; index < count(); ++index) {
        if (QKeySequence::mnemonic(tabText(index)) == shortcut->key()) {
            m_window->activateTab(index);
            return true;
        }
    }
    return QTabBar::event(event);
}

void PageTabBar::paintEvent(QPaintEvent* event)
{
    QStylePainter painter(this);
    const auto drawTab = [&](int index) {
        QStyleOptionTab option;
        initStyleOption(&option, index);
        if (!option.rect.intersects(event->rect()))
            return;
        painter.setFont(labelFont(index));
        painter.drawControl(QStyle::CE_TabBarTab, option);
    };
    // The active tab overlaps its neighbours, so it comes last.
    for (int index = 0; index < count(); ++index) {
        if (index != currentIndex())
            drawTab(index);
    }
    if (currentIndex() >= 0)
        drawTab(currentIndex());
}

void PageTabBar::mousePressEvent(QMouseEvent* event)
{
    const int index = tabAt(event->position().toPoint());
    if (index < 0 || index == currentIndex()) {
        QTabBar::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        m_window->activateTab(index);
    event->accept();
}

void PageTabBar::keyPressEvent(QKeyEvent* event)
{
    const bool mirrored = isRightToLeft();
    int direction = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        direction = mirrored ? 1 : -1;
        break;
    case Qt::Key_Right:
        direction = mirrored ? -1 : 1;
        break;
    case Qt::Key_Up:
        direction = -1;
        break;
    case Qt::Key_Down:
        direction = 1;
        break;
    default:
        event->ignore();
        return;
    }
    const int target = m_window->neighbourTab(direction, false);
    if (target >= 0)
        m_window->activateTab(target);
    event->accept();
}

void PageTabBar::wheelEvent(QWheelEvent* event)
{
    // Scrolling over the tabs must not leave a page behind the guard's back.
    event->ignore();
}

PageTabWindow::PageTabWindow(QWidget* parent)
    : QTabWidget(parent)
    , m_bar(new PageTabBar(this))
{
    setTabBar(m_bar);
    setIconSize(QSize(16, 16));
    setLabelFonts(QFont(QStringLiteral("Arial"), 10, QFont::Normal),
        QFont(QStringLiteral("Arial"), 10, QFont::Bold));
}

int PageTabWindow::addPage(const QString& label, const QIcon& icon, PageFactory makePage)
{
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs.push_back({ holder, nullptr, std::move(makePage) });
    return addTab(holder, icon, label);
}

QWidget* PageTabWindow::page(int index)
{
    if (index < 0 || index >= int(m_tabs.size()))
        return nullptr;
    Tab& tab = m_tabs[std::size_t(index)];
    if (!tab.page) {
        tab.page = std::exchange(tab.makePage, nullptr)(tab.holder);
        // In its corner, as a page of a tab widget stands, when it is smaller than the tab.
        tab.holder->layout()->addWidget(tab.page);
        tab.holder->layout()->setAlignment(tab.page, Qt::AlignLeft | Qt::AlignTop);
        // At once, not when the layout would show it later: the tab may be drawn before then.
        tab.page->show();
    }
    return tab.page;
}

QWidget* PageTabWindow::madePage(int index) const
{
    return index >= 0 && index < int(m_tabs.size()) ? m_tabs[std::size_t(index)].page : nullptr;
}

void PageTabWindow::setLabelFonts(const QFont& inactive, const QFont& active)
{
    m_bar->setLabelFonts(inactive, active);
}

bool PageTabWindow::activateTab(int index)
{
    if (index < 0 || index >= count() || !isTabEnabled(index))
        return false;
    if (m_activated) {
        if (index == currentIndex())
            return true;
        if (m_leaveGuard && !m_leaveGuard())
            return false;
    }
    m_activated = true;
    page(index);
    emit tabSelected(index);
    setCurrentIndex(index);
    return true;
}

int PageTabWindow::neighbourTab(int direction, bool wrap) const
{
    const int tabs = count();
    int index = currentIndex();
    for (int pass = 1; pass < tabs; ++pass) {
        index += direction;
        if (wrap)
            index = (index + tabs) % tabs;
        else if (index < 0 || index >= tabs)
            return -1;
        if (isTabEnabled(index))
            return index;
    }
    return -1;
}

void PageTabWindow::keyPressEvent(QKeyEvent* event)
{
    // The base would switch on Ctrl+Tab by itself, past the guard.
    if (event->modifiers() & Qt::ControlModifier) {
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        int direction = 0;
        if (event->key() == Qt::Key_Tab)
            direction = shift ? -1 : 1;
        else if (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp)
            direction = -1;
        else if (event->key() == Qt::Key_PageDown)
            direction = 1;
        if (direction != 0) {
            const int target = neighbourTab(direction, true);
            if (target >= 0)
                activateTab(target);
            event->accept();
            return;
        }
    }
    QTabWidget::keyPressEvent(event);
}
