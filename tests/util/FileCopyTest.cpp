#include "util/FileCopy.h"

#include "generate/ResourceList.h"
#include "support/GenerateTestSupport.h"
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

} // namespace

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
