#include "generate/MemberSite.h"

#include "generate/ModernBox.h"
#include "model/AreaPattern.h"
#include "model/Doc.h"
#include "util/AddressVersion.h"

MemberSite::MemberSite(const Doc& doc, const ProgramInfo& info)
    : m_doc(doc)
    // The page says nothing of its content but that it is one of the site's protected pages.
    , m_pageHead("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                 "<meta name=\"robots\" content=\"noindex\">\r\n")
    , m_pageBodyStart("</head>\r\n<body>\r\n<!-- This page is protected by " + info.productName
          + " Version " + info.productVersion + ". -->\r\n")
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

QByteArray MemberSite::PageBox(int depth)
{
    const std::lock_guard<std::mutex> lock(m_boxesMutex);
    auto found = m_boxes.find(depth);
    if (found == m_boxes.end()) {
        QByteArray siteRoot;
        for (int i = 0; i < depth; ++i)
            siteRoot += "../";
        found = m_boxes.insert(depth, BuildProtectedPageBox(m_doc, siteRoot));
    }
    return *found;
}

bool MemberSite::HasCompanion(const QByteArray& relativePath, qint64 size)
{
    return size > kLargestInlinePage && IsPage(relativePath);
}

QByteArray MemberSite::CompanionPath(const QByteArray& pagePath)
{
    return pagePath + ".zarnith";
}

namespace {

const char kPageEnd[] = "</script>\r\n</body>\r\n</html>\r\n";
constexpr int kCompanionVersionBytes = kAddressVersionDigits / 2;

} // namespace

QByteArray MemberSite::PageUpToContent(
    const QByteArray& relativePath, const QByteArray& headEnd, qsizetype room)
{
    const QByteArray box = PageBox(int(relativePath.count('/')));
    // The box comes first: its script is fetched while the content is read, and runs after it.
    QByteArray html;
    html.reserve(
        m_pageHead.size() + headEnd.size() + m_pageBodyStart.size() + box.size() + room + 128);
    return html.append(m_pageHead)
        .append(headEnd)
        .append(m_pageBodyStart)
        .append(box)
        .append("<script type=\"application/json\" class=\"zarnith-protected\">");
}

QByteArray MemberSite::Protect(
    const QByteArray& relativePath, const QByteArray& content, const QList<int>& areas)
{
    QList<AreaSealKey> keys;
    for (int area : areas)
        keys.append(m_keys[area]);
    const bool page = IsPage(relativePath);
    const SealedContent sealed = SealContent(content, keys, page, m_random);
    if (!page)
        return ProtectedFileBytes(sealed);
    QByteArray html = PageUpToContent(
        relativePath, {}, sealed.headerJson.size() + (sealed.data.size() + 2) / 3 * 4);
    AppendProtectedPageJson(html, sealed);
    return html.append(kPageEnd);
}

QByteArray MemberSite::PageOfCompanion(const QByteArray& relativePath)
{
    // Percent-encoded, the name is a relative address that needs no escaping in HTML or JSON. Its
    // version, new with each publish, keeps a browser from pairing this page with a content file it
    // kept from an earlier one.
    const QByteArray address
        = CompanionPath(relativePath.mid(relativePath.lastIndexOf('/') + 1)).toPercentEncoding()
        + "?v=" + m_random.Take(kCompanionVersionBytes).toHex();
    // Fetched from the head, the content arrives while the box's script does.
    const QByteArray preload
        = "<link rel=\"preload\" href=\"" + address + "\" as=\"fetch\" crossorigin>\r\n";
    const QByteArray json = R"({"format":"zarnith-page/1","file":")" + address + "\"}";
    return PageUpToContent(relativePath, preload, json.size()).append(json).append(kPageEnd);
}
