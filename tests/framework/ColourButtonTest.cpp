#include "framework/ColourButton.h"

#include "framework/ColourPopup.h"
#include "support/TestPrompts.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

class ColourButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_button.resize(70, 22);
        m_button.setColour(MakeColour(192, 220, 192));
        QObject::connect(&m_button, &ColourButton::colourChanged,
            [this](Colour colour) { m_reports.push_back(colour); });
        m_button.show();
    }

    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    ColourPopup* openPopup()
    {
        QTest::mouseClick(&m_button, Qt::LeftButton);
        return qobject_cast<ColourPopup*>(QApplication::activePopupWidget());
    }

    static int well(const char* name)
    {
        const auto& wells = ColourPopup::StandardWells();
        return int(std::find_if(wells.begin(), wells.end(), [name](const ColourPopup::Well& well) {
            return well.name == QLatin1String(name);
        }) - wells.begin());
    }

    void chooseWell(const char* name)
    {
        ColourPopup* popup = openPopup();
        ASSERT_NE(popup, nullptr);
        QTest::mouseClick(popup->wellButtons().at(well(name)), Qt::LeftButton);
        EXPECT_FALSE(popup->isVisible());
    }

    void chooseMore()
    {
        ColourPopup* popup = openPopup();
        ASSERT_NE(popup, nullptr);
        const auto buttons = popup->findChildren<QPushButton*>();
        const auto more = std::find_if(buttons.begin(), buttons.end(),
            [](QPushButton* button) { return button->text() == QStringLiteral("More Colors..."); });
        ASSERT_NE(more, buttons.end());
        QTest::mouseClick(*more, Qt::LeftButton);
        EXPECT_FALSE(popup->isVisible());
    }

    QRgb swatchPixel()
    {
        const QImage image = m_button.grab().toImage();
        return image.pixel(image.width() / 3, image.height() / 2);
    }

    ColourButton m_button;
    std::vector<Colour> m_reports;
};

TEST_F(ColourButtonTest, ChoosingAWellSetsTheColourAndReportsIt)
{
    chooseWell("Red");
    // Red lies in the lowest byte.
    EXPECT_EQ(m_button.colour(), Colour(0x0000FF));
    EXPECT_EQ(m_reports, std::vector<Colour> { 0x0000FF });

    // The pop-up marks the well in use.
    ColourPopup* popup = openPopup();
    for (int i = 0; i < int(popup->wellButtons().size()); ++i)
        EXPECT_EQ(popup->wellButtons()[i]->isChecked(), i == well("Red")) << i;
    popup->close();

    // Choosing the colour it already shows reports it again.
    chooseWell("Sky Blue");
    chooseWell("Sky Blue");
    EXPECT_EQ(m_button.colour(), MakeColour(0x00, 0xCC, 0xFF));
    EXPECT_EQ(m_reports, (std::vector<Colour> { 0x0000FF, 0xFFCC00, 0xFFCC00 }));
    // Screen readers hear the well's name.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&m_button)->text(QAccessible::Description),
        QStringLiteral("Sky Blue"));
}

TEST_F(ColourButtonTest, TheKeyboardMovesAVisibleFocusPicksAndCloses)
{
    const auto& colours = ColourPopup::StandardWells();
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    const auto open = [this] {
        m_button.setFocus();
        QTest::keyClick(&m_button, Qt::Key_Space);
        return qobject_cast<ColourPopup*>(QApplication::activePopupWidget());
    };
    m_button.setColour(colours[well("Red")].colour);
    ColourPopup* popup = open();
    ASSERT_NE(popup, nullptr);
    const auto& wells = popup->wellButtons();
    EXPECT_EQ(QApplication::focusWidget(), wells[well("Red")]);
    for (Qt::Key key : { Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Left })
        press(key);
    EXPECT_EQ(QApplication::focusWidget(), wells[well("Rose")]);
    // The focus is drawn around the well; the others show no trace of it.
    const QColor highlight = popup->palette().color(QPalette::Highlight);
    EXPECT_EQ(wells[well("Rose")]->grab().toImage().pixelColor(0, 0), highlight);
    EXPECT_NE(wells[well("Red")]->grab().toImage().pixelColor(0, 0), highlight);
    press(Qt::Key_Return);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(m_button.colour(), colours[well("Rose")].colour);

    // Down from the last row reaches "More Colors...", up returns to the column left.
    ASSERT_EQ(open(), popup);
    press(Qt::Key_Down);
    const auto* more = qobject_cast<QPushButton*>(QApplication::focusWidget());
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->text(), QStringLiteral("More Colors..."));
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    press(Qt::Key_Space);
    EXPECT_EQ(m_button.colour(), colours[well("Pink")].colour);

    ASSERT_EQ(open(), popup);
    press(Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(m_reports.size(), 2u);
}

TEST_F(ColourButtonTest, MoreColoursAsksTheChooserWithTheCurrentColour)
{
    // The prompt service answers; this one also notes whom it was asked by and from which colour.
    struct RecordingPrompts : TestPrompts
    {
        std::optional<Colour> ChooseColour(QWidget* owner, Colour initial) override
        {
            askedOwner = owner;
            askedInitial = initial;
            return TestPrompts::ChooseColour(owner, initial);
        }
        QWidget* askedOwner = nullptr;
        Colour askedInitial = 0;
    } prompts;

    prompts.AnswerColour(MakeColour(1, 2, 3));
    chooseMore();
    EXPECT_EQ(prompts.askedOwner, &m_button);
    EXPECT_EQ(prompts.askedInitial, MakeColour(192, 220, 192));
    EXPECT_EQ(m_button.colour(), Colour(0x030201));
    EXPECT_EQ(m_reports, std::vector<Colour> { 0x030201 });
    EXPECT_EQ(m_button.accessibleDescription(), QStringLiteral("Red 1, green 2, blue 3"));

    // Cancelling changes and reports nothing.
    prompts.AnswerColour(std::nullopt);
    chooseMore();
    EXPECT_EQ(prompts.askedInitial, Colour(0x030201));
    EXPECT_EQ(m_button.colour(), Colour(0x030201));
    EXPECT_EQ(m_reports.size(), 1u);
}

TEST_F(ColourButtonTest, DrawsTheSwatchAndGreysItWhenDisabled)
{
    m_button.setColour(MakeColour(255, 0, 0));
    EXPECT_EQ(swatchPixel(), qRgb(255, 0, 0));

    m_button.setEnabled(false);
    const QColor greyed = QColor::fromRgb(swatchPixel());
    EXPECT_EQ(greyed.red(), greyed.green());
    EXPECT_EQ(greyed.green(), greyed.blue());
    QTest::mouseClick(&m_button, Qt::LeftButton);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

} // namespace
