#pragma once

#include "util/ProgramInfo.h"

#include <QByteArray>
#include <QList>

class Doc;

// How a resource copy asks about a problem file and tells what it did with each file.
class CopyPrompt
{
public:
    virtual ~CopyPrompt() = default;

    // A missing source or one that is not a regular file (IDS_FILE_MISSING), or a failed copy
    // (IDS_COPY_FAILED), with text the message naming the files. True tries again (Retry); false
    // ends the whole copy (Cancel).
    virtual bool AskRetry(int messageId, const QByteArray& text) = 0;

    // One file done: copied, or left alone because the copy at destination is up to date.
    virtual void Report(const QByteArray& source, const QByteArray& destination, bool copied)
    {
        Q_UNUSED(source);
        Q_UNUSED(destination);
        Q_UNUSED(copied);
    }
};

// Copies the given files, in order, into destinationFolder under their own file names, skipping
// those whose copy is up to date and replacing the others; a link at a destination is replaced,
// never written through. Creates the folder (one level) when it is missing. False when the folder
// cannot be had or the prompt cancelled; files copied before a cancel stay.
bool CopyResourceFiles(
    const QList<QByteArray>& sources, const QByteArray& destinationFolder, CopyPrompt& prompt);

// Copies the project's class file and audio files into destinationFolder, as above. The lock
// input file is not among them: it is written into the folder from the project.
bool CopyResources(const Doc& doc, const QByteArray& destinationFolder, CopyPrompt& prompt,
    const ProgramInfo& info = CurrentProgramInfo());
