#pragma once

#include "util/ProgramInfo.h"

#include <QByteArray>
#include <QList>

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
