#pragma once

#include <QByteArray>

class Doc;
class QWidget;

// The project's outputs as the user asks for them from the Generate page and the previews:
// files chosen through Save As, the clipboard segment, the Resources dialog and browser preview.
class DocOutputs
{
public:
    DocOutputs(Doc& doc, QWidget* owner);

    // Writes the page (preview form when preview is set, else the file form) to path, asking
    // for the name first when askForName is set and storing the chosen name back into path.
    // False when the user cancelled or the file could not be written.
    bool CreateHtmlFile(QByteArray& path, bool askForName, bool preview);

    // Puts the segment form on the clipboard, then shows the Resources dialog.
    void CopyHtmlToClipboard();

    // Shows the Resources dialog with the given HTML text and the project's resource list.
    void ShowResourcesDialog(const QByteArray& html);

    // Writes the lock input file to path, asking for the name first when askForName is set.
    // The chosen name is stored back into path. False when cancelled or not written.
    bool SaveLockInputFile(QByteArray& path, bool askForName);

    // Writes the preview page and its resources into the preview folder and opens it in the
    // configured or default browser.
    void BrowserPreview();

private:
    Doc& m_doc;
    QWidget* m_owner;
};
