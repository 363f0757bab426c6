#include "generate/ProtectedFile.h"

#include "generate/LockCrypto.h"
#include "util/Base64.h"

#include <algorithm>

namespace {

constexpr int kAreaIdLength = 16;
constexpr int kContentKeyLength = 32;
constexpr int kIvLength = 12;

QByteArray Quoted(const QByteArray& bytes)
{
    return '"' + bytes.toBase64() + '"';
}

} // namespace

const char ProtectedFileMagic[] = R"({"format":"zarnith-file/1",)";

QByteArray NewAreaKey()
{
    return RandomBytes(kAreaKeyLength);
}

QByteArray AreaId(const QByteArray& areaKey)
{
    return HmacSha256(areaKey, "zarnith-area-id").left(kAreaIdLength);
}

AreaSealKey::AreaSealKey(const QByteArray& areaKey)
    : id(AreaId(areaKey))
    , key(areaKey)
{
}

QByteArray RandomPool::Take(int count)
{
    constexpr int kDraw = 4096;
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_taken + count > m_bytes.size()) {
        m_bytes = RandomBytes(std::max(kDraw, count));
        m_taken = 0;
    }
    const QByteArray taken = m_bytes.mid(m_taken, count);
    m_taken += count;
    return taken;
}

SealedContent SealContent(
    const QByteArray& plain, const QList<AreaSealKey>& areas, bool isPage, RandomPool& random)
{
    // One draw for the content key, its iv and every wrapping iv.
    const QByteArray fresh = random.Take(kContentKeyLength + kIvLength * int(1 + areas.size()));
    const QByteArray contentKey = fresh.left(kContentKeyLength);
    const QByteArray iv = fresh.mid(kContentKeyLength, kIvLength);
    SealedContent sealed;
    sealed.headerJson = QByteArray(isPage ? R"({"format":"zarnith-page/1",)" : ProtectedFileMagic)
        + R"("iv":)" + Quoted(iv) + R"(,"keys":[)";
    for (qsizetype i = 0; i < areas.size(); ++i) {
        const QByteArray wrapIv = fresh.mid(kContentKeyLength + kIvLength * (1 + i), kIvLength);
        sealed.headerJson += QByteArray(i == 0 ? "" : ",") + R"({"area":)" + Quoted(areas[i].id)
            + R"(,"iv":)" + Quoted(wrapIv) + R"(,"key":)"
            + Quoted(SealAes256Gcm(areas[i].key, wrapIv, contentKey)) + '}';
    }
    sealed.headerJson += ']';
    sealed.data = SealAes256Gcm(contentKey, iv, plain);
    return sealed;
}

QByteArray ProtectedFileBytes(const SealedContent& sealed)
{
    QByteArray bytes;
    bytes.reserve(sealed.headerJson.size() + 2 + sealed.data.size());
    return bytes.append(sealed.headerJson).append("}\n").append(sealed.data);
}

void AppendProtectedPageJson(QByteArray& page, const SealedContent& sealed)
{
    page.reserve(page.size() + sealed.headerJson.size() + (sealed.data.size() + 2) / 3 * 4 + 16);
    page.append(sealed.headerJson).append(R"(,"data":")");
    AppendBase64(page, sealed.data);
    page.append("\"}");
}
