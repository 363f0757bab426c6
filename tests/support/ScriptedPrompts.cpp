#include "support/ScriptedPrompts.h"

#include <QtDebug>

#include <algorithm>

namespace {

const char* KindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Message:
        return "message box";
    case PromptKind::SaveAs:
        return "Save As dialog";
    case PromptKind::Open:
        return "Open dialog";
    case PromptKind::Folder:
        return "folder browser";
    case PromptKind::Colour:
        return "colour chooser";
    case PromptKind::Notice:
        return "notice";
    }
    return "prompt";
}

// Without a scripted answer a box closes the way that changes nothing.
PromptAnswer RefusingAnswer(PromptButtons buttons)
{
    return buttons == PromptButtons::YesNo ? PromptAnswer::No
        : buttons == PromptButtons::Ok     ? PromptAnswer::Ok
                                           : PromptAnswer::Cancel;
}

PromptRecord FileRecord(PromptKind kind, const FileDialogRequest& request)
{
    PromptRecord record;
    record.kind = kind;
    record.title = request.title;
    record.filter = request.filter;
    record.defaultExtension = request.defaultExtension;
    record.initialPath = request.initialPath;
    return record;
}

std::optional<QString> PathAnswer(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

ScriptedPrompts::ScriptedPrompts(UnexpectedHandler onUnexpected)
    : m_onUnexpected(std::move(onUnexpected))
    , m_previous(SetCurrentPrompts(this))
{
    if (!m_onUnexpected)
        m_onUnexpected = [](const QString& description) { qCritical().noquote() << description; };
}

ScriptedPrompts::~ScriptedPrompts()
{
    SetCurrentPrompts(m_previous);
    if (!m_answers.empty())
        m_onUnexpected(QStringLiteral("%1 scripted answer(s) were never asked for; the next was "
                                      "for a %2")
                           .arg(m_answers.size())
                           .arg(QLatin1String(KindName(m_answers.front().kind))));
}

void ScriptedPrompts::AnswerMessage(PromptAnswer answer)
{
    m_answers.push_back({ PromptKind::Message, answer, {}, {} });
}

void ScriptedPrompts::AnswerSaveAs(const QString& path)
{
    m_answers.push_back({ PromptKind::SaveAs, PromptAnswer::Ok, path, {} });
}

void ScriptedPrompts::AnswerOpen(const QString& path)
{
    m_answers.push_back({ PromptKind::Open, PromptAnswer::Ok, path, {} });
}

void ScriptedPrompts::AnswerFolder(const QString& path)
{
    m_answers.push_back({ PromptKind::Folder, PromptAnswer::Ok, path, {} });
}

void ScriptedPrompts::AnswerColour(std::optional<Colour> colour)
{
    m_answers.push_back({ PromptKind::Colour, PromptAnswer::Ok, {}, colour });
}

void ScriptedPrompts::AnswerNotice(bool stopShowing)
{
    m_answers.push_back(
        { PromptKind::Notice, stopShowing ? PromptAnswer::Yes : PromptAnswer::No, {}, {} });
}

QStringList ScriptedPrompts::MessageTexts() const
{
    QStringList texts;
    for (const PromptRecord& record : m_asked) {
        if (record.kind == PromptKind::Message)
            texts.append(record.text);
    }
    return texts;
}

int ScriptedPrompts::UnexpectedCount() const
{
    return int(std::count_if(m_asked.begin(), m_asked.end(),
        [](const PromptRecord& record) { return record.unexpected; }));
}

std::optional<ScriptedPrompts::Answer> ScriptedPrompts::Take(PromptRecord record)
{
    if (m_answers.empty() || m_answers.front().kind != record.kind) {
        record.unexpected = true;
        m_asked.push_back(record);
        m_onUnexpected(QStringLiteral("Unexpected %1: \"%2\"")
                           .arg(QLatin1String(KindName(record.kind)),
                               record.text.isEmpty() ? record.initialPath : record.text));
        return std::nullopt;
    }
    m_asked.push_back(std::move(record));
    Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

PromptAnswer ScriptedPrompts::MessageBox(
    QWidget*, const QString& text, PromptIcon icon, PromptButtons buttons)
{
    PromptRecord record;
    record.kind = PromptKind::Message;
    record.text = text;
    record.icon = icon;
    record.buttons = buttons;
    const std::optional<Answer> answer = Take(std::move(record));
    return answer ? answer->answer : RefusingAnswer(buttons);
}

std::optional<QString> ScriptedPrompts::SaveAs(QWidget*, const FileDialogRequest& request)
{
    const std::optional<Answer> answer = Take(FileRecord(PromptKind::SaveAs, request));
    return answer ? PathAnswer(answer->path) : std::nullopt;
}

std::optional<QString> ScriptedPrompts::Open(QWidget*, const FileDialogRequest& request)
{
    const std::optional<Answer> answer = Take(FileRecord(PromptKind::Open, request));
    return answer ? PathAnswer(answer->path) : std::nullopt;
}

std::optional<QString> ScriptedPrompts::BrowseForFolder(
    QWidget*, const QString& title, const QString& initialFolder)
{
    PromptRecord record;
    record.kind = PromptKind::Folder;
    record.text = title;
    record.initialPath = initialFolder;
    const std::optional<Answer> answer = Take(std::move(record));
    return answer ? PathAnswer(answer->path) : std::nullopt;
}

std::optional<Colour> ScriptedPrompts::ChooseColour(QWidget*, Colour)
{
    PromptRecord record;
    record.kind = PromptKind::Colour;
    const std::optional<Answer> answer = Take(std::move(record));
    return answer ? answer->colour : std::nullopt;
}

bool ScriptedPrompts::Notice(QWidget*, const QString& text)
{
    PromptRecord record;
    record.kind = PromptKind::Notice;
    record.text = text;
    record.icon = PromptIcon::Information;
    const std::optional<Answer> answer = Take(std::move(record));
    return answer && answer->answer == PromptAnswer::Yes;
}
