#pragma once

#include "model/Doc.h"
#include "pages/History.h"
#include "support/TestForms.h"
#include "support/TestPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

// Every test starts from a fresh project and histories, and answers prompts and dialogs from its
// own script; a question or dialog that the script did not expect fails the test.
class PageTest : public testing::Test
{
protected:
    PageTest()
    {
        doc.ResetProject();
        doc.SetModified(false);
        // A dialog that no step of the test answers would otherwise wait for ever.
        m_watchdog.setInterval(2000);
        QObject::connect(&m_watchdog, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "unexpected dialog: " << dialog->windowTitle().toStdString();
                dialog->reject();
            }
        });
        m_watchdog.start();
    }

    ~PageTest() override { EXPECT_EQ(m_pendingDialogs, 0) << "an expected dialog never opened"; }

    // Runs action on the modal dialog that the next exec() opens. A dialog that the action
    // leaves open is cancelled.
    void OnNextDialog(std::function<void(QDialog&)> action)
    {
        ++m_pendingDialogs;
        QTimer::singleShot(0, &m_context, [this, action] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            --m_pendingDialogs;
            action(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    }

    Doc doc;
    // As start-up seeds the font families; no URL yet.
    Histories histories { {}, { "Arial", "TimesRoman", "Courier" } };
    TestPrompts prompts;

private:
    // Owns the pending dialog steps, so that none outlives its test.
    QObject m_context;
    QTimer m_watchdog;
    int m_pendingDialogs = 0;
};
