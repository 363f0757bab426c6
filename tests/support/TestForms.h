#pragma once

#include "forms/AllForms.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

// The controls of a form built from Form's template; a missing or mistyped one fails the test.
template<class Form> Form ControlsOf(const QWidget& form)
{
    QStringList faults;
    Form controls = BindForm<Form>(form, faults);
    EXPECT_TRUE(faults.isEmpty()) << Form::kName << ": "
                                  << faults.join(QLatin1String("; ")).toStdString();
    return controls;
}

inline void Click(QAbstractButton* button)
{
    ASSERT_NE(button, nullptr);
    button->click();
}

// Types text into a line edit, an editable combo or a multi-line edit, replacing what it held.
inline void Type(QWidget* control, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setEditText(text);
    else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(control))
        multiLine->setPlainText(text);
    else
        FAIL() << "this control takes no text";
}

inline QString TextOf(const QWidget* control)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    if (auto* multiLine = qobject_cast<const QPlainTextEdit*>(control))
        return multiLine->toPlainText();
    return {};
}
