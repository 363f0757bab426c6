#include "framework/DataExchange.h"

#include "framework/Prompts.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <algorithm>
#include <limits>

namespace {

// Multi-line edits hand out and take CR LF line breaks, as the edit controls always did.
QString ControlText(const QWidget* control)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(control))
        return edit->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return {};
}

void SetControlText(QWidget* control, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        edit->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    }
}

// What a text control showed after its value was last pushed, or last pulled from it. While the
// control still shows that text, the user has not changed it, and a pull keeps the variable's
// bytes: text that is not valid in the local encoding shows with replacement characters and
// would not survive the round trip.
constexpr char kShownTextProperty[] = "dataExchangeShownText";

void RememberShownText(QWidget* control)
{
    control->setProperty(kShownTextProperty, ControlText(control));
}

void ForgetShownText(QWidget* control)
{
    control->setProperty(kShownTextProperty, QVariant());
}

// Takes text into value unless the control still shows what it showed for value.
void PullText(QWidget* control, const QString& text, QByteArray& value)
{
    const QVariant shown = control->property(kShownTextProperty);
    if (shown.isValid() && shown.toString() == text)
        return;
    value = text.toLocal8Bit();
    control->setProperty(kShownTextProperty, text);
}

// The first entry that begins with prefix, ignoring case; -1 for none. An empty prefix matches
// nothing, as with the Windows list controls.
template<class Texts> int FindPrefix(int count, const Texts& textAt, const QString& prefix)
{
    if (prefix.isEmpty())
        return -1;
    for (int i = 0; i < count; ++i) {
        if (textAt(i).startsWith(prefix, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

void FocusWithTextSelected(QWidget* control)
{
    control->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

std::optional<std::int32_t> ParseDialogInteger(const QByteArray& text)
{
    int position = 0;
    const int size = int(text.size());
    while (position < size && IsBlank(text.at(position)))
        ++position;
    const bool negative = position < size && text.at(position) == '-';
    if (position < size && (text.at(position) == '-' || text.at(position) == '+'))
        ++position;
    const int firstDigit = position;
    // Kept within one step past the 32-bit range, so saturation needs no wider type than this.
    constexpr qint64 kLimit = qint64(std::numeric_limits<std::int32_t>::max()) + 1;
    qint64 magnitude = 0;
    while (position < size && text.at(position) >= '0' && text.at(position) <= '9') {
        magnitude = std::min(magnitude * 10 + (text.at(position) - '0'), kLimit);
        ++position;
    }
    if (position == firstDigit)
        return std::nullopt;
    while (position < size && IsBlank(text.at(position)))
        ++position;
    if (position != size)
        return std::nullopt;
    const qint64 value = negative ? -magnitude : magnitude;
    return std::int32_t(std::clamp<qint64>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

DataExchange::DataExchange(QWidget* form, bool saveAndValidate)
    : m_form(form)
    , m_saveAndValidate(saveAndValidate)
{
}

void DataExchange::Refuse(QWidget* control, const QByteArray& message)
{
    m_failed = true;
    CurrentPrompts().MessageBox(
        m_form, QString::fromLocal8Bit(message), PromptIcon::Warning, PromptButtons::Ok);
    FocusWithTextSelected(control);
}

void DataExchange::Text(QWidget* control, QByteArray& value)
{
    if (m_failed)
        return;
    if (m_saveAndValidate) {
        PullText(control, ControlText(control), value);
        return;
    }
    SetControlText(control, QString::fromLocal8Bit(value));
    RememberShownText(control);
}

void DataExchange::Text(QWidget* control, QByteArray& value, const TextCheck& check)
{
    if (m_failed || !m_saveAndValidate || !check) {
        Text(control, value);
        return;
    }
    QByteArray pulled = value;
    PullText(control, ControlText(control), pulled);
    if (const std::optional<QByteArray> refusal = check(pulled))
        Refuse(control, *refusal);
    else
        value = pulled;
}

void DataExchange::Integer(QWidget* control, std::int32_t& value)
{
    Integer(control, value, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max());
}

void DataExchange::Integer(
    QWidget* control, std::int32_t& value, std::int32_t min, std::int32_t max)
{
    if (m_failed)
        return;
    if (!m_saveAndValidate) {
        SetControlText(control, QString::number(value));
        return;
    }
    const std::optional<std::int32_t> parsed
        = ParseDialogInteger(ControlText(control).toLocal8Bit());
    if (!parsed)
        Refuse(control, LoadResourceText(IDS_PARSE_INT));
    else if (*parsed < min || *parsed > max)
        Refuse(control,
            FormatResourceText(
                IDS_PARSE_INT_RANGE, QByteArray::number(min), QByteArray::number(max)));
    else
        value = *parsed;
}

void DataExchange::Check(QCheckBox* box, std::int32_t& value)
{
    if (m_failed)
        return;
    if (m_saveAndValidate)
        value = box->isChecked() ? 1 : 0;
    else
        box->setChecked(value == 1 || value == 2);
}

void DataExchange::Radio(QAbstractButton* first, std::int32_t& index)
{
    if (m_failed)
        return;
    QButtonGroup* group = first->group();
    QList<QAbstractButton*> buttons = group ? group->buttons() : QList<QAbstractButton*> { first };
    buttons = buttons.mid(buttons.indexOf(first));
    if (m_saveAndValidate) {
        index = -1;
        for (int i = 0; i < buttons.size(); ++i) {
            if (buttons.at(i)->isChecked())
                index = i;
        }
        return;
    }
    // An exclusive group would keep one button checked; -1 clears them all.
    const bool exclusive = group && group->exclusive();
    if (exclusive)
        group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i)
        buttons.at(i)->setChecked(i == index);
    if (exclusive)
        group->setExclusive(true);
}

void DataExchange::ComboText(QComboBox* combo, QByteArray& value)
{
    if (m_failed)
        return;
    if (m_saveAndValidate) {
        PullText(combo, combo->currentText(), value);
        return;
    }
    const QString text = QString::fromLocal8Bit(value);
    const int match = FindPrefix(
        combo->count(), [combo](int i) { return combo->itemText(i); }, text);
    if (match < 0 && combo->isEditable()) {
        combo->setEditText(text);
        RememberShownText(combo);
        return;
    }
    // An entry shown in the value's place is what a pull takes.
    if (match >= 0)
        combo->setCurrentIndex(match);
    ForgetShownText(combo);
}

void DataExchange::ComboIndex(QComboBox* combo, std::int32_t& index)
{
    if (m_failed)
        return;
    if (m_saveAndValidate)
        index = combo->currentIndex();
    else
        combo->setCurrentIndex(index);
}

void DataExchange::ListBoxText(QListWidget* list, QByteArray& value)
{
    if (m_failed)
        return;
    if (m_saveAndValidate) {
        const QList<QListWidgetItem*> selected = list->selectedItems();
        value = selected.isEmpty() ? QByteArray() : selected.first()->text().toLocal8Bit();
        return;
    }
    const int match = FindPrefix(
        list->count(), [list](int i) { return list->item(i)->text(); },
        QString::fromLocal8Bit(value));
    if (match >= 0)
        list->setCurrentRow(match);
}
