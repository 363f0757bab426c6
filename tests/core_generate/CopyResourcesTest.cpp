#include "generate/CopyResources.h"

#include "generate/ResourceList.h"
#include "support/GenerateTestSupport.h"
#include "util/FileCopy.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Answers prompts from a script and records what was asked and reported.
class ScriptedPrompt : public CopyPrompt
{
public:
    struct Answer
    {
        bool retry;
        std::function<void()> beforeAnswer;
    };

    bool AskRetry(int messageId, const QByteArray& text) override
    {
        asked.append({ messageId, text });
        if (answers.empty())
            return false;
        Answer answer = answers.front();
        answers.pop_front();
        if (answer.beforeAnswer)
            answer.beforeAnswer();
        return answer.retry;
    }

    void Report(const QByteArray& source, const QByteArray& destination, bool copied) override
    {
        (copied ? this->copied : upToDate).append(FileNamePart(source));
        Q_UNUSED(destination);
    }

    std::deque<Answer> answers;
    QList<std::pair<int, QByteArray>> asked;
    QByteArrayList copied;
    QByteArrayList upToDate;
};

// A device that hands out some bytes, then fails.
class FailingDevice : public QBuffer
{
public:
    explicit FailingDevice(qint64 goodBytes)
        : m_goodBytes(goodBytes)
    {
        setData(QByteArray(goodBytes * 2, 'x'));
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (pos() >= m_goodBytes)
            return -1;
        return QBuffer::readData(data, qMin(maxSize, m_goodBytes - pos()));
    }

private:
    qint64 m_goodBytes;
};

class CopyResourcesTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QByteArray Path(const char* name) const
    {
        return QFile::encodeName(m_dir.filePath(QLatin1String(name)));
    }

    QByteArray MakeFile(const char* name, const QByteArray& content)
    {
        QFile file(m_dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        return QFile::encodeName(file.fileName());
    }

    static QByteArray Read(const QByteArray& path)
    {
        QFile file(QFile::decodeName(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static void SetModified(const QByteArray& path, const QDateTime& time)
    {
        QFile file(QFile::decodeName(path));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    QTemporaryDir m_dir;
};

TEST_F(CopyResourcesTest, SecondRunCopiesNothingAndATouchedSourceIsCopiedAlone)
{
    const QList<QByteArray> sources = { MakeFile("a.class", "class"),
        MakeFile("ok.au", QByteArray(3 * CopyBlockSize + 17, 'o')), MakeFile("no.au", "") };
    const QByteArray folder = Path("pub");

    ScriptedPrompt first;
    ASSERT_TRUE(CopyResourceFiles(sources, folder, first));
    EXPECT_EQ(first.copied, QByteArrayList({ "a.class", "ok.au", "no.au" }));
    EXPECT_TRUE(first.asked.isEmpty());
    for (const QByteArray& source : sources)
        EXPECT_EQ(Read(folder + "/" + FileNamePart(source)), Read(source));

    ScriptedPrompt second;
    ASSERT_TRUE(CopyResourceFiles(sources, folder + "/", second));
    EXPECT_TRUE(second.copied.isEmpty());
    EXPECT_EQ(second.upToDate, QByteArrayList({ "a.class", "ok.au", "no.au" }));

    MakeFile("ok.au", "changed");
    SetModified(sources[1], QDateTime::currentDateTime().addSecs(3600));
    ScriptedPrompt third;
    ASSERT_TRUE(CopyResourceFiles(sources, folder, third));
    EXPECT_EQ(third.copied, QByteArrayList({ "ok.au" }));
    EXPECT_EQ(Read(folder + "/ok.au"), "changed");
}

TEST_F(CopyResourcesTest, MissingSourceCancelledKeepsEarlierCopies)
{
    const QList<QByteArray> sources
        = { MakeFile("a.class", "class"), Path("gone.au"), MakeFile("no.au", "n") };
    const QByteArray folder = Path("pub");
    ScriptedPrompt prompt;
    prompt.answers.push_back({ false, {} });
    EXPECT_FALSE(CopyResourceFiles(sources, folder, prompt));
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(prompt.asked[0].first, IDS_FILE_MISSING);
    EXPECT_EQ(prompt.asked[0].second, "File  '" + sources[1] + "' is missing!");
    EXPECT_EQ(Read(folder + "/a.class"), "class");
    EXPECT_FALSE(QFile::exists(QFile::decodeName(folder + "/no.au")));
}

TEST_F(CopyResourcesTest, RetryAfterTheSourceAppearsCopiesIt)
{
    const QByteArray late = Path("late.au");
    const QList<QByteArray> sources = { late };
    ScriptedPrompt prompt;
    prompt.answers.push_back({ true, {} }); // still missing: asked again
    prompt.answers.push_back({ true, [this] { MakeFile("late.au", "here now"); } });
    ASSERT_TRUE(CopyResourceFiles(sources, Path("pub"), prompt));
    EXPECT_EQ(prompt.asked.size(), 2);
    EXPECT_EQ(Read(Path("pub/late.au")), "here now");
}

TEST_F(CopyResourcesTest, FailedCopyNamesBothFilesAndRetryCopiesAgain)
{
    const QByteArray source = MakeFile("ok.au", "sound");
    const QByteArray folder = Path("pub");
    // A folder where the copy must go cannot be removed or overwritten.
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(folder + "/ok.au/inner")));
    ScriptedPrompt prompt;
    prompt.answers.push_back({ true, {} });
    prompt.answers.push_back(
        { true, [&] { QDir(QFile::decodeName(folder + "/ok.au")).removeRecursively(); } });
    ASSERT_TRUE(CopyResourceFiles({ source }, folder, prompt));
    ASSERT_EQ(prompt.asked.size(), 2);
    EXPECT_EQ(prompt.asked[0].first, IDS_COPY_FAILED);
    EXPECT_EQ(
        prompt.asked[0].second, "Unable to copy file '" + source + "' to '" + folder + "/ok.au'!");
    EXPECT_EQ(Read(folder + "/ok.au"), "sound");

    // Cancel ends the whole copy: the files after the failed one are not copied.
    const QByteArray other = Path("pub2");
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(other + "/ok.au/inner")));
    ScriptedPrompt cancelling;
    EXPECT_FALSE(CopyResourceFiles({ source, MakeFile("b.au", "b") }, other, cancelling));
    EXPECT_EQ(cancelling.asked.size(), 1);
    EXPECT_FALSE(QFile::exists(QFile::decodeName(other + "/b.au")));
}

