#pragma once

#include "generate/ProtectedFile.h"
#include "model/Doc.h"
#include "util/ProgramInfo.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <mutex>

// Pages up to this size carry their sealed content as base64 in themselves, which saves a
// request; beyond it, parsing and decoding the base64 costs a browser more than one more fetch
// started from the page's head.
inline constexpr qint64 kLargestInlinePage = 64 * 1024;

// The files of the site folder as a publish of a project with member areas writes them. A file
// that an area's pattern matches is protected: a page (".html", ".htm") becomes a small page with
// the project's box, the members' script and the page's sealed content; any other file holds only
// its sealed form (ProtectedFile.h). A file that no area matches is published as it is.
//
// A page larger than kLargestInlinePage leaves its sealed content to a file beside it (its
// companion, in the sealed form of other files), which the page names and fetches as it loads:
// a browser then reads raw bytes instead of parsing and decoding a third more as base64 text.
//
// Made once per publish: the areas' ids and the boxes are worked out once for all files, from a
// copy of the project, whose areas must have their keys (AreaKeysAreCurrent). Protect and
// PageOfCompanion may be called from several threads at once.
class MemberSite
{
public:
    explicit MemberSite(const Doc& doc, const ProgramInfo& info = CurrentProgramInfo());

    // The indices of the areas that hold the file, by its path relative to the site folder ('/'
    // between folders); empty when the file is published as it is.
    QList<int> AreasHolding(const QByteArray& relativePath) const;

    // The bytes published for a protected file that holds content, sealed for the given areas: a
    // page with its sealed content, or the sealed form of any other file (a companion included).
    // content must be at most kMaxProtectedFileSize bytes.
    QByteArray Protect(
        const QByteArray& relativePath, const QByteArray& content, const QList<int>& areas);

    // The page published for a protected page whose sealed content lies in its companion.
    QByteArray PageOfCompanion(const QByteArray& relativePath);

    // Whether the file is published as a page: by its extension, in any case.
    static bool IsPage(const QByteArray& relativePath);
    // Whether a protected file of this size is a page that leaves its content to a companion.
    static bool HasCompanion(const QByteArray& relativePath, qint64 size);
    // The companion's path: the page's own followed by ".zarnith".
    static QByteArray CompanionPath(const QByteArray& pagePath);

private:
    QByteArray PageBox(int depth);
    // The page at relativePath up to its protected content's JSON, with room for that many bytes
    // more; its head ends in headEnd.
    QByteArray PageUpToContent(
        const QByteArray& relativePath, const QByteArray& headEnd, qsizetype room);

    Doc m_doc;
    // Every protected page's text up to the end of its head, and from there up to its box.
    QByteArray m_pageHead;
    QByteArray m_pageBodyStart;
    QList<AreaSealKey> m_keys;
    RandomPool m_random;
    // The box of protected pages, by how deep they lie in the site folder; files may be protected
    // on more than one thread.
    QHash<int, QByteArray> m_boxes;
    std::mutex m_boxesMutex;
};
