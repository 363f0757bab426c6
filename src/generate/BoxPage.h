#pragma once

#include "generate/HtmlPage.h"
#include "model/BoxKind.h"

#include <QByteArray>
#include <QList>

#include <optional>

class Doc;

// The generated page for a kind of box. Classic gives exactly BuildHtmlPage's bytes; modern puts
// the modern box where the applet would be, in a standard page ("<!DOCTYPE html>", UTF-8
// declared) unless it is a segment; both keeps the classic page and gives the APPLET
// element the modern box as its content. lockData (the lock data JSON) is used only when the page
// carries it (see ModernBoxFetchesLocks); callers derive it only for kinds that use the modern box.
QByteArray BuildBoxPage(const Doc& doc, BoxKind kind, HtmlPageForm form, const QByteArray& lockData,
    const ProgramInfo& info = CurrentProgramInfo());
// The preview form of that page as the window shows it: the modern box's lock data comes from
// the script lockScript beside the page (see ModernBoxParts) instead of the page itself.
QByteArray BuildWindowPreviewPage(const Doc& doc, BoxKind kind, const QByteArray& lockData,
    const QByteArray& lockScript, const ProgramInfo& info = CurrentProgramInfo());

// The string-table warning that an output of kind holds the applet's locks readable: plain, or
// only scrambled (which this program, and anyone who has it, undoes). carriesLocks says whether
// the output itself holds the lock records (a page that names a lock input file holds none);
// nothing when it holds no lock.
std::optional<int> ReadableLocksWarning(const Doc& doc, BoxKind kind, bool carriesLocks);

// One file that the page of a kind needs beside it on the server, and how it gets there.
struct BoxResource
{
    enum class Origin {
        Copied, // path is copied as it is: the applet class, the lock input file, Sun audio
        LockData, // path is written with the lock data: the modern box's lock data file
        MembersBoxScript, // path is written with the script of protected pages' boxes
        ConvertedSound, // path is a wave file converted from the Sun audio file source
    };

    Origin origin = Origin::Copied;
    // As listed; the file beside the page takes its file name.
    QByteArray path;
    // The Sun audio file of a converted sound; path otherwise.
    QByteArray source;
};

// Every file the page of the kind needs beside it, in order: the classic resource list where the
// applet is used, then the modern box's lock data file (only when the locks are read from a file
// or the project has member areas), the protected pages' shared script (with member areas) and
// its sounds.
QList<BoxResource> GetBoxResources(
    const Doc& doc, BoxKind kind, const ProgramInfo& info = CurrentProgramInfo());