TEST_F(CopyResourcesTest, FolderIsCreatedOneLevelOnly)
{
    const QList<QByteArray> sources = { MakeFile("a.class", "class") };
    ScriptedPrompt prompt;
    EXPECT_FALSE(CopyResourceFiles(sources, Path("missing/pub"), prompt));
    EXPECT_FALSE(QFileInfo::exists(QFile::decodeName(Path("missing"))));

    EXPECT_FALSE(CopyResourceFiles(sources, sources[0], prompt)); // a file, not a folder
    EXPECT_EQ(Read(sources[0]), "class");
    EXPECT_TRUE(prompt.asked.isEmpty());

    EXPECT_TRUE(CopyResourceFiles(sources, Path("pub"), prompt));
    EXPECT_EQ(Read(Path("pub/a.class")), "class");
}

TEST_F(CopyResourcesTest, LinksAndFilesThatAreNoRegularFilesAreNeverCopiedThrough)
{
    const QByteArray source = MakeFile("a.class", "class");
    const QByteArray outside = MakeFile("outside", "keep");
    const QByteArray folder = Path("pub");
    ASSERT_TRUE(QDir().mkdir(QFile::decodeName(folder)));
    const QString link = QFile::decodeName(folder + "/a.class");
    ASSERT_TRUE(QFile::link(QFile::decodeName(outside), link));
    ScriptedPrompt prompt;
    ASSERT_TRUE(CopyResourceFiles({ source }, folder, prompt));
    // The link, newer than the source, is no copy of it: it is replaced, its target untouched.
    EXPECT_EQ(prompt.copied, QByteArrayList { "a.class" });
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(folder + "/a.class"), "class");
    EXPECT_EQ(Read(outside), "keep");

    // A device could be read for ever: it is refused as a missing source.
    ScriptedPrompt refusing;
    EXPECT_FALSE(CopyResourceFiles({ "/dev/null" }, folder, refusing));
    ASSERT_EQ(refusing.asked.size(), 1);
    EXPECT_EQ(refusing.asked[0].second, FormatResourceText(IDS_FILE_MISSING, "/dev/null"));
    EXPECT_FALSE(QFileInfo::exists(QFile::decodeName(folder + "/null")));
}

TEST_F(CopyResourcesTest, PublishingIntoTheSourceFolderLeavesTheSourcesAlone)
{
    const QByteArray source = MakeFile("ok.au", "sound");
    // Made long ago, changed just now: an ordinary copy in its place would count as stale.
    SetModified(source, QDateTime::currentDateTime().addSecs(3600));
    ScriptedPrompt prompt;
    ASSERT_TRUE(CopyResourceFiles({ source }, QFile::encodeName(m_dir.path()), prompt));
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_EQ(Read(source), "sound");
}

