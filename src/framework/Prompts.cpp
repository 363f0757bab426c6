#include "framework/Prompts.h"

#include "framework/QtColour.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Stop:
        return QMessageBox::Critical;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The buttons in their Windows order; the first is the default.
QList<QMessageBox::StandardButton> BoxButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return { QMessageBox::Ok };
    case PromptButtons::OkCancel:
        return { QMessageBox::Ok, QMessageBox::Cancel };
    case PromptButtons::YesNo:
        return { QMessageBox::Yes, QMessageBox::No };
    case PromptButtons::YesNoCancel:
        return { QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel };
    case PromptButtons::RetryCancel:
        return { QMessageBox::Retry, QMessageBox::Cancel };
    case PromptButtons::AbortRetryIgnore:
        return { QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore };
    }
    return { QMessageBox::Ok };
}

PromptAnswer AnswerFor(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Retry:
        return PromptAnswer::Retry;
    case QMessageBox::Abort:
        return PromptAnswer::Abort;
    case QMessageBox::Ignore:
        return PromptAnswer::Ignore;
    default:
        return PromptAnswer::Cancel;
    }
}

std::optional<QString> RunFileDialog(
    QWidget* owner, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(
        mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(QtNameFilters(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.initialPath.isEmpty()) {
        const QFileInfo initial(request.initialPath);
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

class DialogPrompts : public Prompts
{
public:
    PromptAnswer MessageBox(
        QWidget* owner, const QString& text, PromptIcon icon, PromptButtons buttons) override
    {
        QMessageBox box(BoxIcon(icon), QString::fromLocal8Bit(LoadResourceText(IDS_APP_TITLE)),
            text, QMessageBox::NoButton, owner);
        const QList<QMessageBox::StandardButton> standardButtons = BoxButtons(buttons);
        for (QMessageBox::StandardButton button : standardButtons)
            box.addButton(button);
        box.setDefaultButton(standardButtons.first());
        return AnswerFor(box.exec());
    }

    std::optional<QString> SaveAs(QWidget* owner, const FileDialogRequest& request) override
    {
        return RunFileDialog(owner, request, QFileDialog::AcceptSave);
    }

    std::optional<QString> Open(QWidget* owner, const FileDialogRequest& request) override
    {
        return RunFileDialog(owner, request, QFileDialog::AcceptOpen);
    }

    std::optional<QString> BrowseForFolder(
        QWidget* owner, const QString& title, const QString& initialFolder) override
    {
        const QString folder = QFileDialog::getExistingDirectory(owner, title, initialFolder);
        if (folder.isEmpty())
            return std::nullopt;
        return folder;
    }

    std::optional<Colour> ChooseColour(QWidget* owner, Colour initial) override
    {
        const QColor chosen = QColorDialog::getColor(ToQColor(initial), owner);
        if (!chosen.isValid())
            return std::nullopt;
        return ToColour(chosen);
    }

    bool Notice(QWidget* owner, const QString& text) override
    {
        QMessageBox box(QMessageBox::Information,
            QString::fromLocal8Bit(LoadResourceText(IDS_APP_TITLE)), text, QMessageBox::Ok, owner);
        auto* stop = new QCheckBox(QString::fromLocal8Bit(LoadResourceText(IDS_DO_NOT_SHOW_AGAIN)));
        box.setCheckBox(stop);
        box.exec();
        return stop->isChecked();
    }
};

DialogPrompts& RealPrompts()
{
    static DialogPrompts prompts;
    return prompts;
}

Prompts* g_current = nullptr;

} // namespace

Prompts& CurrentPrompts()
{
    return g_current ? *g_current : RealPrompts();
}

Prompts* SetCurrentPrompts(Prompts* prompts)
{
    Prompts* previous = g_current;
    g_current = prompts;
    return previous;
}

PromptAnswer ShowResourceMessage(QWidget* owner, int messageId, PromptIcon icon,
    PromptButtons buttons, const QByteArray& first, const QByteArray& second)
{
    const QByteArray text = FormatResourceText(messageId, first, second);
    return CurrentPrompts().MessageBox(owner, QString::fromLocal8Bit(text), icon, buttons);
}

QStringList QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size() && !parts.at(i).isEmpty(); i += 2) {
        QString name = parts.at(i);
        // "HTML Files (*.html, *.htm)" already shows its patterns; Qt reads the last parenthesis.
        const int open = name.lastIndexOf(QLatin1Char('('));
        if (open > 0 && name.endsWith(QLatin1Char(')')))
            name = name.left(open).trimmed();
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters.append(QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' '))));
    }
    return filters;
}
