#include "generate/LockData.h"

#include "generate/LockCrypto.h"
#include "model/Doc.h"
#include "util/TextEncoding.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

constexpr int kIdLength = 16;
constexpr int kIvLength = 12;

QByteArray LockDestination(const LockEntry& lock)
{
    const QJsonObject destination {
        { QStringLiteral("url"), DecodeProjectText(lock.url) },
        { QStringLiteral("target"), DecodeProjectText(lock.target) },
    };
    return QJsonDocument(destination).toJson(QJsonDocument::Compact);
}

QByteArray Quoted(const QByteArray& bytes)
{
    return '"' + bytes.toBase64() + '"';
}

} // namespace

int LockIterations::Minimum(LockDataUse use)
{
    return use == LockDataUse::Preview ? 1 : kPublishMinimum;
}

std::optional<LockIterations> LockIterations::Checked(int count, LockDataUse use)
{
    if (count < Minimum(use) || count > kMaximum)
        return std::nullopt;
    return LockIterations(count);
}

QByteArray LockSecretPart(const QByteArray& text, bool fold)
{
    const QString decoded = DecodeProjectText(text);
    return (fold ? decoded.toUpper() : decoded).toUtf8();
}

QByteArray LockSecret(const LockEntry& lock, bool fold)
{
    return LockSecretPart(lock.userId, fold) + '\0' + LockSecretPart(lock.password, fold);
}

std::optional<QByteArray> BuildLockData(
    const Doc& doc, LockIterations iterations, LockKeyCache& cache, const LockProgress& progress)
{
    // The applet's parameter turns case folding on for exactly 1; the modern box does the same.
    const bool fold = doc.ignoreCase == 1;
    QByteArrayList secrets;
    for (const LockEntry& lock : doc.locks)
        secrets.append(LockSecret(lock, fold));
    if (!cache.Derive(secrets, iterations.Count(), progress))
        return std::nullopt;

    QByteArray data = R"({"format":"zarnith-locks/1","iterations":)"
        + QByteArray::number(iterations.Count()) + R"(,"salt":)" + Quoted(cache.Salt())
        + R"(,"fold":)" + (fold ? "true" : "false") + R"(,"locks":[)";
    QSet<QByteArray> ids;
    for (std::size_t i = 0; i < doc.locks.size(); ++i) {
        const QByteArray key = cache.Key(secrets[qsizetype(i)], iterations.Count());
        const QByteArray id = HmacSha256(key, "zarnith-lock-id").left(kIdLength);
        if (ids.contains(id))
            continue;
        const QByteArray iv = RandomBytes(kIvLength);
        const QByteArray sealed
            = SealAes256Gcm(HmacSha256(key, "zarnith-lock-key"), iv, LockDestination(doc.locks[i]));
        data += QByteArray(ids.isEmpty() ? "" : ",") + R"({"id":)" + Quoted(id) + R"(,"iv":)"
            + Quoted(iv) + R"(,"data":)" + Quoted(sealed) + '}';
        ids.insert(id);
    }
    return data + "]}";
}
