#include "framework/DataExchange.h"

#include "framework/TemplateBuilder.h"
#include "support/TestPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <gtest/gtest.h>
#include <limits>

namespace {

const char kForm[] = R"({
  "id": 9002, "kind": "page", "caption": "", "size": [300, 200],
  "font": ["MS Sans Serif", 8],
  "controls": [
    { "type": "edit", "id": 10, "name": "first", "rect": [4, 4, 60, 14] },
    { "type": "edit", "id": 11, "name": "second", "rect": [4, 20, 60, 14] },
    { "type": "edit", "id": 12, "name": "third", "rect": [4, 36, 60, 14] },
    { "type": "edit", "id": 13, "name": "lines", "rect": [4, 52, 100, 30], "style": ["multiline", "wantreturn"] },
    { "type": "checkbox", "id": 14, "name": "flag", "text": "Yes", "rect": [4, 86, 40, 10] },
    { "type": "radio", "id": 15, "name": "radioA", "text": "A", "rect": [4, 100, 40, 10], "style": ["group"] },
    { "type": "radio", "id": 16, "name": "radioB", "text": "B", "rect": [4, 112, 40, 10] },
    { "type": "radio", "id": 17, "name": "radioC", "text": "C", "rect": [4, 124, 40, 10] },
    { "type": "combo", "id": 18, "name": "target", "rect": [110, 4, 60, 50], "style": ["dropdown", "sort"],
      "items": ["_self", "_parent", "_top", "_blank"] },
    { "type": "combo", "id": 19, "name": "style", "rect": [110, 24, 60, 50], "style": ["droplist"],
      "items": ["None", "Up", "Down", "Bump", "Dip"] },
    { "type": "listbox", "id": 20, "name": "files", "rect": [110, 44, 80, 40], "items": ["More Files...", "/a/one.loc", "/a/two.loc"] },
    { "type": "static", "id": 21, "name": "label", "rect": [110, 90, 80, 8] },
    { "type": "combo", "id": 22, "name": "size", "rect": [200, 4, 40, 60], "style": ["dropdown"],
      "items": ["8", "9", "10"] }
  ]
})";

class DataExchangeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_builder.Build(&m_form);
        m_form.show();
    }

    template<class T = QWidget> T* Control(int id) const
    {
        return qobject_cast<T*>(m_builder.ControlWithId(m_form, id));
    }

    const TemplateBuilder m_builder { *ParseDialogTemplate(QByteArray(kForm)) };
    QWidget m_form;
    TestPrompts m_prompts;
};

} // namespace

TEST(ParseDialogInteger, AcceptsBlanksAndASignAroundDecimalDigitsOnly)
{
    EXPECT_EQ(ParseDialogInteger("42"), 42);
    EXPECT_EQ(ParseDialogInteger("  -17\t"), -17);
    EXPECT_EQ(ParseDialogInteger("+8 "), 8);
    EXPECT_EQ(ParseDialogInteger("007"), 7);
    for (const char* refused : { "", "   ", "-", "+ 5", "1 2", "12a", "0x10", "1.5", "1e3", "--1" })
        EXPECT_FALSE(ParseDialogInteger(refused).has_value()) << refused;
}

