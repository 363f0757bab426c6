#pragma once

#include "generate/HtmlPage.h"
#include "generate/LockData.h"
#include "generate/PublishPlan.h"
#include "model/BoxKind.h"
#include "publish/ProjectState.h"

#include <QByteArray>

#include <optional>

class Doc;
class QWidget;
struct ExternalBrowser;

// The project's outputs as the user asks for them from the Generate page, the File menu and the
// previews: files chosen through Save As, the clipboard segment, the Resources dialog, Publish to
// Folder and browser preview. They carry the project's kind of login box, and everything written
// into a folder follows the one publish plan (PublishPlan.h). Every failure is shown to the user
// here, in a message box owned by owner; a project holding a lock the login box could not read
// generates nothing. The modern box's locks are derived with the open project's key cache, in a
// progress window whose Cancel stops the output before anything is written.
class DocOutputs
{
public:
    // project is what the window keeps about the open project doc.
    DocOutputs(Doc& doc, ProjectState& project, QWidget* owner);

    // Writes the page (file form) to path, asking for the name first when askForName is set and
    // storing the chosen name back into path, then shows it in the Resources dialog. False when
    // the user cancelled or the file could not be written.
    bool CreateHtmlFile(QByteArray& path, bool askForName);

    // Puts the segment form on the clipboard, then shows the Resources dialog.
    void CopyHtmlToClipboard();

    // Writes the lock input file to path, asking for the name first when askForName is set.
    // The chosen name is stored back into path. False when cancelled or not written. The modern
    // box's lock data is written instead (modern) or beside it with the extension .json (both).
    bool SaveLockInputFile(QByteArray& path, bool askForName);

    // Publish to Folder: asks for the folder (starting from the one the project used last),
    // shows what will be written with any clash, and on confirmation writes the plan with
    // progress and Cancel, then tells how many files were written and how many were unchanged.
    // True when every file was written or found unchanged.
    bool PublishToFolder();

    // Writes a generated file byte for byte, showing the file-error message for the cause when
    // it cannot be written.
    bool WriteFile(const QByteArray& path, const QByteArray& bytes);

    // Writes the publish plan of the kind into the preview folder, with the preview page as the
    // page. The page's path, or nothing when a step failed (already reported; two files of one
    // name are reported before anything is written), generation was cancelled or there is no
    // preview folder.
    std::optional<QByteArray> WritePreviewPage(BoxKind kind);

    // Writes the preview page and its resources into the preview folder and opens it, through
    // the preview server, in browser.
    void BrowserPreview(const ExternalBrowser& browser);

    // Tells the user, unless they asked not to again for this project, that an output of kind
    // holds the applet's locks readable (see ReadableLocksWarning).
    void NoteReadableLocks(BoxKind kind, bool carriesLocks);

private:
    // The lock data the outputs of kind carry for use: empty for the classic kind; nothing when
    // cancelled or when the iteration setting is refused (already reported).
    std::optional<QByteArray> LockDataFor(BoxKind kind, LockDataUse use);
    // A page and the lock data it carries or names.
    struct BuiltPage
    {
        QByteArray html;
        QByteArray lockData;
    };
    // The page of kind and form with its lock data; nothing when that was not made.
    std::optional<BuiltPage> BuildPage(BoxKind kind, HtmlPageForm form, LockDataUse use);
    // Tells the user, once per project unless they said not to again, that the modern box sends
    // no e-mail, when the project has addresses set.
    void NoteMailNotSent(BoxKind kind);
    void ShowResourcesDialog(const QByteArray& html, BoxKind kind, const QByteArray& lockData);
    // The plan of kind into destination (empty: not chosen yet), with the project's site folder
    // (see PlanRequest for the names).
    std::variant<PublishPlan, PlanProblem> PlanFor(BoxKind kind, const QByteArray& destination,
        const QByteArray& pageName = {}, const QByteArray& lockDataScriptName = {}) const;

    // The checks over every lock, made again only when the locks changed.
    const ProjectState::CheckedLocks& CheckLocks();
    // Gives the member areas the keys their members need (see KeepAreaKeysCurrent), then false,
    // after telling the user which, when a lock could not be read back by the login box: nothing
    // is generated from such a project.
    bool ReadyToGenerate();

    // Starts the configured browser, or the desktop's handler, on the preview page at its
    // preview server address (a browser set to open files locally gets the bare file name),
    // handing it the user's own CLASSPATH.
    bool StartBrowser(const QByteArray& page, const ExternalBrowser& browser);

    Doc& m_doc;
    ProjectState& m_project;
    QWidget* m_owner;
};

// The preview page's file name: "~" + the program's internal name + ".html".
QByteArray PreviewPageName();
// The file name of the script beside it that hands its modern box the lock data:
// "~" + the program's internal name + "-locks.js".
QByteArray PreviewLockDataScriptName();
