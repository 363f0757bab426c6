#pragma once

#include "util/ProgramInfo.h"

#include <QByteArray>
#include <QList>

#include <optional>

class Doc;

// The applet's class file, installed beside the program: ProgramDirectory + internal name +
// ".class".
QByteArray AppletClassPath(const ProgramInfo& info = CurrentProgramInfo());

// The project's audio files, correct then incorrect, each only when set, as stored.
QList<QByteArray> AudioResources(const Doc& doc);

// Every file the generated page needs beside it on the server, in order: the applet's class file,
// the lock input file (only when the locks are read from it, as stored), then the audio files.
// Duplicates stay.
QList<QByteArray> GetResourceList(const Doc& doc, const ProgramInfo& info = CurrentProgramInfo());

// The resources that are copied into a folder: the applet's class file and the audio files. The
// lock input file is written into the folder from the project instead.
QList<QByteArray> CopiedResources(const Doc& doc, const ProgramInfo& info = CurrentProgramInfo());

// Two different files that would land on the same file name in one folder.
struct NameClash
{
    QByteArray first;
    QByteArray second;
};

// The first two of paths whose file names are equal although they name different files; one file
// listed twice is no clash. Nothing when every name is free.
std::optional<NameClash> FindNameClash(const QList<QByteArray>& paths);
