#pragma once

#include "model/ProjectFile.h"

#include <QString>

#include <memory>
#include <optional>

class QThread;

// Reads a project file on a thread of its own from construction on, so that the program can build
// its window meanwhile. Constructed on the main thread, best before the Qt application object:
// Qt takes the first thread it meets for its main thread.
class ProjectReadAhead
{
public:
    explicit ProjectReadAhead(const QString& path);
    // Waits for the reading.
    ~ProjectReadAhead();
    ProjectReadAhead(const ProjectReadAhead&) = delete;
    ProjectReadAhead& operator=(const ProjectReadAhead&) = delete;

    // The file being read, as an absolute path.
    const QString& Path() const { return m_path; }

    // Waits for the reading, then puts what it read into doc as LoadProject(doc, Path()) would,
    // and returns the same result. A second call reads the file afresh.
    FileResult MoveInto(Doc& doc);

private:
    QString m_path;
    // Set by the thread; read only after it has ended.
    std::optional<LoadedProject> m_loaded;
    std::unique_ptr<QThread> m_thread;
};
