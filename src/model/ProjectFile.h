#pragma once

#include "model/Doc.h"

#include <QString>
#include <QtGlobal>

#include <optional>

class QIODevice;

// Outcome of reading or writing a project file. On failure messageId names the string-table
// message to show, with %1 replaced by the file name.
struct FileResult
{
    bool ok = true;
    int messageId = 0;

    static FileResult Success() { return {}; }
    static FileResult Failure(int id) { return { false, id }; }
};

// Writes the project to path atomically: a save that fails at any point leaves the previous file
// untouched. The modified flag is left to the caller.
FileResult SaveProject(Doc& doc, const QString& path);

// Reads the project from the regular file at path. After a failure the project is left as it was;
// a zero-length file reads as a project with every default. Anything but a regular file (a FIFO,
// a device, a file under /proc) is refused with IDS_NOT_REGULAR_FILE.
FileResult LoadProject(Doc& doc, const QString& path);

// A project file read but not yet put in place, so that the reading can happen apart: on another
// thread, ahead of time. Reading touches nothing but the project it reads into.
class LoadedProject
{
public:
    // Reads the file at path; failures as LoadProject.
    static LoadedProject Read(const QString& path);

    // Puts what was read into doc as LoadProject does, and returns the result; after a failure
    // doc is left as it was. Once only.
    FileResult MoveInto(Doc& doc);

private:
    FileResult m_result;
    // Empty after a failure, and for a zero-length file, which reads as every default.
    std::optional<Doc> m_read;
};

// Reads the project from an open device (a stream is read to its end); failures as LoadProject.
FileResult ReadProjectFrom(Doc& doc, QIODevice& device);

// The record sequence on an open device, in both directions. Reading charges what it loads
// against memoryBudget (0: the default budget) and fails once it is spent; a failed read leaves
// doc as it was.
bool WriteProject(Doc& doc, QIODevice& device);
bool ReadProject(Doc& doc, QIODevice& device, qint64 memoryBudget = 0);
