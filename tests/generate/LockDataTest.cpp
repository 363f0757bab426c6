#include "generate/LockData.h"

#include "support/GenerateTestSupport.h"
#include "util/SecretText.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <functional>
#include <gtest/gtest.h>
#include <map>

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
    QSet<QString> firstIds;
    for (qsizetype i = 0; i < before.size(); ++i) {
        firstIds.insert(Field(Locks(*first.data), i, "id"));
        firstIds.insert(Field(before, i, "id"));
    }
    EXPECT_EQ(firstIds.size(), 4); // bob's id changed, the others stayed

    // A new salt derives everything again; turning ignore case off changes every secret.
    cache = LockKeyCache();
    EXPECT_NE(cache.Salt(), kSalt);
    EXPECT_EQ(cache.Salt().size(), 16);
    EXPECT_EQ(Build(doc, cache).totals, std::vector<int> { 3 });
    doc.ignoreCase = 0;
    EXPECT_EQ(Build(doc, cache).totals, std::vector<int> { 3 });
}

namespace {

// The committed upper-case table read by this test's own reader: code point to its upper case.
std::map<char32_t, QString> CommittedUpperCase()
{
    QFile file(QDir::cleanPath(
        QStringLiteral(ZARNITH_TEST_DATA_DIR "/../../resources/unicode/upper-case.txt")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    std::map<char32_t, QString> table;
    while (!file.atEnd()) {
        const QList<QByteArray> parts = file.readLine().simplified().split(' ');
        if (parts[0].startsWith('#'))
            continue;
        const char32_t first = parts[0].toUInt(nullptr, 16);
        if (parts[1] == ">") {
            QList<char32_t> codes;
            for (qsizetype i = 2; i < parts.size(); ++i)
                codes.append(parts[i].toUInt(nullptr, 16));
            table[first] = QString::fromUcs4(codes.constData(), codes.size());
            continue;
        }
        for (int k = 0; k < parts[1].toInt(); ++k) {
            const char32_t code = first + char32_t(k * parts[2].toInt());
            const char32_t upper = char32_t(int(code) + parts[3].toInt());
            table[code] = QString::fromUcs4(&upper, 1);
        }
    }
    return table;
}

} // namespace

// Lock data made before any of these changed would let the wrong visitors in, or none.
TEST(LockData, ItsInputsChangeWithWhatItIsMadeFromOnly)
{
    Doc doc;
    doc.areas = { { "club", { "club/*" }, QByteArray(32, 'k'), {} } };
    const QByteArray before = LockDataInputs(doc);
    doc.backgroundColor = 0;
    doc.areas[0].patterns = { "other/*" };
    EXPECT_EQ(LockDataInputs(doc), before);

    const std::pair<const char*, std::function<void(Doc&)>> changes[] = {
        { "case", [](Doc& changed) { changed.ignoreCase = 0; } },
        { "area key", [](Doc& changed) { changed.areas[0].key = QByteArray(32, 'n'); } },
        { "area name", [](Doc& changed) { changed.areas[0].name = "team"; } },
        { "new area",
            [](Doc& changed) {
                changed.areas.push_back({ "more", {}, {}, {} });
            } },
        { "locks", [](Doc& changed) { changed.LocksChanged(); } },
    };
    for (const auto& [what, change] : changes) {
        Doc changed = doc;
        change(changed);
        EXPECT_NE(LockDataInputs(changed), before) << what;
    }
}

TEST(LockData, EveryCodePointFoldsByTheCommittedTable)
{
    const std::map<char32_t, QString> table = CommittedUpperCase();
    ASSERT_GT(table.size(), 1400u);
    int mismatches = 0;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue;
        const auto found = table.find(code);
        const QString expected = found != table.end() ? found->second : QString::fromUcs4(&code, 1);
        if (FrozenUpperCase(code) != expected && ++mismatches <= 5)
            ADD_FAILURE() << "U+" << std::hex << uint(code);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(LockData, SecretsAreComposedThenFoldedByTheTable)
{
    struct Case
    {
        const char16_t* text;
        bool fold;
        const char16_t* form;
    };
    const Case cases[] = {
        { u"Cafe\u0301", false, u"Caf\u00e9" }, // NFD typed, NFC kept
        { u"caf\u00e9", true, u"CAF\u00c9" }, { u"stra\u00dfe \ufb01", true, u"STRASSE FI" },
        { u"\u0149", true, u"\u02bcN" },
        // Letters whose upper case came after Unicode 15 stay as typed on both sides.
        { u"\u019b\u0264\u1c8a\ua7cd\U00010D70\U00016EBB", true,
            u"\u019b\u0264\u1c8a\ua7cd\U00010D70\U00016EBB" },
        { u"\u01f0", true, u"J\u030c" }, // not composed again after folding
    };
    for (const Case& c : cases)
        EXPECT_EQ(SecretTextForm(QString::fromUtf16(c.text), c.fold), QString::fromUtf16(c.form))
            << QString::fromUtf16(c.text).toStdString();

    LockEntry composed = MakeLock("ann", "Caf\xc3\xa9", "a.html", "");
    LockEntry decomposed = MakeLock("ann", "Cafe\xcc\x81", "b.html", "");
    EXPECT_EQ(LockSecret(composed, false), LockSecret(decomposed, false));
    EXPECT_EQ(
        LockSecret(composed, true), LockSecret(MakeLock("ANN", "CAFE\xcc\x81", "", ""), true));
}

TEST(LockData, RecordsArePaddedAndSortedByIdWithTheFirstLockOfAnIdKept)
{
    for (const QByteArray& object : { QByteArray(R"({"url":"a"})"), QByteArray(62, 'x') + "{}",
             QByteArray(R"({"url":")") + QByteArray(56, 'y') + "\"}" }) {
        const QByteArray padded = PaddedJsonObject(object);
        EXPECT_EQ(padded.size() % 64, 0);
        EXPECT_EQ(padded.size() - object.size(), (64 - object.size() % 64) % 64);
        EXPECT_EQ(padded.trimmed().back(), '}');
        EXPECT_EQ(QByteArray(padded).replace(' ', ""), QByteArray(object).replace(' ', ""));
    }

    Doc doc;
    for (int i = 0; i < 12; ++i)
        doc.locks.push_back(MakeLock("user" + QByteArray::number(i), "pw", "u.html", ""));
    doc.locks.push_back(MakeLock("USER3", "PW", "shadowed.html", ""));
    LockKeyCache cache(kSalt);
    const QByteArray data = *Build(doc, cache).data;
    EXPECT_TRUE(data.startsWith(R"({"format":"zarnith-locks/2","iterations":10,)"));
    const QJsonArray locks = Locks(data);
    ASSERT_EQ(locks.size(), 12);
    for (qsizetype i = 1; i < locks.size(); ++i)
        EXPECT_LT(QByteArray::fromBase64(Field(locks, i - 1, "id").toLatin1()),
            QByteArray::fromBase64(Field(locks, i, "id").toLatin1()));
    // Every sealed record is as long as the others: padded plain text plus the 16-byte tag.
    for (qsizetype i = 0; i < locks.size(); ++i)
        EXPECT_EQ(QByteArray::fromBase64(Field(locks, i, "data").toLatin1()).size(), 64 + 16);
}
