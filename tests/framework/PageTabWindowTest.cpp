#include "framework/PageTabWindow.h"

#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionTab>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

// Records the font each tab label is painted with.
class LabelFontProbe : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        if (element == CE_TabBarTabLabel) {
            if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option)) {
                painted[tab->text] = painter->font();
                const QRect room = subElementRect(SE_TabBarTabText, tab, widget);
                fits[tab->text]
                    = QFontMetrics(painter->font()).horizontalAdvance(tab->text) <= room.width();
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    mutable std::map<QString, QFont> painted;
    // Whether the label had room for itself in the font it was painted with.
    mutable std::map<QString, bool> fits;
};

class PageTabWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* label : { "Locks", "General", "Responses", "Preview" }) {
            const int index = int(m_edits.size());
            m_edits.push_back(nullptr);
            m_window.addPage(QString::fromLatin1(label), QIcon(), [this, index](QWidget* parent) {
                auto* page = new QWidget(parent);
                m_edits[std::size_t(index)] = new QLineEdit(page);
                (new QVBoxLayout(page))->addWidget(m_edits[std::size_t(index)]);
                return page;
            });
        }
        m_window.setLeaveGuard([this] {
            ++m_guardCalls;
            return m_allowLeave;
        });
        QObject::connect(&m_window, &PageTabWindow::tabSelected, [this](int index) {
            m_selected.push_back(index);
            m_currentWhenSelected.push_back(m_window.currentIndex());
            EXPECT_NE(m_window.madePage(index), nullptr) << "a page is made before it is selected";
        });
        m_window.resize(600, 400);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        ASSERT_TRUE(m_window.activateTab(0));
        resetRecords();
    }

    void resetRecords()
    {
        m_guardCalls = 0;
        m_selected.clear();
        m_currentWhenSelected.clear();
    }

    void clickTab(int index)
    {
        QTabBar* bar = m_window.pageTabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    void expectOnPage(int index)
    {
        EXPECT_EQ(m_window.currentIndex(), index);
        EXPECT_EQ(m_window.pageTabBar()->currentIndex(), index);
        EXPECT_TRUE(m_window.widget(index)->isVisible());
        EXPECT_TRUE(m_window.madePage(index)->isVisible());
    }

    PageTabWindow m_window;
    std::vector<QLineEdit*> m_edits;
    bool m_allowLeave = true;
    int m_guardCalls = 0;
    std::vector<int> m_selected;
    std::vector<int> m_currentWhenSelected;
};

TEST(PageTabWindowStart, FirstActivationAsksNoGuard)
{
    PageTabWindow window;
    const auto makePage = [](QWidget* parent) { return new QWidget(parent); };
    window.addPage(QStringLiteral("Locks"), QIcon(), makePage);
    window.addPage(QStringLiteral("General"), QIcon(), makePage);
    int guardCalls = 0;
    window.setLeaveGuard([&] {
        ++guardCalls;
        return false;
    });
    std::vector<int> selected;
    QObject::connect(
        &window, &PageTabWindow::tabSelected, [&](int index) { selected.push_back(index); });

    EXPECT_TRUE(window.activateTab(0));
    EXPECT_EQ(guardCalls, 0);
    EXPECT_EQ(selected, std::vector<int> { 0 });

    // From now on the active page must agree before it is left.
    EXPECT_FALSE(window.activateTab(1));
    EXPECT_EQ(guardCalls, 1);
    EXPECT_EQ(window.currentIndex(), 0);
    EXPECT_FALSE(window.activateTab(7));
}

TEST_F(PageTabWindowTest, ClickOnAnotherTabIsRefusedWhenThePageSaysNo)
{
    m_allowLeave = false;
    clickTab(2);
    EXPECT_EQ(m_guardCalls, 1);
    EXPECT_TRUE(m_selected.empty());
    expectOnPage(0);
    EXPECT_FALSE(m_window.widget(2)->isVisible());
}

TEST_F(PageTabWindowTest, ClickOnAnotherTabSelectsItBeforeItsPageShows)
{
    // Only the page shown is made; the others wait until they are needed.
    EXPECT_EQ(m_window.madePage(2), nullptr);
    EXPECT_EQ(m_window.madePage(1), nullptr);
    clickTab(0);
    clickTab(2);
    EXPECT_EQ(m_selected, std::vector<int> { 2 });
    EXPECT_EQ(m_currentWhenSelected, std::vector<int> { 0 });
    expectOnPage(2);

    // The active tab again: no guard, no selection.
    clickTab(2);
    EXPECT_TRUE(m_window.activateTab(2));
    EXPECT_EQ(m_guardCalls, 1);
    EXPECT_EQ(m_selected.size(), 1u);
    EXPECT_EQ(m_window.madePage(1), nullptr);
    QWidget* asked = m_window.page(1);
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(m_window.page(1), asked) << "made once";
    EXPECT_EQ(m_window.page(4), nullptr);
    expectOnPage(2);
}