TEST(ParseDialogInteger, SaturatesBeyondThirtyTwoBits)
{
    EXPECT_EQ(ParseDialogInteger("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseDialogInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseDialogInteger("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseDialogInteger("-99999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST_F(DataExchangeTest, TextsTravelBothWaysAsEightBitBytes)
{
    QByteArray single = QByteArray("Caf\xc3\xa9 & <b>");
    QByteArray lines = "first\r\nsecond\r\n";
    QByteArray label = "Zarnith";
    QByteArray comboText = "my frame";
    DataExchange push(&m_form, false);
    push.Text(Control(10), single);
    push.Text(Control(13), lines);
    push.Text(Control(21), label);
    push.Text(Control(18), comboText);
    EXPECT_TRUE(push.Ok());
    EXPECT_EQ(Control<QLineEdit>(10)->text(), QString::fromLocal8Bit(single));
    EXPECT_EQ(Control<QPlainTextEdit>(13)->toPlainText(), QStringLiteral("first\nsecond\n"));
    EXPECT_EQ(Control<QLabel>(21)->text(), QStringLiteral("Zarnith"));
    EXPECT_EQ(Control<QComboBox>(18)->currentText(), QStringLiteral("my frame"));

    Control<QPlainTextEdit>(13)->setPlainText(QStringLiteral("a\nb"));
    Control<QLineEdit>(10)->setText(QStringLiteral("typed"));
    DataExchange pull(&m_form, true);
    pull.Text(Control(10), single);
    pull.Text(Control(13), lines);
    pull.Text(Control(18), comboText);
    EXPECT_TRUE(pull.Ok());
    EXPECT_EQ(single, "typed");
    // Multi-line text comes back with CR LF line breaks, as the pages store it.
    EXPECT_EQ(lines, "a\r\nb");
    EXPECT_EQ(comboText, "my frame");
}

TEST_F(DataExchangeTest, IntegersArePushedAsTextAndPulledWithinTheirRange)
{
    std::int32_t width = 400;
    std::int32_t size = 12;
    DataExchange push(&m_form, false);
    push.Integer(Control(10), width, 1, 5000);
    push.Integer(Control(22), size, 0, 255);
    EXPECT_EQ(Control<QLineEdit>(10)->text(), QStringLiteral("400"));
    EXPECT_EQ(Control<QComboBox>(22)->currentText(), QStringLiteral("12"));

    Control<QLineEdit>(10)->setText(QStringLiteral(" 5000 "));
    Control<QComboBox>(22)->setCurrentIndex(1);
    DataExchange pull(&m_form, true);
    pull.Integer(Control(10), width, 1, 5000);
    pull.Integer(Control(22), size, 0, 255);
    EXPECT_TRUE(pull.Ok());
    EXPECT_EQ(width, 5000);
    EXPECT_EQ(size, 9);
    EXPECT_TRUE(m_prompts.Asked().empty());
}

TEST_F(DataExchangeTest, ARefusedIntegerWarnsFocusesItsControlAndSelectsItsText)
{
    struct Case
    {
        const char* typed;
        const char* message;
    };
    for (const Case& refusal :
        { Case { "abc", "Please enter an integer." }, Case { "", "Please enter an integer." },
            Case { "5001", "Please enter an integer between 1 and 5000." },
            Case { "0", "Please enter an integer between 1 and 5000." },
            Case { "-3", "Please enter an integer between 1 and 5000." } }) {
        SCOPED_TRACE(refusal.typed);
        Control<QLineEdit>(12)->setFocus();
        Control<QLineEdit>(11)->setText(QString::fromLatin1(refusal.typed));
        m_prompts.AnswerMessage(PromptAnswer::Ok);
        std::int32_t height = 200;
        DataExchange pull(&m_form, true);
        pull.Integer(Control(11), height, 1, 5000);

        EXPECT_FALSE(pull.Ok());
        EXPECT_EQ(height, 200);
        ASSERT_FALSE(m_prompts.Asked().empty());
        const PromptRecord& asked = m_prompts.Asked().back();
        EXPECT_EQ(asked.text, QString::fromLatin1(refusal.message));
        EXPECT_EQ(asked.icon, PromptIcon::Warning);
        EXPECT_EQ(asked.buttons, PromptButtons::Ok);
        EXPECT_EQ(m_form.focusWidget(), Control(11));
        EXPECT_EQ(Control<QLineEdit>(11)->selectedText(), QString::fromLatin1(refusal.typed));
    }
}

TEST_F(DataExchangeTest, TheFirstRefusalEndsThePassAndLaterValuesStayAsTheyWere)
{
    Control<QLineEdit>(10)->setText(QStringLiteral("7"));
    Control<QLineEdit>(11)->setText(QStringLiteral("seven"));
    Control<QLineEdit>(12)->setText(QStringLiteral("99999"));
    Control<QCheckBox>(14)->setChecked(true);
    m_prompts.AnswerMessage(PromptAnswer::Ok);

    std::int32_t spacing = 5;
    std::int32_t margin = 5;
    std::int32_t thickness = 5;
    std::int32_t bold = 0;
    DataExchange pull(&m_form, true);
    pull.Integer(Control(10), spacing, 0, 100);
    pull.Integer(Control(11), margin, 0, 100);
    pull.Integer(Control(12), thickness, 0, 100);
    pull.Check(Control<QCheckBox>(14), bold);

    EXPECT_EQ(spacing, 7);
    EXPECT_EQ(margin, 5);
    EXPECT_EQ(thickness, 5);
    EXPECT_EQ(bold, 0);
    // One message only: the one for the first refused value.
    EXPECT_EQ(m_prompts.MessageTexts(), QStringList({ "Please enter an integer." }));
    EXPECT_EQ(m_form.focusWidget(), Control(11));
}

TEST_F(DataExchangeTest, CheckBoxesAndRadioGroupsExchangeFlagsAndIndexes)
{
    std::int32_t flag = 1;
    std::int32_t choice = 2;
    DataExchange(&m_form, false).Check(Control<QCheckBox>(14), flag);
    EXPECT_TRUE(Control<QCheckBox>(14)->isChecked());
    // A stored value other than 0, 1 or 2 shows as unchecked and reads back as 0.
    flag = 7;
    DataExchange(&m_form, false).Check(Control<QCheckBox>(14), flag);
    EXPECT_FALSE(Control<QCheckBox>(14)->isChecked());
    DataExchange(&m_form, true).Check(Control<QCheckBox>(14), flag);
    EXPECT_EQ(flag, 0);

    DataExchange(&m_form, false).Radio(Control<QAbstractButton>(15), choice);
    EXPECT_TRUE(Control<QRadioButton>(17)->isChecked());
    Control<QRadioButton>(16)->click();
    DataExchange(&m_form, true).Radio(Control<QAbstractButton>(15), choice);
    EXPECT_EQ(choice, 1);

    choice = -1;
    DataExchange(&m_form, false).Radio(Control<QAbstractButton>(15), choice);
    for (int id : { 15, 16, 17 })
        EXPECT_FALSE(Control<QRadioButton>(id)->isChecked()) << id;
    choice = 5;
    DataExchange(&m_form, true).Radio(Control<QAbstractButton>(15), choice);
    EXPECT_EQ(choice, -1);
}

TEST_F(DataExchangeTest, PushingAComboTextSelectsTheFirstEntryItBeginsIgnoringCase)
{
    auto* target = Control<QComboBox>(18);
    struct Case
    {
        const char* pushed;
        const char* shown;
        int index;
    };
    for (const Case& push :
        { Case { "_TOP", "_top", 3 }, Case { "_p", "_parent", 1 }, Case { "frame2", "frame2", 1 },
            Case { "_selfish", "_selfish", 1 }, Case { "", "", 1 } }) {
        SCOPED_TRACE(push.pushed);
        QByteArray value = push.pushed;
        DataExchange(&m_form, false).ComboText(Control<QComboBox>(18), value);
        EXPECT_EQ(target->currentText(), QString::fromLatin1(push.shown));
        // Without a match the selection stays where it was; only the edit text changes.
        EXPECT_EQ(target->currentIndex(), push.index);
        DataExchange(&m_form, true).ComboText(Control<QComboBox>(18), value);
        EXPECT_EQ(value, push.shown);
    }
}

TEST_F(DataExchangeTest, DropListIndexAndListBoxTextTravelBothWays)
{
    std::int32_t style = 3;
    DataExchange(&m_form, false).ComboIndex(Control<QComboBox>(19), style);
    EXPECT_EQ(Control<QComboBox>(19)->currentText(), QStringLiteral("Bump"));
    Control<QComboBox>(19)->setCurrentIndex(0);
    DataExchange(&m_form, true).ComboIndex(Control<QComboBox>(19), style);
    EXPECT_EQ(style, 0);

    auto* list = Control<QListWidget>(20);
    QByteArray entry = "/A/TWO";
    DataExchange(&m_form, false).ListBoxText(Control<QListWidget>(20), entry);
    EXPECT_EQ(list->currentRow(), 2);
    list->setCurrentRow(0);
    DataExchange(&m_form, true).ListBoxText(Control<QListWidget>(20), entry);
    EXPECT_EQ(entry, "More Files...");
    list->clearSelection();
    DataExchange(&m_form, true).ListBoxText(Control<QListWidget>(20), entry);
    EXPECT_EQ(entry, "");
}
