#include "generate/PublishPlan.h"

#include "generate/MemberKeys.h"
#include "generate/MemberSite.h"
#include "generate/ModernBox.h"
#include "generate/ProtectedFile.h"
#include "model/Doc.h"
#include "util/Paths.h"
#include "util/StringIds.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Answers replace questions from a script and records what was done.
class RecordingObserver : public PublishObserver
{
public:
    Choice OnExisting(const PlannedFile& file, const QByteArray&) override
    {
        asked.append(file.name);
        return existing;
    }

    void Done(const PlannedFile& file, const QByteArray&, bool written) override
    {
        (written ? this->written : unchanged).append(file.name);
    }

    Choice existing = Choice::Go;
    QByteArrayList asked;
    QByteArrayList written;
    QByteArrayList unchanged;
};

class PublishPlanTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("site/css")));
        Write("site/css/box.css", "body{}");
        Write("site/notes.txt", "plain");
        m_doc.siteFolder = Path("site");
        m_doc.boxKind = BoxKind::Modern;
    }

    QByteArray Path(const char* name) const
    {
        return QFile::encodeName(m_dir.filePath(QLatin1String(name)));
    }

    void Write(const char* name, const QByteArray& bytes) const
    {
        QFile file(m_dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    // Moves the file's time by seconds from now.
    void Touch(const char* name, int seconds) const
    {
        QFile file(m_dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite)
            && file.setFileTime(
                QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime));
    }

    QByteArray Read(const char* name) const
    {
        QFile file(m_dir.filePath(QLatin1String(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    PublishPlan Plan() const
    {
        const auto planned
            = MakePublishPlan(m_doc, { m_doc.boxKind, m_doc.siteFolder, Path("pub"), {} });
        EXPECT_TRUE(std::holds_alternative<PublishPlan>(planned));
        return std::get<PublishPlan>(planned);
    }

    QTemporaryDir m_dir;
    Doc m_doc;
};

} // namespace

TEST_F(PublishPlanTest, SiteFilesPassThroughTheirTransformAndUnchangedFilesAreLeftAlone)
{
    PublishPlan plan = Plan();
    ASSERT_EQ(plan.files.size(), 3);
    EXPECT_EQ(plan.files[1].name, "css/box.css");
    // A site file's bytes may be changed on their way, as protected pages are.
    plan.files[2].transform = [](const QByteArray& bytes) { return bytes.toUpper(); };
    const QByteArray folder = Path("pub") + '/';
    ASSERT_TRUE(QDir().mkdir(QFile::decodeName(Path("pub"))));
    const PublishContent content { "<page>", {} };

    RecordingObserver first;
    const PublishOutcome written = WritePublishPlan(plan, m_doc, content, folder, first);
    EXPECT_TRUE(written.complete);
    EXPECT_EQ(written.written, 3);
    EXPECT_EQ(Read("pub/index.html"), "<page>");
    EXPECT_EQ(Read("pub/css/box.css"), "body{}");
    EXPECT_EQ(Read("pub/notes.txt"), "PLAIN");

    RecordingObserver second;
    const PublishOutcome again = WritePublishPlan(plan, m_doc, content, folder, second);
    EXPECT_EQ(again.unchanged, 3);
    EXPECT_EQ(second.unchanged, (QByteArrayList { "index.html", "css/box.css", "notes.txt" }));
    EXPECT_TRUE(second.asked.isEmpty());

    // Another page where the page goes is asked about; a link there is replaced, never written
    // through.
    Write("elsewhere.html", "keep");
    ASSERT_TRUE(QFile::remove(m_dir.filePath(QStringLiteral("pub/index.html"))));
    ASSERT_TRUE(QFile::link(m_dir.filePath(QStringLiteral("elsewhere.html")),
        m_dir.filePath(QStringLiteral("pub/index.html"))));
    RecordingObserver skipping;
    skipping.existing = PublishObserver::Choice::Skip;
    EXPECT_FALSE(WritePublishPlan(plan, m_doc, content, folder, skipping).complete);
    EXPECT_EQ(skipping.asked, QByteArrayList { "index.html" });
    RecordingObserver replacing;
    EXPECT_TRUE(WritePublishPlan(plan, m_doc, content, folder, replacing).complete);
    EXPECT_EQ(Read("elsewhere.html"), "keep");
    EXPECT_EQ(Read("pub/index.html"), "<page>");

    // A source changed since is copied again, alone.
    Touch("site/css/box.css", 60);
    RecordingObserver third;
    WritePublishPlan(plan, m_doc, content, folder, third);
    EXPECT_EQ(third.written, QByteArrayList { "css/box.css" });

    // The window's preview: the lock data script beside the page, and what was written kept in
    // memory, so that it is known without reading it back until another hand changes it.
    const auto planned
        = MakePublishPlan(m_doc, { m_doc.boxKind, m_doc.siteFolder, Path("pub"), {}, "locks.js" });
    ASSERT_TRUE(std::holds_alternative<PublishPlan>(planned));
    PublishPlan preview = std::get<PublishPlan>(planned);
    ASSERT_EQ(preview.files.size(), 4);
    EXPECT_EQ(preview.files[1].origin, PlannedFile::Origin::LockDataScript);
    Touch("site/css/box.css", -60);
    const PublishContent changed { "<new page>", {}, "script" };
    WrittenFiles kept;
    std::vector<RecordingObserver> runs(3);
    WritePublishPlan(preview, m_doc, changed, folder, runs[0], &kept);
    WritePublishPlan(preview, m_doc, changed, folder, runs[1], &kept);
    Write("pub/index.html", "<old page>");
    Touch("pub/index.html", 60);
    WritePublishPlan(preview, m_doc, changed, folder, runs[2], &kept);
    EXPECT_EQ(runs[0].written, (QByteArrayList { "index.html", "locks.js" }));
    EXPECT_EQ(runs[1].unchanged.size(), 4);
    EXPECT_EQ(runs[2].written, QByteArrayList { "index.html" });
    EXPECT_EQ(Read("pub/index.html"), "<new page>");
    EXPECT_EQ(Read("pub/locks.js"), "script");
}

TEST_F(PublishPlanTest, AProjectWithAreasIsRefusedForTheAppletStaleKeysOrAFileTooLarge)
{
    // Sparse: as large as it says, without taking the room.
    const auto sized = [this](qint64 size) {
        QFile big(m_dir.filePath(QStringLiteral("site/big.bin")));
        return big.open(QIODevice::WriteOnly) && big.resize(size);
    };
    const struct
    {
        const char* name;
        BoxKind kind;
        bool keys;
        qint64 size;
        int refusal; // 0: planned
        bool siteFileNamedLikeTheScript = false;
    } cases[] = {
        { "the largest protected file", BoxKind::Both, true, kMaxProtectedFileSize, 0 },
        { "one byte more", BoxKind::Modern, true, kMaxProtectedFileSize + 1,
            IDS_PROTECTED_FILE_TOO_LARGE },
        { "the applet cannot open protected files", BoxKind::Classic, true, 1,
            IDS_AREAS_NEED_MODERN_BOX },
        { "keys the members do not have", BoxKind::Modern, false, 1, IDS_AREA_KEYS_STALE },
        { "a site file takes the protected pages' script's name", BoxKind::Modern, true, 1,
            IDS_SAME_FILE_NAME, true },
    };
    const QString script = m_dir.filePath(QStringLiteral("site/") + kMembersBoxScriptName);
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(sized(test.size));
        if (test.siteFileNamedLikeTheScript)
            Write("site/zarnith-box.js", "mine");
        else
            QFile::remove(script);
        m_doc.areas.assign(1, {});
        m_doc.areas[0].name = "files";
        m_doc.areas[0].patterns = { "*.bin" };
        if (test.keys)
            RefreshAreaKeys(m_doc);
        const auto planned = MakePublishPlan(m_doc, { test.kind, m_doc.siteFolder, {}, {} });
        const auto* problem = std::get_if<PlanProblem>(&planned);
        EXPECT_EQ(problem ? problem->messageId : 0, test.refusal);
        // The message names the file.
        if (test.refusal == IDS_PROTECTED_FILE_TOO_LARGE) {
            EXPECT_EQ(problem->first, Path("site/big.bin"));
        } else if (test.refusal == IDS_SAME_FILE_NAME) {
            EXPECT_EQ(problem->first, kMembersBoxScriptName);
            EXPECT_EQ(problem->second, QFile::encodeName(script));
        } else if (!problem) {
            // The protected pages' script lies once in the top folder, beside the lock data.
            const QList<PlannedFile>& files = std::get<PublishPlan>(planned).files;
            EXPECT_EQ(std::count_if(files.begin(), files.end(),
                          [](const PlannedFile& file) {
                              return file.origin == PlannedFile::Origin::MembersBoxScript
                                  && file.name == kMembersBoxScriptName;
                          }),
                1);
        }
    }
}

TEST_F(PublishPlanTest, ALargeProtectedPageLeavesItsContentToAFileBesideIt)
{
    Write("site/small.html", QByteArray(int(kLargestInlinePage), 's'));
    Write("site/large.html", QByteArray(int(kLargestInlinePage) + 1, 'L'));
    m_doc.areas.assign(1, {});
    m_doc.areas[0].name = "pages";
    m_doc.areas[0].patterns = { "*.html" };
    RefreshAreaKeys(m_doc);
    const PublishPlan plan = Plan();
    QByteArrayList names;
    for (const PlannedFile& file : plan.files)
        names.append(file.name);
    EXPECT_EQ(names.indexOf("large.html.zarnith") + 1, names.indexOf("large.html"));
    EXPECT_FALSE(names.contains("small.html.zarnith"));
    ASSERT_TRUE(QDir().mkdir(QFile::decodeName(Path("pub"))));
    RecordingObserver observer;
    ASSERT_TRUE(
        WritePublishPlan(plan, m_doc, { "<page>", "{}" }, Path("pub") + '/', observer).complete);
    EXPECT_TRUE(Read("pub/large.html").contains(R"("file":"large.html.zarnith?v=)"));
    EXPECT_FALSE(Read("pub/large.html").contains("LLLLLLLLLLLL"));
    const QByteArray sealed = Read("pub/large.html.zarnith");
    EXPECT_TRUE(sealed.startsWith(QByteArray(ProtectedFileMagic)));
    EXPECT_EQ(sealed.size() - sealed.indexOf('\n') - 1, kLargestInlinePage + 1 + 16);
    EXPECT_TRUE(Read("pub/small.html").contains(R"("data":")"));

    // A site file that takes the name is refused, with the page that needs it.
    Write("site/large.html.zarnith", "mine");
    const auto planned = MakePublishPlan(m_doc, { m_doc.boxKind, m_doc.siteFolder, {}, {} });
    const auto* problem = std::get_if<PlanProblem>(&planned);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->messageId, IDS_SEALED_CONTENT_NAME_TAKEN);
    EXPECT_EQ(problem->first, Path("site/large.html.zarnith"));
    EXPECT_EQ(problem->second, Path("site/large.html"));
}
