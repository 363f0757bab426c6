#pragma once

#include <QString>

class Doc;
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

// Resets the project, then reads it from path. After a failure the project holds the defaults.
// A zero-length file reads as a project with every default.
FileResult LoadProject(Doc& doc, const QString& path);

// The record sequence on an open device, in both directions.
bool WriteProject(Doc& doc, QIODevice& device);
bool ReadProject(Doc& doc, QIODevice& device);
