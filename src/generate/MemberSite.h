#pragma once

#include "generate/ProtectedFile.h"
#include "model/Doc.h"
#include "util/ProgramInfo.h"

#include <QByteArray>
#include <QHash>
#include <QList>

// The files of the site folder as a publish of a project with member areas writes them. A file
// that an area's pattern matches is protected: a page (".html", ".htm") becomes a small page with
// the project's box, the members' script and the page's sealed content; any other file holds only
// its sealed form (ProtectedFile.h). A file that no area matches is published as it is.
//
// Made once per publish: the areas' ids and the boxes are worked out once for all files, from a
// copy of the project, whose areas must have their keys (AreaKeysAreCurrent).
class MemberSite
{
public:
    explicit MemberSite(const Doc& doc, const ProgramInfo& info = CurrentProgramInfo());

    // The indices of the areas that hold the file, by its path relative to the site folder ('/'
    // between folders); empty when the file is published as it is.
    QList<int> AreasHolding(const QByteArray& relativePath) const;

    // The bytes published for a protected file that holds content, sealed for the given areas.
    // content must be at most kMaxProtectedFileSize bytes.
    QByteArray Protect(
        const QByteArray& relativePath, const QByteArray& content, const QList<int>& areas);

    // Whether the file is published as a page: by its extension, in any case.
    static bool IsPage(const QByteArray& relativePath);

private:
    const QByteArray& PageBox(int depth);

    Doc m_doc;
    // Every protected page's text up to its box.
    QByteArray m_pageStart;
    QList<AreaSealKey> m_keys;
    // The box of protected pages, by how deep they lie in the site folder.
    QHash<int, QByteArray> m_boxes;
};
