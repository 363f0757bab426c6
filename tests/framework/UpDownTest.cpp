#include "framework/UpDown.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class UpDownTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_edit->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        m_edit->setGeometry(20, 30, 70, 22);
        m_upDown->setGeometry(80, 24, 16, 21);
        m_upDown->setBuddy(m_edit);
        m_upDown->setRange(0, 20);
        m_form.show();
    }

    QToolButton* arrow(Qt::ArrowType type) const
    {
        for (QToolButton* button : m_upDown->findChildren<QToolButton*>()) {
            if (button->arrowType() == type)
                return button;
        }
        return nullptr;
    }

    // Clicks up (positive) or down (negative) that many times, starting from the given text.
    QString click(const QString& start, int clicks)
    {
        m_edit->setText(start);
        for (int i = 0; i < std::abs(clicks); ++i)
            QTest::mouseClick(arrow(clicks > 0 ? Qt::UpArrow : Qt::DownArrow), Qt::LeftButton);
        return m_edit->text();
    }

    QWidget m_form;
    QLineEdit* m_edit = new QLineEdit(&m_form);
    UpDown* m_upDown = new UpDown(&m_form);
};

TEST_F(UpDownTest, SnapsToTheRightEdgeOfItsBuddy)
{
    EXPECT_EQ(m_edit->geometry(), QRect(20, 30, 54, 22));
    EXPECT_EQ(m_upDown->geometry(), QRect(74, 30, 16, 22));
    EXPECT_EQ(arrow(Qt::UpArrow)->geometry(), QRect(0, 0, 16, 11));
    EXPECT_EQ(arrow(Qt::DownArrow)->geometry(), QRect(0, 11, 16, 11));
}

TEST_F(UpDownTest, StepsTheBuddysIntegerWithinTheRange)
{
    EXPECT_EQ(click(QStringLiteral("5"), 1), QStringLiteral("6"));
    EXPECT_EQ(click(QStringLiteral("5"), 3), QStringLiteral("8"));
    EXPECT_EQ(click(QStringLiteral(" 12 "), -1), QStringLiteral("11"));
    EXPECT_EQ(click(QStringLiteral("19"), 4), QStringLiteral("20"));
    EXPECT_EQ(click(QStringLiteral("1"), -4), QStringLiteral("0"));
    // A typed value outside the range is brought to the nearest bound before the step.
    EXPECT_EQ(click(QStringLiteral("25"), 1), QStringLiteral("20"));
    EXPECT_EQ(click(QStringLiteral("25"), -1), QStringLiteral("19"));
    EXPECT_EQ(click(QStringLiteral("-7"), -1), QStringLiteral("0"));
    EXPECT_EQ(click(QStringLiteral("99999999999"), 1), QStringLiteral("20"));

    m_upDown->setRange(1, 50);
    EXPECT_EQ(click(QStringLiteral("1"), -1), QStringLiteral("1"));
    EXPECT_EQ(click(QStringLiteral("49"), 2), QStringLiteral("50"));

    // Large values are written without thousands separators, and read with them.
    m_upDown->setRange(0, 20000);
    EXPECT_EQ(click(QStringLiteral("9999"), 1), QStringLiteral("10000"));
    EXPECT_EQ(click(QStringLiteral("1,234"), 1), QStringLiteral("1235"));
}

TEST_F(UpDownTest, TextThatIsNoNumberStepsFromTheLastKnownValue)
{
    m_upDown->setRange(1, 50);
    // Nothing known yet: the minimum.
    EXPECT_EQ(click(QStringLiteral("abc"), 1), QStringLiteral("2"));
    EXPECT_EQ(click(QString(), -1), QStringLiteral("1"));
    EXPECT_EQ(click(QStringLiteral("7"), 1), QStringLiteral("8"));
    EXPECT_EQ(click(QStringLiteral("7x"), 1), QStringLiteral("9"));
}

TEST_F(UpDownTest, ArrowKeysInTheBuddyStepWhileOtherKeysStillType)
{
    m_form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    m_edit->setFocus();
    m_edit->clear();
    QTest::keyClicks(m_edit, QStringLiteral("1x"));
    EXPECT_EQ(m_edit->text(), QStringLiteral("1x"));
    QTest::keyClick(m_edit, Qt::Key_Backspace);
    QTest::keyClick(m_edit, Qt::Key_Up);
    QTest::keyClick(m_edit, Qt::Key_Up);
    QTest::keyClick(m_edit, Qt::Key_Down);
    EXPECT_EQ(m_edit->text(), QStringLiteral("2"));
    QTest::keyClick(m_edit, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(m_edit->text(), QStringLiteral("2"));

    // The arrows never take the focus from the edit.
    QTest::mouseClick(arrow(Qt::UpArrow), Qt::LeftButton);
    EXPECT_TRUE(m_edit->hasFocus());
}

TEST_F(UpDownTest, HoldingAnArrowRepeats)
{
    m_edit->setText(QStringLiteral("0"));
    QTest::mousePress(arrow(Qt::UpArrow), Qt::LeftButton);
    const bool repeated = QTest::qWaitFor([&] { return m_edit->text().toInt() >= 4; }, 3000);
    QTest::mouseRelease(arrow(Qt::UpArrow), Qt::LeftButton);
    EXPECT_TRUE(repeated) << m_edit->text().toStdString();
    const QString released = m_edit->text();
    QTest::qWait(200);
    EXPECT_EQ(m_edit->text(), released);
}

} // namespace