TEST_F(PageTabWindowTest, KeyboardChangesPassTheGuard)
{
    m_edits[0]->setFocus();
    m_allowLeave = false;
    QTest::keyClick(m_edits[0], Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(m_edits[0], Qt::Key_PageDown, Qt::ControlModifier);
    QTest::keyClick(m_window.pageTabBar(), Qt::Key_Right);
    EXPECT_EQ(m_guardCalls, 3);
    EXPECT_TRUE(m_selected.empty());
    expectOnPage(0);

    m_allowLeave = true;
    QTest::keyClick(m_edits[0], Qt::Key_Tab, Qt::ControlModifier);
    expectOnPage(1);
    QTest::keyClick(m_edits[1], Qt::Key_PageDown, Qt::ControlModifier);
    expectOnPage(2);
    QTest::keyClick(m_window.pageTabBar(), Qt::Key_Right);
    expectOnPage(3);
    EXPECT_EQ(m_selected, (std::vector<int> { 1, 2, 3 }));
    EXPECT_EQ(m_currentWhenSelected, (std::vector<int> { 0, 1, 2 }));
}

TEST_F(PageTabWindowTest, LabelMnemonicsPassTheGuard)
{
    m_window.setTabText(1, QStringLiteral("&General"));
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    m_edits[0]->setFocus();
    m_allowLeave = false;
    QTest::keyClick(m_edits[0], Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(m_guardCalls, 1);
    expectOnPage(0);
    m_allowLeave = true;
    QTest::keyClick(m_edits[0], Qt::Key_G, Qt::AltModifier);
    expectOnPage(1);
    EXPECT_EQ(m_selected, std::vector<int> { 1 });
}

TEST_F(PageTabWindowTest, ControlKeysWrapAroundButArrowsStopAtTheEndsAndSkipDisabledTabs)
{
    QTest::keyClick(m_window.pageTabBar(), Qt::Key_Left);
    EXPECT_EQ(m_guardCalls, 0);
    expectOnPage(0);

    QTest::keyClick(&m_window, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    expectOnPage(3);
    QTest::keyClick(m_window.pageTabBar(), Qt::Key_Right);
    expectOnPage(3);
    m_window.setTabEnabled(1, false);
    QTest::keyClick(&m_window, Qt::Key_Tab, Qt::ControlModifier);
    expectOnPage(0);
    QTest::keyClick(&m_window, Qt::Key_PageDown, Qt::ControlModifier);
    expectOnPage(2);
    clickTab(1);
    EXPECT_FALSE(m_window.activateTab(1));
    expectOnPage(2);
    EXPECT_EQ(m_selected, (std::vector<int> { 3, 0, 2 }));
}

TEST_F(PageTabWindowTest, ActiveLabelIsBoldAndTabsKeepTheirSize)
{
    auto* probe = new LabelFontProbe;
    probe->setParent(&m_window);
    m_window.pageTabBar()->setStyle(probe);

    std::vector<QRect> before;
    for (int i = 0; i < m_window.count(); ++i)
        before.push_back(m_window.pageTabBar()->tabRect(i));

    m_window.pageTabBar()->grab();
    ASSERT_EQ(probe->painted.size(), 4u);
    for (const auto& [label, font] : probe->painted) {
        EXPECT_EQ(font.family(), QStringLiteral("Arial")) << label.toStdString();
        EXPECT_EQ(font.pointSize(), 10) << label.toStdString();
        EXPECT_EQ(font.bold(), label == QStringLiteral("Locks")) << label.toStdString();
    }
    for (const auto& [label, fits] : probe->fits)
        EXPECT_TRUE(fits) << label.toStdString();

    clickTab(2);
    probe->painted.clear();
    m_window.pageTabBar()->grab();
    EXPECT_FALSE(probe->painted.at(QStringLiteral("Locks")).bold());
    EXPECT_TRUE(probe->painted.at(QStringLiteral("Responses")).bold());
    EXPECT_TRUE(probe->fits.at(QStringLiteral("Responses")));

    for (int i = 0; i < m_window.count(); ++i)
        EXPECT_EQ(m_window.pageTabBar()->tabRect(i), before[i]) << i;

    // A tab is measured anew when its label, its icon or the fonts change.
    m_window.setTabText(1, QStringLiteral("General settings"));
    EXPECT_GT(m_window.pageTabBar()->tabRect(1).width(), before[1].width());
    QPixmap square(16, 16);
    square.fill(Qt::red);
    m_window.setTabIcon(3, QIcon(square));
    EXPECT_GT(m_window.pageTabBar()->tabRect(3).width(), before[3].width());
    m_window.setLabelFonts(QFont(QStringLiteral("Arial"), 20), QFont(QStringLiteral("Arial"), 20));
    EXPECT_GT(m_window.pageTabBar()->tabRect(0).height(), before[0].height());
}

} // namespace
