#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Doc;
class ProjectReadAhead;
class QWidget;

// The single-document handling over the one project: New, Open, Save, Save As, opening by path,
// the question to save a modified project, the title, and the list of the 6 most recently used
// project files (kept in the settings under "Recent File List" / "File1".."File6").
//
// Before New, Open, Save, Save As and closing, and again right before the project is written,
// the commit gate (the active page's commit) is asked; when it refuses, nothing happens. Opening by
// path (recent entries, dropped files, the command line) skips the gate. After every New and every
// successful Open, documentReset tells the frame to send each page its initial update; a failed
// open leaves the project open before as it was.
class DocumentManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRecentFileCount = 6;

    explicit DocumentManager(Doc& doc, QObject* parent = nullptr);
    ~DocumentManager() override;

    Doc& Document() const { return m_doc; }

    // Without a gate every action goes ahead (as before the main window exists).
    void SetCommitGate(std::function<bool()> gate);
    // Run right before every write of the project, after the gate: what the file must hold that
    // no page keeps.
    void SetBeforeWrite(std::function<void()> prepare);
    // The window that owns the dialogs and messages.
    void SetOwner(QWidget* owner);
    // A file being read ahead: the next Open takes what it read when it opens that file, and
    // drops it in any case.
    void SetReadAhead(std::unique_ptr<ProjectReadAhead> readAhead);

    // The project's file, empty while untitled.
    QString PathName() const { return m_pathName; }
    // "Untitled", or the file's name.
    QString Title() const;
    // Most recent first; at most kRecentFileCount.
    QStringList RecentFiles() const { return m_recentFiles; }

    // Each returns true when the action was carried out.
    bool FileNew();
    bool FileOpen();
    bool FileSave();
    bool FileSaveAs();
    // Opens path after asking to save a modified project. Does not ask the commit gate.
    bool OpenDocumentFile(const QString& path);
    // Opens entry index of the recent list; an entry that fails to open leaves the list.
    bool OpenRecentFile(int index);
    // Asks the commit gate, then whether to save a modified project; true when the frame may
    // close.
    bool CanCloseFrame();
    // "Save changes to %1?" for a modified project; Yes saves. False when the user cancelled or
    // the save failed.
    bool SaveModified();

signals:
    // The project was reset (New) or read (Open).
    void documentReset();
    void titleChanged(const QString& title);
    void recentFilesChanged(const QStringList& files);

private:
    enum class OpenOutcome { Opened, Cancelled, Failed };

    bool PassesGate() const;
    OpenOutcome Open(const QString& path);
    void NewDocument();
    bool DoSave(const QString& path, bool replacePath);
    void SetPathName(const QString& path);
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(int index);
    void WriteRecentFiles();

    Doc& m_doc;
    std::function<bool()> m_gate;
    std::function<void()> m_beforeWrite;
    QWidget* m_owner = nullptr;
    QString m_pathName;
    QStringList m_recentFiles;
    std::unique_ptr<ProjectReadAhead> m_readAhead;
};
