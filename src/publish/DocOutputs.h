#pragma once

#include <QByteArray>

#include <optional>

class Doc;
class QWidget;

// The project's outputs as the user asks for them from the Generate page and the previews:
// files chosen through Save As, the clipboard segment, the Resources dialog and browser preview.
// Every failure is shown to the user here, in a message box owned by owner; a project holding a
// lock the login box could not read generates nothing.
class DocOutputs
{
public:
    DocOutputs(Doc& doc, QWidget* owner);

    // Writes the page (preview form when preview is set, else the file form) to path, asking
    // for the name first when askForName is set and storing the chosen name back into path.
    // The file form is then shown in the Resources dialog. False when the user cancelled or the
    // file could not be written.
    bool CreateHtmlFile(QByteArray& path, bool askForName, bool preview);

    // Puts the segment form on the clipboard, then shows the Resources dialog.
    void CopyHtmlToClipboard();

    // Shows the Resources dialog with the given HTML text and the project's resource list.
    void ShowResourcesDialog(const QByteArray& html);

    // Writes the lock input file to path, asking for the name first when askForName is set.
    // The chosen name is stored back into path. False when cancelled or not written.
    bool SaveLockInputFile(QByteArray& path, bool askForName);

    // Writes a generated file byte for byte, showing the file-error message for the cause when
    // it cannot be written.
    bool WriteFile(const QByteArray& path, const QByteArray& bytes);

    // Writes the preview page and, when the locks are read from a file, the lock input file
    // into the preview folder, and copies every other resource beside the page. The page's path,
    // or nothing when a step failed (already reported; two files of one name are reported
    // before anything is written) or there is no preview folder.
    std::optional<QByteArray> WritePreviewPage();

    // Writes the preview page and its resources into the preview folder and opens it in the
    // configured or default browser.
    void BrowserPreview();

private:
    // Writes the lock input file into folder under the file name the page gives it.
    bool WriteLockFileInto(const QByteArray& folder);

    // False, after telling the user which, when a lock could not be read back by the login box:
    // nothing is generated from such a project.
    bool LocksReadable();

    // Starts the configured browser, or the desktop's handler, on the preview page, handing it
    // the user's own CLASSPATH.
    bool StartBrowser(const QByteArray& page);

    Doc& m_doc;
    QWidget* m_owner;
};

// The preview page's file name: "~" + the program's internal name + ".html".
QByteArray PreviewPageName();
