#include "framework/Prompts.h"

#include "framework/WaitCursor.h"
#include "support/ScriptedPrompts.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(QtNameFilters, WindowsFiltersBecomeQtFilters)
{
    EXPECT_EQ(
        QtNameFilters(QStringLiteral("Zarnith Project Files (*.loc)|*.loc|All Files (*.*)|*.*||")),
        QStringList({ "Zarnith Project Files (*.loc)", "All Files (*)" }));
    // The name's own pattern list gives way to the real patterns, separated the Qt way.
    EXPECT_EQ(QtNameFilters(
                  QStringLiteral("HTML Files (*.html, *.htm)|*.htm;*.html|All Files (*.*)|*.*||")),
        QStringList({ "HTML Files (*.htm *.html)", "All Files (*)" }));
    EXPECT_EQ(
        QtNameFilters(QStringLiteral("Audio Files|*.au||")), QStringList({ "Audio Files (*.au)" }));
    EXPECT_TRUE(QtNameFilters(QString()).isEmpty());
}

TEST(ScriptedPrompts, AnswersInOrderAndRecordsEveryQuestion)
{
    Prompts* before = &CurrentPrompts();
    {
        ScriptedPrompts prompts;
        EXPECT_EQ(&CurrentPrompts(), &prompts);
        prompts.AnswerMessage(PromptAnswer::Retry);
        prompts.AnswerSaveAs(QStringLiteral("/tmp/page.html"));
        prompts.AnswerOpen(QString());
        prompts.AnswerFolder(QStringLiteral("/srv/www"));
        prompts.AnswerColour(MakeColour(1, 2, 3));

        EXPECT_EQ(ShowResourceMessage(nullptr, 604, PromptIcon::Warning, PromptButtons::RetryCancel,
                      "a.au", "/b/a.au"),
            PromptAnswer::Retry);
        FileDialogRequest request;
        request.filter = QStringLiteral("HTML Files|*.htm||");
        request.defaultExtension = QStringLiteral("html");
        request.initialPath = QStringLiteral("/tmp/old.html");
        EXPECT_EQ(CurrentPrompts().SaveAs(nullptr, request), QStringLiteral("/tmp/page.html"));
        EXPECT_EQ(CurrentPrompts().Open(nullptr, request), std::nullopt);
        EXPECT_EQ(CurrentPrompts().BrowseForFolder(
                      nullptr, QStringLiteral("Publish to:"), QStringLiteral("/srv")),
            QStringLiteral("/srv/www"));
        EXPECT_EQ(CurrentPrompts().ChooseColour(nullptr, 0), MakeColour(1, 2, 3));

        ASSERT_EQ(prompts.Asked().size(), 5u);
        EXPECT_EQ(
            prompts.Asked()[0].text, QStringLiteral("Unable to copy file 'a.au' to '/b/a.au'!"));
        EXPECT_EQ(prompts.Asked()[0].buttons, PromptButtons::RetryCancel);
        EXPECT_EQ(prompts.Asked()[1].kind, PromptKind::SaveAs);
        EXPECT_EQ(prompts.Asked()[1].filter, QStringLiteral("HTML Files|*.htm||"));
        EXPECT_EQ(prompts.Asked()[1].defaultExtension, QStringLiteral("html"));
        EXPECT_EQ(prompts.Asked()[1].initialPath, QStringLiteral("/tmp/old.html"));
        EXPECT_EQ(prompts.Asked()[2].kind, PromptKind::Open);
        EXPECT_EQ(prompts.Asked()[3].text, QStringLiteral("Publish to:"));
        EXPECT_EQ(prompts.Asked()[3].initialPath, QStringLiteral("/srv"));
        EXPECT_EQ(prompts.UnexpectedCount(), 0);
        EXPECT_EQ(prompts.PendingAnswers(), 0);
    }
    EXPECT_EQ(&CurrentPrompts(), before);
}

TEST(ScriptedPrompts, AnUnscriptedQuestionIsReportedAndAnsweredWithoutChangingAnything)
{
    QStringList reports;
    {
        ScriptedPrompts prompts([&reports](const QString& report) { reports.append(report); });
        prompts.AnswerSaveAs(QStringLiteral("/tmp/x.loc"));

        // The next answer is for a Save As, so the message box is a surprise.
        EXPECT_EQ(CurrentPrompts().MessageBox(nullptr, QStringLiteral("Save changes to x?"),
                      PromptIcon::Question, PromptButtons::YesNoCancel),
            PromptAnswer::Cancel);
        EXPECT_EQ(CurrentPrompts().MessageBox(
                      nullptr, QStringLiteral("Sure?"), PromptIcon::Question, PromptButtons::YesNo),
            PromptAnswer::No);
        EXPECT_EQ(prompts.UnexpectedCount(), 2);
        EXPECT_TRUE(prompts.Asked()[0].unexpected);
        EXPECT_EQ(prompts.PendingAnswers(), 1);
        ASSERT_EQ(reports.size(), 2);
        EXPECT_TRUE(reports[0].contains(QStringLiteral("Save changes to x?")));
    }
    // The Save As answer was never used; that is a failure of the script too.
    EXPECT_EQ(reports.size(), 3);
}

TEST(WaitCursor, ShowsTheWaitCursorWhileItLivesEvenWhenNested)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        WaitCursor outer;
        {
            WaitCursor inner;
            ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        }
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
