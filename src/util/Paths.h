#pragma once

#include <QByteArray>

// Path texts are 8-bit (the encoding of file names) and use '/' as the separator. A path written
// on Windows may still arrive with '\' separators or a drive letter; the routines below say how
// each of them treats those.

// The directory of the running program, ending in '/'.
QByteArray ProgramDirectory();

// An empty path stays empty; a path of two or more characters that starts with '/' or '\' or has
// ':' as its second character is already absolute and comes back unchanged; any other path is
// taken relative to ProgramDirectory() and made absolute.
QByteArray ResolveProgramPath(const QByteArray& path);

// directory + subdirectory + name as one absolute path. Blanks are part of the names they stand
// in, also at the end of the directory; a subdirectory that is empty or starts with '/' is not
// used. Relative results are taken from the current directory.
QByteArray JoinFullPath(
    const QByteArray& directory, const QByteArray& subdirectory, const QByteArray& name);

// The file name with its extension: what follows the last '/' or '\' (or a drive "X:"). A path
// that ends in a separator gives an empty text.
QByteArray FileNamePart(const QByteArray& path);

// True when name can stand for a file of its own in a folder: not empty, not "." or "..", and
// without a separator.
bool IsFileName(const QByteArray& name);
