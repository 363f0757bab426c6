#pragma once

#include "model/Colour.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

enum class PromptIcon { None, Stop, Warning, Question, Information };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class PromptAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// What a Save As or Open dialog is asked to show.
struct FileDialogRequest
{
    QString title; // empty: the dialog's usual title
    QString filter; // "Name|pattern;pattern|Name|pattern||", as the resources write filters
    QString defaultExtension; // without the dot; added when the user types a name without one
    QString initialPath; // file name, possibly with its folder
};

// The one door to every modal question the program asks: message boxes, the file dialogs, the
// folder browser and the colour chooser. Tests put one in that answers from a script.
class Prompts
{
public:
    virtual ~Prompts() = default;

    virtual PromptAnswer MessageBox(
        QWidget* owner, const QString& text, PromptIcon icon, PromptButtons buttons)
        = 0;
    // The chosen path, or nothing when cancelled. Overwriting an existing file is confirmed.
    virtual std::optional<QString> SaveAs(QWidget* owner, const FileDialogRequest& request) = 0;
    // The chosen path of an existing file, or nothing when cancelled.
    virtual std::optional<QString> Open(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> BrowseForFolder(
        QWidget* owner, const QString& title, const QString& initialFolder)
        = 0;
    virtual std::optional<Colour> ChooseColour(QWidget* owner, Colour initial) = 0;
    // An information message with OK and a "Do not show this message again" check box; true when
    // the user ticked it.
    virtual bool Notice(QWidget* owner, const QString& text) = 0;
};

// The service in use; the real dialogs unless a replacement is installed.
Prompts& CurrentPrompts();
// Installs a replacement (nullptr: the real dialogs again) and returns the previous one.
Prompts* SetCurrentPrompts(Prompts* prompts);

// Shows string-table message messageId with %1 and %2 replaced.
PromptAnswer ShowResourceMessage(QWidget* owner, int messageId, PromptIcon icon,
    PromptButtons buttons, const QByteArray& first = {}, const QByteArray& second = {});

// "Name|pattern;pattern|...||" as Qt name filters ("Name (pattern pattern)"). "*.*" becomes "*",
// since on Linux "*.*" would skip files without a dot.
QStringList QtNameFilters(const QString& filter);