TEST_F(CopyResourcesTest, ProjectCopyStartsWithTheAppletClass)
{
    Doc doc;
    doc.readLocksFromFile = 1;
    doc.lockFile = MakeFile("lock.txt", "Lock0=a| |b| \r\n");
    doc.correctAudio = MakeFile("ok.au", "o");
    doc.incorrectAudio = Path("absent.au");
    ProgramInfo info;
    info.internalName = "NoSuchAppletForThisTest";
    ScriptedPrompt prompt;
    EXPECT_FALSE(CopyResources(doc, Path("pub"), prompt, info));
    // The class file comes first; cancelling its prompt copies nothing else.
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(prompt.asked[0].second, FormatResourceText(IDS_FILE_MISSING, AppletClassPath(info)));
    EXPECT_TRUE(prompt.copied.isEmpty());
    EXPECT_FALSE(QFile::exists(QFile::decodeName(Path("pub/ok.au"))));
}

TEST(FileCopy, RefusesToOverwriteAndNeedsAReadableSource)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("s"));
    const QString destination = dir.filePath(QStringLiteral("d"));
    ASSERT_TRUE(QFile(source).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile(destination).open(QIODevice::WriteOnly) && QFile::resize(destination, 9));
    EXPECT_FALSE(CopyFileToNewFile(source, destination));
    EXPECT_EQ(QFileInfo(destination).size(), 9);

    const QString other = dir.filePath(QStringLiteral("n"));
    EXPECT_FALSE(CopyFileToNewFile(dir.filePath(QStringLiteral("none")), other));
    EXPECT_FALSE(QFile::exists(other));
}

TEST(FileCopy, ACopyThatFailsPartWayLeavesNoFileBehind)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString destination = dir.filePath(QStringLiteral("d"));
    FailingDevice source(CopyBlockSize + 100);
    EXPECT_FALSE(CopyDeviceToNewFile(source, destination));
    // A leftover would be taken for an up-to-date copy next time, and would block a retry.
    EXPECT_FALSE(QFile::exists(destination));
}

TEST(FileCopy, LargeFilesAreCopiedWholeAskingBetweenPieces)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray content(2 * CopyChunkSize + 5, '\0');
    for (qsizetype i = 0; i < content.size(); i += 4096)
        content[i] = char(i / 4096);
    QFile source(dir.filePath(QStringLiteral("big")));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly) && source.write(content) == content.size());
    source.close();
    const QString copy = dir.filePath(QStringLiteral("copy"));
    int asked = 0;
    ASSERT_TRUE(CopyFileToNewFile(source.fileName(), copy, [&] { return ++asked > 0; }));
    EXPECT_EQ(asked, 2);
    QFile copied(copy);
    EXPECT_TRUE(copied.open(QIODevice::ReadOnly) && copied.readAll() == content);
}

TEST(FileCopy, UpToDateComparesTheCopysCreationWithTheSourcesChange)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("s"));
    const QString destination = dir.filePath(QStringLiteral("d"));
    QFile(source).open(QIODevice::WriteOnly);
    EXPECT_FALSE(IsCopyUpToDate(source, destination));
    ASSERT_TRUE(CopyFileToNewFile(source, destination));
    EXPECT_TRUE(FileCreationTime(QFileInfo(destination)).isValid());
    EXPECT_TRUE(IsCopyUpToDate(source, destination));

    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(
        QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    EXPECT_FALSE(IsCopyUpToDate(source, destination));
    // Changing the copy's modification time does not make it newer: its creation counts.
    QFile copy(destination);
    ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
    ASSERT_TRUE(copy.setFileTime(
        QDateTime::currentDateTime().addSecs(120), QFileDevice::FileModificationTime));
    EXPECT_FALSE(IsCopyUpToDate(source, destination));
}

TEST(ResourceList, EntriesInOrderWithDuplicatesKept)
{
    ProgramInfo info;
    info.internalName = "Applet";
    const QByteArray classFile = ProgramDirectory() + "Applet.class";
    Doc doc;
    EXPECT_EQ(GetResourceList(doc, info), QList<QByteArray>({ classFile }));

    doc.lockFile = "lock.txt";
    doc.readLocksFromFile = 2; // only 1 reads the locks from the file
    doc.incorrectAudio = "/s/no.au";
    EXPECT_EQ(GetResourceList(doc, info), QList<QByteArray>({ classFile, "/s/no.au" }));

    doc.readLocksFromFile = 1;
    doc.correctAudio = "/s/no.au";
    EXPECT_EQ(GetResourceList(doc, info),
        QList<QByteArray>({ classFile, "lock.txt", "/s/no.au", "/s/no.au" }));
}

} // namespace
