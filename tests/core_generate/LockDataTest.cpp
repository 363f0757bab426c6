#include "generate/LockData.h"

#include "support/GenerateTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

const QByteArray kSalt = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");

LockIterations Low()
{
    return *LockIterations::Checked(10, LockDataUse::Preview);
}

// Builds the lock data and records the totals progress reported, one per derivation run.
struct RecordedBuild
{
    std::optional<QByteArray> data;
    std::vector<int> totals;
};

RecordedBuild Build(const Doc& doc, LockKeyCache& cache, int cancelAfter = -1)
{
    RecordedBuild build;
    int calls = 0;
    build.data = BuildLockData(doc, Low(), cache, [&](int derived, int total) {
        EXPECT_LE(derived, total);
        if (calls++ == 0)
            build.totals.push_back(total);
        return cancelAfter < 0 || derived < cancelAfter;
    });
    return build;
}

QJsonArray Locks(const QByteArray& data)
{
    return QJsonDocument::fromJson(data).object().value(QStringLiteral("locks")).toArray();
}

QString Field(const QJsonArray& locks, qsizetype index, const char* name)
{
    return locks[index].toObject().value(QLatin1String(name)).toString();
}

} // namespace

TEST(LockData, UnchangedLocksAreNotDerivedAgainWithinOneCache)
{
    Doc doc;
    doc.locks = { MakeLock("ann", "a", "a.html", ""), MakeLock("bob", "b", "b.html", ""),
        MakeLock("ann", "a", "again.html", ""), MakeLock("cy", "c", "c.html", "") };
    LockKeyCache cache(kSalt);
    EXPECT_FALSE(Build(doc, cache, 0).data);

    const RecordedBuild first = Build(doc, cache);
    ASSERT_TRUE(first.data);
    EXPECT_EQ(first.totals, std::vector<int> { 3 });
    EXPECT_EQ(Locks(*first.data).size(), 3);

    // Only the changed password is derived; an unchanged build derives nothing, reuses each id
    // and still encrypts with a fresh iv.
    doc.locks[1].password = "bb";
    const RecordedBuild second = Build(doc, cache);
    EXPECT_EQ(second.totals, std::vector<int> { 1 });
    const RecordedBuild third = Build(doc, cache);
    EXPECT_TRUE(third.totals.empty());
    const QJsonArray before = Locks(*second.data);
    const QJsonArray after = Locks(*third.data);
    ASSERT_EQ(before.size(), 3);
    ASSERT_EQ(after.size(), 3);
    for (qsizetype i = 0; i < before.size(); ++i) {
        EXPECT_EQ(Field(before, i, "id"), Field(after, i, "id"));
        EXPECT_NE(Field(before, i, "iv"), Field(after, i, "iv"));
    }
    EXPECT_NE(Field(Locks(*first.data), 1, "id"), Field(before, 1, "id"));

    // A new salt derives everything again; turning ignore case off changes every secret.
    cache.Renew();
    EXPECT_NE(cache.Salt(), kSalt);
    EXPECT_EQ(cache.Salt().size(), 16);
    EXPECT_EQ(Build(doc, cache).totals, std::vector<int> { 3 });
    doc.ignoreCase = 0;
    EXPECT_EQ(Build(doc, cache).totals, std::vector<int> { 3 });
}
