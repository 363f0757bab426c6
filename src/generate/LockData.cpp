#include "generate/LockData.h"

#include "generate/LockCrypto.h"
#include "model/Doc.h"
#include "model/DocFields.h"
#include "util/Overloaded.h"
#include "util/SecretText.h"
#include "util/TextEncoding.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>

namespace {

constexpr int kIdLength = 16;
constexpr int kIvLength = 12;
// Every record's plain text is a multiple of this long, so its length tells little of the
// address and target inside.
constexpr int kRecordBlock = 64;

// Where the lock leads, and in a project with member areas the keys of the areas it opens:
// quotedKeys holds each area's key as a JSON string, made once for all locks.
QByteArray LockDestination(const Doc& doc, const LockEntry& lock, const QByteArrayList& quotedKeys)
{
    QByteArray destination
        = QJsonDocument(QJsonObject {
                            { QStringLiteral("url"), DecodeProjectText(lock.url) },
                            { QStringLiteral("target"), DecodeProjectText(lock.target) },
                        })
              .toJson(QJsonDocument::Compact);
    if (!doc.areas.empty()) {
        destination.chop(1);
        destination += R"(,"areas":[)";
        const char* separator = "";
        for (std::size_t i = 0; i < doc.areas.size(); ++i) {
            if (LockOpensArea(lock, doc.areas[i])) {
                destination += separator + quotedKeys[qsizetype(i)];
                separator = ",";
            }
        }
        destination += "]}";
    }
    return PaddedJsonObject(destination);
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

QByteArray PaddedJsonObject(const QByteArray& object)
{
    const qsizetype padding = (kRecordBlock - object.size() % kRecordBlock) % kRecordBlock;
    return object.left(object.size() - 1) + QByteArray(padding, ' ') + '}';
}

QByteArray LockSecretPart(const QByteArray& text, bool fold)
{
    return SecretTextForm(DecodeProjectText(text), fold).toUtf8();
}

QByteArray LockSecret(const LockEntry& lock, bool fold)
{
    return LockSecretPart(lock.userId, fold) + '\0' + LockSecretPart(lock.password, fold);
}

QByteArray LockDataInputs(const Doc& doc)
{
    QByteArray inputs;
    // Each part with its length, so that no two different inputs run together alike.
    const auto add = [&inputs](const QByteArray& part) {
        inputs += QByteArray::number(part.size()) + ':' + part;
    };
    for (const DocField& field : DocFields) {
        if (!field.shapesLockData)
            continue;
        std::visit(Overloaded {
                       [&](QByteArray Doc::*text) { add(doc.*text); },
                       [&](std::int32_t Doc::*number) { add(QByteArray::number(doc.*number)); },
                       [&](Colour Doc::*colour) { add(QByteArray::number(doc.*colour)); },
                   },
            field.member);
    }
    for (const MemberArea& area : doc.areas) {
        add(area.name);
        add(area.key);
    }
    add(QByteArray::number(qulonglong(doc.LocksStamp())));
    return inputs;
}

std::optional<QByteArray> BuildLockData(
    const Doc& doc, LockIterations iterations, LockKeyCache& cache, const LockProgress& progress)
{
    // The modern box folds exactly when the applet does.
    const bool fold = doc.IgnoresCase();
    QByteArrayList secrets;
    for (const LockEntry& lock : doc.locks)
        secrets.append(LockSecret(lock, fold));
    if (!cache.Derive(secrets, iterations.Count(), progress))
        return std::nullopt;

    QByteArrayList quotedKeys;
    for (const MemberArea& area : doc.areas)
        quotedKeys.append(Quoted(area.key));
    // Records by id, so their order says nothing of the project's; the first lock of an id wins.
    std::map<QByteArray, QByteArray> records;
    for (std::size_t i = 0; i < doc.locks.size(); ++i) {
        const QByteArray key = cache.Key(secrets[qsizetype(i)], iterations.Count());
        const QByteArray id = HmacSha256(key, "zarnith-lock-id").left(kIdLength);
        if (records.count(id) != 0)
            continue;
        const QByteArray iv = RandomBytes(kIvLength);
        const QByteArray sealed = SealAes256Gcm(HmacSha256(key, "zarnith-lock-key"), iv,
            LockDestination(doc, doc.locks[i], quotedKeys));
        records[id] = R"({"id":)" + Quoted(id) + R"(,"iv":)" + Quoted(iv) + R"(,"data":)"
            + Quoted(sealed) + '}';
    }
    QByteArrayList ordered;
    for (const auto& record : records)
        ordered.append(record.second);
    return R"({"format":"zarnith-locks/2","iterations":)" + QByteArray::number(iterations.Count())
        + R"(,"salt":)" + Quoted(cache.Salt()) + R"(,"fold":)" + (fold ? "true" : "false")
        + R"(,"locks":[)" + ordered.join(',') + "]}";
}
