#pragma once

#include "framework/Prompts.h"

#include <deque>
#include <functional>
#include <vector>

enum class PromptKind { Message, SaveAs, Open, Folder, Colour, Notice };

// One question as it was asked.
struct PromptRecord
{
    PromptKind kind = PromptKind::Message;
    QString text; // message text, or the folder browser's title
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    QString title; // file dialogs
    QString filter;
    QString defaultExtension;
    QString initialPath; // file dialogs and folder browser
    bool unexpected = false; // asked with no scripted answer of its kind next in line
};

// A prompt service for tests: answers come from a queue, in order, and every question is
// recorded. A question whose kind does not match the next queued answer (or that finds the queue
// empty) is recorded as unexpected, reported to the handler and answered Cancel (No when the box
// has no Cancel); it never blocks. Installs itself as the current service while it lives; answers
// still queued at destruction are reported too.
class ScriptedPrompts : public Prompts
{
public:
    using UnexpectedHandler = std::function<void(const QString& description)>;

    // Without a handler, unexpected questions go to the critical log; tests use
    // support/TestPrompts.h, whose handler fails the running test.
    explicit ScriptedPrompts(UnexpectedHandler onUnexpected = {});
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    void AnswerMessage(PromptAnswer answer);
    // An empty path answers as Cancel.
    void AnswerSaveAs(const QString& path);
    void AnswerOpen(const QString& path);
    void AnswerFolder(const QString& path);
    void AnswerColour(std::optional<Colour> colour);
    // Closes a notice, ticking "Do not show this message again" when stopShowing is set.
    void AnswerNotice(bool stopShowing);

    const std::vector<PromptRecord>& Asked() const { return m_asked; }
    // The texts of the message boxes asked so far, in order.
    QStringList MessageTexts() const;
    int PendingAnswers() const { return int(m_answers.size()); }
    int UnexpectedCount() const;

    PromptAnswer MessageBox(
        QWidget* owner, const QString& text, PromptIcon icon, PromptButtons buttons) override;
    std::optional<QString> SaveAs(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> Open(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> BrowseForFolder(
        QWidget* owner, const QString& title, const QString& initialFolder) override;
    std::optional<Colour> ChooseColour(QWidget* owner, Colour initial) override;
    bool Notice(QWidget* owner, const QString& text) override;

private:
    struct Answer
    {
        PromptKind kind;
        PromptAnswer answer = PromptAnswer::Cancel;
        QString path;
        std::optional<Colour> colour;
    };

    // Records the question and takes the next answer when it is of the same kind.
    std::optional<Answer> Take(PromptRecord record);

    UnexpectedHandler m_onUnexpected;
    Prompts* m_previous;
    std::deque<Answer> m_answers;
    std::vector<PromptRecord> m_asked;
};
