#include "generate/MemberSite.h"

#include "generate/ModernBox.h"
#include "model/AreaPattern.h"
#include "model/Doc.h"

MemberSite::MemberSite(const Doc& doc, const ProgramInfo& info)
    : m_doc(doc)
    // The page says nothing of its content but that it is one of the site's protected pages.
    , m_pageStart("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                  "<meta name=\"robots\" content=\"noindex\">\r\n</head>\r\n<body>\r\n"
                  "<!-- This page is protected by "
          + info.productName + " Version " + info.productVersion + ". -->\r\n")
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
    const QByteArray& box = PageBox(int(relativePath.count('/')));
    // The box comes first: its script is fetched while the content is read, and runs after it.
    QByteArray html;
    html.reserve(m_pageStart.size() + box.size() + sealed.headerJson.size()
        + (sealed.data.size() + 2) / 3 * 4 + 128);
    html.append(m_pageStart)
        .append(box)
        .append("<script type=\"application/json\" class=\"zarnith-protected\">");
    AppendProtectedPageJson(html, sealed);
    return html.append("</script>\r\n</body>\r\n</html>\r\n");
}
