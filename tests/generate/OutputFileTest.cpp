#include "generate/OutputFile.h"

#include "util/StringIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class OutputFileTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    QTemporaryDir m_dir;
};

// The outputs written one by one, and the files of a publish.
using Writer = FileResult (*)(const QString&, const QByteArray&);
const Writer kWriters[] = { WriteOutputFile, WritePublishedFile };

TEST_F(OutputFileTest, WritesExactBytesOverAnyPreviousFile)
{
    for (const Writer write : kWriters) {
        const QString path = Path("out.html");
        ASSERT_TRUE(write(path, QByteArray(100, 'x')).ok);
        const QByteArray bytes("a\r\nb\0c\r\n", 8);
        ASSERT_TRUE(write(path, bytes).ok);
        EXPECT_EQ(Read(path), bytes);
        ASSERT_TRUE(write(path, QByteArray()).ok);
        EXPECT_EQ(QFileInfo(path).size(), 0);
        EXPECT_EQ(
            QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "out.html" });
        // A link at the path is replaced, never written through.
        const QString link = Path("link.html");
        ASSERT_TRUE(QFile::link(path, link));
        ASSERT_TRUE(write(link, "new").ok);
        EXPECT_FALSE(QFileInfo(link).isSymLink());
        EXPECT_EQ(Read(link), "new");
        EXPECT_EQ(Read(path), "");
        ASSERT_TRUE(QFile::remove(link) && QFile::remove(path));
    }
}

TEST_F(OutputFileTest, PathsThatCannotHoldAFileNameTheCause)
{
    ASSERT_TRUE(QDir().mkdir(Path("folder")));
    for (const Writer write : kWriters) {
        const QString blocker = Path("plain");
        ASSERT_TRUE(write(blocker, "x").ok);
        const FileResult underFile = write(blocker + QStringLiteral("/page.html"), "x");
        EXPECT_FALSE(underFile.ok);
        EXPECT_EQ(underFile.messageId, IDS_BAD_PATH);

        EXPECT_EQ(write(Path("no/such/page.html"), "x").messageId, IDS_BAD_PATH);
        EXPECT_EQ(write(QString(), "x").messageId, IDS_BAD_PATH);

        const FileResult onFolder = write(Path("folder"), "x");
        EXPECT_FALSE(onFolder.ok);
        EXPECT_EQ(onFolder.messageId, IDS_ACCESS_DENIED);
        EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
        // Nothing is left beside a file that could not be written.
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList { "plain" });
    }
}

TEST_F(OutputFileTest, ReadOnlyPlacesAreReportedAsAccessDeniedAndLeftIntact)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: file permissions do not refuse writes";
    const QString file = Path("locked.html");
    ASSERT_TRUE(WriteOutputFile(file, "old").ok);
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    const FileResult onFile = WriteOutputFile(file, "new");
    EXPECT_FALSE(onFile.ok);
    EXPECT_EQ(onFile.messageId, IDS_ACCESS_DENIED);
    EXPECT_EQ(Read(file), "old");

    const QString folder = Path("readonly");
    ASSERT_TRUE(QDir().mkdir(folder));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const FileResult inFolder = WriteOutputFile(folder + QStringLiteral("/page.html"), "new");
    QFile::setPermissions(
        folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(inFolder.ok);
    EXPECT_EQ(inFolder.messageId, IDS_ACCESS_DENIED);
}

TEST_F(OutputFileTest, AFailingProducerLeavesThePreviousFile)
{
    const QString path = Path("big.wav");
    ASSERT_TRUE(WriteOutputFile(path, "previous").ok);
    const auto failing = [](QIODevice& device) {
        device.write("partial");
        return false;
    };
    const FileResult result = WriteOutputFile(path, failing);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messageId, IDS_WRITE_ERROR);
    EXPECT_EQ(Read(path), "previous");

    // A link at the path is never written through: a failed write leaves it as it was, a good
    // one takes its place.
    const QString link = Path("link.wav");
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_FALSE(WriteOutputFile(link, failing).ok);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), path);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
    ASSERT_TRUE(WriteOutputFile(link, "new").ok);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(link), "new");
    EXPECT_EQ(Read(path), "previous");
}

} // namespace
