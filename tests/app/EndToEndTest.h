#pragma once

#include "support/PageTestSupport.h"
#include "support/ShellTest.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <gtest/gtest.h>

// The whole program driven through its window: dialogs that a button opens with exec() are
// answered by steps queued before the press, in order. A dialog left up by nobody is reported
// and closed after a few seconds, so that a failing run ends instead of waiting for ever.
class EndToEndTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Poll(); });
        m_poll.start(10);
    }

    void TearDown() override
    {
        m_poll.stop();
        EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " expected dialog(s) never opened";
        EXPECT_EQ(Prompts().PendingAnswers(), 0) << "scripted answers never asked for";
        EXPECT_EQ(Prompts().UnexpectedCount(), 0);
        ShellTest::TearDown();
    }

    // Runs action on the next modal dialog that opens; the dialog is cancelled if the action
    // leaves it up.
    void OnNextDialog(std::function<void(QDialog&)> action)
    {
        m_steps.push_back(std::move(action));
    }

    // Starts the program on arguments and shows its window, as a user sees it.
    void StartShown(const QStringList& arguments = {})
    {
        ASSERT_TRUE(Start(arguments));
        Frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    }

    FormView& Page(int index)
    {
        EXPECT_TRUE(Frame().Tabs()->activateTab(index)) << "page " << index << " refused";
        return *Frame().PageAt(index);
    }

    // Clicks the check box until it shows the wanted state; one click is expected.
    static void SetChecked(QCheckBox* box, bool checked)
    {
        ASSERT_NE(box->isChecked(), checked) << qPrintable(box->objectName()) << " already so";
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        EXPECT_EQ(box->isChecked(), checked) << qPrintable(box->objectName());
    }

    // Runs the command-line program and hands back what it wrote on its standard output.
    static QByteArray RunCli(const QStringList& arguments)
    {
        QProcess cli;
        cli.start(QStringLiteral(ZARNITH_BUILD_DIR "/zarnith-cli"), arguments);
        const bool finished = cli.waitForFinished(30000);
        EXPECT_TRUE(finished) << qPrintable(arguments.join(' '));
        EXPECT_EQ(cli.exitCode(), 0)
            << qPrintable(arguments.join(' ')) << ": " << cli.readAllStandardError().constData();
        return cli.readAllStandardOutput();
    }

private:
    void Poll()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != m_watched) {
            m_watched = dialog;
            m_since.start();
        }
        if (!dialog || !dialog->isVisible())
            return;
        if (!m_busy && !m_steps.empty() && dialog != m_answered) {
            m_answered = dialog;
            const std::function<void(QDialog&)> action = std::move(m_steps.front());
            m_steps.pop_front();
            m_busy = true;
            action(*dialog);
            m_busy = false;
            if (dialog->isVisible())
                dialog->reject();
            return;
        }
        if (m_since.elapsed() > 5000) {
            ADD_FAILURE() << "dialog left unanswered: " << qPrintable(dialog->windowTitle());
            m_since.restart();
            dialog->reject();
        }
    }

    QTimer m_poll;
    std::deque<std::function<void(QDialog&)>> m_steps;
    QPointer<QDialog> m_watched;
    QPointer<QDialog> m_answered;
    QElapsedTimer m_since;
    bool m_busy = false;
};
