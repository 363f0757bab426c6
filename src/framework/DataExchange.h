#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <optional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QListWidget;
class QWidget;

// One pass of moving values between a form's controls and the variables that hold them, in the
// order the form's Exchange names them. Pulling (saveAndValidate) checks integers; the first
// refused value shows "Please enter an integer." or "Please enter an integer between %1 and %2."
// (warning icon, OK) through the prompt service, puts the focus on that control with its text
// selected, and turns every later call of the pass into nothing, so the refused variable and
// those after it keep their values. Texts are 8-bit, converted at the control; a text the user
// has not changed since it was shown keeps its bytes exactly, even where the local encoding
// cannot show them.
class DataExchange
{
public:
    DataExchange(QWidget* form, bool saveAndValidate);

    bool SaveAndValidate() const { return m_saveAndValidate; }
    // False once a value has been refused.
    bool Ok() const { return !m_failed; }

    // The text of a line edit, label, combo (its edit field, or its selected entry when it has
    // none) or multi-line edit. A multi-line edit's line breaks read as CR LF, and CR LF or LF
    // show as line breaks.
    void Text(QWidget* control, QByteArray& value);
    // The same, where a pulled text that check refuses (its message) is refused with that
    // message and leaves value as it was. An empty check takes every text.
    using TextCheck = std::function<std::optional<QByteArray>(const QByteArray& text)>;
    void Text(QWidget* control, QByteArray& value, const TextCheck& check);
    // An integer in a text control (as Text). Blanks around it and a sign are allowed.
    void Integer(QWidget* control, std::int32_t& value);
    void Integer(QWidget* control, std::int32_t& value, std::int32_t min, std::int32_t max);
    // A check box as 0 or 1.
    void Check(QCheckBox* box, std::int32_t& value);
    // The index of the checked button within the radio group that starts at first; -1 when none
    // is checked.
    void Radio(QAbstractButton* first, std::int32_t& index);
    // A combo's text. Pushing selects the first entry that begins with the value, ignoring case,
    // and shows its text, which a pull then takes; when none does, the value becomes the edit
    // field's text.
    void ComboText(QComboBox* combo, QByteArray& value);
    // The selected entry's index of a combo; -1 for none.
    void ComboIndex(QComboBox* combo, std::int32_t& index);
    // The text of a list box's current line; pushing selects the first line that begins with the
    // value, ignoring case.
    void ListBoxText(QListWidget* list, QByteArray& value);

private:
    void Refuse(QWidget* control, const QByteArray& message);

    QWidget* m_form;
    bool m_saveAndValidate;
    bool m_failed = false;
};

// Puts the focus on a text control with its whole text selected, ready to be typed over, as after
// a refused value.
void FocusWithTextSelected(QWidget* control);

// Reads an integer the way the dialogs always have: optional blanks (spaces, tabs) around it, an
// optional sign, decimal digits only; beyond 32 bits it saturates. Nothing for anything else.
std::optional<std::int32_t> ParseDialogInteger(const QByteArray& text);
