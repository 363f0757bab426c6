#include "generate/MemberKeys.h"
#include "generate/MemberSite.h"
#include "generate/ModernBox.h"
#include "model/AreaPattern.h"
#include "support/GenerateTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <functional>
#include <gtest/gtest.h>

namespace {

MemberArea Area(const QByteArray& name, const QByteArrayList& patterns)
{
    MemberArea area;
    area.name = name;
    area.patterns = patterns;
    return area;
}

LockEntry LockIn(const QByteArray& userId, const QByteArray& password,
    std::optional<QByteArrayList> areas = std::nullopt)
{
    LockEntry lock = MakeLock(userId, password, userId + ".html", "");
    lock.areas = std::move(areas);
    return lock;
}

QJsonObject JsonObject(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.left(200).constData();
    return document.object();
}

} // namespace

TEST(AreaPattern, MatchesWithinAndAcrossFolders)
{
    const struct
    {
        const char* pattern;
        const char* path;
        bool matches;
    } cases[] = {
        { "members/*.html", "members/a.html", true },
        { "members/*.html", "members/sub/a.html", false },
        { "members/*.html", "members/a.htm", false },
        { "members/**", "members/a.html", true },
        { "members/**", "members/x/y/z.jpg", true },
        { "members/**", "members", false },
        { "members/**", "membersx/a.html", false },
        { "**/*.pdf", "a.pdf", true },
        { "**/*.pdf", "docs/deep/a.pdf", true },
        { "**/*.pdf", "docs/a.pdfx", false },
        { "staff/**/index.html", "staff/index.html", true },
        { "staff/**/index.html", "staff/a/b/index.html", true },
        { "a?c.html", "abc.html", true },
        { "a?c.html", "a/c.html", false },
        { "*", "top.html", true },
        { "*", "sub/top.html", false },
        { "Members/*", "members/a.html", false },
        { "*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false },
        { "../secret/*", "../secret/a", false },
    };
    for (const auto& test : cases)
        EXPECT_EQ(AreaPatternMatches(test.pattern, test.path), test.matches)
            << test.pattern << " ~ " << test.path;

    for (const char* bad :
        { "", "  ", "/etc/*", "C:site/*", "a\\b", "a//b", "a/", "./a", "a/../b", "..", "**/.." })
        EXPECT_TRUE(AreaPatternProblem(bad)) << bad;
    for (const char* good : { "a", "**", "members/**/*.jpg", ".hidden/x", "a..b" })
        EXPECT_FALSE(AreaPatternProblem(good)) << good;
}

TEST(MemberAreas, ProblemsNameTheAreaOrTheLock)
{
    const struct
    {
        std::vector<MemberArea> areas;
        std::vector<LockEntry> locks;
        int rememberDays;
        const char* problem; // part of the message, or null
    } cases[] = {
        { { Area("a", { "x/**" }), Area("b", {}) }, { LockIn("u", "p", QByteArrayList { "b" }) },
            365, nullptr },
        { { Area(" ", {}) }, {}, 0, "needs a name" },
        { { Area("a", {}), Area("a", {}) }, {}, 0, "two areas are called \"a\"" },
        { { Area("a", { "../x" }) }, {}, 0, "area \"a\": \"../x\"" },
        { { Area("a", {}) }, { LockIn("u", "p"), LockIn("v", "p", QByteArrayList { "a", "c" }) }, 0,
            "lock 2 opens the area \"c\"" },
        { {}, {}, 366, "from 0 to 365" },
        { {}, {}, -1, "from 0 to 365" },
    };
    for (const auto& test : cases) {
        Doc doc;
        doc.areas = test.areas;
        doc.locks = test.locks;
        doc.rememberDays = test.rememberDays;
        const std::optional<QByteArray> problem = MemberAreasProblem(doc);
        if (!test.problem)
            EXPECT_FALSE(problem) << problem->constData();
        else
            EXPECT_TRUE(problem && problem->contains(test.problem))
                << test.problem << " / " << problem.value_or("none").constData();
    }
}

// Each change of members that takes access away gives only the areas concerned a new key;
// members who only join leave the key as it was.
TEST(MemberKeys, KeysChangeExactlyWhenSomeoneLosesAccess)
{
    Doc doc;
    doc.areas = { Area("staff", { "staff/**" }), Area("club", { "club/**" }) };
    doc.locks = { LockIn("ann", "a"), LockIn("bob", "b", QByteArrayList { "club" }) };
    EXPECT_EQ(RefreshAreaKeys(doc), QByteArrayList({ "staff", "club" }));
    ASSERT_EQ(doc.areas[0].key.size(), kAreaKeyLength);
    EXPECT_EQ(doc.areas[0].memberTags.size(), kMemberTagLength);
    EXPECT_EQ(doc.areas[1].memberTags.size(), 2 * kMemberTagLength);
    EXPECT_NE(doc.areas[0].key, doc.areas[1].key);

    const struct
    {
        const char* change;
        std::function<void(Doc&)> edit;
        QByteArrayList replaced;
    } steps[] = {
        { "nothing", [](Doc&) {}, {} },
        { "a member joins", [](Doc& d) { d.locks.push_back(LockIn("cy", "c")); }, {} },
        { "a URL changes", [](Doc& d) { d.locks[0].url = "elsewhere.html"; }, {} },
        { "bob's password changes", [](Doc& d) { d.locks[1].password = "b2"; }, { "club" } },
        { "cy loses staff", [](Doc& d) { d.locks[2].areas = QByteArrayList { "club" }; },
            { "staff" } },
        { "ann's user ID changes", [](Doc& d) { d.locks[0].userId = "anna"; },
            { "staff", "club" } },
        { "cy is removed", [](Doc& d) { d.locks.pop_back(); }, { "club" } },
        { "case folding changes every secret",
            [](Doc& d) {
                d.locks[0].userId = "ANNA";
                d.ignoreCase = 0;
            },
            { "staff", "club" } },
    };
    for (const auto& step : steps) {
        const std::vector<MemberArea> before = doc.areas;
        step.edit(doc);
        EXPECT_EQ(RefreshAreaKeys(doc), step.replaced) << step.change;
        for (std::size_t i = 0; i < doc.areas.size(); ++i)
            EXPECT_EQ(doc.areas[i].key == before[i].key, !step.replaced.contains(doc.areas[i].name))
                << step.change;
        EXPECT_EQ(RefreshAreaKeys(doc), QByteArrayList()) << "again after " << step.change;
    }

    const std::vector<MemberArea> before = doc.areas;
    ReplaceAreaKeys(doc);
    EXPECT_NE(doc.areas[0].key, before[0].key);
    EXPECT_NE(doc.areas[1].key, before[1].key);
}

TEST(MemberSite, ProtectedFilesCarryOneWrappedKeyPerAreaAndPagesKeepTheBoxSmall)
{
    Doc doc;
    doc.areas = { Area("staff", { "staff/**", "shared/*" }), Area("club", { "shared/*" }) };
    doc.locks = { LockIn("ann", "a") };
    RefreshAreaKeys(doc);
    MemberSite site(doc);
    EXPECT_EQ(site.AreasHolding("staff/x/a.jpg"), QList<int>({ 0 }));
    EXPECT_EQ(site.AreasHolding("shared/a.html"), QList<int>({ 0, 1 }));
    EXPECT_TRUE(site.AreasHolding("public.html").isEmpty());

    const QByteArray secret = "<p>only for members</p>";
    const QByteArray file = site.Protect("shared/a.pdf", secret, { 0, 1 });
    ASSERT_TRUE(file.startsWith(QByteArray(ProtectedFileMagic)));
    const qsizetype lineEnd = file.indexOf('\n');
    const QJsonObject header = JsonObject(file.left(lineEnd));
    EXPECT_EQ(file.size() - lineEnd - 1, secret.size() + 16);
    const QJsonArray keys = header[QLatin1String("keys")].toArray();
    ASSERT_EQ(keys.size(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(keys[i][QLatin1String("area")].toString(),
            QLatin1String(AreaId(doc.areas[std::size_t(i)].key).toBase64()));
    EXPECT_FALSE(file.contains("members"));

    const QByteArray shallow = site.Protect("a.HTM", secret, { 0 });
    const QByteArray deep = site.Protect("staff/x/y/a.html", secret, { 0 });
    EXPECT_TRUE(shallow.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(shallow.contains(R"("siteRoot":"./")"));
    EXPECT_TRUE(deep.contains(R"("siteRoot":"../../../")"));
    EXPECT_TRUE(deep.contains(R"("lockFile":"lock.json")"));
    EXPECT_FALSE(deep.contains("only for members"));
    EXPECT_FALSE(deep.contains("class=\"zarnith-locks\""))
        << "the page must not carry the lock data";
    // The sealed content in strict base64, whatever its length's remainder by three.
    for (const QByteArray& text : { secret, secret + 'x', secret + "xy" }) {
        const QByteArray html = site.Protect("a.html", text, { 0 });
        const qsizetype start = html.indexOf(R"("data":")") + 8;
        const QByteArray data = html.mid(start, html.indexOf('"', start) - start);
        const auto decoded
            = QByteArray::fromBase64Encoding(data, QByteArray::AbortOnBase64DecodingErrors);
        EXPECT_TRUE(decoded && decoded.decoded.size() == text.size() + 16
            && decoded.decoded.toBase64() == data)
            << data.right(8).constData();
    }
    // A large page names its content's file beside it, as an address, and fetches it from its head.
    // Its version is new each time, so that a browser never takes a content file kept before.
    const QByteArray large = site.PageOfCompanion("staff/x/my page#1.html");
    EXPECT_EQ(
        MemberSite::CompanionPath("staff/x/my page#1.html"), "staff/x/my page#1.html.zarnith");
    const QRegularExpressionMatch named = QRegularExpression(
        R"re(<link rel="preload" href="(my%20page%231\.html\.zarnith\?v=[0-9a-f]{12})")re"
        R"re( as="fetch" crossorigin>\r\n</head>)re")
                                              .match(QString::fromLatin1(large));
    ASSERT_TRUE(named.hasMatch());
    const QByteArray address = named.captured(1).toLatin1();
    EXPECT_TRUE(large.contains(
        R"(class="zarnith-protected">{"format":"zarnith-page/1","file":")" + address + "\"}"));
    EXPECT_FALSE(site.PageOfCompanion("staff/x/my page#1.html").contains(address));
    EXPECT_TRUE(large.contains(R"("siteRoot":"../../")"));
    EXPECT_TRUE(MemberSite::HasCompanion("a.HTM", kLargestInlinePage + 1));
    EXPECT_FALSE(MemberSite::HasCompanion("a.html", kLargestInlinePage));
    EXPECT_FALSE(MemberSite::HasCompanion("a.pdf", kMaxProtectedFileSize));
    // The box's script and style come from the one shared file at the top of the site.
    EXPECT_TRUE(deep.contains("<script defer src=\"../../../zarnith-box.js?v="));
    EXPECT_TRUE(shallow.contains("<script defer src=\"./zarnith-box.js?v="));
    EXPECT_FALSE(deep.contains("zarnithMembers") || deep.contains(".zarnith-box"));
    EXPECT_TRUE(MembersBoxScript().contains("zarnithMembers"));

    // The page beside its content is small, and does not grow with the locks.
    QByteArray content;
    RandomPool random;
    AppendProtectedPageJson(content, SealContent(secret, {}, true, random));
    const qsizetype overhead = deep.size() - content.size();
    EXPECT_LT(overhead, 3000);
    for (int i = 0; i < 500; ++i)
        doc.locks.push_back(LockIn("user" + QByteArray::number(i), "p"));
    RefreshAreaKeys(doc);
    MemberSite crowded(doc);
    const QByteArray crowdedPage = crowded.Protect("staff/x/y/a.html", secret, { 0 });
    EXPECT_LE(crowdedPage.size() - content.size(), overhead + 100);
}
