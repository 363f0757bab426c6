#include "generate/MemberSite.h"

#include "generate/ModernBox.h"
#include "model/AreaPattern.h"
#include "model/Doc.h"

MemberSite::MemberSite(const Doc& doc, const ProgramInfo& info)
    : m_doc(doc)
    , m_info(info)
{
    for (const MemberArea& area : doc.areas)
        m_keys.append(AreaSealKey(area.key));
}

QList<int> MemberSite::AreasHolding(const QByteArray& relativePath) const
{
    QList<int> holding;
    for (qsizetype i = 0; i < qsizetype(m_doc.areas.size()); ++i) {
        for (const QByteArray& pattern : m_doc.areas[std::size_t(i)].patterns) {
            if (AreaPatternMatches(pattern, relativePath)) {
                holding.append(int(i));
                break;
            }
        }
    }
    return holding;
}

bool MemberSite::IsPage(const QByteArray& relativePath)
{
    const QByteArray lower = relativePath.toLower();
    return lower.endsWith(".html") || lower.endsWith(".htm");
}

const QByteArray& MemberSite::PageBox(int depth)
{
    auto found = m_boxes.find(depth);
    if (found == m_boxes.end()) {
        QByteArray siteRoot;
        for (int i = 0; i < depth; ++i)
            siteRoot += "../";
        found = m_boxes.insert(depth, BuildProtectedPageBox(m_doc, siteRoot));
    }
    return *found;
}

QByteArray MemberSite::Protect(
    const QByteArray& relativePath, const QByteArray& content, const QList<int>& areas)
{
    QList<AreaSealKey> keys;
    for (int area : areas)
        keys.append(m_keys[area]);
    const bool page = IsPage(relativePath);
    const SealedContent sealed = SealContent(content, keys, page);
    if (!page)
        return ProtectedFileBytes(sealed);
    // The page says nothing of its content but that it is one of the site's protected pages.
    const QByteArray box = PageBox(int(relativePath.count('/')));
    const QByteArray json = ProtectedPageJson(sealed);
    QByteArray html;
    html.reserve(json.size() + box.size() + 512);
    html += "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
            "<meta name=\"robots\" content=\"noindex\">\r\n</head>\r\n<body>\r\n";
    html += "<!-- This page is protected by " + m_info.productName + " Version "
        + m_info.productVersion + ". -->\r\n";
    html += "<script type=\"application/json\" class=\"zarnith-protected\">" + json
        + "</script>\r\n";
    html += box;
    html += "</body>\r\n</html>\r\n";
    return html;
}
