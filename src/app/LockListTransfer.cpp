#include "app/LockListTransfer.h"

#include "framework/Prompts.h"
#include "framework/ResourceString.h"
#include "framework/WaitCursor.h"
#include "generate/LockCsv.h"
#include "generate/OutputFile.h"
#include "model/Doc.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>

namespace {

FileDialogRequest CsvRequest(int titleId, const QString& initialPath = {})
{
    FileDialogRequest request;
    request.title = ResourceString(titleId);
    request.filter = ResourceString(IDS_CSV_FILTER);
    request.defaultExtension = QStringLiteral("csv");
    request.initialPath = initialPath;
    return request;
}

bool Ask(QWidget* owner, const QByteArray& text, PromptButtons buttons, PromptAnswer& answer)
{
    answer = CurrentPrompts().MessageBox(
        owner, QString::fromLocal8Bit(text), PromptIcon::Question, buttons);
    return answer != PromptAnswer::Cancel;
}

} // namespace

LockListTransfer::LockListTransfer(Doc& doc, QWidget* owner)
    : m_doc(doc)
    , m_owner(owner)
{
}

bool LockListTransfer::Import()
{
    const std::optional<QString> path
        = CurrentPrompts().Open(m_owner, CsvRequest(IDS_IMPORT_LOCKS_TITLE));
    if (!path)
        return false;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowResourceMessage(m_owner, IDS_READ_ERROR, PromptIcon::Warning, PromptButtons::Ok,
            QFile::encodeName(*path));
        return false;
    }
    const QByteArray csv = file.readAll();

    PromptAnswer replace = PromptAnswer::No;
    if (!m_doc.locks.empty()
        && !Ask(m_owner,
            FormatResourceText(
                IDS_ASK_REPLACE_LOCKS, QByteArray::number(qulonglong(m_doc.locks.size()))),
            PromptButtons::YesNoCancel, replace))
        return false;
    std::variant<LockImport, LockImportRefusal> read = [&] {
        const WaitCursor wait;
        return ReadLockImport(m_doc, csv, replace == PromptAnswer::Yes);
    }();
    if (const auto* refusal = std::get_if<LockImportRefusal>(&read)) {
        CurrentPrompts().MessageBox(m_owner, QString::fromLocal8Bit(refusal->Message()),
            PromptIcon::Warning, PromptButtons::Ok);
        return false;
    }

    LockImport& import = std::get<LockImport>(read);
    PromptAnswer generate = PromptAnswer::No;
    if (const int empty = CountEmptyPasswords(import); empty > 0
        && !Ask(m_owner, FormatResourceText(IDS_ASK_GENERATE_PASSWORDS, QByteArray::number(empty)),
            PromptButtons::YesNoCancel, generate))
        return false;
    const bool generated = generate == PromptAnswer::Yes && GeneratePasswords(import) > 0;
    m_doc.locks = std::move(import.locks);
    m_doc.LocksChanged();
    m_doc.SetModified();
    m_summary = QString::fromLocal8Bit(FormatResourceText(
        IDS_LOCKS_IMPORTED, QByteArray::number(import.added), QByteArray::number(import.updated)));

    PromptAnswer exportNow = PromptAnswer::No;
    if (generated
        && Ask(m_owner, LoadResourceText(IDS_ASK_EXPORT_PASSWORDS), PromptButtons::YesNo, exportNow)
        && exportNow == PromptAnswer::Yes)
        Export();
    return true;
}

bool LockListTransfer::Export()
{
    const std::optional<QString> path = CurrentPrompts().SaveAs(
        m_owner, CsvRequest(IDS_EXPORT_LOCKS_TITLE, QStringLiteral("locks.csv")));
    if (!path)
        return false;
    const FileResult result = WriteOutputFile(*path, LocksToCsv(m_doc));
    if (!result.ok)
        ShowResourceMessage(m_owner, result.messageId, PromptIcon::Warning, PromptButtons::Ok,
            QFile::encodeName(*path));
    return result.ok;
}
