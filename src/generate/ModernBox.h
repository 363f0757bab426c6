#pragma once

#include "generate/HtmlPage.h"

#include <QByteArray>
#include <QByteArrayList>

class Doc;

// The login box that runs in today's browsers: HTML, style and a small script drawn from the same
// project as the applet, with the locks as encrypted lock data instead of clear records.

// Whether the box of a page in this form fetches its lock data from the lock data file beside the
// page; otherwise the page carries it. The preview forms always carry it, since a page opened from
// disk may not fetch files.
bool ModernBoxFetchesLocks(const Doc& doc, HtmlPageForm form);

// The lock data file: the lock file as stored with the extension ".json" ("C:\Site\lock.txt"
// gives "C:\Site\lock.json"), and the name the page fetches it by ("lock.json").
QByteArray ModernLockFilePath(const Doc& doc);
QByteArray ModernLockFileName(const Doc& doc);
// The same for any lock input file's path.
QByteArray LockDataPathBeside(const QByteArray& lockFilePath);

// The wave file that a Sun audio path becomes beside the page: "C:\Sounds\ok.au" gives "ok.wav".
QByteArray ModernSoundName(const QByteArray& audioPath);

// The box's element, in ASCII whatever the project's texts: a block of the project's size with the
// box's style, settings and script, and lockData (the lock data JSON) unless the box fetches it.
// A preview whose lock data has fewer iterations than a published page may use shows a "Preview
// only" band and takes no login on a page that is not on this computer.
QByteArray BuildModernBox(const Doc& doc, HtmlPageForm form, const QByteArray& lockData);
// The same element in its parts, to be joined into a page at once: the lock data, the style and
// the script are passed on, not copied. lockData is as BuildLockData makes it: ASCII with no "<",
// ">" or "&", so that it may sit in a script element as it is.
// With lockScript (an address beside the page), a box that would carry its lock data gets an empty
// lock data element instead, and the script at lockScript (LockDataScript) fills it in before the
// box reads it: the window's preview writes the lock data only when it changed, and a page opened
// from disk may load a script where it may not fetch a file.
QByteArrayList ModernBoxParts(const Doc& doc, HtmlPageForm form, const QByteArray& lockData,
    const QByteArray& lockScript = {});

// The script that fills the lock data element of the box it is loaded into with lockData.
QByteArray LockDataScript(const QByteArray& lockData);

// The script that draws the box of every protected page: the box's style, the members' script and
// the box's script in one file, the same for every project and every page (nothing of a project's
// settings, locks or keys). A publish with member areas writes it once, under this name, into the
// top folder beside the box page, so that browsers fetch it once for the whole site.
inline constexpr char kMembersBoxScriptName[] = "zarnith-box.js";
const QByteArray& MembersBoxScript();

// The box of a protected page: the project's settings, and the shared script loaded from siteRoot
// (the way up from the page to the site folder: "" or "../../") with a query that changes with the
// script's content, so that no browser keeps an older one. The script is deferred: it runs once
// the whole page is read, so the page's sealed content may follow the box. The box fetches its
// locks from the lock data file at siteRoot, and opens the page once a login gives a key of an area
// holding it.
QByteArray BuildProtectedPageBox(const Doc& doc, const QByteArray& siteRoot);
